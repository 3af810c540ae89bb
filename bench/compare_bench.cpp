// Window 2's "Сравнить данные 1 с данными 2" against DE405: 4000 Moon observations spread
// evenly over 1960-2019 (the three block files) as data set 1 from a BDL file, theory
// "JPL2 (DE405)", all four corrections (AberZ, AberP, Ref, Nut), "+File" (Param_data_
// and Stat files in Dat) and "+Текст" (the comparison log).
//   Cached  the parsed-once reader.  Every iteration has a new application, so the
//           block files are read and parsed inside the measured time; making the
//           application and loading the observations are not measured.
//   Rescan  JplRescan = true: the plain reader, which opens and scans the block file
//           for every observation.  Its log must be the cached run's, byte for byte;
//           "x_cached" is how many times slower it is than the cached run.
//   SpkCold the SPK kernel de405.bsp (the same DE405 data) chosen in the list box
//           "эфемериды": the comparison opens the kernel (file record, summaries, the
//           mapping) and computes the places inside the measured time, the kernel's pages
//           dropped from the page cache first (posix_fadvise DONTNEED, not measured), so
//           that they come from the disk.
// The block files come from PLANOVA_DE405_DIR in the environment, else the build
// tree's de405 (filled through the target de405_bench_data).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>

#include "bench_support.h"

namespace {

using namespace planova;
using namespace planova::bench;

constexpr int kObservations = 4000;
constexpr const char* kFile = "120";
constexpr const char* kKernel = "de405.bsp";

const AppFolder& Data() {
  static const AppFolder* folder = [] {
    static AppFolder f("compare_bench");
    WriteBdlFile(f.path(), std::string("G_") + kFile, MoonLikeObservations(kObservations));
    return &f;
  }();
  return *folder;
}

// Window 2 with data set 1 loaded and the comparison set up; nothing of DE405 read yet.
struct Window2 {
  QuietPlatform ui{Data().path()};
  Application app{ui};
  Window2Model& f = app.window2;

  // ephemeris: the list box's choice ("de405.bsp"); empty: the default, DE405's block files.
  Window2(bool rescan, const std::string& ephemeris) {
    app.Astro.SetJplFolder(JplFolder());
    app.Astro.SetJplRescan(rescan);
    app.ShowForm("Form2");
    f.arraySize.Text = "5000";
    f.FindButton("Создать массивы с N=")->Press();
    f.ChooseOption("Option1");
    f.fileNumber.Text = kFile;
    f.FindButton("Загрузить в формате BDL")->Press();
    f.ChooseOption("Option5");  // data 1 "из файла"
    f.ChooseOption("Option7");  // data 2 "JPL2 (DE405)"
    // The corrections.
    f.addAberration.Value = f.addPlanetaryAberration.Value = f.addRefraction.Value = f.addNutation.Value = true;
    f.writeParamFile.Value = true;  // "+File"
    f.showLines.Value = true;       // "+Текст"
    if (!ephemeris.empty()) f.ephemeris.Value = ephemeris;
  }
  void Compare() { f.FindButton("Сравнить данные 1 с данными 2")->Press(); }
};

struct RunResult {
  std::string log;  // the comparison log of the last run
  double seconds = 0;  // mean wall time of one comparison
};
RunResult cachedRun;

// Asks the kernel to drop the file's cached pages (a hint; clean pages go).
void DropCachedPages(const fs::path& file) {
  int fd = ::open(file.c_str(), O_RDONLY);
  if (fd < 0) return;
  ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
  ::close(fd);
}

// One benchmark: a new window per iteration, the comparison measured.  ephemeris: as
// Window2's; the kernel's pages are dropped before each comparison.
void Run(benchmark::State& state, bool rescan, const std::string& ephemeris = {}) {
  std::string log, error;
  int compared = 0;
  long parsed = 0;
  double total = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto w = std::make_unique<Window2>(rescan, ephemeris);
    if (w->ui.messages > 0 || w->f.Count1 != kObservations) error = "loading the observations failed: " + w->ui.last;
    if (!ephemeris.empty()) {
      if (std::find(w->f.ephemeris.Items.begin(), w->f.ephemeris.Items.end(), ephemeris) == w->f.ephemeris.Items.end()) {
        error = ephemeris + " is not in PLANOVA_DE405_DIR";
      }
      DropCachedPages(JplFolder() / ephemeris);
    }
    state.ResumeTiming();
    auto t0 = std::chrono::steady_clock::now();
    w->Compare();
    total += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    state.PauseTiming();
    if (w->ui.messages > 0) error = "window 2 said: " + w->ui.last;
    if (w->f.LastEphemeris.Failure != EphemerisFailure::kNone) {
      error = "ephemeris error: are the block files in PLANOVA_DE405_DIR?";
    }
    if (!ephemeris.empty() && w->app.Astro.SelectedEphemerisName() != ephemeris) {
      error = "the comparison used " + w->app.Astro.SelectedEphemerisName();
    }
    compared = w->f.ComparedCount;
    parsed = w->app.Astro.JplFilesParsed();
    log = std::move(w->f.ComparisonLog);
    w.reset();
    state.ResumeTiming();
  }
  if (error.empty() && compared != kObservations) error = "not every observation was compared";
  const double mean = total / static_cast<double>(state.iterations());
  if (!ephemeris.empty()) {
    // another reader of the same data: its log is not the block files' to the last digit
  } else if (!rescan) {
    cachedRun = {log, mean};
  } else if (!cachedRun.log.empty()) {
    if (error.empty() && log != cachedRun.log) error = "the plain reader's results differ from the cached reader's";
    state.counters["x_cached"] = mean / cachedRun.seconds;
  }
  if (!error.empty()) state.SkipWithError(error.c_str());
  state.counters["compared"] = compared;
  state.counters["files_parsed"] = static_cast<double>(parsed);
  state.SetItemsProcessed(state.iterations() * kObservations);
}

void BM_CompareDe405Cached4000(benchmark::State& state) { Run(state, false); }
void BM_CompareDe405Rescan4000(benchmark::State& state) { Run(state, true); }
void BM_CompareSpkCold4000(benchmark::State& state) { Run(state, false, kKernel); }

}  // namespace

BENCHMARK(BM_CompareDe405Cached4000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(BM_CompareSpkCold4000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(BM_CompareDe405Rescan4000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

BENCHMARK_MAIN();
