#include <QGuiApplication>
#include <QTest>

#include "windowlayer/imaging/palette_bitmap.h"

using vesk::PaletteBitmap;

namespace {

// Counts the pixels of `bitmap` inside and outside `area` that equal `colour`.
struct Census {
  int inside = 0;
  int outside = 0;
};

Census census(const PaletteBitmap& bitmap, const QRect& area, QRgb colour) {
  Census result;
  for (int y = 0; y < bitmap.height(); ++y) {
    for (int x = 0; x < bitmap.width(); ++x) {
      if (bitmap.image().pixel(x, y) != colour) continue;
      (area.contains(x, y) ? result.inside : result.outside)++;
    }
  }
  return result;
}

}  // namespace

class PaletteBitmapTest : public QObject {
  Q_OBJECT

 private slots:
  void fillRect_data();
  void fillRect();
  void copyRectIsPixelForPixelAndReplaces();
  void takesPixelsAndPaletteFromAnIndexedImage();
  void nullBitmapIgnoresDrawing();
};

void PaletteBitmapTest::fillRect_data() {
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

void PaletteBitmapTest::fillRect() {
  QFETCH(QList<QRgb>, palette);
  QFETCH(QRect, area);
  QFETCH(QColor, colour);
  QFETCH(QRgb, expected);
  QFETCH(int, filled);

  PaletteBitmap bitmap(10, 6);
  bitmap.setPalette(palette);
  bitmap.fillRect(area, colour);
  const Census counted = census(bitmap, area, expected);
  QCOMPARE(counted.inside, filled);
  QCOMPARE(counted.outside, 0);
}

void PaletteBitmapTest::copyRectIsPixelForPixelAndReplaces() {
  PaletteBitmap source(8, 8);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) source.fillRect(QRect(x, y, 1, 1), QColor(x * 30, y * 30, 7));
  }
  PaletteBitmap target(4, 4);
  target.fillRect(target.rect(), Qt::white);
  target.copyRect(target.rect(), source, QRect(3, 2, 4, 4));
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) {
      QCOMPARE(target.image().pixel(x, y), qRgb((x + 3) * 30, (y + 2) * 30, 7));
    }
  }
}

void PaletteBitmapTest::takesPixelsAndPaletteFromAnIndexedImage() {
  QImage indexed(3, 2, QImage::Format_Indexed8);
  indexed.setColorTable({qRgb(255, 255, 255), qRgb(10, 20, 30)});
  indexed.fill(0);
  indexed.setPixel(2, 1, 1);
  const PaletteBitmap bitmap(indexed);
  QCOMPARE(bitmap.palette(), indexed.colorTable());
  QCOMPARE(bitmap.image().pixel(2, 1), qRgb(10, 20, 30));
  QCOMPARE(bitmap.image().pixel(0, 0), qRgb(255, 255, 255));
}

void PaletteBitmapTest::nullBitmapIgnoresDrawing() {
  PaletteBitmap empty;
  PaletteBitmap other(4, 4);
  empty.fillRect(QRect(0, 0, 4, 4), Qt::red);
  empty.copyRect(QRect(0, 0, 4, 4), other, other.rect());
  other.copyRect(other.rect(), empty, QRect(0, 0, 4, 4));
  QVERIFY(empty.isNull());
  QCOMPARE(census(other, other.rect(), qRgb(0, 0, 0)).inside, 16);
}

QTEST_MAIN(PaletteBitmapTest)
#include "palette_bitmap_test.moc"
