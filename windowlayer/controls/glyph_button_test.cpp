#include <QDialog>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

#include "windowlayer/controls/glyph_button.h"

namespace {

const QRgb kOlive = qRgb(128, 128, 0);
const QRgb kRed = qRgb(255, 0, 0);
const QRgb kBlue = qRgb(0, 0, 255);

// Normal picture: olive with a red pixel at (3, 5); disabled: blue at (3, 5).
QString writeStrip(const QTemporaryDir& dir, int size) {
  QImage image(size * 2, size, QImage::Format_RGB32);
  image.fill(kOlive);
  image.setPixel(3, 5, kRed);
  image.setPixel(size + 3, 5, kBlue);
  const QString path = dir.filePath(QStringLiteral("strip%1.bmp").arg(size));
  image.save(path, "BMP");
  return path;
}

bool imageHolds(const QImage& image, QRgb colour) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if ((image.pixel(x, y) & 0xffffffu) == (colour & 0xffffffu)) return true;
  return false;
}

}  // namespace

class GlyphButtonTest : public QObject {
  Q_OBJECT

 private slots:
  void keysOnFocusedButton_data();
  void keysOnFocusedButton();
  void enterInDialogDoesNotClickUnfocusedButton();
  void paintsGlyphWithoutGround_data();
  void paintsGlyphWithoutGround();
  void disabledButtonShowsDisabledPicture();
};

void GlyphButtonTest::keysOnFocusedButton_data() {
  QTest::addColumn<int>("key");
  QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
  QTest::addColumn<int>("expectedClicks");

  QTest::newRow("Return") << int(Qt::Key_Return) << Qt::KeyboardModifiers() << 1;
  QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier)
                                << 1;
  QTest::newRow("Space") << int(Qt::Key_Space) << Qt::KeyboardModifiers() << 1;
  QTest::newRow("Ctrl+Return") << int(Qt::Key_Return) << Qt::KeyboardModifiers(Qt::ControlModifier)
                               << 0;
  QTest::newRow("Escape") << int(Qt::Key_Escape) << Qt::KeyboardModifiers() << 0;
  QTest::newRow("letter") << int(Qt::Key_A) << Qt::KeyboardModifiers() << 0;
}

void GlyphButtonTest::keysOnFocusedButton() {
  QFETCH(int, key);
  QFETCH(Qt::KeyboardModifiers, modifiers);
  QFETCH(int, expectedClicks);

  QWidget window;
  auto* button = new vesk::GlyphButton(&window);
  button->setText(QStringLiteral("Copy"));
  window.show();
  button->setFocus();
  QVERIFY(QTest::qWaitForWindowActive(&window));
  QSignalSpy clicks(button, &QAbstractButton::clicked);

  QTest::keyClick(button, Qt::Key(key), modifiers);
  QCOMPARE(clicks.count(), expectedClicks);
}

void GlyphButtonTest::enterInDialogDoesNotClickUnfocusedButton() {
  // In a dialog a push button would become the default and catch Enter.
  QDialog dialog;
  auto* layout = new QVBoxLayout(&dialog);
  auto* edit = new QLineEdit(&dialog);
  auto* button = new vesk::GlyphButton(&dialog);
  layout->addWidget(edit);
  layout->addWidget(button);
  dialog.show();
  edit->setFocus();
  QVERIFY(QTest::qWaitForWindowActive(&dialog));
  QSignalSpy clicks(button, &QAbstractButton::clicked);

  QTest::keyClick(edit, Qt::Key_Return);
  QVERIFY(!button->autoDefault());
  QVERIFY(!button->isDefault());
  QCOMPARE(clicks.count(), 0);
}

void GlyphButtonTest::paintsGlyphWithoutGround_data() {
  QTest::addColumn<QSize>("buttonSize");
  QTest::addColumn<int>("glyphSize");
  QTest::addColumn<bool>("above");
  QTest::addColumn<QString>("caption");

  QTest::newRow("glyph left") << QSize(97, 25) << 16 << false << QStringLiteral("Convert");
  QTest::newRow("glyph above") << QSize(57, 57) << 18 << true << QStringLiteral("Abort");
  QTest::newRow("no caption") << QSize(25, 25) << 16 << false << QString();
}

void GlyphButtonTest::paintsGlyphWithoutGround() {
  QFETCH(QSize, buttonSize);
  QFETCH(int, glyphSize);
  QFETCH(bool, above);
  QFETCH(QString, caption);
  QTemporaryDir dir;

  vesk::GlyphButton button;
  button.setText(caption);
  button.setGlyph(writeStrip(dir, glyphSize));
  button.setGlyphAboveCaption(above);
  button.resize(buttonSize);
  QCOMPARE(button.glyphAboveCaption(), above);

  const QImage shot = button.grab().toImage();
  const QRect glyph = button.placement().glyph;
  QCOMPARE(glyph.size(), QSize(glyphSize, glyphSize));
  QCOMPARE(shot.pixel(glyph.topLeft() + QPoint(3, 5)) & 0xffffffu, kRed & 0xffffffu);
  QVERIFY(!imageHolds(shot, kOlive));
  QVERIFY(!imageHolds(shot, kBlue));
  const QRect caption_ = button.placement().caption;
  if (!caption.isEmpty()) {
    QVERIFY(button.rect().contains(caption_));
    QVERIFY(!glyph.intersects(caption_));
  }
}

void GlyphButtonTest::disabledButtonShowsDisabledPicture() {
  QTemporaryDir dir;
  vesk::GlyphButton button;
  button.setText(QStringLiteral("Paste"));
  button.setGlyph(writeStrip(dir, 16));
  button.resize(97, 25);
  button.setEnabled(false);

  QCOMPARE(button.shownGlyph().toImage().pixel(3, 5), kBlue);
  const QImage shot = button.grab().toImage();
  QCOMPARE(shot.pixel(button.placement().glyph.topLeft() + QPoint(3, 5)) & 0xffffffu,
           kBlue & 0xffffffu);
  QVERIFY(!imageHolds(shot, kRed));

  button.setEnabled(true);
  QCOMPARE(button.shownGlyph().toImage().pixel(3, 5), kRed);
}

QTEST_MAIN(GlyphButtonTest)
#include "glyph_button_test.moc"
