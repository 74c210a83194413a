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

// The family asked for, its size and weight, and an installed stand-in of the
// same metrics for what is drawn.
void checkFont(QWidget* widget, const QString& family, int pixels, bool bold) {
  QVERIFY(widget != nullptr);
  widget->ensurePolished();
  const QFont font = widget->font();
  QCOMPARE(font.family(), family);
  QCOMPARE(font.pixelSize(), pixels);
  QCOMPARE(font.bold(), bold);
  const QStringList standIns =
      family == vesk::arialFamily() ? vesk::arialSubstitutes() : vesk::windowFontSubstitutes();
  QVERIFY2(standIns.contains(QFontInfo(font).family()), qPrintable(QFontInfo(font).family()));
}

void closeWithOk(TCopyright& dialog) {
  QTest::mouseClick(dialog.findChild<QPushButton*>("Button1"), Qt::LeftButton);
}

}  // namespace

class TCopyrightTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { vesk::installFontSubstitutes(); }
  void cleanup() { IdleSlot::application().clear(); }

  void createdHiddenOnVeskGraphWithTheWindow();
  void pagesInOrder();
  void labels_data();
  void labels();
  void windowFontControls_data();
  void windowFontControls();
  void okButton();
  void controlsAtTheirPlaces_data();
  void controlsAtTheirPlaces();
  void memosAreReadOnlyWithBothScrollBars_data();
  void memosAreReadOnlyWithBothScrollBars();
  void versionHistoryIsExact();
  void contactLinesUseReservedNames();
  void programIconBesideTheName();
  void pictureIsWhiteBeforeTheFirstStep();

  void pageChangeStartsOnlyOnCredit_data();
  void pageChangeStartsOnlyOnCredit();
  void showingAndClosingDoNotStartTheAnimation();
  void animationRunsWhileCreditIsShown();
  void angleStaysPutOnAnotherPage();
  void comingBackToCreditContinuesTheAngle();
  void closedOnCreditKeepsRunningAndReopensThere();
  void hiddenItStepsOnlyAsMessagesArrive_data();
  void hiddenItStepsOnlyAsMessagesArrive();

  void okClosesWithTheCancelResult_data();
  void okClosesWithTheCancelResult();
  void escapeDoesNotClose();
  void enterClicksOnlyAFocusedButton();
  void closeRequestClosesWithTheCancelResult();
  void pageAndPositionKeptBetweenOpenings();
  void firstOpeningIsCentredOnTheScreen();
};

void TCopyrightTest::createdHiddenOnVeskGraphWithTheWindow() {
  TCopyright dialog;
  QVERIFY(!dialog.isVisible());
  QCOMPARE(dialog.objectName(), QStringLiteral("Copyright"));
  QCOMPARE(dialog.windowTitle(), QStringLiteral("Copyright"));
  QCOMPARE(dialog.size(), QSize(330, 345));
  QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
  QCOMPARE(pages(dialog)->currentWidget()->objectName(), QStringLiteral("VeskGraph"));
  const Qt::WindowFlags flags = dialog.windowFlags();
  QVERIFY(flags.testFlag(Qt::WindowStaysOnTopHint));
  QVERIFY(flags.testFlag(Qt::CustomizeWindowHint));
  QVERIFY(!flags.testFlag(Qt::WindowCloseButtonHint));
  QVERIFY(!flags.testFlag(Qt::WindowSystemMenuHint));
  QVERIFY(!flags.testFlag(Qt::WindowMinMaxButtonsHint));
  QVERIFY(!dialog.windowIcon().isNull());
  QVERIFY(!IdleSlot::application().isInstalled());
}

void TCopyrightTest::pagesInOrder() {
  TCopyright dialog;
  QTabWidget* pc = pages(dialog);
  const QStringList names{"VeskGraph", "Credit", "Access", "Version"};
  QCOMPARE(pc->count(), names.size());
  for (int i = 0; i < pc->count(); ++i) {
    QCOMPARE(pc->widget(i)->objectName(), names[i]);
    QCOMPARE(pc->tabText(i), names[i]);
  }
}

void TCopyrightTest::labels_data() {
  QTest::addColumn<QString>("label");
  QTest::addColumn<QString>("page");
  QTest::addColumn<QString>("caption");
  QTest::addColumn<QPoint>("topLeft");
  QTest::addColumn<int>("pixels");
  QTest::addColumn<bool>("bold");

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
    QTest::newRow(h.first) << h.first << h.page << "Designed by" << QPoint(15, 6) << 13 << false;
    QTest::newRow(h.second) << h.second << h.page << "Vorlantek" << QPoint(11, 25) << 24 << true;
    QTest::newRow(h.third) << h.third << h.page << "Qemdrift" << QPoint(165, 29) << 19 << false;
  }
  QTest::newRow("Label10") << "Label10"
                           << "VeskGraph"
                           << "Vesktext" << QPoint(88, 128) << 32 << true;
  QTest::newRow("Label11") << "Label11"
                           << "VeskGraph"
                           << "ver 1.20" << QPoint(224, 144) << 12 << false;
}

void TCopyrightTest::labels() {
  QFETCH(QString, label);
  QFETCH(QString, page);
  QFETCH(QString, caption);
  QFETCH(QPoint, topLeft);
  QFETCH(int, pixels);
  QFETCH(bool, bold);

  TCopyright dialog;
  auto* shown = dialog.findChild<QLabel*>(label);
  QVERIFY(shown != nullptr);
  QCOMPARE(shown->text(), caption);
  QCOMPARE(shown->parentWidget()->objectName(), page);
  QCOMPARE(shown->pos(), topLeft);
  // Sized to its text.
  QCOMPARE(shown->size(), shown->sizeHint());
  checkFont(shown, vesk::arialFamily(), pixels, bold);
}

void TCopyrightTest::windowFontControls_data() {
  QTest::addColumn<QString>("control");
  QTest::newRow("tab captions") << "qt_tabwidget_tabbar";
  QTest::newRow("Memo1") << "Memo1";
  QTest::newRow("vermemo") << "vermemo";
}

void TCopyrightTest::windowFontControls() {
  QFETCH(QString, control);
  TCopyright dialog;
  checkFont(dialog.findChild<QWidget*>(control), vesk::windowFontFamily(), 12, false);
}

void TCopyrightTest::okButton() {
  TCopyright dialog;
  auto* ok = dialog.findChild<QPushButton*>("Button1");
  QCOMPARE(ok->text(), QStringLiteral("Ok"));
  checkFont(ok, vesk::arialFamily(), 13, false);
  QVERIFY(!ok->isDefault());
  QVERIFY(!ok->autoDefault());
  // First in the tab order, the page control next.
  QCOMPARE(ok->nextInFocusChain(), dialog.findChild<QWidget*>("PC"));
}

void TCopyrightTest::controlsAtTheirPlaces_data() {
  QTest::addColumn<QString>("control");
  QTest::addColumn<QRect>("geometry");

  QTest::newRow("Button1") << "Button1" << QRect(227, 313, 91, 22);
  QTest::newRow("PC") << "PC" << QRect(8, 16, 313, 265);
  QTest::newRow("Image") << "Image" << QRect(24, 69, 257, 156);
  QTest::newRow("Image1") << "Image1" << QRect(32, 128, 32, 32);
  QTest::newRow("Memo1") << "Memo1" << QRect(16, 56, 273, 177);
  QTest::newRow("vermemo") << "vermemo" << QRect(16, 8, 273, 225);
  // A rule along the bottom edge of the bevel's 265 x 17 rectangle at (16, 56).
  QTest::newRow("Bevel1") << "Bevel1" << QRect(16, 71, 265, 2);
}

void TCopyrightTest::controlsAtTheirPlaces() {
  QFETCH(QString, control);
  QFETCH(QRect, geometry);

  TCopyright dialog;
  auto* widget = dialog.findChild<QWidget*>(control);
  QVERIFY(widget != nullptr);
  QCOMPARE(widget->geometry(), geometry);
}

void TCopyrightTest::memosAreReadOnlyWithBothScrollBars_data() {
  QTest::addColumn<QString>("memo");
  QTest::newRow("Memo1") << "Memo1";
  QTest::newRow("vermemo") << "vermemo";
}

void TCopyrightTest::memosAreReadOnlyWithBothScrollBars() {
  QFETCH(QString, memo);

  TCopyright dialog;
  auto* edit = dialog.findChild<QPlainTextEdit*>(memo);
  QVERIFY(edit != nullptr);
  QVERIFY(edit->isReadOnly());
  QCOMPARE(edit->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  QCOMPARE(edit->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  QCOMPARE(edit->lineWrapMode(), QPlainTextEdit::NoWrap);
  // Typing changes nothing.
  const QString before = edit->toPlainText();
  dialog.show();
  clickTab(dialog, edit->parentWidget()->objectName());
  edit->setFocus();
  QTest::keyClicks(edit, "typed");
  QTest::keyClick(edit, Qt::Key_Backspace);
  QTest::keyClick(edit, Qt::Key_Return);
  QCOMPARE(edit->toPlainText(), before);
}

void TCopyrightTest::versionHistoryIsExact() {
  TCopyright dialog;
  const QString expected = QStringLiteral(
      "1.0\n"
      "   公開\n"
      "1.1\n"
      "   文字変換の大ボケを修正\n"
      "1.2\n"
      "   文字変換の大ボケを修正（その２）");
  QCOMPARE(dialog.findChild<QPlainTextEdit*>("vermemo")->toPlainText(), expected);
  QCOMPARE(dialog.findChild<QPlainTextEdit*>("vermemo")->document()->blockCount(), 6);
}

void TCopyrightTest::contactLinesUseReservedNames() {
  TCopyright dialog;
  const QStringList lines =
      dialog.findChild<QPlainTextEdit*>("Memo1")->toPlainText().split(QLatin1Char('\n'));
  QCOMPARE(lines.size(), 3);
  QVERIFY2(lines[0].endsWith("@example.com"), qPrintable(lines[0]));
  QVERIFY2(lines[1].contains("example.org"), qPrintable(lines[1]));
  QVERIFY2(!lines[2].isEmpty() && !lines[2].contains("example"), qPrintable(lines[2]));
}

void TCopyrightTest::programIconBesideTheName() {
  TCopyright dialog;
  const QPixmap icon = dialog.findChild<QLabel*>("Image1")->pixmap();
  QCOMPARE(icon.size(), QSize(32, 32));
  QCOMPARE(icon.toImage(), QPixmap(":/icons/vesktext.png").toImage());
}

void TCopyrightTest::pictureIsWhiteBeforeTheFirstStep() {
  TCopyright dialog;
  QCOMPARE(dialog.orbit().angle(), 0.0F);
  QImage white(257, 156, QImage::Format_RGB32);
  white.fill(Qt::white);
  QCOMPARE(dialog.orbit().picture().image(), white);
}

void TCopyrightTest::pageChangeStartsOnlyOnCredit_data() {
  QTest::addColumn<QStringList>("visits");
  QTest::addColumn<bool>("running");

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
  for (const QString& page : visits) clickTab(dialog, page);
  QCOMPARE(IdleSlot::application().isInstalled(), running);
}

void TCopyrightTest::showingAndClosingDoNotStartTheAnimation() {
  TCopyright dialog;
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  QVERIFY(!IdleSlot::application().isInstalled());
  closeWithOk(dialog);
  QVERIFY(!dialog.isVisible());
  runLoop(100);
  QCOMPARE(dialog.orbit().angle(), 0.0F);
}

void TCopyrightTest::animationRunsWhileCreditIsShown() {
  TCopyright dialog;
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  clickTab(dialog, "Credit");
  runLoop(200);
  QVERIFY(dialog.orbit().angle() > 0.0F);
  // What is shown is the latest composed picture.
  QCOMPARE(dialog.findChild<vesk::ImageControl*>("Image")->picture(),
           dialog.orbit().picture().image());
}

void TCopyrightTest::angleStaysPutOnAnotherPage() {
  TCopyright dialog;
  dialog.show();
  clickTab(dialog, "Credit");
  runLoop(100);
  clickTab(dialog, "Access");
  const float left = dialog.orbit().angle();
  QVERIFY(left > 0.0F);
  runLoop(200);
  QCOMPARE(dialog.orbit().angle(), left);
}

void TCopyrightTest::comingBackToCreditContinuesTheAngle() {
  TCopyright dialog;
  dialog.show();
  clickTab(dialog, "Credit");
  runLoop(100);
  clickTab(dialog, "Version");
  const float left = dialog.orbit().angle();
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
  const float closedAt = dialog.orbit().angle();
  // Hidden, it steps as messages arrive.
  runLoop(150);
  const float hiddenAt = dialog.orbit().angle();
  QVERIFY(hiddenAt != closedAt);
  dialog.show();
  QCOMPARE(pages(dialog)->currentWidget()->objectName(), QStringLiteral("Credit"));
  runLoop(100);
  QVERIFY(stepsBetween(hiddenAt, dialog.orbit().angle(), 200) > 0);
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

void TCopyrightTest::okClosesWithTheCancelResult_data() {
  QTest::addColumn<QString>("page");
  for (const char* page : {"VeskGraph", "Credit", "Access", "Version"}) QTest::newRow(page) << page;
}

void TCopyrightTest::okClosesWithTheCancelResult() {
  QFETCH(QString, page);

  QWidget owner;
  owner.show();
  TCopyright dialog(&owner);
  dialog.setResult(QDialog::Accepted);
  QTimer::singleShot(0, &dialog, [&] {
    clickTab(dialog, page);
    closeWithOk(dialog);
  });
  QCOMPARE(dialog.exec(), int(QDialog::Rejected));
  QVERIFY(!dialog.isVisible());
  QCOMPARE(pages(dialog)->currentWidget()->objectName(), page);
}

void TCopyrightTest::escapeDoesNotClose() {
  TCopyright dialog;
  bool stillOpen = false;
  QTimer::singleShot(0, &dialog, [&] {
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QTest::keyClick(dialog.findChild<QPushButton*>("Button1"), Qt::Key_Escape);
    stillOpen = dialog.isVisible();
    closeWithOk(dialog);
  });
  dialog.exec();
  QVERIFY(stillOpen);
}

void TCopyrightTest::enterClicksOnlyAFocusedButton() {
  TCopyright dialog;
  bool openAfterEnterOnTabs = false;
  QTimer::singleShot(0, &dialog, [&] {
    pages(dialog)->tabBar()->setFocus();
    QTest::keyClick(pages(dialog)->tabBar(), Qt::Key_Return);
    openAfterEnterOnTabs = dialog.isVisible();
    auto* ok = dialog.findChild<QPushButton*>("Button1");
    ok->setFocus();
    QTest::keyClick(ok, Qt::Key_Return);
  });
  QCOMPARE(dialog.exec(), int(QDialog::Rejected));
  QVERIFY(openAfterEnterOnTabs);
  QVERIFY(!dialog.findChild<QPushButton*>("Button1")->isDefault());
}

void TCopyrightTest::closeRequestClosesWithTheCancelResult() {
  TCopyright dialog;
  dialog.setResult(QDialog::Accepted);
  QTimer::singleShot(0, &dialog, [&] { dialog.close(); });
  QCOMPARE(dialog.exec(), int(QDialog::Rejected));
  QVERIFY(!dialog.isVisible());
}

void TCopyrightTest::pageAndPositionKeptBetweenOpenings() {
  TCopyright dialog;
  dialog.show();
  clickTab(dialog, "Access");
  dialog.move(40, 50);
  const QPoint closedAt = dialog.pos();
  closeWithOk(dialog);
  dialog.show();
  QCOMPARE(pages(dialog)->currentWidget()->objectName(), QStringLiteral("Access"));
  QCOMPARE(dialog.pos(), closedAt);
}

void TCopyrightTest::firstOpeningIsCentredOnTheScreen() {
  // Centred on the screen, not over its owner.
  QWidget owner;
  owner.setGeometry(0, 0, 100, 100);
  owner.show();
  TCopyright dialog(&owner);
  dialog.show();
  const QRect screen = dialog.screen()->geometry();
  const QPoint centre = dialog.frameGeometry().center();
  QVERIFY2(qAbs(centre.x() - screen.center().x()) <= 1, qPrintable(QString::number(centre.x())));
  QVERIFY2(qAbs(centre.y() - screen.center().y()) <= 1, qPrintable(QString::number(centre.y())));
}

QTEST_MAIN(TCopyrightTest)
#include "tcopyright_test.moc"
