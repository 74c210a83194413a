#include <QImage>
#include <QTest>

// Loads every picture through the Qt resource system, as the windows do, so a
// missing entry or a file Qt cannot decode fails here rather than on screen.
// Their pixels are tools/artwork/test_artwork.py's.
class ResourceLoadTest : public QObject {
  Q_OBJECT

 private slots:
  void loadsWithItsSizeAndPalette_data();
  void loadsWithItsSizeAndPalette();
};

void ResourceLoadTest::loadsWithItsSizeAndPalette_data() {
  QTest::addColumn<QSize>("size");
  QTest::addColumn<int>("colourCount");
  // Qt widens 4-bit BMPs to 8-bit indexed images but keeps their 16-entry table.
  for (const char* glyph : {"copy", "paste", "arrow_down", "arrow_up"})
    QTest::addRow(":/glyphs/%s.bmp", glyph) << QSize(32, 16) << 16;
  QTest::newRow(":/glyphs/question.bmp") << QSize(36, 18) << 16;
  QTest::newRow(":/bitmaps/KALDREN.bmp") << QSize(256, 128) << 256;
  // The icons: the 16 VGA colours and one transparent entry.
  QTest::newRow(":/icons/vesktext.png") << QSize(32, 32) << 17;
  QTest::newRow(":/icons/copyright.png") << QSize(32, 32) << 17;
}

// Glyphs show their olive ground in the lower left corner of both pictures,
// icons are transparent in their corners.
void ResourceLoadTest::loadsWithItsSizeAndPalette() {
  QFETCH(QSize, size);
  QFETCH(int, colourCount);
  const QString path = QTest::currentDataTag();
  const QImage image(path);
  QCOMPARE(image.size(), size);
  QCOMPARE(image.format(), QImage::Format_Indexed8);
  QCOMPARE(image.colorCount(), colourCount);
  const int bottom = image.height() - 1;
  if (path.contains("glyphs")) {
    QCOMPARE(image.pixel(0, bottom), qRgb(128, 128, 0));
    QCOMPARE(image.pixel(image.width() / 2, bottom), qRgb(128, 128, 0));
  }
  if (path.contains("icons")) QCOMPARE(qAlpha(image.pixel(image.width() - 1, bottom)), 0);
}

QTEST_GUILESS_MAIN(ResourceLoadTest)
#include "resource_load_test.moc"
