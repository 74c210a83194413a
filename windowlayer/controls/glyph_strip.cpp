#include "windowlayer/controls/glyph_strip.h"

namespace vesk {

namespace {

QPixmap withGroundTransparent(const QImage& picture, QRgb ground) {
  QImage result = picture.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < result.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
    for (int x = 0; x < result.width(); ++x) {
      if (qRgb(qRed(line[x]), qGreen(line[x]), qBlue(line[x])) == ground) line[x] = 0;
    }
  }
  return QPixmap::fromImage(result);
}

}  // namespace

GlyphPictures splitGlyphStrip(const QImage& strip) {
  if (strip.isNull()) return {};
  // Opaque colour of the ground pixel: palette images may carry any alpha.
  const QRgb pixel = strip.pixel(0, strip.height() - 1);
  const QRgb ground = qRgb(qRed(pixel), qGreen(pixel), qBlue(pixel));
  const int pictureWidth = strip.width() / 2;
  if (pictureWidth == 0) {
    const QPixmap only = withGroundTransparent(strip, ground);
    return {only, only};
  }
  return {withGroundTransparent(strip.copy(0, 0, pictureWidth, strip.height()), ground),
          withGroundTransparent(strip.copy(pictureWidth, 0, pictureWidth, strip.height()), ground)};
}

GlyphPictures loadGlyphStrip(const QString& path) { return splitGlyphStrip(QImage(path)); }

}  // namespace vesk
