#pragma once

#include <QLabel>

namespace vesk {

// Sizes a label to its text. The stand-in fonts run wider than the fonts the
// layout was drawn with, so where the text would run past rightLimit (the
// control to its right), its letters are drawn closer by the fewest whole
// pixels that keep it clear.
void sizeToTextBefore(QLabel& label, int rightLimit);

}  // namespace vesk
