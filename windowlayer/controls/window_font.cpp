#include "windowlayer/controls/window_font.h"

namespace vesk {

namespace {
constexpr int kCharacterHeightPixels = 12;
}

QString windowFontFamily() { return QStringLiteral("ＭＳ Ｐゴシック"); }

QStringList windowFontSubstitutes() {
  return {QStringLiteral("IPAPGothic"), QStringLiteral("VL PGothic"),
          QStringLiteral("Noto Sans CJK JP")};
}

QString arialFamily() { return QStringLiteral("Arial"); }

QStringList arialSubstitutes() { return {QStringLiteral("Liberation Sans")}; }

void installFontSubstitutes() {
  QFont::insertSubstitutions(windowFontFamily(), windowFontSubstitutes());
  QFont::insertSubstitutions(arialFamily(), arialSubstitutes());
}

QFont windowFont() {
  QFont font(windowFontFamily());
  font.setPixelSize(kCharacterHeightPixels);
  return font;
}

}  // namespace vesk
