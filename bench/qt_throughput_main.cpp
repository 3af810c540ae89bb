// The throughput cases of throughput_bench.cpp run inside a Qt application object, as
// planova3 runs them: the QGuiApplication (the offscreen platform, as the batch mode
// uses) is made before any case runs and lives until the last ends.  Whatever Qt's start
// leaves behind in the process (the upper halves of the AVX registers in use, for one)
// is there for every case, so a figure that falls behind throughput_bench's shows a cost
// that only the real program pays.  The context line upper_state_after_qt says whether
// Qt's start left the AVX upper state in use ("in use", "clear", or "unknown" where the
// processor cannot tell); the program's runs must clear it themselves.
//   build-bench/bench/qt_throughput_bench [Google Benchmark options]
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cstdlib>

#include "common/register_state.h"

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication qt(argc, argv);
  const int inUse = planova::UpperRegisterStateInUse();
  benchmark::AddCustomContext("upper_state_after_qt", inUse < 0 ? "unknown" : inUse ? "in use" : "clear");
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
