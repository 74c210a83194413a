#include "windowlayer/imaging/bitmap_resource.h"

#include <QImage>

namespace vesk {

PaletteBitmap loadBitmapResource(const QString& name) {
  const QImage image(QStringLiteral(":/bitmaps/%1.bmp").arg(name), "BMP");
  if (image.isNull()) return PaletteBitmap();
  return PaletteBitmap(image);
}

}  // namespace vesk
