#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>

namespace vesk {

// A bitmap with a canvas and a colour palette. Pixels are held as 32-bit RGB
// so that a painter can draw on them; the palette, once set, limits what a
// solid fill can put there, as a palette device would.
class PaletteBitmap {
 public:
  PaletteBitmap() = default;
  PaletteBitmap(int width, int height);
  // Takes over `image`'s pixels, and its colour table as the palette.
  explicit PaletteBitmap(const QImage& image);

  int width() const { return pixels_.width(); }
  int height() const { return pixels_.height(); }
  QRect rect() const { return pixels_.rect(); }
  bool isNull() const { return pixels_.isNull(); }

  const QList<QRgb>& palette() const { return palette_; }
  void setPalette(const QList<QRgb>& palette);

  // Fills `area` with `colour`, or with the palette's nearest colour.
  void fillRect(const QRect& area, QColor colour);
  // Copies `sourceArea` of `source` onto `area` plainly (source copy), pixel
  // for pixel when the sizes agree.
  void copyRect(const QRect& area, const PaletteBitmap& source, const QRect& sourceArea);
  // Draws `image` with its top-left corner at `at`, through its alpha channel.
  void draw(QPoint at, const QImage& image);

  const QImage& image() const { return pixels_; }

 private:
  QRgb nearestInPalette(QRgb colour) const;

  QImage pixels_;
  QList<QRgb> palette_;
};

}  // namespace vesk
