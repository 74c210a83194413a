#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

namespace vesk {

// The family the windows ask for, and the installed families that stand in
// for it, best match first: proportional Japanese gothics with MS PGothic's
// metrics.
QString windowFontFamily();
QStringList windowFontSubstitutes();

// Arial, which the about dialog asks for, and its metric-compatible stand-in.
QString arialFamily();
QStringList arialSubstitutes();

// The program's own font (resources/fonts/VesktextPaneGlyphs.ttf), which draws
// what a pane holds and no installed font has: local codes as the standard
// characters they stand for, marked; a character's second code as the
// character; a byte that forms no character as a box with its hex digits.
QString paneGlyphsFamily();

// Registers the substitutions above with Qt's font matching, and the panes'
// font from the program's resources. Call once, after the application object
// exists and before the first window is built.
void installFontSubstitutes();

// The window font: character height 12 pixels. That height excludes the
// internal leading, which makes it the font's em size, and the em size is what
// Qt's pixel size sets, so the pixel size is exactly 12 whatever stand-in is found.
QFont windowFont();

// The panes' font: the window font, falling back on the program's own glyphs.
QFont paneFont();

}  // namespace vesk
