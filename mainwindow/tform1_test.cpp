#include <QDialog>
#include <QFontInfo>
#include <QLabel>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "about/tcopyright.h"
#include "mainwindow/tform1.h"
#include "windowlayer/controls/glyph_button.h"
#include "windowlayer/controls/window_font.h"
#include "windowlayer/text/byte_pane.h"

using vesk::BytePane;
using vesk::GlyphButton;

namespace {

const QByteArray kCrLf("\r\n");

QStringList buttonNames() {
  return {"BeforeCopyB",  "BeforePasteB", "BitBtn1",    "ConvertHtoZB",
          "ConvertZtoHB", "AfterCopyB",   "AfterpasteB"};
}

}  // namespace

class TForm1Test : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { vesk::installFontSubstitutes(); }
  void init();
  void cleanup() { form_.reset(); }

  void controlsStandAtTheirPlaces_data();
  void controlsStandAtTheirPlaces();
  void buttonsCarryTheirGlyphs_data();
  void buttonsCarryTheirGlyphs();
  void labelOneIsSizedToItsText();
  void windowIsFixedWithoutMaximise();
  void everyControlUsesTheWindowFont();
  void opensCentredWithAnEmptyLineInEachPaneAndFocusAbove();
  void tabWalksPanesThenButtons_data();
  void tabWalksPanesThenButtons();
  void enterInPaneStartsNewLine();
  void escapeDoesNothing_data();
  void escapeDoesNothing();
  void aboutButtonShowsDialogModallyEachTime();
  void closingWindowEndsEventLoop();

 private:
  void showAndActivate();
  template <typename T>
  T* control(const char* name) const {
    return form_->findChild<T*>(QString::fromLatin1(name));
  }
  BytePane* upper() const { return control<BytePane>("Beforememo"); }
  BytePane* lower() const { return control<BytePane>("Aftermemo"); }

  std::unique_ptr<vesk::TForm1> form_;
};

void TForm1Test::init() { form_ = std::make_unique<vesk::TForm1>(); }

void TForm1Test::showAndActivate() {
  form_->show();
  form_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(form_.get()));
}

void TForm1Test::controlsStandAtTheirPlaces_data() {
  QTest::addColumn<QString>("className");
  QTest::addColumn<QRect>("geometry");
  QTest::addColumn<QString>("caption");

  const QString pane = "vesk::BytePane";
  const QString button = "vesk::GlyphButton";
  QTest::newRow("BeforeCopyB") << button << QRect(72, 8, 97, 25) << "Copy";
  QTest::newRow("BeforePasteB") << button << QRect(328, 8, 97, 25) << "Paste";
  QTest::newRow("Beforememo") << pane << QRect(72, 40, 353, 129) << "";
  QTest::newRow("BitBtn1") << button << QRect(8, 160, 57, 57) << "Abort";
  QTest::newRow("ConvertHtoZB") << button << QRect(152, 176, 97, 25) << "Convert";
  QTest::newRow("ConvertZtoHB") << button << QRect(256, 176, 97, 25) << "Convert";
  QTest::newRow("Aftermemo") << pane << QRect(72, 208, 353, 145) << "";
  QTest::newRow("Label2") << "QLabel" << QRect(24, 280, 24, 12) << "標準";
  QTest::newRow("AfterCopyB") << button << QRect(72, 360, 97, 25) << "Copy";
  QTest::newRow("AfterpasteB") << button << QRect(328, 360, 97, 25) << "Paste";
}

void TForm1Test::controlsStandAtTheirPlaces() {
  QFETCH(QString, className);
  QFETCH(QRect, geometry);
  QFETCH(QString, caption);

  auto* widget = control<QWidget>(QTest::currentDataTag());
  QVERIFY(widget);
  QCOMPARE(widget->metaObject()->className(), className);
  QCOMPARE(widget->parentWidget(), form_.get());
  QCOMPARE(widget->geometry(), geometry);
  if (auto* button = qobject_cast<QPushButton*>(widget)) {
    QCOMPARE(button->text(), caption);
    QVERIFY(!button->autoDefault());
    QVERIFY(!button->isDefault());
  } else if (auto* label = qobject_cast<QLabel*>(widget)) {
    QCOMPARE(label->text(), caption);
  }
}

void TForm1Test::buttonsCarryTheirGlyphs_data() {
  QTest::addColumn<QString>("glyph");
  QTest::addColumn<QSize>("pictureSize");
  QTest::addColumn<bool>("above");

  const QSize command(16, 16);
  QTest::newRow("BeforeCopyB") << ":/glyphs/copy.bmp" << command << false;
  QTest::newRow("AfterCopyB") << ":/glyphs/copy.bmp" << command << false;
  QTest::newRow("BeforePasteB") << ":/glyphs/paste.bmp" << command << false;
  QTest::newRow("AfterpasteB") << ":/glyphs/paste.bmp" << command << false;
  QTest::newRow("ConvertHtoZB") << ":/glyphs/arrow_down.bmp" << command << false;
  QTest::newRow("ConvertZtoHB") << ":/glyphs/arrow_up.bmp" << command << false;
  QTest::newRow("BitBtn1") << ":/glyphs/question.bmp" << QSize(18, 18) << true;
}

void TForm1Test::buttonsCarryTheirGlyphs() {
  QFETCH(QString, glyph);
  QFETCH(QSize, pictureSize);
  QFETCH(bool, above);

  auto* button = control<GlyphButton>(QTest::currentDataTag());
  QCOMPARE(button->glyph(), glyph);
  QCOMPARE(button->glyphAboveCaption(), above);
  // The pictures themselves are glyph_strip_test's.
  QCOMPARE(button->glyphPictures().normal.size(), pictureSize);
  // The group of glyph and caption fits the button.
  const vesk::GlyphPlacement where = button->placement();
  QVERIFY(button->rect().contains(where.glyph));
  QVERIFY(button->rect().contains(where.caption));
}

void TForm1Test::labelOneIsSizedToItsText() {
  auto* label = control<QLabel>("Label1");
  QCOMPARE(label->text(), QStringLiteral("Veskローカル"));
  QCOMPARE(label->pos(), QPoint(8, 72));
  QCOMPARE(label->height(), 12);
  const int textWidth = label->fontMetrics().horizontalAdvance(label->text());
  QVERIFY2(qAbs(label->width() - textWidth) <= 1, qPrintable(QString::number(label->width())));
  // It must end before the pane it names begins.
  QVERIFY2(label->geometry().right() < upper()->x(), qPrintable(QString::number(label->width())));
}

void TForm1Test::windowIsFixedWithoutMaximise() {
  QCOMPARE(form_->windowTitle(), QStringLiteral("Vesktext"));
  QCOMPARE(form_->size(), QSize(438, 389));
  QCOMPARE(form_->minimumSize(), QSize(438, 389));
  QCOMPARE(form_->maximumSize(), QSize(438, 389));
  const Qt::WindowFlags flags = form_->windowFlags();
  QVERIFY(form_->isWindow());
  QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
  QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
  QVERIFY(flags.testFlag(Qt::WindowSystemMenuHint));
  QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
  form_->resize(600, 500);
  QCOMPARE(form_->size(), QSize(438, 389));
}

void TForm1Test::everyControlUsesTheWindowFont() {
  for (QWidget* widget : form_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    const QFontInfo info(widget->font());
    QVERIFY2(vesk::windowFontSubstitutes().contains(info.family()),
             qPrintable(widget->objectName() + ": " + info.family()));
    QCOMPARE(info.pixelSize(), 12);
  }
}

void TForm1Test::opensCentredWithAnEmptyLineInEachPaneAndFocusAbove() {
  showAndActivate();
  const QPoint offset =
      form_->frameGeometry().center() - form_->screen()->availableGeometry().center();
  QVERIFY2(offset.manhattanLength() <= 2, qPrintable(QString::number(offset.x())));
  QCOMPARE(upper()->text(), kCrLf);
  QCOMPARE(lower()->text(), kCrLf);
  QCOMPARE(QApplication::focusWidget(), upper());
}

void TForm1Test::tabWalksPanesThenButtons_data() {
  QTest::addColumn<Qt::Key>("key");
  QTest::addColumn<QStringList>("expectedWalk");

  const QStringList forward = {"Aftermemo",   "BeforePasteB", "BeforeCopyB",
                               "AfterCopyB",  "ConvertHtoZB", "ConvertZtoHB",
                               "AfterpasteB", "BitBtn1",      "Beforememo"};
  QStringList backward = forward;
  std::reverse(backward.begin(), backward.end());
  backward.removeFirst();
  backward.append("Beforememo");
  QTest::newRow("Tab") << Qt::Key_Tab << forward;
  QTest::newRow("Shift+Tab") << Qt::Key_Backtab << backward;
}

void TForm1Test::tabWalksPanesThenButtons() {
  QFETCH(Qt::Key, key);
  QFETCH(QStringList, expectedWalk);
  showAndActivate();

  QStringList walk;
  for (qsizetype step = 0; step < expectedWalk.size(); ++step) {
    QTest::keyClick(QApplication::focusWidget(), key);
    walk << QApplication::focusWidget()->objectName();
  }
  QCOMPARE(walk, expectedWalk);
  QCOMPARE(upper()->text(), kCrLf);
  QCOMPARE(lower()->text(), kCrLf);
}

void TForm1Test::enterInPaneStartsNewLine() {
  showAndActivate();
  QTest::keyClicks(upper(), QStringLiteral("ab"));
  QTest::keyClick(upper(), Qt::Key_Return);
  QTest::keyClick(upper(), Qt::Key_Enter, Qt::KeypadModifier);
  // Typed at the caret, which the initial line break leaves at the end.
  QCOMPARE(upper()->text(), QByteArray("\r\nab\r\n\r\n"));
  QCOMPARE(QApplication::focusWidget(), upper());
}

void TForm1Test::escapeDoesNothing_data() {
  QTest::addColumn<QString>("focused");
  for (const char* name : {"Beforememo", "Aftermemo", "ConvertHtoZB", "BitBtn1"})
    QTest::newRow(name) << name;
}

void TForm1Test::escapeDoesNothing() {
  QFETCH(QString, focused);
  showAndActivate();
  vesk::TCopyright about;
  form_->setAboutDialog(&about);
  auto* widget = form_->findChild<QWidget*>(focused);
  widget->setFocus();
  std::vector<std::unique_ptr<QSignalSpy>> clicks;
  for (const QString& name : buttonNames())
    clicks.push_back(std::make_unique<QSignalSpy>(control<GlyphButton>(qPrintable(name)),
                                                  &QAbstractButton::clicked));

  QTest::keyClick(widget, Qt::Key_Escape);
  for (const auto& spy : clicks) QCOMPARE(spy->count(), 0);
  QVERIFY(form_->isVisible());
  QVERIFY(!about.isVisible());
  QCOMPARE(QApplication::focusWidget(), widget);
  QCOMPARE(upper()->text(), kCrLf);
  QCOMPARE(lower()->text(), kCrLf);
}

void TForm1Test::aboutButtonShowsDialogModallyEachTime() {
  showAndActivate();
  vesk::TCopyright about;
  form_->setAboutDialog(&about);
  QSignalSpy finished(&about, &QDialog::finished);
  bool wasModal = false;
  const auto closeWhenShown = [&] {
    QTimer::singleShot(0, &about, [&] {
      wasModal = about.isVisible() && QApplication::activeModalWidget() == &about;
      about.reject();
    });
  };

  for (int opening = 1; opening <= 2; ++opening) {
    closeWhenShown();
    QTest::mouseClick(control<GlyphButton>("BitBtn1"), Qt::LeftButton);
    QCOMPARE(finished.count(), opening);
    QVERIFY(wasModal);
    QVERIFY(!about.isVisible());
  }
}

void TForm1Test::closingWindowEndsEventLoop() {
  showAndActivate();
  QTest::keyClicks(upper(), QStringLiteral("unsaved"));
  // The about dialog, built hidden at start-up, must not keep the program alive.
  vesk::TCopyright about;
  form_->setAboutDialog(&about);
  QApplication::setQuitOnLastWindowClosed(true);
  QTimer::singleShot(0, form_.get(), [this] { form_->close(); });
  // Watchdog only: without it a regression would hang the test run.
  QTimer::singleShot(10000, qApp, [] { QCoreApplication::exit(1); });

  QCOMPARE(QApplication::exec(), 0);
  QVERIFY(!form_->isVisible());
}

QTEST_MAIN(TForm1Test)
#include "tform1_test.moc"
