#include <QGuiApplication>
#include <QTest>

#include "about/orbit_animation.h"
#include "windowlayer/imaging/bitmap_resource.h"

using vesk::OrbitAnimation;
using vesk::PaletteBitmap;

namespace {

constexpr QSize kPicture(257, 156);
constexpr QPoint kFigureAt(100, 14);
const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kFigure = qRgb(0, 0, 200);
const QRgb kStray = qRgb(255, 0, 255);
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
  sheet.fillRect(QRect(64, 96, 192, 32), QColor::fromRgb(kStray));
  return sheet;
}

OrbitAnimation preparedWith(const PaletteBitmap& sheet, int steps) {
  OrbitAnimation animation;
  animation.prepare(kPicture, sheet);
  for (int i = 0; i < steps; ++i) animation.step();
  return animation;
}

// The picture a step should compose: the figure's shape, and the frame's
// mark over it (in front) or under it (behind).
QImage expectedPicture(int frame, QPoint objectAt, bool behind) {
  QImage picture(kPicture, QImage::Format_RGB32);
  picture.fill(kWhite);
  const QRect figure = kFigureShape.translated(kFigureAt);
  const QRect mark = kFrameMark.translated(objectAt);
  auto paint = [&](const QRect& area, QRgb colour) {
    for (int y = area.top(); y <= area.bottom(); ++y) {
      for (int x = area.left(); x <= area.right(); ++x) picture.setPixel(x, y, colour);
    }
  };
  if (behind) {
    paint(mark, frameColour(frame));
    paint(figure, kFigure);
  } else {
    paint(figure, kFigure);
    paint(mark, frameColour(frame));
  }
  return picture;
}

}  // namespace

class OrbitAnimationTest : public QObject {
  Q_OBJECT

 private slots:
  void preparationLeavesAWhitePictureAtAngleZero();
  void stepComposesFigureAndFrame_data();
  void stepComposesFigureAndFrame();
  void missingSheetDrawsNothing();
  void realSheetStaysWithinItsRegions();
};

void OrbitAnimationTest::preparationLeavesAWhitePictureAtAngleZero() {
  const OrbitAnimation animation = preparedWith(syntheticSheet(), 0);
  QCOMPARE(animation.angle(), 0.0F);
  QCOMPARE(animation.picture().image().size(), kPicture);
  QImage white(kPicture, QImage::Format_RGB32);
  white.fill(kWhite);
  QCOMPARE(animation.picture().image(), white);
}

void OrbitAnimationTest::stepComposesFigureAndFrame_data() {
  QTest::addColumn<int>("steps");
  QTest::addColumn<int>("frame");
  QTest::addColumn<QPoint>("objectAt");
  QTest::addColumn<bool>("behind");

  // Where each step puts the object is orbit_step_test's; these rows take the
  // object across the figure in front and behind, and a frame of the second row.
  QTest::newRow("step 15, nearest, in front") << 15 << 4 << QPoint(104, 69) << false;
  QTest::newRow("step 45, farthest, behind") << 45 << 0 << QPoint(104, 39) << true;
  QTest::newRow("second row of frames") << 53 << 7 << QPoint(163, 44) << true;
}

void OrbitAnimationTest::stepComposesFigureAndFrame() {
  QFETCH(int, steps);
  QFETCH(int, frame);
  QFETCH(QPoint, objectAt);
  QFETCH(bool, behind);

  const OrbitAnimation animation = preparedWith(syntheticSheet(), steps);
  QCOMPARE(animation.picture().image(), expectedPicture(frame, objectAt, behind));
}

void OrbitAnimationTest::missingSheetDrawsNothing() {
  const OrbitAnimation animation = preparedWith(PaletteBitmap(), 15);
  QImage white(kPicture, QImage::Format_RGB32);
  white.fill(kWhite);
  QCOMPARE(animation.picture().image(), white);
  QVERIFY(animation.angle() > 0.0F);
}

void OrbitAnimationTest::realSheetStaysWithinItsRegions() {
  const PaletteBitmap sheet = vesk::loadBitmapResource(QStringLiteral("KALDREN"));
  QCOMPARE(sheet.image().size(), QSize(256, 128));
  QCOMPARE(sheet.palette().size(), 256);
  QVERIFY(sheet.palette().contains(kWhite));
  for (int steps : {1, 45}) {
    const OrbitAnimation animation = preparedWith(sheet, steps);
    const QRect figure(kFigureAt, QSize(64, 128));
    const QRect object = steps == 1 ? QRect(184, 56, 48, 48) : QRect(104, 39, 48, 48);
    int drawn = 0;
    const QImage& picture = animation.picture().image();
    for (int y = 0; y < picture.height(); ++y) {
      for (int x = 0; x < picture.width(); ++x) {
        if (picture.pixel(x, y) == kWhite) continue;
        ++drawn;
        QVERIFY2(figure.contains(x, y) || object.contains(x, y),
                 qPrintable(QStringLiteral("stray pixel at %1,%2").arg(x).arg(y)));
      }
    }
    QVERIFY(drawn > 0);
  }
}

QTEST_MAIN(OrbitAnimationTest)
#include "orbit_animation_test.moc"
