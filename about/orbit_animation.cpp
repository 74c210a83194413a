#include "about/orbit_animation.h"

#include "about/orbit_step.h"

namespace vesk {

namespace {

const QColor kTransparent(255, 255, 255);  // white, in the sheet and on the picture
constexpr int kFrameSize = 48;
constexpr int kFramesPerRow = 4;
constexpr int kFramesLeft = 64;
constexpr QSize kFigureSize(64, 128);
// The figure stands centred vertically, 4 pixels right of the centre.
constexpr int kFigureHalfWidth = 28;
constexpr int kFigureHalfHeight = 64;

}  // namespace

OrbitAnimation::OrbitAnimation()
    : ImageList(kFrameSize, kFrameSize), ImageListS(kFigureSize.width(), kFigureSize.height()) {
  FrameIndex.fill(-1);
}

void OrbitAnimation::prepare(QSize pictureSize, const PaletteBitmap& sheet) {
  OrbitAngle = 0.0F;
  OrbitBitmap = PaletteBitmap(pictureSize.width(), pictureSize.height());
  OrbitBitmap.fillRect(OrbitBitmap.rect(), kTransparent);
  OrbitBitmap.setPalette(sheet.palette());
  FigureIndex = ImageListS.add(sheet, kTransparent);

  PaletteBitmap scratch(kFrameSize, kFrameSize);
  scratch.setPalette(sheet.palette());
  for (int i = 0; i < kFrameCount; ++i) {
    const QRect frame(kFramesLeft + kFrameSize * (i % kFramesPerRow),
                      kFrameSize * (i / kFramesPerRow), kFrameSize, kFrameSize);
    // White first, so that a sheet short of a frame gives a blank one.
    scratch.fillRect(scratch.rect(), kTransparent);
    scratch.copyRect(scratch.rect(), sheet, frame);
    FrameIndex[static_cast<std::size_t>(i)] = ImageList.add(scratch, kTransparent);
  }
  OrbitAngle = 0.0F;
}

void OrbitAnimation::step() {
  const int width = OrbitBitmap.width();
  const int height = OrbitBitmap.height();
  const OrbitStep next = nextOrbitStep(OrbitAngle, width, height);
  OrbitAngle = next.angle;
  OrbitBitmap.fillRect(OrbitBitmap.rect(), kTransparent);

  const int frame = FrameIndex[static_cast<std::size_t>(next.frame)];
  const int figureX = width / 2 - kFigureHalfWidth;
  const int figureY = height / 2 - kFigureHalfHeight;
  if (next.behind) {
    ImageList.draw(OrbitBitmap, frame, next.x, next.y);
    ImageListS.draw(OrbitBitmap, FigureIndex, figureX, figureY);
  } else {
    ImageListS.draw(OrbitBitmap, FigureIndex, figureX, figureY);
    ImageList.draw(OrbitBitmap, frame, next.x, next.y);
  }
}

}  // namespace vesk
