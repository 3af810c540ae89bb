// Window 3's "Сравнить данные наблюдений с" over 4000 Moon observations spread evenly
// over 1960-2019, theory "JPL2" (DE405) and "+ скорректировать данные" with a correction
// growing from 1" to 2" in longitude and -1" in latitude, the plot as the window
// draws it by default.  Every iteration has a new application, so the block files are
// read and parsed inside the measured time; making the application and loading the
// observations are not measured.  The block files come from PLANOVA_DE405_DIR in the
// environment, else the build tree's de405 (filled through the target de405_bench_data).
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "bench_support.h"

namespace {

using namespace planova;
using namespace planova::bench;

constexpr int kObservations = 4000;
constexpr const char* kFile = "130";

const AppFolder& Data() {
  static const AppFolder* folder = [] {
    static AppFolder f("window3_bench");
    WriteBdlFile(f.path(), std::string("G_") + kFile, MoonLikeObservations(kObservations));
    return &f;
  }();
  return *folder;
}

// Window 3 with the observations loaded and the run set up; nothing of DE405 read yet.
struct Window3 {
  QuietPlatform ui{Data().path()};
  Application app{ui};
  Window3Model& f = app.window3;

  Window3() {
    app.Astro.SetJplFolder(JplFolder());
    app.ShowForm("Form4");
    f.arraySize.Text = "5000";
    f.FindButton("Создать массивы с N=")->Press();
    f.fileNumber.Text = kFile;
    f.FindButton("Загрузить в формате BDL")->Press();
    f.ChooseOption("Option7");  // "JPL2"
    f.correctData.Value = true;      // "+ скорректировать данные"
    // dLn, dLk, dBn, dBk in arcseconds (whole strings: GCC 12 warns falsely about
    // assigning short literals after inlining).
    f.corrLFirstArcsec.Text = std::string("1");
    f.corrLLastArcsec.Text = std::string("2");
    f.corrBFirstArcsec.Text = std::string("-1");
    f.corrBLastArcsec.Text = std::string("-1");
  }
};

void BM_Window3De405Run4000(benchmark::State& state) {
  std::string error;
  int compared = 0;
  long parsed = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto w = std::make_unique<Window3>();
    if (w->ui.messages > 0 || w->f.Count1 != kObservations) error = "loading the observations failed: " + w->ui.last;
    state.ResumeTiming();
    w->f.FindButton("Сравнить данные наблюдений с")->Press();
    state.PauseTiming();
    if (w->ui.messages > 0) error = "window 3 said: " + w->ui.last;
    if (w->f.LastEphemeris.Failure != EphemerisFailure::kNone) {
      error = "ephemeris error: are the block files in PLANOVA_DE405_DIR?";
    }
    compared = w->f.ComparedCount;
    parsed = w->app.Astro.JplFilesParsed();
    w.reset();
    state.ResumeTiming();
  }
  if (error.empty() && compared != kObservations) error = "not every observation was compared";
  if (!error.empty()) state.SkipWithError(error.c_str());
  state.counters["compared"] = compared;
  state.counters["files_parsed"] = static_cast<double>(parsed);
  state.SetItemsProcessed(state.iterations() * kObservations);
}

}  // namespace

BENCHMARK(BM_Window3De405Run4000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

BENCHMARK_MAIN();
