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
QPushButton* okButton(TCopyright& dialog) { return dialog.findChild<QPushButton*>("Button1"); }
QString activePage(TCopyright& dialog) { return pages(dialog)->currentWidget()->objectName(); }

// Makes a page active the way the user does: a click on its tab.
void clickTab(TCopyright& dialog, const QString& caption) {
  QTabWidget* pc = pages(dialog);
  for (int i = 0; i < pc->count(); ++i) {
    if (pc->tabText(i) != caption) continue;
    QTabBar* bar = pc->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(i).center());
    return;
  }
  QFAIL(qPrintable("no page " + caption));
}

// Runs a waiting event loop, the kind on whose idle passes the animation
// steps, for `milliseconds`, with a message every `messageEvery` milliseconds
// as a busy desktop has (none when 0).
void runLoop(int milliseconds, int messageEvery = 20) {
  QEventLoop loop;
  QTimer messages;
  if (messageEvery > 0) messages.start(messageEvery);
  QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
  loop.exec();
}

// The steps from `from` to `to`, if `to` follows within `most` steps.
int stepsBetween(float from, float to, int most) {
  for (int steps = 0; steps <= most; ++steps) {
    if (from == to) return steps;
    from = vesk::nextOrbitStep(from, 257, 156).angle;
  }
  return -1;
}

void closeWithOk(TCopyright& dialog) { QTest::mouseClick(okButton(dialog), Qt::LeftButton); }

}  // namespace

class TCopyrightTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { vesk::installFontSubstitutes(); }
  void cleanup() { IdleSlot::application().clear(); }

  void createdHiddenOnVeskGraphInItsFrame();
  void controls_data();
  void controls();
  void versionLeavesAGapAfterTheName();
  void memosAreReadOnlyWithFixedText_data();
  void memosAreReadOnlyWithFixedText();
  void titleBarMovesTheWindow();

  void pageChangeStartsOnlyOnCredit_data();
  void pageChangeStartsOnlyOnCredit();
  void angleStaysPutElsewhereAndGoesOnFromThere();
  void closedOnCreditKeepsRunningAndReopensThere();
  void hiddenItStepsOnlyAsMessagesArrive_data();
  void hiddenItStepsOnlyAsMessagesArrive();

  void closesWithTheCancelResult_data();
  void closesWithTheCancelResult();
  void keys_data();
  void keys();
  void pageAndPositionKeptBetweenOpenings();
  void firstOpeningIsCentredOnTheScreen();
};

void TCopyrightTest::createdHiddenOnVeskGraphInItsFrame() {
  TCopyright dialog;
  QVERIFY(!dialog.isVisible());
  QCOMPARE(dialog.objectName(), QStringLiteral("Copyright"));
  QCOMPARE(dialog.windowTitle(), QStringLiteral("Copyright"));
  QVERIFY(!dialog.windowIcon().isNull());
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
  QCOMPARE(okButton(dialog)->nextInFocusChain(), pages(dialog));
  QCOMPARE(dialog.findChild<QLabel*>("Image1")->pixmap().toImage(),
           QPixmap(":/icons/vesktext.png").toImage());
}

void TCopyrightTest::controls_data() {
  QTest::addColumn<QString>("page");    // empty for the client area
  QTest::addColumn<QRect>("geometry");  // an empty size: sized to the text
  QTest::addColumn<QString>("caption");
  QTest::addColumn<QString>("font");  // "Arial" or "window", pixels, "bold"

  // The credit heading: the same three lines on the first three pages.
  const struct {
    const char* first;
    const char* second;
    const char* third;
    const char* page;
  } headings[] = {{"Label3", "Label5", "Label6", "VeskGraph"},
                  {"Label1", "Label2", "Label4", "Credit"},
                  {"Label7", "Label8", "Label9", "Access"}};
  for (const auto& h : headings) {
    QTest::newRow(h.first) << h.page << QRect(15, 6, 0, 0) << "Designed by"
                           << "Arial 13";
    QTest::newRow(h.second) << h.page << QRect(11, 25, 0, 0) << "Vorlantek"
                            << "Arial 24 bold";
    QTest::newRow(h.third) << h.page << QRect(165, 29, 0, 0) << "Qemdrift"
                           << "Arial 19";
  }
  QTest::newRow("Label10") << "VeskGraph" << QRect(88, 128, 0, 0) << "Vesktext"
                           << "Arial 32 bold";
  QTest::newRow("Label11") << "VeskGraph" << QRect(224, 144, 0, 0) << "ver 1.20"
                           << "Arial 12";
  QTest::newRow("Button1") << "" << QRect(227, 313, 91, 22) << "Ok"
                           << "Arial 13";
  QTest::newRow("PC") << "" << QRect(8, 16, 313, 265) << ""
                      << "window 12";
  QTest::newRow("Image") << "Credit" << QRect(24, 69, 257, 156) << ""
                         << "window 12";
  QTest::newRow("Image1") << "VeskGraph" << QRect(32, 128, 32, 32) << ""
                          << "window 12";
  QTest::newRow("Memo1") << "Access" << QRect(16, 56, 273, 177) << ""
                         << "window 12";
  QTest::newRow("vermemo") << "Version" << QRect(16, 8, 273, 225) << ""
                           << "window 12";
  // A rule along the bottom edge of the bevel's 265 x 17 rectangle at (16, 56).
  QTest::newRow("Bevel1") << "VeskGraph" << QRect(16, 71, 265, 2) << ""
                          << "window 12";
}

// Each control on its page at its place (in client pixels), with its caption
// and the font asked for, which an installed stand-in of the same metrics draws.
void TCopyrightTest::controls() {
  QFETCH(QString, page);
  QFETCH(QRect, geometry);
  QFETCH(QString, caption);
  QFETCH(QString, font);

  TCopyright dialog;
  auto* widget = dialog.findChild<QWidget*>(QTest::currentDataTag());
  QVERIFY(widget);
  QRect placed = widget->geometry();
  if (page.isEmpty()) {
    QCOMPARE(widget->parentWidget(), &dialog);
    placed.translate(-dialog.frameMargins().left(), -dialog.frameMargins().top());
  } else {
    QCOMPARE(widget->parentWidget()->objectName(), page);
  }
  if (geometry.isEmpty()) geometry.setSize(widget->sizeHint());
  QCOMPARE(placed, geometry);
  if (auto* label = qobject_cast<QLabel*>(widget); label && label->pixmap().isNull())
    QCOMPARE(label->text(), caption);
  if (auto* button = qobject_cast<QPushButton*>(widget)) {
    QCOMPARE(button->text(), caption);
    QVERIFY(!button->isDefault() && !button->autoDefault());
  }
  // The tab captions take the page control's font.
  if (auto* tabs = qobject_cast<QTabWidget*>(widget)) widget = tabs->tabBar();
  widget->ensurePolished();
  const QStringList asked = font.split(' ');
  const bool arial = asked[0] == "Arial";
  QCOMPARE(widget->font().family(), arial ? vesk::arialFamily() : vesk::windowFontFamily());
  QCOMPARE(widget->font().pixelSize(), asked[1].toInt());
  QCOMPARE(widget->font().bold(), asked.size() > 2);
  const QString drawn = QFontInfo(widget->font()).family();
  QVERIFY2((arial ? vesk::arialSubstitutes() : vesk::windowFontSubstitutes()).contains(drawn),
           qPrintable(drawn));
}

void TCopyrightTest::versionLeavesAGapAfterTheName() {
  TCopyright dialog;
  auto* name = dialog.findChild<QLabel*>("Label10");
  auto* version = dialog.findChild<QLabel*>("Label11");
  const int nameEnds = name->x() + name->fontMetrics().horizontalAdvance(name->text());
  const int space = version->fontMetrics().horizontalAdvance(QLatin1Char(' '));
  QVERIFY2(nameEnds + space <= version->x(), qPrintable(QString::number(nameEnds)));
}

void TCopyrightTest::memosAreReadOnlyWithFixedText_data() {
  QTest::addColumn<QString>("text");
  QTest::newRow("Memo1") << QStringLiteral(
      "vorlantek@example.com\nhttp://www.example.org/~vorlantek/\nVeskNet ID: VQD02671");
  QTest::newRow("vermemo") << QStringLiteral(
      "1.0\n   公開\n1.1\n   文字変換の大ボケを修正\n1.2\n   文字変換の大ボケを修正（その２）");
}

void TCopyrightTest::memosAreReadOnlyWithFixedText() {
  QFETCH(QString, text);
  TCopyright dialog;
  auto* edit = dialog.findChild<QPlainTextEdit*>(QTest::currentDataTag());
  QCOMPARE(edit->toPlainText(), text);
  QVERIFY(edit->isReadOnly());
  QCOMPARE(edit->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  QCOMPARE(edit->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  QCOMPARE(edit->lineWrapMode(), QPlainTextEdit::NoWrap);
  dialog.show();
  clickTab(dialog, edit->parentWidget()->objectName());
  edit->setFocus();
  QTest::keyClicks(edit, "typed");
  QTest::keyClick(edit, Qt::Key_Backspace);
  QTest::keyClick(edit, Qt::Key_Return);
  QCOMPARE(edit->toPlainText(), text);
}

// Without a window manager to move it, the dialog follows the pointer itself.
void TCopyrightTest::titleBarMovesTheWindow() {
  TCopyright dialog;
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  dialog.move(100, 100);
  const QPoint grip(dialog.width() / 2, dialog.frameMargins().top() / 2);
  QTest::mousePress(&dialog, Qt::LeftButton, {}, grip);
  QTest::mouseMove(&dialog, grip + QPoint(30, 20));
  QTest::mouseRelease(&dialog, Qt::LeftButton, {}, grip + QPoint(30, 20));
  QCOMPARE(dialog.pos(), QPoint(130, 120));
  // The client area is no handle.
  const QPoint inside(grip.x(), dialog.height() - 2 * dialog.frameMargins().bottom());
  QTest::mousePress(&dialog, Qt::LeftButton, {}, inside);
  QTest::mouseMove(&dialog, inside + QPoint(30, 20));
  QTest::mouseRelease(&dialog, Qt::LeftButton, {}, inside + QPoint(30, 20));
  QCOMPARE(dialog.pos(), QPoint(130, 120));
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
  // What is shown is the latest composed picture.
  QCOMPARE(dialog.findChild<vesk::ImageControl*>("Image")->picture(),
           dialog.orbit().picture().image());
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
  const int fromLeft = stepsBetween(left, now, 200);
  QVERIFY2(fromLeft > 0, qPrintable(QString::number(fromLeft)));
  QCOMPARE(stepsBetween(0.0F, now, 200), stepsBetween(0.0F, left, 200) + fromLeft);
}

void TCopyrightTest::closedOnCreditKeepsRunningAndReopensThere() {
  TCopyright dialog;
  dialog.show();
  clickTab(dialog, "Credit");
  closeWithOk(dialog);
  QVERIFY(!dialog.isVisible());
  QVERIFY(IdleSlot::application().isInstalled());
  dialog.show();
  QCOMPARE(activePage(dialog), QStringLiteral("Credit"));
  const float shownAt = dialog.orbit().angle();
  runLoop(100);
  QVERIFY(stepsBetween(shownAt, dialog.orbit().angle(), 200) > 0);
}

void TCopyrightTest::hiddenItStepsOnlyAsMessagesArrive_data() {
  QTest::addColumn<int>("messageEvery");
  QTest::addColumn<int>("fewest");
  QTest::addColumn<int>("most");

  // A hidden picture posts no repaint, so nothing keeps the loop awake.
  QTest::newRow("no messages") << 0 << 0 << 1;
  QTest::newRow("a message every 40 ms") << 40 << 3 << 11;
}

void TCopyrightTest::hiddenItStepsOnlyAsMessagesArrive() {
  QFETCH(int, messageEvery);
  QFETCH(int, fewest);
  QFETCH(int, most);

  TCopyright dialog;
  dialog.show();
  clickTab(dialog, "Credit");
  closeWithOk(dialog);
  QCoreApplication::processEvents();
  const float closedAt = dialog.orbit().angle();
  runLoop(400, messageEvery);
  const int steps = stepsBetween(closedAt, dialog.orbit().angle(), 59);
  QVERIFY2(steps >= fewest && steps <= most, qPrintable(QString::number(steps)));
}

void TCopyrightTest::closesWithTheCancelResult_data() {
  QTest::addColumn<QString>("page");
  QTest::addColumn<bool>("closeRequest");  // from the window system, not the Ok button
  for (const char* page : {"VeskGraph", "Credit", "Access", "Version"})
    QTest::newRow(page) << page << false;
  QTest::newRow("close request on Access") << "Access" << true;
}

void TCopyrightTest::closesWithTheCancelResult() {
  QFETCH(QString, page);
  QFETCH(bool, closeRequest);

  QWidget owner;
  owner.show();
  TCopyright dialog(&owner);
  dialog.setResult(QDialog::Accepted);
  QTimer::singleShot(0, &dialog, [&] {
    clickTab(dialog, page);
    if (closeRequest) {
      dialog.close();
    } else {
      closeWithOk(dialog);
    }
  });
  QCOMPARE(dialog.exec(), int(QDialog::Rejected));
  QVERIFY(!dialog.isVisible());
  QCOMPARE(activePage(dialog), page);
}

void TCopyrightTest::keys_data() {
  QTest::addColumn<QString>("focus");
  QTest::addColumn<int>("key");
  QTest::addColumn<bool>("closes");
  // No cancel button and no default button: Escape closes nothing, Enter
  // clicks only the button that has the focus.
  QTest::newRow("Escape") << "Copyright" << int(Qt::Key_Escape) << false;
  QTest::newRow("Escape on Ok") << "Button1" << int(Qt::Key_Escape) << false;
  QTest::newRow("Enter on the tabs") << "qt_tabwidget_tabbar" << int(Qt::Key_Return) << false;
  QTest::newRow("Enter on Ok") << "Button1" << int(Qt::Key_Return) << true;
  QTest::newRow("keypad Enter on Ok") << "Button1" << int(Qt::Key_Enter) << true;
}

void TCopyrightTest::keys() {
  QFETCH(QString, focus);
  QFETCH(int, key);
  QFETCH(bool, closes);

  TCopyright dialog;
  bool open = true;
  QTimer::singleShot(0, &dialog, [&] {
    QWidget* target = focus == dialog.objectName() ? &dialog : dialog.findChild<QWidget*>(focus);
    target->setFocus();
    QTest::keyClick(target, Qt::Key(key));
    open = dialog.isVisible();
    if (open) closeWithOk(dialog);
  });
  QCOMPARE(dialog.exec(), int(QDialog::Rejected));
  QCOMPARE(open, !closes);
}

void TCopyrightTest::pageAndPositionKeptBetweenOpenings() {
  TCopyright dialog;
  dialog.show();
  clickTab(dialog, "Access");
  dialog.move(40, 50);
  closeWithOk(dialog);
  dialog.show();
  QCOMPARE(activePage(dialog), QStringLiteral("Access"));
  QCOMPARE(dialog.pos(), QPoint(40, 50));
}

void TCopyrightTest::firstOpeningIsCentredOnTheScreen() {
  // Centred on the screen, not over its owner.
  QWidget owner;
  owner.setGeometry(0, 0, 100, 100);
  owner.show();
  TCopyright dialog(&owner);
  dialog.show();
  const QPoint offset = dialog.frameGeometry().center() - dialog.screen()->geometry().center();
  QVERIFY2(offset.manhattanLength() <= 2, qPrintable(QString::number(offset.x())));
}

QTEST_MAIN(TCopyrightTest)
#include "tcopyright_test.moc"
