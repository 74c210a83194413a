#pragma once

#include <QImage>
#include <QWidget>

#include "windowlayer/imaging/palette_bitmap.h"

namespace vesk {

// Shows a picture at its top-left corner, neither stretched nor centred.
class ImageControl : public QWidget {
  Q_OBJECT

 public:
  explicit ImageControl(QWidget* parent = nullptr);

  // Takes a copy of `bitmap`'s present content and repaints.
  void setPicture(const PaletteBitmap& bitmap);
  const QImage& picture() const { return picture_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage picture_;
};

}  // namespace vesk
