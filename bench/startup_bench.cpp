// Start-up to the first painted frame of the main window: building Form1
// from its layout and the hidden about dialog, showing Form1 and painting it once. The first run in
// the process is the cold start the user sees (fonts, style and glyphs loaded for the first time);
// it is reported as the counter cold_ms.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>

#include "about/tcopyright.h"
#include "mainwindow/tform1.h"

namespace {

// Notes the first paint event a widget receives.
class FirstPaint : public QObject {
 public:
  bool painted = false;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) painted = true;
    return false;
  }
};

void buildShowAndPaint() {
  vesk::TForm1 form;
  vesk::TCopyright about;
  form.setAboutDialog(&about);
  FirstPaint firstPaint;
  form.installEventFilter(&firstPaint);
  form.show();
  while (!firstPaint.painted) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

double coldStartMilliseconds() {
  static const double cold = [] {
    QElapsedTimer timer;
    timer.start();
    buildShowAndPaint();
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
  }();
  return cold;
}

void BM_StartupToFirstFrame(benchmark::State& state) {
  state.counters["cold_ms"] = coldStartMilliseconds();
  for (auto _ : state) buildShowAndPaint();
}

BENCHMARK(BM_StartupToFirstFrame)->Unit(benchmark::kMillisecond);

}  // namespace
