// The about dialog's animation: what preparation (FormCreate) costs, what one
// step costs, and the share of one core the process takes while page Credit
// is shown. The last needs a real display, paced by its refresh rate:
//   scripts/with-xvfb.sh env QT_QPA_PLATFORM=xcb build/bench/about_bench

#include <benchmark/benchmark.h>

#include <QEventLoop>
#include <QTabWidget>
#include <QTimer>
#include <ctime>

#include "about/orbit_animation.h"
#include "about/tcopyright.h"
#include "windowlayer/imaging/bitmap_resource.h"
#include "windowlayer/imaging/image_control.h"
#include "windowlayer/imaging/testing/paint_counter.h"

namespace {

constexpr QSize kPicture(257, 156);
constexpr int kCreditShownMilliseconds = 5000;

double processCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// FormCreate's work: load the sheet, cut and mask the figure and the frames.
void BM_FormCreatePreparation(benchmark::State& state) {
  for (auto _ : state) {
    vesk::OrbitAnimation animation;
    animation.prepare(kPicture, vesk::loadBitmapResource(QStringLiteral("KALDREN")));
    benchmark::DoNotOptimize(animation.picture().image().constBits());
  }
}
BENCHMARK(BM_FormCreatePreparation)->Unit(benchmark::kMicrosecond);

// One Timer1Timer: a fill, two masked draws, and the picture replaced.
void BM_AnimationStep(benchmark::State& state) {
  vesk::OrbitAnimation animation;
  animation.prepare(kPicture, vesk::loadBitmapResource(QStringLiteral("KALDREN")));
  vesk::ImageControl image;
  for (auto _ : state) {
    animation.step();
    image.setPicture(animation.picture());
  }
}
BENCHMARK(BM_AnimationStep)->Unit(benchmark::kMicrosecond);

void BM_CreditShownCpuLoad(benchmark::State& state) {
  for (auto _ : state) {
    vesk::TCopyright dialog;
    dialog.show();
    dialog.findChild<QTabWidget*>("PC")->setCurrentIndex(1);
    vesk::testing::PaintCounter steps;
    dialog.findChild<vesk::ImageControl*>("Image")->installEventFilter(&steps);
    const double cpuBefore = processCpuSeconds();
    QEventLoop loop;
    QTimer::singleShot(kCreditShownMilliseconds, &loop, &QEventLoop::quit);
    loop.exec();
    const double cpu = processCpuSeconds() - cpuBefore;
    const double seconds = kCreditShownMilliseconds / 1000.0;
    state.counters["cpu_percent_of_one_core"] = 100.0 * cpu / seconds;
    state.counters["steps_per_second"] = steps.count / seconds;
  }
}
BENCHMARK(BM_CreditShownCpuLoad)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
