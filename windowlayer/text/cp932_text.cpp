#include "windowlayer/text/cp932_text.h"

#include <algorithm>
#include <string_view>

#include "cp932/cp932_codec.h"

namespace vesk {
namespace {

// Each function writes straight into the result's buffer, sized for the
// longest outcome and cut to what was written: large pane text is copied once.

std::string_view view(QByteArrayView bytes) {
  return {bytes.data(), static_cast<std::size_t>(bytes.size())};
}

std::u16string_view view(QStringView text) {
  return {text.utf16(), static_cast<std::size_t>(text.size())};
}

bool isBreakByte(char byte) { return byte == '\r' || byte == '\n'; }

bool isPaneBreak(char16_t unit) {
  return unit == QChar::ParagraphSeparator || unit == QChar::LineSeparator ||
         unit == kLoneCr.unicode();
}

bool isExchangeBreak(char16_t unit) {
  return unit == u'\r' || unit == u'\n' || unit == QChar::ParagraphSeparator ||
         unit == QChar::LineSeparator;
}

// Decodes bytes, calling lineBreak(isCrLf, isLf, out) for each CR LF, lone CR
// and lone LF, which writes that break's units and returns the new end.
template <typename LineBreak>
QString decodeLines(QByteArrayView bytes, LineBreak lineBreak) {
  QString text(bytes.size(), Qt::Uninitialized);
  auto* out = reinterpret_cast<char16_t*>(text.data());
  auto* const begin = out;
  const std::string_view all = view(bytes);
  for (std::size_t at = 0;;) {
    const std::size_t end = static_cast<std::size_t>(
        std::find_if(all.begin() + static_cast<std::ptrdiff_t>(at), all.end(), isBreakByte) -
        all.begin());
    out += cp932::decodeInto(all.substr(at, end - at), out);
    if (end == all.size()) break;
    const bool crLf = all[end] == '\r' && end + 1 < all.size() && all[end + 1] == '\n';
    out = lineBreak(crLf, all[end] == '\n', out);
    at = end + (crLf ? 2 : 1);
  }
  text.truncate(out - begin);
  return text;
}

// Encodes text, writing CR LF, LF or CR for each unit that breaks(unit) names.
template <typename Breaks>
QByteArray encodeLines(QStringView text, Breaks breaks) {
  QByteArray bytes(2 * text.size(), Qt::Uninitialized);  // a unit, or a break, is at most 2
  char* out = bytes.data();
  const std::u16string_view all = view(text);
  for (std::size_t at = 0;;) {
    const std::size_t end = static_cast<std::size_t>(
        std::find_if(all.begin() + static_cast<std::ptrdiff_t>(at), all.end(),
                     [&](char16_t unit) { return !breaks(unit).empty(); }) -
        all.begin());
    out += cp932::encodeInto(all.substr(at, end - at), out);
    if (end == all.size()) break;
    const std::string_view lineBreak = breaks(all[end]);
    out = std::copy(lineBreak.begin(), lineBreak.end(), out);
    // Other programs write CR LF as one break.
    at = end + (all[end] == u'\r' && end + 1 < all.size() && all[end + 1] == u'\n' ? 2 : 1);
  }
  bytes.truncate(out - bytes.constData());
  return bytes;
}

}  // namespace

QString paneTextFromBytes(QByteArrayView bytes) {
  return decodeLines(bytes, [](bool crLf, bool lf, char16_t* out) {
    *out = crLf ? u'\n' : lf ? char16_t{QChar::LineSeparator} : kLoneCr.unicode();
    return out + 1;
  });
}

QByteArray bytesFromPaneText(QStringView text) {
  return encodeLines(text, [](char16_t unit) -> std::string_view {
    if (unit == QChar::ParagraphSeparator) return "\r\n";
    if (unit == QChar::LineSeparator) return "\n";
    if (unit == kLoneCr.unicode()) return "\r";
    return {};
  });
}

QString paneFormOfTyping(QStringView typed) {
  QString text;
  text.reserve(typed.size());
  for (qsizetype at = 0;;) {
    const auto end = std::find_if(typed.begin() + at, typed.end(),
                                  [](QChar unit) { return isPaneBreak(unit.unicode()); });
    const qsizetype length = end - (typed.begin() + at);
    text += paneTextFromBytes(bytesFromExchangeText(typed.mid(at, length)));
    if (end == typed.end()) break;
    text += *end;
    at += length + 1;
  }
  return text;
}

QString exchangeTextFromBytes(QByteArrayView bytes) {
  QString text = decodeLines(bytes, [](bool crLf, bool lf, char16_t* out) {
    *out = crLf || lf ? u'\n' : u'\r';
    return out + 1;
  });
  for (QChar& unit : text) unit = QChar(cp932::exchangeForm(unit.unicode()));
  return text;
}

QByteArray bytesFromExchangeText(QStringView text) {
  return encodeLines(text, [](char16_t unit) -> std::string_view {
    return isExchangeBreak(unit) ? "\r\n" : std::string_view{};
  });
}

}  // namespace vesk
