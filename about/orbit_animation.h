#pragma once

#include <QSize>
#include <array>

#include "windowlayer/imaging/masked_image_list.h"
#include "windowlayer/imaging/palette_bitmap.h"

namespace vesk {

// The figure with the object circling it: the prepared pictures, the angle,
// and the picture each step composes. Separate from the dialog so that the
// composition can be checked against any sprite sheet.
class OrbitAnimation {
 public:
  static constexpr int kFrameCount = 8;

  OrbitAnimation();

  // Cuts and masks everything a step draws, once: the figure from the sheet's
  // left 64 x 128, the eight 48 x 48 frames beside it (two rows of four).
  // Leaves the angle at 0 and a white picture of `pictureSize`.
  void prepare(QSize pictureSize, const PaletteBitmap& sheet);

  // Moves the object one step on and composes the picture anew.
  void step();

  float angle() const { return OrbitAngle; }
  const PaletteBitmap& picture() const { return OrbitBitmap; }

 private:
  MaskedImageList ImageList;
  MaskedImageList ImageListS;
  float OrbitAngle = 0.0F;
  PaletteBitmap OrbitBitmap;
  int FigureIndex = -1;
  std::array<int, kFrameCount> FrameIndex;
};

}  // namespace vesk
