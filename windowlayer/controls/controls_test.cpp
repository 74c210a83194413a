#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

#include "windowlayer/controls/framed_dialog.h"
#include "windowlayer/controls/glyph_button.h"
#include "windowlayer/controls/label_fit.h"
#include "windowlayer/controls/window_font.h"

using vesk::GlyphPosition;

Q_DECLARE_METATYPE(GlyphPosition)

namespace {

const QRgb kOlive = qRgb(128, 128, 0);
const QRgb kRed = qRgb(255, 0, 0);
const QRgb kBlue = qRgb(0, 0, 255);

// A strip of two pictures on `ground`: red at (3, 5) in the normal one, blue
// in the disabled one, and `extra` columns of red beyond them.
QImage strip(int size, QRgb ground, QImage::Format format = QImage::Format_RGB32, int extra = 0) {
  QImage image(size * 2 + extra, size, QImage::Format_RGB32);
  image.fill(ground);
  for (int y = 0; y < size; ++y)
    for (int x = 2 * size; x < image.width(); ++x) image.setPixel(x, y, kRed);
  image.setPixel(3, 5, kRed);
  image.setPixel(size + 3, 5, kBlue);
  return image.convertToFormat(format);
}

bool transparentAt(const QPixmap& pixmap, int x, int y) {
  return qAlpha(pixmap.toImage().pixel(x, y)) == 0;
}

bool holds(const QImage& image, QRgb colour) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if ((image.pixel(x, y) & 0xffffffu) == (colour & 0xffffffu)) return true;
  return false;
}

// Lays out one child at (5, 6) in a client area of 100 x 60 and frames it.
class Framed : public vesk::FramedDialog {
 public:
  Framed() : child(new QWidget(this)) {
    setWindowTitle(QStringLiteral("Framed"));
    resize(100, 60);
    child->setGeometry(5, 6, 10, 10);
    frameClientArea();
  }
  QWidget* child;
};

}  // namespace

class ControlsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { vesk::installFontSubstitutes(); }

  void placesGlyphAndCaptionCentred_data();
  void placesGlyphAndCaptionCentred();
  void splitsStripAndMasksGround_data();
  void splitsStripAndMasksGround();
  void noStripGivesNullPictures();
  void keysOnFocusedButton_data();
  void keysOnFocusedButton();
  void enterInDialogDoesNotClickUnfocusedButton();
  void paintsGlyphWithoutGround_data();
  void paintsGlyphWithoutGround();

  void familyResolvesToTheFirstInstalledStandIn_data();
  void familyResolvesToTheFirstInstalledStandIn();
  void windowFontIsTwelvePixelsAndDrawsJapanese();
  void labelIsDrawnCloserByTheFewestPixelsThatKeepItClear_data();
  void labelIsDrawnCloserByTheFewestPixelsThatKeepItClear();

  void framedDialogPutsItsFrameAroundTheClientArea();
  void framedDialogMovesByItsTitleBar();
};

void ControlsTest::placesGlyphAndCaptionCentred_data() {
  QTest::addColumn<QRect>("area");
  QTest::addColumn<QSize>("glyph");
  QTest::addColumn<QSize>("caption");
  QTest::addColumn<GlyphPosition>("position");
  QTest::addColumn<QRect>("expectedGlyph");  // null for no glyph
  QTest::addColumn<QRect>("expectedCaption");
  const auto left = GlyphPosition::LeftOfCaption;
  const auto above = GlyphPosition::AboveCaption;

  // 97x25 command button, 16x16 glyph, caption 24x12: group 44 wide, 26 px each side.
  QTest::newRow("command button") << QRect(0, 0, 97, 25) << QSize(16, 16) << QSize(24, 12) << left
                                  << QRect(26, 4, 16, 16) << QRect(46, 6, 24, 12);
  // 57x57 about button, 18x18 glyph above a 30x12 caption: group 34 high, 11.5 px above.
  QTest::newRow("about button") << QRect(0, 0, 57, 57) << QSize(18, 18) << QSize(30, 12) << above
                                << QRect(19, 11, 18, 18) << QRect(13, 33, 30, 12);
  QTest::newRow("area off the origin") << QRect(10, 20, 97, 25) << QSize(16, 16) << QSize(24, 12)
                                       << left << QRect(36, 24, 16, 16) << QRect(56, 26, 24, 12);
  // A group wider than the button overflows evenly on both sides.
  QTest::newRow("group wider than area") << QRect(0, 0, 40, 25) << QSize(16, 16) << QSize(40, 12)
                                         << left << QRect(-10, 4, 16, 16) << QRect(10, 6, 40, 12);
  QTest::newRow("caption taller than glyph") << QRect(0, 0, 97, 25) << QSize(16, 8) << QSize(24, 20)
                                             << left << QRect(26, 8, 16, 8) << QRect(46, 2, 24, 20);
  // A lone glyph or caption is centred by itself, without the spacing.
  QTest::newRow("glyph only, left") << QRect(0, 0, 97, 25) << QSize(16, 16) << QSize(0, 12) << left
                                    << QRect(40, 4, 16, 16) << QRect();
  QTest::newRow("glyph only, above") << QRect(0, 0, 97, 25) << QSize(16, 16) << QSize(0, 12)
                                     << above << QRect(40, 4, 16, 16) << QRect();
  QTest::newRow("caption only, left")
      << QRect(0, 0, 97, 25) << QSize() << QSize(24, 12) << left << QRect() << QRect(36, 6, 24, 12);
  QTest::newRow("caption only, above") << QRect(0, 0, 97, 25) << QSize() << QSize(24, 12) << above
                                       << QRect() << QRect(36, 6, 24, 12);
}

void ControlsTest::placesGlyphAndCaptionCentred() {
  QFETCH(QRect, area);
  QFETCH(QSize, glyph);
  QFETCH(QSize, caption);
  QFETCH(GlyphPosition, position);
  QFETCH(QRect, expectedGlyph);
  QFETCH(QRect, expectedCaption);

  const auto placed = vesk::placeGlyphAndCaption(area, glyph, caption, position, 4);
  if (!expectedGlyph.isNull()) QCOMPARE(placed.glyph, expectedGlyph);
  if (!expectedCaption.isNull()) QCOMPARE(placed.caption, expectedCaption);
}

void ControlsTest::splitsStripAndMasksGround_data() {
  QTest::addColumn<QImage>("image");
  QTest::addColumn<QRgb>("otherColour");  // a colour that is not ground and must stay

  QTest::newRow("olive ground, true colour") << strip(16, kOlive) << qRgb(255, 255, 255);
  QTest::newRow("olive ground, palette image")
      << strip(16, kOlive, QImage::Format_Indexed8) << qRgb(255, 255, 255);
  QTest::newRow("olive ground, alpha image")
      << strip(18, kOlive, QImage::Format_ARGB32) << qRgb(0, 0, 0);
  // The ground is whatever the lower left pixel holds, so olive is kept here.
  QTest::newRow("white ground") << strip(16, qRgb(255, 255, 255)) << kOlive;
  QTest::newRow("odd width, last column dropped")
      << strip(16, kOlive, QImage::Format_RGB32, 1) << qRgb(255, 255, 255);
}

void ControlsTest::splitsStripAndMasksGround() {
  QFETCH(QImage, image);
  QFETCH(QRgb, otherColour);
  // A pixel of another colour on the ground's row, in both pictures.
  const int width = image.width() / 2;
  const int bottom = image.height() - 1;
  QImage marked = image.convertToFormat(QImage::Format_RGB32);
  marked.setPixel(width - 1, bottom, otherColour);
  marked.setPixel(2 * width - 1, bottom, otherColour);

  const vesk::GlyphPictures pictures =
      vesk::splitGlyphStrip(marked.convertToFormat(image.format()));
  for (const QPixmap* picture : {&pictures.normal, &pictures.disabled}) {
    QCOMPARE(picture->size(), QSize(width, image.height()));
    QVERIFY(transparentAt(*picture, 0, 0));
    QVERIFY(transparentAt(*picture, 0, bottom));
    QCOMPARE(picture->toImage().pixel(width - 1, bottom) | 0xff000000u, otherColour | 0xff000000u);
  }
  QCOMPARE(pictures.normal.toImage().pixel(3, 5), kRed);
  QCOMPARE(pictures.disabled.toImage().pixel(3, 5), kBlue);
}

void ControlsTest::noStripGivesNullPictures() {
  QVERIFY(vesk::splitGlyphStrip(QImage()).disabled.isNull());
  QVERIFY(vesk::loadGlyphStrip(":/no/such/glyph.bmp").normal.isNull());
}

void ControlsTest::keysOnFocusedButton_data() {
  QTest::addColumn<int>("key");
  QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
  QTest::addColumn<int>("clicks");

  QTest::newRow("Return") << int(Qt::Key_Return) << Qt::KeyboardModifiers() << 1;
  QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier)
                                << 1;
  QTest::newRow("Space") << int(Qt::Key_Space) << Qt::KeyboardModifiers() << 1;
  QTest::newRow("Ctrl+Return") << int(Qt::Key_Return) << Qt::KeyboardModifiers(Qt::ControlModifier)
                               << 0;
  QTest::newRow("Escape") << int(Qt::Key_Escape) << Qt::KeyboardModifiers() << 0;
  QTest::newRow("letter") << int(Qt::Key_A) << Qt::KeyboardModifiers() << 0;
}

void ControlsTest::keysOnFocusedButton() {
  QFETCH(int, key);
  QFETCH(Qt::KeyboardModifiers, modifiers);
  QFETCH(int, clicks);

  QWidget window;
  auto* button = new vesk::GlyphButton(&window);
  window.show();
  button->setFocus();
  QVERIFY(QTest::qWaitForWindowActive(&window));
  const QSignalSpy clicked(button, &QAbstractButton::clicked);
  QTest::keyClick(button, Qt::Key(key), modifiers);
  QCOMPARE(clicked.count(), clicks);
}

void ControlsTest::enterInDialogDoesNotClickUnfocusedButton() {
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
  const QSignalSpy clicked(button, &QAbstractButton::clicked);
  QTest::keyClick(edit, Qt::Key_Return);
  QCOMPARE(clicked.count(), 0);
}

void ControlsTest::paintsGlyphWithoutGround_data() {
  QTest::addColumn<QSize>("buttonSize");
  QTest::addColumn<int>("glyphSize");
  QTest::addColumn<bool>("above");
  QTest::addColumn<QString>("caption");
  QTest::addColumn<bool>("enabled");

  QTest::newRow("glyph left") << QSize(97, 25) << 16 << false << "Convert" << true;
  QTest::newRow("glyph above") << QSize(57, 57) << 18 << true << "Abort" << true;
  QTest::newRow("no caption") << QSize(25, 25) << 16 << false << "" << true;
  QTest::newRow("disabled") << QSize(97, 25) << 16 << false << "Paste" << false;
}

// The picture of the button's state, with its ground left out, at its place,
// which leaves the caption clear.
void ControlsTest::paintsGlyphWithoutGround() {
  QFETCH(QSize, buttonSize);
  QFETCH(int, glyphSize);
  QFETCH(bool, above);
  QFETCH(QString, caption);
  QFETCH(bool, enabled);

  QTemporaryDir dir;
  const QString path = dir.filePath("strip.bmp");
  QVERIFY(strip(glyphSize, kOlive).save(path, "BMP"));
  vesk::GlyphButton button;
  button.setText(caption);
  button.setGlyph(path);
  button.setGlyphAboveCaption(above);
  button.resize(buttonSize);
  button.setEnabled(enabled);
  QCOMPARE(button.glyphAboveCaption(), above);

  const QImage shot = button.grab().toImage();
  const vesk::GlyphPlacement where = button.placement();
  QCOMPARE(where.glyph.size(), QSize(glyphSize, glyphSize));
  const QRgb shown = enabled ? kRed : kBlue;
  QCOMPARE(shot.pixel(where.glyph.topLeft() + QPoint(3, 5)) & 0xffffffu, shown & 0xffffffu);
  QVERIFY(!holds(shot, kOlive));
  QVERIFY(!holds(shot, enabled ? kBlue : kRed));
  if (!caption.isEmpty()) {
    QVERIFY(button.rect().contains(where.caption));
    QVERIFY(!where.glyph.intersects(where.caption));
  }
}

void ControlsTest::familyResolvesToTheFirstInstalledStandIn_data() {
  QTest::addColumn<QString>("family");
  QTest::addColumn<QStringList>("standIns");
  QTest::newRow("MS PGothic") << vesk::windowFontFamily() << vesk::windowFontSubstitutes();
  QTest::newRow("Arial") << vesk::arialFamily() << vesk::arialSubstitutes();
}

void ControlsTest::familyResolvesToTheFirstInstalledStandIn() {
  QFETCH(QString, family);
  QFETCH(QStringList, standIns);
  const QStringList installed = QFontDatabase::families();
  const auto first = std::find_if(standIns.begin(), standIns.end(), [&](const QString& standIn) {
    return installed.contains(standIn);
  });
  QVERIFY2(first != standIns.end(), qPrintable("no stand-in for " + family));
  QCOMPARE(QFontInfo(QFont(family)).family(), *first);
}

void ControlsTest::windowFontIsTwelvePixelsAndDrawsJapanese() {
  const QFontInfo info(vesk::windowFont());
  QCOMPARE(info.pixelSize(), 12);
  QVERIFY(vesk::windowFontSubstitutes().contains(info.family()));
  const QFontMetrics metrics(vesk::windowFont());
  QVERIFY(metrics.inFontUcs4(U'標'));
  QVERIFY(metrics.inFontUcs4(U'ロ'));
}

void ControlsTest::labelIsDrawnCloserByTheFewestPixelsThatKeepItClear_data() {
  QTest::addColumn<int>("overflow");  // how far the text would run past the limit
  QTest::addColumn<int>("spacing");
  // The text has 8 letters.
  QTest::newRow("room to spare") << -20 << 0;
  QTest::newRow("just fits") << 0 << 0;
  QTest::newRow("one pixel over") << 1 << -1;
  QTest::newRow("a pixel a letter") << 8 << -1;
  QTest::newRow("one more") << 9 << -2;
}

void ControlsTest::labelIsDrawnCloserByTheFewestPixelsThatKeepItClear() {
  QFETCH(int, overflow);
  QFETCH(int, spacing);
  QLabel label(QStringLiteral("Veskローカル"));
  label.setFont(vesk::windowFont());
  label.move(8, 0);
  const int limit = 8 + label.fontMetrics().horizontalAdvance(label.text()) - overflow;
  vesk::sizeToTextBefore(label, limit);
  QCOMPARE(label.font().letterSpacing(), qreal(spacing));
  QCOMPARE(label.width(), label.fontMetrics().horizontalAdvance(label.text()));
  QVERIFY2(label.x() + label.width() <= limit, qPrintable(QString::number(label.width())));
}

void ControlsTest::framedDialogPutsItsFrameAroundTheClientArea() {
  Framed dialog;
  QVERIFY(dialog.windowFlags().testFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint));
  const QMargins frame = dialog.frameMargins();
  QVERIFY(frame.left() > 0 && frame.top() > frame.left() + 10);
  QCOMPARE(frame.right(), frame.left());
  QCOMPARE(frame.bottom(), frame.left());
  QCOMPARE(dialog.child->pos(), QPoint(5 + frame.left(), 6 + frame.top()));
  QCOMPARE(dialog.size(), QSize(100, 60).grownBy(frame));
  dialog.resize(300, 300);
  QCOMPARE(dialog.size(), QSize(100, 60).grownBy(frame));
  // The title bar is drawn across the top, unlike the client area below it.
  const QImage shot = dialog.grab().toImage();
  const QRgb client = shot.pixel(50 + frame.left(), 40 + frame.top());
  int titled = 0;
  for (int x = frame.left(); x < shot.width() - frame.right(); ++x)
    titled += shot.pixel(x, frame.top() / 2) != client ? 1 : 0;
  QVERIFY2(titled > shot.width() / 2, qPrintable(QString::number(titled)));
}

// Without a window manager to move it, the dialog follows the pointer itself.
void ControlsTest::framedDialogMovesByItsTitleBar() {
  Framed dialog;
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  dialog.move(100, 100);
  const QPoint grip(dialog.width() / 2, dialog.frameMargins().top() / 2);
  const QPoint inside(grip.x(), dialog.height() - 2 * dialog.frameMargins().bottom());
  for (const QPoint& from : {grip, inside}) {
    QTest::mousePress(&dialog, Qt::LeftButton, {}, from);
    QTest::mouseMove(&dialog, from + QPoint(30, 20));
    QTest::mouseRelease(&dialog, Qt::LeftButton, {}, from + QPoint(30, 20));
    // The client area is no handle.
    QCOMPARE(dialog.pos(), QPoint(130, 120));
  }
}

QTEST_MAIN(ControlsTest)
#include "controls_test.moc"
