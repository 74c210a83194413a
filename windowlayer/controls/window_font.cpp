#include "windowlayer/controls/window_font.h"

#include <QFontDatabase>

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

QString paneGlyphsFamily() { return QStringLiteral("Vesktext Pane Glyphs"); }

void installFontSubstitutes() {
  QFont::insertSubstitutions(windowFontFamily(), windowFontSubstitutes());
  QFont::insertSubstitutions(arialFamily(), arialSubstitutes());
  QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/VesktextPaneGlyphs.ttf"));
}

QFont windowFont() {
  QFont font(windowFontFamily());
  font.setPixelSize(kCharacterHeightPixels);
  return font;
}

QFont paneFont() {
  QFont font = windowFont();
  // Qt tries a family's substitutes only after every family in the list, so
  // the stand-ins go before the program's glyphs, which would else become
  // the main font wherever MS PGothic is missing.
  font.setFamilies(QStringList{windowFontFamily()} << windowFontSubstitutes()
                                                   << paneGlyphsFamily());
  // The fonts' own hints rather than FreeType's auto-hinter, which sizes up
  // each font as a whole: it would set the program's copy of a glyph a pixel
  // off the window font's and smear the hex digits of the byte boxes.
  font.setHintingPreference(QFont::PreferFullHinting);
  return font;
}

}  // namespace vesk
