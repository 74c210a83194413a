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

}  // namespace

class TForm1Test : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { vesk::installFontSubstitutes(); }
  void init();
  void cleanup() { form_.reset(); }

  void windowIsFixedWithoutMaximise();
  void controlsTakeTheWindowFontAndButtonsFitTheirGlyphAndCaption();
  void labelOneIsSizedToItsText();
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
  BytePane* pane(const char* name) const { return form_->findChild<BytePane*>(name); }

  std::unique_ptr<vesk::TForm1> form_;
};

void TForm1Test::init() { form_ = std::make_unique<vesk::TForm1>(); }

void TForm1Test::showAndActivate() {
  form_->show();
  form_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(form_.get()));
}

void TForm1Test::windowIsFixedWithoutMaximise() {
  QCOMPARE(form_->windowTitle(), QStringLiteral("Vesktext"));
  QCOMPARE(form_->size(), QSize(438, 389));
  const Qt::WindowFlags flags = form_->windowFlags();
  QVERIFY(flags.testFlags(Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                          Qt::WindowSystemMenuHint));
  QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
  form_->resize(600, 500);
  QCOMPARE(form_->size(), QSize(438, 389));
}

void TForm1Test::controlsTakeTheWindowFontAndButtonsFitTheirGlyphAndCaption() {
  for (QWidget* widget : form_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    const QFontInfo info(widget->font());
    QVERIFY2(vesk::windowFontSubstitutes().contains(info.family()),
             qPrintable(widget->objectName() + ": " + info.family()));
    QCOMPARE(info.pixelSize(), 12);
    if (auto* button = qobject_cast<GlyphButton*>(widget)) {
      QVERIFY(!button->glyphPictures().normal.isNull());
      QVERIFY(!button->autoDefault());
      const vesk::GlyphPlacement where = button->placement();
      QVERIFY(button->rect().contains(where.glyph));
      QVERIFY(button->rect().contains(where.caption));
    }
  }
}

void TForm1Test::labelOneIsSizedToItsText() {
  auto* label = form_->findChild<QLabel*>("Label1");
  QCOMPARE(label->text(), QStringLiteral("Veskローカル"));
  const int textWidth = label->fontMetrics().horizontalAdvance(label->text());
  QVERIFY2(qAbs(label->width() - textWidth) <= 1, qPrintable(QString::number(label->width())));
  // It must end before the pane it names begins.
  QVERIFY2(label->geometry().right() < pane("Beforememo")->x(),
           qPrintable(QString::number(label->width())));
}

void TForm1Test::opensCentredWithAnEmptyLineInEachPaneAndFocusAbove() {
  showAndActivate();
  const QPoint offset =
      form_->frameGeometry().center() - form_->screen()->availableGeometry().center();
  QVERIFY2(offset.manhattanLength() <= 2, qPrintable(QString::number(offset.x())));
  QCOMPARE(pane("Beforememo")->text(), kCrLf);
  QCOMPARE(pane("Aftermemo")->text(), kCrLf);
  QCOMPARE(QApplication::focusWidget(), pane("Beforememo"));
}

void TForm1Test::tabWalksPanesThenButtons_data() {
  QTest::addColumn<Qt::Key>("key");
  QTest::addColumn<QStringList>("walk");  // each control with its caption

  const QStringList forward = {"Aftermemo ",        "BeforePasteB Paste",   "BeforeCopyB Copy",
                               "AfterCopyB Copy",   "ConvertHtoZB Convert", "ConvertZtoHB Convert",
                               "AfterpasteB Paste", "BitBtn1 Abort",        "Beforememo "};
  QStringList backward(forward.rbegin() + 1, forward.rend());
  backward << forward.last();
  QTest::newRow("Tab") << Qt::Key_Tab << forward;
  QTest::newRow("Shift+Tab") << Qt::Key_Backtab << backward;
}

void TForm1Test::tabWalksPanesThenButtons() {
  QFETCH(Qt::Key, key);
  QFETCH(QStringList, walk);
  showAndActivate();

  QStringList walked;
  for (qsizetype step = 0; step < walk.size(); ++step) {
    QTest::keyClick(QApplication::focusWidget(), key);
    QWidget* focused = QApplication::focusWidget();
    auto* button = qobject_cast<QPushButton*>(focused);
    walked << focused->objectName() + ' ' + (button ? button->text() : QString());
  }
  QCOMPARE(walked, walk);
  QCOMPARE(pane("Beforememo")->text(), kCrLf);
  QCOMPARE(pane("Aftermemo")->text(), kCrLf);
}

void TForm1Test::enterInPaneStartsNewLine() {
  showAndActivate();
  BytePane* upper = pane("Beforememo");
  QTest::keyClicks(upper, QStringLiteral("ab"));
  QTest::keyClick(upper, Qt::Key_Return);
  QTest::keyClick(upper, Qt::Key_Enter, Qt::KeypadModifier);
  // Typed at the caret, which the initial line break leaves at the end.
  QCOMPARE(upper->text(), QByteArray("\r\nab\r\n\r\n"));
  QCOMPARE(QApplication::focusWidget(), upper);
}

void TForm1Test::escapeDoesNothing_data() {
  QTest::addColumn<QString>("focused");
  for (const char* name : {"Beforememo", "ConvertHtoZB", "BitBtn1"}) QTest::newRow(name) << name;
}

void TForm1Test::escapeDoesNothing() {
  QFETCH(QString, focused);
  showAndActivate();
  vesk::TCopyright about;
  form_->setAboutDialog(&about);
  auto* widget = form_->findChild<QWidget*>(focused);
  widget->setFocus();
  std::vector<std::unique_ptr<QSignalSpy>> clicks;
  for (GlyphButton* button : form_->findChildren<GlyphButton*>())
    clicks.push_back(std::make_unique<QSignalSpy>(button, &QAbstractButton::clicked));

  QTest::keyClick(widget, Qt::Key_Escape);
  for (const auto& spy : clicks) QCOMPARE(spy->count(), 0);
  QVERIFY(form_->isVisible());
  QVERIFY(!about.isVisible());
  QCOMPARE(QApplication::focusWidget(), widget);
  QCOMPARE(pane("Beforememo")->text(), kCrLf);
}

void TForm1Test::aboutButtonShowsDialogModallyEachTime() {
  showAndActivate();
  vesk::TCopyright about;
  form_->setAboutDialog(&about);
  const QSignalSpy finished(&about, &QDialog::finished);
  for (int opening = 1; opening <= 2; ++opening) {
    bool wasModal = false;
    QTimer::singleShot(0, &about, [&] {
      wasModal = about.isVisible() && QApplication::activeModalWidget() == &about;
      about.reject();
    });
    QTest::mouseClick(form_->findChild<GlyphButton*>("BitBtn1"), Qt::LeftButton);
    QCOMPARE(finished.count(), opening);
    QVERIFY(wasModal);
  }
}

void TForm1Test::closingWindowEndsEventLoop() {
  showAndActivate();
  QTest::keyClicks(pane("Beforememo"), QStringLiteral("unsaved"));
  // The about dialog, built hidden at start-up, must not keep the program alive.
  vesk::TCopyright about;
  form_->setAboutDialog(&about);
  QApplication::setQuitOnLastWindowClosed(true);
  QTimer::singleShot(0, form_.get(), [this] { form_->close(); });
  // Watchdog only: without it a regression would hang the test run.
  QTimer::singleShot(10000, qApp, [] { QCoreApplication::exit(1); });
  QCOMPARE(QApplication::exec(), 0);
}

QTEST_MAIN(TForm1Test)
#include "tform1_test.moc"
