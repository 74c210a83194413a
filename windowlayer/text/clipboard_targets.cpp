#include "windowlayer/text/clipboard_targets.h"

#include "windowlayer/text/cp932_clipboard.h"

namespace vesk {
namespace {

struct KnownTarget {
  const char* name;
  TextEncoding encoding;
};

// Best first.
constexpr KnownTarget kTextTargets[] = {
    {kCp932MimeType, TextEncoding::Cp932Bytes},
    {"UTF8_STRING", TextEncoding::Utf8},
    {"text/plain;charset=utf-8", TextEncoding::Utf8},
    // Without a charset; Qt's own name for its Unicode text.
    {"text/plain", TextEncoding::Utf8},
    {"STRING", TextEncoding::Latin1},
};

QString normalised(QString name) { return name.remove(QLatin1Char(' ')).toLower(); }

}  // namespace

std::optional<TextTarget> chooseTextTarget(const QStringList& offered) {
  for (const KnownTarget& known : kTextTargets) {
    const QString wanted = normalised(QString::fromLatin1(known.name));
    for (const QString& name : offered) {
      if (normalised(name) == wanted) return TextTarget{name, known.encoding};
    }
  }
  return std::nullopt;
}

}  // namespace vesk
