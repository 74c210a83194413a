#include <QTemporaryDir>
#include <QTest>

#include "windowlayer/controls/glyph_strip.h"

namespace {

const QRgb kOlive = qRgb(128, 128, 0);
const QRgb kRed = qRgb(255, 0, 0);
const QRgb kGrey = qRgb(128, 128, 128);

// A strip filled with ground, with a mark at (3, 5) in the normal picture
// and at (3, 5) of the disabled picture.
QImage strip(int pictureWidth, int height, QRgb ground, QImage::Format format) {
  QImage image(pictureWidth * 2, height, QImage::Format_RGB32);
  image.fill(ground);
  image.setPixel(3, 5, kRed);
  image.setPixel(pictureWidth + 3, 5, kGrey);
  return image.convertToFormat(format);
}

bool transparentAt(const QPixmap& pixmap, int x, int y) {
  return qAlpha(pixmap.toImage().pixel(x, y)) == 0;
}

}  // namespace

class GlyphStripTest : public QObject {
  Q_OBJECT

 private slots:
  void splitsAndMasksGround_data();
  void splitsAndMasksGround();
  void oddWidthDropsLastColumn();
  void nullStripGivesNullPictures();
  void loadsFromFile();
  void missingFileGivesNullPictures();
};

void GlyphStripTest::splitsAndMasksGround_data() {
  QTest::addColumn<QImage>("image");
  QTest::addColumn<QRgb>("otherColour");  // a colour that is not ground and must stay

  QTest::newRow("olive ground, true colour")
      << strip(16, 16, kOlive, QImage::Format_RGB32) << qRgb(255, 255, 255);
  QTest::newRow("olive ground, palette image")
      << strip(16, 16, kOlive, QImage::Format_Indexed8) << qRgb(255, 255, 255);
  QTest::newRow("olive ground, alpha image")
      << strip(18, 18, kOlive, QImage::Format_ARGB32) << qRgb(0, 0, 0);
  // The ground is whatever the lower left pixel holds, so olive is kept here.
  QTest::newRow("white ground") << strip(16, 16, qRgb(255, 255, 255), QImage::Format_RGB32)
                                << kOlive;
}

void GlyphStripTest::splitsAndMasksGround() {
  QFETCH(QImage, image);
  QFETCH(QRgb, otherColour);
  // A pixel of another colour on the ground's row, in both pictures.
  const int width = image.width() / 2;
  QImage marked = image.convertToFormat(QImage::Format_RGB32);
  marked.setPixel(width - 1, image.height() - 1, otherColour);
  marked.setPixel(2 * width - 1, image.height() - 1, otherColour);
  marked = marked.convertToFormat(image.format());

  const vesk::GlyphPictures pictures = vesk::splitGlyphStrip(marked);

  QCOMPARE(pictures.normal.size(), QSize(width, image.height()));
  QCOMPARE(pictures.disabled.size(), QSize(width, image.height()));
  for (const QPixmap* picture : {&pictures.normal, &pictures.disabled}) {
    QVERIFY(transparentAt(*picture, 0, 0));
    QVERIFY(transparentAt(*picture, 0, image.height() - 1));
    QVERIFY(!transparentAt(*picture, 3, 5));
    QVERIFY(!transparentAt(*picture, width - 1, image.height() - 1));
    QCOMPARE(picture->toImage().pixel(width - 1, image.height() - 1) | 0xff000000u,
             otherColour | 0xff000000u);
  }
  QCOMPARE(pictures.normal.toImage().pixel(3, 5), kRed);
  QCOMPARE(pictures.disabled.toImage().pixel(3, 5), kGrey);
}

void GlyphStripTest::oddWidthDropsLastColumn() {
  QImage image = strip(16, 16, kOlive, QImage::Format_RGB32);
  QImage wider(33, 16, QImage::Format_RGB32);
  wider.fill(kRed);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 32; ++x) wider.setPixel(x, y, image.pixel(x, y));

  const vesk::GlyphPictures pictures = vesk::splitGlyphStrip(wider);
  QCOMPARE(pictures.normal.size(), QSize(16, 16));
  QCOMPARE(pictures.disabled.size(), QSize(16, 16));
  QCOMPARE(pictures.disabled.toImage().pixel(3, 5), kGrey);
  QVERIFY(transparentAt(pictures.disabled, 15, 0));
}

void GlyphStripTest::nullStripGivesNullPictures() {
  const vesk::GlyphPictures pictures = vesk::splitGlyphStrip(QImage());
  QVERIFY(pictures.normal.isNull());
  QVERIFY(pictures.disabled.isNull());
}

void GlyphStripTest::loadsFromFile() {
  QTemporaryDir dir;
  const QString path = dir.filePath("glyph.bmp");
  QVERIFY(strip(16, 16, kOlive, QImage::Format_RGB32).save(path, "BMP"));

  const vesk::GlyphPictures pictures = vesk::loadGlyphStrip(path);
  QCOMPARE(pictures.normal.size(), QSize(16, 16));
  QVERIFY(transparentAt(pictures.normal, 15, 15));
  QCOMPARE(pictures.normal.toImage().pixel(3, 5), kRed);
}

void GlyphStripTest::missingFileGivesNullPictures() {
  QVERIFY(vesk::loadGlyphStrip(":/no/such/glyph.bmp").normal.isNull());
}

QTEST_MAIN(GlyphStripTest)
#include "glyph_strip_test.moc"
