#include <QApplication>
#include <QEventLoop>
#include <QFontInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include "about/orbit_step.h"
#include "about/tcopyright.h"
#include "windowlayer/controls/window_font.h"
#include "windowlayer/idle/idle_slot.h"
#include "windowlayer/imaging/image_control.h"

using vesk::IdleSlot;
using vesk::TCopyright;

namespace {

QTabWidget* pages(TCopyright& dialog) { return dialog.findChild<QTabWidget*>("PC"); }
QString activePage(TCopyright& dialog) { return pages(dialog)->currentWidget()->objectName(); }

// Makes a page active the way the user does: a click on its tab.
void clickTab(TCopyright& dialog, const QString& caption) {
  QTabBar* bar = pages(dialog)->tabBar();
  for (int i = 0; i < bar->count(); ++i) {
    if (bar->tabText(i) == caption)
      QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(i).center());
  }
  QCOMPARE(pages(dialog)->tabText(pages(dialog)->currentIndex()), caption);
}

void closeWithOk(TCopyright& dialog) {
  QTest::mouseClick(dialog.findChild<QPushButton*>("Button1"), Qt::LeftButton);
}

// Runs a waiting event loop, on whose idle passes the animation steps, with
// a message every 20 ms as a busy desktop has.
void runLoop(int milliseconds) {
  QEventLoop loop;
  QTimer messages;
  messages.start(20);
  QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
  loop.exec();
}

// The steps from `from` to `to`, if `to` follows within 200 steps.
int stepsBetween(float from, float to) {
  for (int steps = 0; steps <= 200; ++steps) {
    if (from == to) return steps;
    from = vesk::nextOrbitStep(from, 257, 156).angle;
  }
  return -1;
}

}  // namespace

class TCopyrightTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { vesk::installFontSubstitutes(); }
  void cleanup() { IdleSlot::application().clear(); }

  void createdHiddenOnVeskGraphInItsFrame();
  void labelsFitTheirTextInTheFontsAskedFor();
  void versionLeavesAGapAfterTheName();
  void memosTakeNoTyping();

  void pageChangeStartsOnlyOnCredit_data();
  void pageChangeStartsOnlyOnCredit();
  void angleStaysPutElsewhereAndGoesOnFromThere();
  void reopensWhereItWasClosedOnCreditRunning();

  void closing_data();
  void closing();
};

void TCopyrightTest::createdHiddenOnVeskGraphInItsFrame() {
  TCopyright dialog;
  QVERIFY(!dialog.isVisible());
  QCOMPARE(dialog.windowTitle(), QStringLiteral("Copyright"));
  QVERIFY(dialog.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  QVERIFY(!IdleSlot::application().isInstalled());
  // The client area of 330 x 345 inside a frame with a title bar, fixed.
  const QMargins frame = dialog.frameMargins();
  QVERIFY(frame.left() > 0 && frame.top() > frame.left() + 10);
  QCOMPARE(dialog.size(), QSize(330, 345).grownBy(frame));
  QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
  QStringList captions;
  for (int i = 0; i < pages(dialog)->count(); ++i) captions << pages(dialog)->tabText(i);
  QCOMPARE(captions, QStringList({"VeskGraph", "Credit", "Access", "Version"}));
  QCOMPARE(activePage(dialog), QStringLiteral("VeskGraph"));
  // Ok first in the tab order, the page control next.
  QCOMPARE(dialog.findChild<QWidget*>("Button1")->nextInFocusChain(), pages(dialog));
}

// What the dialog makes of its .ui file's layout: every label sized to its
// text, the window font wherever the .ui asks for none, and each family drawn
// by an installed stand-in of the same metrics.
void TCopyrightTest::labelsFitTheirTextInTheFontsAskedFor() {
  TCopyright dialog;
  int labels = 0;
  for (QLabel* label : dialog.findChildren<QLabel*>()) {
    if (!label->pixmap().isNull()) continue;
    ++labels;
    QCOMPARE(label->size(), label->sizeHint());
    QCOMPARE(label->font().family(), vesk::arialFamily());
    QVERIFY(vesk::arialSubstitutes().contains(QFontInfo(label->font()).family()));
  }
  QCOMPARE(labels, 11);
  for (QWidget* widget :
       {static_cast<QWidget*>(pages(dialog)->tabBar()), dialog.findChild<QWidget*>("vermemo")}) {
    QCOMPARE(widget->font().pixelSize(), 12);
    QVERIFY(vesk::windowFontSubstitutes().contains(QFontInfo(widget->font()).family()));
  }
  // The picture the animation composes is the image's size.
  QCOMPARE(dialog.findChild<QWidget*>("Image")->size(), QSize(257, 156));
}

void TCopyrightTest::versionLeavesAGapAfterTheName() {
  TCopyright dialog;
  auto* name = dialog.findChild<QLabel*>("Label10");
  auto* version = dialog.findChild<QLabel*>("Label11");
  const int nameEnds = name->x() + name->fontMetrics().horizontalAdvance(name->text());
  const int space = version->fontMetrics().horizontalAdvance(QLatin1Char(' '));
  QVERIFY2(nameEnds + space <= version->x(), qPrintable(QString::number(nameEnds)));
}

void TCopyrightTest::memosTakeNoTyping() {
  TCopyright dialog;
  dialog.show();
  const QString texts[] = {
      "vorlantek@example.com\nhttp://www.example.org/~vorlantek/\nVeskNet ID: VQD02671",
      "1.0\n   公開\n1.1\n   文字変換の大ボケを修正\n1.2\n   文字変換の大ボケを修正（その２）"};
  for (const char* name : {"Memo1", "vermemo"}) {
    auto* edit = dialog.findChild<QPlainTextEdit*>(name);
    const QString text = texts[name == QLatin1String("Memo1") ? 0 : 1];
    QCOMPARE(edit->toPlainText(), text);
    clickTab(dialog, edit->parentWidget()->objectName());
    edit->setFocus();
    QTest::keyClicks(edit, "typed");
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(edit->toPlainText(), text);
  }
}

void TCopyrightTest::pageChangeStartsOnlyOnCredit_data() {
  QTest::addColumn<QStringList>("visits");
  QTest::addColumn<bool>("running");

  QTest::newRow("shown, no page changed") << QStringList{} << false;
  QTest::newRow("Credit") << QStringList{"Credit"} << true;
  QTest::newRow("Access") << QStringList{"Access"} << false;
  QTest::newRow("Credit then Version") << QStringList{"Credit", "Version"} << false;
  QTest::newRow("Credit, VeskGraph, Credit")
      << QStringList{"Credit", "VeskGraph", "Credit"} << true;
}

void TCopyrightTest::pageChangeStartsOnlyOnCredit() {
  QFETCH(QStringList, visits);
  QFETCH(bool, running);

  TCopyright dialog;
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  for (const QString& page : visits) clickTab(dialog, page);
  QCOMPARE(IdleSlot::application().isInstalled(), running);
  runLoop(150);
  QCOMPARE(dialog.orbit().angle() > 0.0F, running);
  // What is shown is the latest composed picture, drawn from the sheet once running.
  const QImage shown = dialog.findChild<vesk::ImageControl*>("Image")->picture();
  QCOMPARE(shown, dialog.orbit().picture().image());
  QImage white(shown.size(), shown.format());
  white.fill(Qt::white);
  QCOMPARE(shown != white, running);
}

void TCopyrightTest::angleStaysPutElsewhereAndGoesOnFromThere() {
  TCopyright dialog;
  dialog.show();
  clickTab(dialog, "Credit");
  runLoop(100);
  clickTab(dialog, "Version");
  const float left = dialog.orbit().angle();
  runLoop(100);
  QCOMPARE(dialog.orbit().angle(), left);
  clickTab(dialog, "Credit");
  runLoop(100);
  const float now = dialog.orbit().angle();
  // Onwards from where it stopped: at angle 0 again it would be reached from
  // 0 in fewer steps than from `left`.
  const int fromLeft = stepsBetween(left, now);
  QVERIFY2(fromLeft > 0, qPrintable(QString::number(fromLeft)));
  QCOMPARE(stepsBetween(0.0F, now), stepsBetween(0.0F, left) + fromLeft);
}

// The first opening is centred on the screen, not over the owner; later
// ones keep the page and the place it was closed on.
void TCopyrightTest::reopensWhereItWasClosedOnCreditRunning() {
  QWidget owner;
  owner.setGeometry(0, 0, 100, 100);
  owner.show();
  TCopyright dialog(&owner);
  dialog.show();
  const QPoint offset = dialog.frameGeometry().center() - dialog.screen()->geometry().center();
  QVERIFY2(offset.manhattanLength() <= 2, qPrintable(QString::number(offset.x())));
  clickTab(dialog, "Credit");
  dialog.move(40, 50);
  closeWithOk(dialog);
  QVERIFY(!dialog.isVisible());
  QVERIFY(IdleSlot::application().isInstalled());
  dialog.show();
  QCOMPARE(activePage(dialog), QStringLiteral("Credit"));
  QCOMPARE(dialog.pos(), QPoint(40, 50));
  const float shownAt = dialog.orbit().angle();
  runLoop(100);
  QVERIFY(stepsBetween(shownAt, dialog.orbit().angle()) > 0);
}

void TCopyrightTest::closing_data() {
  QTest::addColumn<QString>("page");
  QTest::addColumn<QString>("focus");
  QTest::addColumn<int>("key");  // 0: a click on Ok, -1: the window system's close request
  QTest::addColumn<bool>("closes");
  for (const char* page : {"VeskGraph", "Credit", "Access", "Version"})
    QTest::addRow("Ok on %s", page) << page << "" << 0 << true;
  QTest::newRow("close request") << "Access"
                                 << "" << -1 << true;
  // No cancel button and no default button: Escape closes nothing, Enter
  // clicks only the button that has the focus.
  QTest::newRow("Escape") << "Credit"
                          << "Copyright" << int(Qt::Key_Escape) << false;
  QTest::newRow("Escape on Ok") << "Credit"
                                << "Button1" << int(Qt::Key_Escape) << false;
  QTest::newRow("Enter on the tabs") << "Credit"
                                     << "qt_tabwidget_tabbar" << int(Qt::Key_Return) << false;
  QTest::newRow("Enter on Ok") << "Credit"
                               << "Button1" << int(Qt::Key_Return) << true;
  QTest::newRow("keypad Enter on Ok") << "Credit"
                                      << "Button1" << int(Qt::Key_Enter) << true;
}

// The dialog closes, always with the cancel result, on the page it was on.
void TCopyrightTest::closing() {
  QFETCH(QString, page);
  QFETCH(QString, focus);
  QFETCH(int, key);
  QFETCH(bool, closes);

  QWidget owner;
  owner.show();
  TCopyright dialog(&owner);
  dialog.setResult(QDialog::Accepted);
  bool open = true;
  QTimer::singleShot(0, &dialog, [&] {
    clickTab(dialog, page);
    if (key == 0) {
      closeWithOk(dialog);
    } else if (key < 0) {
      dialog.close();
    } else {
      QWidget* target = focus == dialog.objectName() ? &dialog : dialog.findChild<QWidget*>(focus);
      target->setFocus();
      QTest::keyClick(target, Qt::Key(key));
    }
    open = dialog.isVisible();
    if (open) closeWithOk(dialog);
  });
  QCOMPARE(dialog.exec(), int(QDialog::Rejected));
  QCOMPARE(open, !closes);
  QCOMPARE(activePage(dialog), page);
}

QTEST_MAIN(TCopyrightTest)
#include "tcopyright_test.moc"
