#include <QGuiApplication>
#include <QTest>

#include "about/orbit_animation.h"

using vesk::OrbitAnimation;
using vesk::PaletteBitmap;

namespace {

constexpr QSize kPicture(257, 156);
constexpr QPoint kFigureAt(100, 14);
const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kFigure = qRgb(0, 0, 200);
// Where the figure and each frame's mark sit within their own cells.
const QRect kFigureShape(20, 10, 24, 110);
const QRect kFrameMark(16, 16, 16, 16);

QRgb frameColour(int frame) { return qRgb(10 + 20 * frame, 150, 0); }

// A sheet laid out like KALDREN, with one plain shape per region, and a
// stray colour in the blank strip that must never reach the picture.
PaletteBitmap syntheticSheet() {
  PaletteBitmap sheet(256, 128);
  sheet.fillRect(sheet.rect(), QColor::fromRgb(kWhite));
  sheet.fillRect(kFigureShape, QColor::fromRgb(kFigure));
  for (int i = 0; i < 8; ++i) {
    const QPoint cell(64 + 48 * (i % 4), 48 * (i / 4));
    sheet.fillRect(kFrameMark.translated(cell), QColor::fromRgb(frameColour(i)));
  }
  sheet.fillRect(QRect(64, 96, 192, 32), QColor(255, 0, 255));
  return sheet;
}

OrbitAnimation preparedWith(const PaletteBitmap& sheet, int steps) {
  OrbitAnimation animation;
  animation.prepare(kPicture, sheet);
  for (int i = 0; i < steps; ++i) animation.step();
  return animation;
}

// The picture a step should compose: the figure's shape, and the frame's
// mark over it (in front) or under it (behind); all white for no frame.
QImage expectedPicture(int frame, QPoint objectAt, bool behind) {
  QImage picture(kPicture, QImage::Format_RGB32);
  picture.fill(kWhite);
  if (frame < 0) return picture;
  const QRect figure = kFigureShape.translated(kFigureAt);
  const QRect mark = kFrameMark.translated(objectAt);
  const auto paint = [&](const QRect& area, QRgb colour) {
    for (int y = area.top(); y <= area.bottom(); ++y) {
      for (int x = area.left(); x <= area.right(); ++x) picture.setPixel(x, y, colour);
    }
  };
  paint(behind ? mark : figure, behind ? frameColour(frame) : kFigure);
  paint(behind ? figure : mark, behind ? kFigure : frameColour(frame));
  return picture;
}

}  // namespace

class OrbitAnimationTest : public QObject {
  Q_OBJECT

 private slots:
  void composesFigureAndFrame_data();
  void composesFigureAndFrame();
};

void OrbitAnimationTest::composesFigureAndFrame_data() {
  QTest::addColumn<bool>("sheet");
  QTest::addColumn<int>("steps");
  QTest::addColumn<int>("frame");
  QTest::addColumn<QPoint>("objectAt");
  QTest::addColumn<bool>("behind");

  // Where each step puts the object is orbit_step_test's; these rows take the
  // object across the figure in front and behind, and a frame of the second row.
  QTest::newRow("prepared: white, angle 0") << true << 0 << -1 << QPoint() << false;
  QTest::newRow("step 15, nearest, in front") << true << 15 << 4 << QPoint(104, 69) << false;
  QTest::newRow("step 45, farthest, behind") << true << 45 << 0 << QPoint(104, 39) << true;
  QTest::newRow("second row of frames") << true << 53 << 7 << QPoint(163, 44) << true;
  QTest::newRow("missing sheet draws nothing") << false << 15 << -1 << QPoint() << false;
}

void OrbitAnimationTest::composesFigureAndFrame() {
  QFETCH(bool, sheet);
  QFETCH(int, steps);
  QFETCH(int, frame);
  QFETCH(QPoint, objectAt);
  QFETCH(bool, behind);

  const OrbitAnimation animation = preparedWith(sheet ? syntheticSheet() : PaletteBitmap(), steps);
  QCOMPARE(animation.angle() > 0.0F, steps > 0);
  QCOMPARE(animation.picture().image(), expectedPicture(frame, objectAt, behind));
}

QTEST_MAIN(OrbitAnimationTest)
#include "orbit_animation_test.moc"
