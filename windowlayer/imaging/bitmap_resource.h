#pragma once

#include <QString>

#include "windowlayer/imaging/palette_bitmap.h"

namespace vesk {

// Loads the program's bitmap resource `name` (":/bitmaps/<name>.bmp") with
// its palette. A missing or unreadable resource gives a null bitmap, which
// every drawing operation treats as empty.
PaletteBitmap loadBitmapResource(const QString& name);

}  // namespace vesk
