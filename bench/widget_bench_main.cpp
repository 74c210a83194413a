// main() of the benchmarks of widgets: an offscreen Qt application (unless a
// platform is asked for) with the program's font substitutions, then the
// registered benchmarks.

#include <benchmark/benchmark.h>

#include <QApplication>

#include "windowlayer/controls/window_font.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  vesk::installFontSubstitutes();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
