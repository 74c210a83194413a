#pragma once

#include <QColor>
#include <QImage>
#include <QSize>
#include <vector>

#include "windowlayer/imaging/palette_bitmap.h"

namespace vesk {

// A list of equally sized images, each with a mask made once when it is added,
// so that drawing one is a single blend.
class MaskedImageList {
 public:
  MaskedImageList(int width, int height);

  QSize imageSize() const { return size_; }
  int count() const { return static_cast<int>(images_.size()); }

  // Cuts `bitmap` into images of the list's width, left to right, every pixel
  // of `maskColour` masked out, and returns the index of the first; -1 when
  // the bitmap is narrower than one image. A bitmap lower than the list's
  // height leaves the rest of each image masked.
  int add(const PaletteBitmap& bitmap, QColor maskColour);

  // Puts image `index`'s unmasked pixels on `target` with its top-left corner
  // at (x, y). An index outside the list draws nothing.
  void draw(PaletteBitmap& target, int index, int x, int y) const;

 private:
  QSize size_;
  std::vector<QImage> images_;
};

}  // namespace vesk
