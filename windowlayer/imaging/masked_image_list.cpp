#include "windowlayer/imaging/masked_image_list.h"

#include <algorithm>

namespace vesk {

namespace {

constexpr QRgb kMasked = 0;  // fully transparent in premultiplied ARGB

// The piece of `source` at (left, 0) the size of `size`, as premultiplied
// ARGB with the mask colour made transparent.
QImage cutMasked(const QImage& source, int left, QSize size, QRgb maskColour) {
  QImage piece(size, QImage::Format_ARGB32_Premultiplied);
  piece.fill(kMasked);
  const int rows = std::min(size.height(), source.height());
  for (int y = 0; y < rows; ++y) {
    const auto* from = reinterpret_cast<const QRgb*>(source.constScanLine(y)) + left;
    auto* to = reinterpret_cast<QRgb*>(piece.scanLine(y));
    for (int x = 0; x < size.width(); ++x) {
      const QRgb colour = from[x] | 0xFF000000U;
      to[x] = colour == maskColour ? kMasked : colour;
    }
  }
  return piece;
}

}  // namespace

MaskedImageList::MaskedImageList(int width, int height) : size_(width, height) {}

int MaskedImageList::add(const PaletteBitmap& bitmap, QColor maskColour) {
  if (size_.isEmpty() || bitmap.width() < size_.width()) return -1;
  const int first = count();
  const QRgb mask = maskColour.rgb() | 0xFF000000U;
  const int pieces = bitmap.width() / size_.width();
  for (int i = 0; i < pieces; ++i) {
    images_.push_back(cutMasked(bitmap.image(), i * size_.width(), size_, mask));
  }
  return first;
}

void MaskedImageList::draw(PaletteBitmap& target, int index, int x, int y) const {
  if (index < 0 || index >= count()) return;
  target.draw(QPoint(x, y), images_[static_cast<std::size_t>(index)]);
}

}  // namespace vesk
