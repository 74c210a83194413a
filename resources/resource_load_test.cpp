#include <QImage>
#include <QTest>

// Loads every picture through the Qt resource system, as the windows do, so a
// missing entry or a file Qt cannot decode fails here rather than on screen.
class ResourceLoadTest : public QObject {
  Q_OBJECT

 private slots:
  void loadsWithItsSizeAndPalette_data();
  void loadsWithItsSizeAndPalette();
  void glyphGroundIsOlive_data();
  void glyphGroundIsOlive();
  void iconCornersAreTransparent_data();
  void iconCornersAreTransparent();
};

void ResourceLoadTest::loadsWithItsSizeAndPalette_data() {
  QTest::addColumn<QString>("path");
  QTest::addColumn<QSize>("size");
  QTest::addColumn<int>("colourCount");
  // Qt widens 4-bit BMPs to 8-bit indexed images but keeps their 16-entry table.
  QTest::newRow("copy glyph") << ":/glyphs/copy.bmp" << QSize(32, 16) << 16;
  QTest::newRow("paste glyph") << ":/glyphs/paste.bmp" << QSize(32, 16) << 16;
  QTest::newRow("down arrow glyph") << ":/glyphs/arrow_down.bmp" << QSize(32, 16) << 16;
  QTest::newRow("up arrow glyph") << ":/glyphs/arrow_up.bmp" << QSize(32, 16) << 16;
  QTest::newRow("question glyph") << ":/glyphs/question.bmp" << QSize(36, 18) << 16;
  QTest::newRow("sprite sheet") << ":/bitmaps/KALDREN.bmp" << QSize(256, 128) << 256;
  // The icons: the 16 VGA colours and one transparent entry.
  QTest::newRow("program icon") << ":/icons/vesktext.png" << QSize(32, 32) << 17;
  QTest::newRow("about icon") << ":/icons/copyright.png" << QSize(32, 32) << 17;
}

void ResourceLoadTest::loadsWithItsSizeAndPalette() {
  QFETCH(QString, path);
  QFETCH(QSize, size);
  QFETCH(int, colourCount);
  const QImage image(path);
  QVERIFY2(!image.isNull(), qPrintable(path));
  QCOMPARE(image.size(), size);
  QCOMPARE(image.format(), QImage::Format_Indexed8);
  QCOMPARE(image.colorCount(), colourCount);
}

void ResourceLoadTest::glyphGroundIsOlive_data() {
  QTest::addColumn<QString>("path");
  QTest::newRow("copy") << ":/glyphs/copy.bmp";
  QTest::newRow("paste") << ":/glyphs/paste.bmp";
  QTest::newRow("down arrow") << ":/glyphs/arrow_down.bmp";
  QTest::newRow("up arrow") << ":/glyphs/arrow_up.bmp";
  QTest::newRow("question") << ":/glyphs/question.bmp";
}

// The buttons take the lower left pixel of each picture as the colour to hide.
void ResourceLoadTest::glyphGroundIsOlive() {
  QFETCH(QString, path);
  const QImage image(path);
  const int pictureWidth = image.width() / 2;
  const int bottom = image.height() - 1;
  QCOMPARE(image.pixel(0, bottom), qRgb(128, 128, 0));
  QCOMPARE(image.pixel(pictureWidth, bottom), qRgb(128, 128, 0));
  QVERIFY(image.pixel(pictureWidth / 2, image.height() / 2) != qRgb(128, 128, 0));
}

void ResourceLoadTest::iconCornersAreTransparent_data() {
  QTest::addColumn<QString>("path");
  QTest::newRow("program icon") << ":/icons/vesktext.png";
  QTest::newRow("about icon") << ":/icons/copyright.png";
}

void ResourceLoadTest::iconCornersAreTransparent() {
  QFETCH(QString, path);
  const QImage image(path);
  QVERIFY(image.hasAlphaChannel());
  const int right = image.width() - 1;
  const int bottom = image.height() - 1;
  for (const QPoint corner :
       {QPoint(0, 0), QPoint(right, 0), QPoint(0, bottom), QPoint(right, bottom)}) {
    QCOMPARE(qAlpha(image.pixel(corner)), 0);
  }
  int opaque = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      opaque += qAlpha(image.pixel(x, y)) == 255 ? 1 : 0;
    }
  }
  QVERIFY2(opaque > image.width() * image.height() / 3, "the picture is mostly missing");
}

QTEST_GUILESS_MAIN(ResourceLoadTest)
#include "resource_load_test.moc"
