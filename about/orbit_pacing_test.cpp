#include <QApplication>
#include <QEventLoop>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include "about/tcopyright.h"
#include "windowlayer/controls/window_font.h"
#include "windowlayer/imaging/image_control.h"
#include "windowlayer/imaging/testing/paint_counter.h"

using vesk::TCopyright;

namespace {

constexpr int kCountMilliseconds = 2000;

}  // namespace

// On a real display the animation steps once per repaint, and no more often
// than the display refreshes.
class OrbitPacingTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { vesk::installFontSubstitutes(); }
  void creditShownStepsAtTheRefreshRate();
};

void OrbitPacingTest::creditShownStepsAtTheRefreshRate() {
  TCopyright dialog;
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  auto* pc = dialog.findChild<QTabWidget*>("PC");
  QTest::mouseClick(pc->tabBar(), Qt::LeftButton, {}, pc->tabBar()->tabRect(1).center());
  QCOMPARE(pc->tabText(pc->currentIndex()), QStringLiteral("Credit"));

  // Each step replaces the picture, and each replacement repaints it once.
  vesk::testing::PaintCounter steps;
  dialog.findChild<vesk::ImageControl*>("Image")->installEventFilter(&steps);
  QEventLoop loop;
  QTimer::singleShot(kCountMilliseconds, &loop, &QEventLoop::quit);
  loop.exec();

  double rate = dialog.screen()->refreshRate();
  if (!(rate > 0)) rate = 60;
  const double seconds = kCountMilliseconds / 1000.0;
  qInfo("%d steps in %.0f s at a refresh rate of %.1f Hz", steps.count, seconds, rate);
  QVERIFY2(steps.count <= rate * seconds * 1.1 + 5, qPrintable(QString::number(steps.count)));
  QVERIFY2(steps.count > 5 * seconds, qPrintable(QString::number(steps.count)));
}

QTEST_MAIN(OrbitPacingTest)
#include "orbit_pacing_test.moc"
