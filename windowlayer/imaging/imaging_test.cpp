#include <QApplication>
#include <QTest>

#include "windowlayer/imaging/image_control.h"
#include "windowlayer/imaging/masked_image_list.h"
#include "windowlayer/imaging/palette_bitmap.h"
#include "windowlayer/imaging/testing/paint_counter.h"

using vesk::ImageControl;
using vesk::MaskedImageList;
using vesk::PaletteBitmap;

namespace {

const QColor kWhite(255, 255, 255);
const QRgb kGround = qRgb(0, 128, 0);

PaletteBitmap filled(int width, int height, QColor colour) {
  PaletteBitmap bitmap(width, height);
  bitmap.fillRect(bitmap.rect(), colour);
  return bitmap;
}

// A strip of `pieces` cells of `cell` x `height`; cell i is white except for
// a 2 x 2 block of colour (i + 1) * 20 at (i + 1, 1) within the cell.
PaletteBitmap strip(int pieces, int cell, int height) {
  PaletteBitmap bitmap = filled(pieces * cell, height, kWhite);
  for (int i = 0; i < pieces; ++i) {
    bitmap.fillRect(QRect(i * cell + i + 1, 1, 2, 2), QColor((i + 1) * 20, 0, 0));
  }
  return bitmap;
}

// The pixels of `bitmap` that are not `colour`.
QList<QPoint> otherThan(const PaletteBitmap& bitmap, QRgb colour) {
  QList<QPoint> points;
  for (int y = 0; y < bitmap.height(); ++y) {
    for (int x = 0; x < bitmap.width(); ++x) {
      if (bitmap.image().pixel(x, y) != colour) points << QPoint(x, y);
    }
  }
  return points;
}

QList<QPoint> block(int x, int y) {
  return {QPoint(x, y), QPoint(x + 1, y), QPoint(x, y + 1), QPoint(x + 1, y + 1)};
}

}  // namespace

class ImagingTest : public QObject {
  Q_OBJECT

 private slots:
  void fillRect_data();
  void fillRect();
  void copyRectIsPixelForPixelAndReplaces();
  void takesPixelsAndPaletteFromAnIndexedImage();
  void nullBitmapIgnoresDrawing();

  void addCutsLeftToRight_data();
  void addCutsLeftToRight();
  void imagesKeepTheirOrderAcrossAdds();
  void drawPutsOnlyUnmaskedPixels_data();
  void drawPutsOnlyUnmaskedPixels();
  void maskIsTheExactColourOnly();
  void lowBitmapLeavesTheRestMasked();

  void imageControlShowsACopyAtTheTopLeftUnstretched();
};

void ImagingTest::fillRect_data() {
  QTest::addColumn<QList<QRgb>>("palette");
  QTest::addColumn<QRect>("area");
  QTest::addColumn<QColor>("colour");
  QTest::addColumn<QRgb>("expected");
  QTest::addColumn<int>("filled");

  const QList<QRgb> none;
  const QList<QRgb> whiteRedBlue{qRgb(255, 255, 255), qRgb(255, 0, 0), qRgb(0, 0, 255)};
  QTest::newRow("whole, no palette, exact")
      << none << QRect(0, 0, 10, 6) << QColor(12, 34, 56) << qRgb(12, 34, 56) << 60;
  QTest::newRow("part, no palette")
      << none << QRect(2, 1, 3, 4) << QColor(Qt::white) << qRgb(255, 255, 255) << 12;
  QTest::newRow("palette entry itself")
      << whiteRedBlue << QRect(0, 0, 10, 6) << QColor(Qt::white) << qRgb(255, 255, 255) << 60;
  QTest::newRow("off-palette to nearest")
      << whiteRedBlue << QRect(0, 0, 10, 6) << QColor(200, 30, 40) << qRgb(255, 0, 0) << 60;
  QTest::newRow("clipped at the edges")
      << none << QRect(-3, 4, 8, 10) << QColor(Qt::green) << qRgb(0, 255, 0) << 10;
  QTest::newRow("empty area") << none << QRect(3, 3, 0, 0) << QColor(Qt::green) << qRgb(0, 255, 0)
                              << 0;
}

// Exactly the pixels of the area take the colour; the rest stay black.
void ImagingTest::fillRect() {
  QFETCH(QList<QRgb>, palette);
  QFETCH(QRect, area);
  QFETCH(QColor, colour);
  QFETCH(QRgb, expected);
  QFETCH(int, filled);

  PaletteBitmap bitmap(10, 6);
  bitmap.setPalette(palette);
  bitmap.fillRect(area, colour);
  const QList<QPoint> changed = otherThan(bitmap, qRgb(0, 0, 0));
  QCOMPARE(changed.size(), filled);
  for (const QPoint& point : changed) {
    QVERIFY(area.contains(point));
    QCOMPARE(bitmap.image().pixel(point), expected);
  }
}

void ImagingTest::copyRectIsPixelForPixelAndReplaces() {
  PaletteBitmap source(8, 8);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) source.fillRect(QRect(x, y, 1, 1), QColor(x * 30, y * 30, 7));
  }
  PaletteBitmap target = filled(4, 4, Qt::white);
  target.copyRect(target.rect(), source, QRect(3, 2, 4, 4));
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) {
      QCOMPARE(target.image().pixel(x, y), qRgb((x + 3) * 30, (y + 2) * 30, 7));
    }
  }
}

void ImagingTest::takesPixelsAndPaletteFromAnIndexedImage() {
  QImage indexed(3, 2, QImage::Format_Indexed8);
  indexed.setColorTable({qRgb(255, 255, 255), qRgb(10, 20, 30)});
  indexed.fill(0);
  indexed.setPixel(2, 1, 1);
  const PaletteBitmap bitmap(indexed);
  QCOMPARE(bitmap.palette(), indexed.colorTable());
  QCOMPARE(otherThan(bitmap, qRgb(255, 255, 255)), QList<QPoint>{QPoint(2, 1)});
  QCOMPARE(bitmap.image().pixel(2, 1), qRgb(10, 20, 30));
}

void ImagingTest::nullBitmapIgnoresDrawing() {
  PaletteBitmap empty;
  PaletteBitmap other(4, 4);
  empty.fillRect(QRect(0, 0, 4, 4), Qt::red);
  empty.copyRect(QRect(0, 0, 4, 4), other, other.rect());
  empty.draw(QPoint(0, 0), other.image());
  other.copyRect(other.rect(), empty, QRect(0, 0, 4, 4));
  QVERIFY(empty.isNull());
  QVERIFY(otherThan(other, qRgb(0, 0, 0)).isEmpty());
}

void ImagingTest::addCutsLeftToRight_data() {
  QTest::addColumn<int>("bitmapWidth");
  QTest::addColumn<int>("listWidth");
  QTest::addColumn<int>("firstIndex");
  QTest::addColumn<int>("count");

  QTest::newRow("sheet into figures") << 256 << 64 << 0 << 4;
  QTest::newRow("exactly one image") << 48 << 48 << 0 << 1;
  QTest::newRow("remainder dropped") << 100 << 48 << 0 << 2;
  QTest::newRow("narrower than one image") << 47 << 48 << -1 << 0;
}

void ImagingTest::addCutsLeftToRight() {
  QFETCH(int, bitmapWidth);
  QFETCH(int, listWidth);
  QFETCH(int, firstIndex);
  QFETCH(int, count);

  MaskedImageList list(listWidth, 8);
  QCOMPARE(list.add(PaletteBitmap(bitmapWidth, 8), kWhite), firstIndex);
  QCOMPARE(list.count(), count);
}

void ImagingTest::imagesKeepTheirOrderAcrossAdds() {
  MaskedImageList list(8, 4);
  QCOMPARE(list.add(strip(3, 8, 4), kWhite), 0);
  QCOMPARE(list.add(strip(2, 8, 4), kWhite), 3);
  // Image i of a strip carries colour (i + 1) * 20 at (i + 1, 1).
  const int cells[] = {0, 1, 2, 0, 1};
  for (int i = 0; i < list.count(); ++i) {
    PaletteBitmap target = filled(8, 4, QColor::fromRgb(kGround));
    list.draw(target, i, 0, 0);
    QCOMPARE(otherThan(target, kGround), block(cells[i] + 1, 1));
    QCOMPARE(target.image().pixel(cells[i] + 1, 1), qRgb((cells[i] + 1) * 20, 0, 0));
  }
}

void ImagingTest::drawPutsOnlyUnmaskedPixels_data() {
  QTest::addColumn<int>("index");
  QTest::addColumn<QPoint>("at");
  QTest::addColumn<QList<QPoint>>("expected");

  QTest::newRow("origin") << 0 << QPoint(0, 0) << block(1, 1);
  QTest::newRow("offset") << 0 << QPoint(5, 3) << block(6, 4);
  QTest::newRow("clipped by the right edge")
      << 0 << QPoint(10, 0) << QList<QPoint>{{11, 1}, {11, 2}};
  QTest::newRow("negative, clipped") << 0 << QPoint(-2, -2) << QList<QPoint>{{0, 0}};
  QTest::newRow("entirely outside") << 0 << QPoint(20, 20) << QList<QPoint>{};
  QTest::newRow("index -1, a failed add") << -1 << QPoint(0, 0) << QList<QPoint>{};
  QTest::newRow("index past the end") << 1 << QPoint(0, 0) << QList<QPoint>{};
}

void ImagingTest::drawPutsOnlyUnmaskedPixels() {
  QFETCH(int, index);
  QFETCH(QPoint, at);
  QFETCH(QList<QPoint>, expected);

  MaskedImageList list(8, 4);
  list.add(strip(1, 8, 4), kWhite);
  PaletteBitmap target = filled(12, 8, QColor::fromRgb(kGround));
  list.draw(target, index, at.x(), at.y());
  QCOMPARE(otherThan(target, kGround), expected);
}

void ImagingTest::maskIsTheExactColourOnly() {
  PaletteBitmap bitmap = filled(4, 1, kWhite);
  bitmap.fillRect(QRect(1, 0, 1, 1), QColor(254, 255, 255));
  MaskedImageList list(4, 1);
  list.add(bitmap, kWhite);
  PaletteBitmap target = filled(4, 1, QColor::fromRgb(kGround));
  list.draw(target, 0, 0, 0);
  QCOMPARE(otherThan(target, kGround), QList<QPoint>{QPoint(1, 0)});
  QCOMPARE(target.image().pixel(1, 0), qRgb(254, 255, 255));
}

void ImagingTest::lowBitmapLeavesTheRestMasked() {
  MaskedImageList list(2, 3);
  list.add(filled(2, 1, Qt::blue), kWhite);
  PaletteBitmap target = filled(2, 3, QColor::fromRgb(kGround));
  list.draw(target, 0, 0, 0);
  QCOMPARE(otherThan(target, kGround), (QList<QPoint>{{0, 0}, {1, 0}}));
}

void ImagingTest::imageControlShowsACopyAtTheTopLeftUnstretched() {
  QWidget window;
  window.setStyleSheet("background: white");
  ImageControl control(&window);
  control.setGeometry(0, 0, 20, 10);
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  vesk::testing::PaintCounter paints;
  control.installEventFilter(&paints);
  PaletteBitmap bitmap = filled(6, 4, Qt::red);
  control.setPicture(bitmap);
  QTRY_VERIFY(paints.count > 0);
  // Later changes to the bitmap do not reach the control.
  bitmap.fillRect(bitmap.rect(), Qt::blue);
  const QImage shown = control.grab().toImage();
  QCOMPARE(shown.pixel(0, 0), qRgb(255, 0, 0));
  QCOMPARE(shown.pixel(5, 3), qRgb(255, 0, 0));
  QVERIFY(shown.pixel(6, 3) != qRgb(255, 0, 0));
  QVERIFY(shown.pixel(5, 4) != qRgb(255, 0, 0));
}

QTEST_MAIN(ImagingTest)
#include "imaging_test.moc"
