#include "windowlayer/imaging/image_control.h"

#include <QPaintEvent>
#include <QPainter>

namespace vesk {

ImageControl::ImageControl(QWidget* parent) : QWidget(parent) {}

void ImageControl::setPicture(const PaletteBitmap& bitmap) {
  // Implicitly shared: the bitmap's next change detaches, leaving this copy
  // as it was now.
  picture_ = bitmap.image();
  update();
}

void ImageControl::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.drawImage(event->rect(), picture_, event->rect());
}

}  // namespace vesk
