#pragma once

// Which of the forms a clipboard owner offers to read as text. Owners name
// them by X target or MIME type; the names are matched without regard to
// case or blanks, since owners spell charsets either way.

#include <QString>
#include <QStringList>
#include <optional>

namespace vesk {

enum class TextEncoding { Cp932Bytes, Utf8, Latin1 };

struct TextTarget {
  QString name;  // as the owner spells it
  TextEncoding encoding;
};

// The best of `offered`, first the raw code page 932 bytes, then UTF-8 text
// (UTF8_STRING, text/plain;charset=utf-8, text/plain), then Latin-1 text
// (STRING); nothing when none of them is text.
std::optional<TextTarget> chooseTextTarget(const QStringList& offered);

}  // namespace vesk
