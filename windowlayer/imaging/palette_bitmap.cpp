#include "windowlayer/imaging/palette_bitmap.h"

#include <QPainter>
#include <limits>

namespace vesk {

namespace {

int squaredDistance(QRgb a, QRgb b) {
  const int red = qRed(a) - qRed(b);
  const int green = qGreen(a) - qGreen(b);
  const int blue = qBlue(a) - qBlue(b);
  return red * red + green * green + blue * blue;
}

}  // namespace

PaletteBitmap::PaletteBitmap(int width, int height) : pixels_(width, height, QImage::Format_RGB32) {
  pixels_.fill(Qt::black);
}

PaletteBitmap::PaletteBitmap(const QImage& image)
    : pixels_(image.convertToFormat(QImage::Format_RGB32)), palette_(image.colorTable()) {}

void PaletteBitmap::setPalette(const QList<QRgb>& palette) { palette_ = palette; }

QRgb PaletteBitmap::nearestInPalette(QRgb colour) const {
  QRgb best = colour;
  int bestDistance = std::numeric_limits<int>::max();
  for (const QRgb entry : palette_) {
    const int distance = squaredDistance(entry, colour);
    if (distance < bestDistance) {
      best = entry;
      bestDistance = distance;
    }
  }
  return best;
}

void PaletteBitmap::fillRect(const QRect& area, QColor colour) {
  if (isNull()) return;
  const QColor shown = QColor::fromRgb(nearestInPalette(colour.rgb()));
  if (area.contains(rect())) {
    pixels_.fill(shown);
    return;
  }
  QPainter painter(&pixels_);
  painter.fillRect(area, shown);
}

void PaletteBitmap::copyRect(const QRect& area, const PaletteBitmap& source,
                             const QRect& sourceArea) {
  if (isNull() || source.isNull()) return;
  QPainter painter(&pixels_);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.drawImage(area, source.pixels_, sourceArea);
}

void PaletteBitmap::draw(QPoint at, const QImage& image) {
  if (isNull()) return;
  QPainter painter(&pixels_);
  painter.drawImage(at, image);
}

}  // namespace vesk
