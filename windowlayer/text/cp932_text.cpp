#include "windowlayer/text/cp932_text.h"

#include <string_view>

#include "cp932/cp932_codec.h"

namespace vesk {

// Both write straight into the result's buffer, sized for the longest
// outcome and cut to what was written: large pane text is copied once.

QString textFromBytes(QByteArrayView bytes) {
  QString text(bytes.size(), Qt::Uninitialized);
  text.truncate(static_cast<qsizetype>(
      cp932::decodeInto(std::string_view(bytes.data(), static_cast<std::size_t>(bytes.size())),
                        reinterpret_cast<char16_t*>(text.data()))));
  return text;
}

QByteArray bytesFromText(QStringView text) {
  QByteArray bytes(2 * text.size(), Qt::Uninitialized);
  bytes.truncate(static_cast<qsizetype>(cp932::encodeInto(
      std::u16string_view(text.utf16(), static_cast<std::size_t>(text.size())), bytes.data())));
  return bytes;
}

}  // namespace vesk
