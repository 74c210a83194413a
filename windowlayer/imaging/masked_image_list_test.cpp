#include <QGuiApplication>
#include <QTest>

#include "windowlayer/imaging/masked_image_list.h"

using vesk::MaskedImageList;
using vesk::PaletteBitmap;

namespace {

const QColor kWhite(255, 255, 255);
const QRgb kGround = qRgb(0, 128, 0);

// A strip of `pieces` cells of `cell` x `height`; cell i is white except for
// a 2 x 2 block of colour (i + 1) * 20 at (i + 1, 1) within the cell.
PaletteBitmap strip(int pieces, int cell, int height) {
  PaletteBitmap bitmap(pieces * cell, height);
  bitmap.fillRect(bitmap.rect(), kWhite);
  for (int i = 0; i < pieces; ++i) {
    bitmap.fillRect(QRect(i * cell + i + 1, 1, 2, 2), QColor((i + 1) * 20, 0, 0));
  }
  return bitmap;
}

PaletteBitmap ground(int width, int height) {
  PaletteBitmap target(width, height);
  target.fillRect(target.rect(), QColor::fromRgb(kGround));
  return target;
}

// The pixels of `target` that differ from the ground.
QList<QPoint> marked(const PaletteBitmap& target) {
  QList<QPoint> points;
  for (int y = 0; y < target.height(); ++y) {
    for (int x = 0; x < target.width(); ++x) {
      if (target.image().pixel(x, y) != kGround) points << QPoint(x, y);
    }
  }
  return points;
}

QList<QPoint> block(int x, int y) {
  return {QPoint(x, y), QPoint(x + 1, y), QPoint(x, y + 1), QPoint(x + 1, y + 1)};
}

}  // namespace

class MaskedImageListTest : public QObject {
  Q_OBJECT

 private slots:
  void addCutsLeftToRight_data();
  void addCutsLeftToRight();
  void imagesKeepTheirOrderAcrossAdds();
  void drawPutsOnlyUnmaskedPixels_data();
  void drawPutsOnlyUnmaskedPixels();
  void maskIsTheExactColourOnly();
  void lowBitmapLeavesTheRestMasked();
  void indexOutsideTheListDrawsNothing_data();
  void indexOutsideTheListDrawsNothing();
};

void MaskedImageListTest::addCutsLeftToRight_data() {
  QTest::addColumn<int>("bitmapWidth");
  QTest::addColumn<int>("listWidth");
  QTest::addColumn<int>("firstIndex");
  QTest::addColumn<int>("count");

  QTest::newRow("sheet into figures") << 256 << 64 << 0 << 4;
  QTest::newRow("exactly one image") << 48 << 48 << 0 << 1;
  QTest::newRow("remainder dropped") << 100 << 48 << 0 << 2;
  QTest::newRow("narrower than one image") << 47 << 48 << -1 << 0;
}

void MaskedImageListTest::addCutsLeftToRight() {
  QFETCH(int, bitmapWidth);
  QFETCH(int, listWidth);
  QFETCH(int, firstIndex);
  QFETCH(int, count);

  MaskedImageList list(listWidth, 8);
  PaletteBitmap bitmap(bitmapWidth, 8);
  QCOMPARE(list.add(bitmap, kWhite), firstIndex);
  QCOMPARE(list.count(), count);
}

void MaskedImageListTest::imagesKeepTheirOrderAcrossAdds() {
  MaskedImageList list(8, 4);
  QCOMPARE(list.add(strip(3, 8, 4), kWhite), 0);
  QCOMPARE(list.add(strip(2, 8, 4), kWhite), 3);
  // Image i of the first strip carries colour (i + 1) * 20; those of the
  // second strip start again at 20.
  const int colours[] = {20, 40, 60, 20, 40};
  const int offsets[] = {1, 2, 3, 1, 2};
  for (int i = 0; i < list.count(); ++i) {
    PaletteBitmap target = ground(8, 4);
    list.draw(target, i, 0, 0);
    QCOMPARE(marked(target), block(offsets[i], 1));
    QCOMPARE(target.image().pixel(offsets[i], 1), qRgb(colours[i], 0, 0));
  }
}

void MaskedImageListTest::drawPutsOnlyUnmaskedPixels_data() {
  QTest::addColumn<QPoint>("at");
  QTest::addColumn<QList<QPoint>>("expected");

  QTest::newRow("origin") << QPoint(0, 0) << block(1, 1);
  QTest::newRow("offset") << QPoint(5, 3) << block(6, 4);
  QTest::newRow("clipped by the right edge") << QPoint(10, 0) << QList<QPoint>{{11, 1}, {11, 2}};
  QTest::newRow("negative, clipped") << QPoint(-2, -2) << QList<QPoint>{{0, 0}};
  QTest::newRow("entirely outside") << QPoint(20, 20) << QList<QPoint>{};
}

void MaskedImageListTest::drawPutsOnlyUnmaskedPixels() {
  QFETCH(QPoint, at);
  QFETCH(QList<QPoint>, expected);

  MaskedImageList list(8, 4);
  list.add(strip(1, 8, 4), kWhite);
  PaletteBitmap target = ground(12, 8);
  list.draw(target, 0, at.x(), at.y());
  QCOMPARE(marked(target), expected);
}

void MaskedImageListTest::maskIsTheExactColourOnly() {
  PaletteBitmap bitmap(4, 1);
  bitmap.fillRect(bitmap.rect(), kWhite);
  bitmap.fillRect(QRect(1, 0, 1, 1), QColor(254, 255, 255));
  MaskedImageList list(4, 1);
  list.add(bitmap, kWhite);
  PaletteBitmap target = ground(4, 1);
  list.draw(target, 0, 0, 0);
  QCOMPARE(marked(target), QList<QPoint>{QPoint(1, 0)});
  QCOMPARE(target.image().pixel(1, 0), qRgb(254, 255, 255));
}

void MaskedImageListTest::lowBitmapLeavesTheRestMasked() {
  MaskedImageList list(4, 6);
  PaletteBitmap low(4, 2);
  low.fillRect(low.rect(), Qt::blue);
  list.add(low, kWhite);
  PaletteBitmap target = ground(4, 6);
  list.draw(target, 0, 0, 0);
  QCOMPARE(marked(target).size(), 8);
  for (const QPoint& point : marked(target)) QVERIFY(point.y() < 2);
}

void MaskedImageListTest::indexOutsideTheListDrawsNothing_data() {
  QTest::addColumn<int>("index");
  QTest::newRow("minus one (a failed add)") << -1;
  QTest::newRow("one past the end") << 1;
}

void MaskedImageListTest::indexOutsideTheListDrawsNothing() {
  QFETCH(int, index);
  MaskedImageList list(8, 4);
  list.add(strip(1, 8, 4), kWhite);
  PaletteBitmap target = ground(8, 4);
  list.draw(target, index, 0, 0);
  QVERIFY(marked(target).isEmpty());
}

QTEST_MAIN(MaskedImageListTest)
#include "masked_image_list_test.moc"
