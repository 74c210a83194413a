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

// Registers the substitutions above with Qt's font matching. Call once, after
// the application object exists and before the first window is built.
void installFontSubstitutes();

// The window font: character height 12 pixels. That height excludes the
// internal leading, which makes it the font's em size, and the em size is what
// Qt's pixel size sets, so the pixel size is exactly 12 whatever stand-in is found.
QFont windowFont();

}  // namespace vesk
