// Throughput of the comparison with DE405, beside an anchor that does the same work with
// ERFA in the same process.
//   Program  window 2's "Сравнить данные 1 с данными 2": 100 000 Moon observations
//            1960-2019 from a BDL file, "JPL2 (DE405)", all four corrections (AberZ,
//            AberP, Ref, Nut) and "+File" (the Param_data_ and Stat files), the block
//            files already parsed (a first run outside the measured time); and the
//            same for 4000 observations.  The Spk case is the same comparison with the
//            ephemeris read from the SPK kernel de405.bsp (the same DE405 data, chosen
//            in the window's astronomy by its listed name) instead of the block files.
//   Anchor   the same epochs and body computed by a small routine with ERFA's apparent
//            place functions: DE405 states from the program's reader (Sun, Earth-Moon
//            barycentre, Moon), light time iterated, eraApcg for the Earth's state,
//            IAU 1976/1980 precession-nutation (eraPnm80, 106 terms) and eraAtciqz
//            (deflection by the Sun, relativistic aberration, the frame rotation).
// Both report places per second; the program's counter x_anchor is its rate over the
// anchor's.  Beside them, the same comparisons with the rigorous reduction ("точно (IAU 2006)"),
// warm and as a new session's first, and the rigorous topocentric place of the same epochs
// on its own (ComputeApparentPlace with a site, warm).
// The cases are compiled once and linked twice: throughput_bench runs them in a plain
// process, qt_throughput_bench inside a Qt application object as the program itself runs
// (qt_throughput_main.cpp).
#include <benchmark/benchmark.h>

#include <erfa.h>
#include <erfam.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <memory>
#include <string>

#include "astro/apparent_place.h"
#include "astro/astro_state.h"
#include "astro/day_table_file.h"
#include "astro/jpl.h"
#include "astro/time.h"
#include "bench_support.h"

namespace {

using namespace planova;
using namespace planova::bench;

constexpr int kObservations = 100000;
constexpr int kSmallSet = 4000;
constexpr const char* kFile = "130";
constexpr const char* kSmallFile = "131";
double anchorRate = 0;  // places per second of the anchor, once it ran

const std::vector<Observation>& Observations() {
  static const std::vector<Observation> obs = MoonLikeObservations(kObservations);
  return obs;
}

const AppFolder& Data() {
  static const AppFolder* folder = [] {
    static AppFolder f("throughput_bench");
    WriteBdlFile(f.path(), std::string("G_") + kFile, Observations());
    WriteBdlFile(f.path(), std::string("G_") + kSmallFile, MoonLikeObservations(kSmallSet));
    return &f;
  }();
  return *folder;
}

// The Moon's geocentric and the Earth's barycentric and heliocentric states at TDB jd
// from the program's reader (km, km/s, ICRF axes).  False when the ephemeris failed.
struct States {
  double moon[3], earthPv[2][3], earthHelio[3];
};
bool ReadStates(AstroState& a, double jd, States& s) {
  a.CurrentJd = jd;
  a.EphemerisError = 0;
  LoadJplRecord(a);
  for (int body : {0, 3, 11}) {
    JplBodyState(a, body);
    JplStateToKilometres(a, body);
  }
  if (a.EphemerisError) return false;
  const double mu = a.EarthMoonMassRatio;
  for (int k = 0; k < 3; ++k) {
    double moon = k == 0 ? a.PosX[11] : k == 1 ? a.PosY[11] : a.PosZ[11];
    double emb = k == 0 ? a.PosX[3] : k == 1 ? a.PosY[3] : a.PosZ[3];
    double sun = k == 0 ? a.PosX[0] : k == 1 ? a.PosY[0] : a.PosZ[0];
    double vmoon = k == 0 ? a.VelX[11] : k == 1 ? a.VelY[11] : a.VelZ[11];
    double vemb = k == 0 ? a.VelX[3] : k == 1 ? a.VelY[3] : a.VelZ[3];
    s.moon[k] = moon * 1000;  // the reader gives thousands of km
    s.earthPv[0][k] = (emb - moon / (mu + 1)) * 1000;
    s.earthPv[1][k] = vemb - vmoon / (mu + 1);
    s.earthHelio[k] = s.earthPv[0][k] - sun * 1000;
  }
  return true;
}

// The anchor's apparent right ascension and declination (radians, true equator and
// equinox of date) of the Moon at UT jd.
bool AnchorPlace(AstroState& a, double jdUt, double& ra, double& dec) {
  a.CurrentJd = jdUt;
  const double tdb = jdUt + DeltaTParabola(a) / 86400;
  States s;
  if (!ReadStates(a, tdb, s)) return false;
  const double au = ERFA_DAU / 1000;  // km
  double ebpv[2][3], ehp[3], p[3];
  for (int k = 0; k < 3; ++k) {
    ebpv[0][k] = s.earthPv[0][k] / au;
    ebpv[1][k] = s.earthPv[1][k] * 86400 / au;
    ehp[k] = s.earthHelio[k] / au;
    p[k] = s.moon[k];
  }
  // Light time: the Moon where it was when its light left, two passes.
  for (int pass = 0; pass < 2; ++pass) {
    double tau = eraPm(p) / (ERFA_CMPS / 1000) / 86400;
    States late;
    if (!ReadStates(a, tdb - tau, late)) return false;
    for (int k = 0; k < 3; ++k) p[k] = late.moon[k] + (late.earthPv[0][k] - s.earthPv[0][k]);
  }
  eraASTROM astrom;
  eraApcg(ERFA_DJ00, tdb - ERFA_DJ00, ebpv, ehp, &astrom);
  eraPnm80(ERFA_DJ00, tdb - ERFA_DJ00, astrom.bpn);
  double rc, dc;
  eraC2s(p, &rc, &dc);
  eraAtciqz(rc, dc, &astrom, &ra, &dec);
  ra = eraAnp(ra);
  return true;
}

void BM_AnchorErfa100000(benchmark::State& state) {
  AstroState a;
  a.InitConstants();
  a.JplFolder = JplFolder();
  const auto& obs = Observations();
  double sum = 0;
  bool ok = true;
  BeginEphemerisRun(a);
  auto t0 = std::chrono::steady_clock::now();
  for (auto _ : state) {
    for (const Observation& o : obs) {
      double ra = 0, dec = 0;
      ok = AnchorPlace(a, o.jd, ra, dec) && ok;
      sum += ra + dec;
    }
  }
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  anchorRate = static_cast<double>(state.iterations()) * kObservations / seconds;
  EndEphemerisRun(a);
  benchmark::DoNotOptimize(sum);
  if (!ok) state.SkipWithError("ephemeris error: are the block files in PLANOVA_DE405_DIR?");
  state.SetItemsProcessed(state.iterations() * kObservations);
  state.counters["places_per_s"] = benchmark::Counter(static_cast<double>(state.iterations()) * kObservations,
                                                       benchmark::Counter::kIsRate);
}

// Window 2 with the observations loaded and the comparison set up.
struct Window2 {
  QuietPlatform ui{Data().path()};
  Application app{ui};
  Window2Model& f = app.window2;
  std::string refusal;  // why the ephemeris asked for could not be chosen

  // ephemeris: the name the JPL folder lists it by ("de405.bsp"); empty: the default,
  // DE405's block files.
  explicit Window2(int count = kObservations, const char* file = kFile, const std::string& ephemeris = {}) {
    app.Astro.SetJplFolder(JplFolder());
    if (!ephemeris.empty() && !app.Astro.SelectEphemeris(ephemeris, &refusal)) return;
    app.ShowForm("Form2");
    if (!ephemeris.empty()) f.ephemeris.Value = ephemeris;  // the list box's choice, which the comparison uses
    f.arraySize.Text = std::to_string(count * 11 / 10);  // the loader asks for a row per 150 bytes
    f.FindButton("Создать массивы с N=")->Press();
    f.fileNumber.Text = file;
    f.FindButton("Загрузить в формате BDL")->Press();
    f.ChooseOption("Option5");  // data 1 "из файла"
    f.ChooseOption("Option7");  // data 2 "JPL2 (DE405)"
    f.addAberration.Value = f.addPlanetaryAberration.Value = f.addRefraction.Value = f.addNutation.Value = true;
    f.writeParamFile.Value = true;    // "+File"
    f.plotDifferences.Value = false;  // no plot
  }
  void Compare() { f.FindButton("Сравнить данные 1 с данными 2")->Press(); }
};

// ephemeris: as Window2's.
void ProgramCompare100000(benchmark::State& state, const std::string& ephemeris) {
  Window2 w(kObservations, kFile, ephemeris);
  if (!w.refusal.empty()) {
    state.SkipWithError(("the ephemeris is refused: " + w.refusal).c_str());
    return;
  }
  w.Compare();  // the block files parsed (the kernel mapped): the runs below are warm
  if (!ephemeris.empty() && w.app.Astro.SelectedEphemerisName() != ephemeris) {
    state.SkipWithError(("the comparison used " + w.app.Astro.SelectedEphemerisName()).c_str());
    return;
  }
  auto t0 = std::chrono::steady_clock::now();
  for (auto _ : state) w.Compare();
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  if (anchorRate > 0) state.counters["x_anchor"] = static_cast<double>(state.iterations()) * kObservations / seconds / anchorRate;
  if (w.ui.messages > 0) state.SkipWithError(("window 2 said: " + w.ui.last).c_str());
  if (w.f.ComparedCount != kObservations) state.SkipWithError("not every observation was compared");
  state.SetItemsProcessed(state.iterations() * kObservations);
  state.counters["places_per_s"] = benchmark::Counter(static_cast<double>(state.iterations()) * kObservations,
                                                       benchmark::Counter::kIsRate);
}

void BM_ProgramCompare100000(benchmark::State& state) { ProgramCompare100000(state, {}); }
void BM_ProgramCompare100000Spk(benchmark::State& state) { ProgramCompare100000(state, "de405.bsp"); }

// The astronomer's everyday case: 4000 observations, the block files already parsed.
void BM_ProgramCompare4000Warm(benchmark::State& state) {
  Window2 w(kSmallSet, kSmallFile);
  w.Compare();
  for (auto _ : state) w.Compare();
  if (w.ui.messages > 0) state.SkipWithError(("window 2 said: " + w.ui.last).c_str());
  if (w.f.ComparedCount != kSmallSet) state.SkipWithError("not every observation was compared");
  state.SetItemsProcessed(state.iterations() * kSmallSet);
}

// The same comparison with "точно (IAU 2006)": the rigorous reduction (IAU 2006/2000A,
// deflection, relativistic aberration).  The first run, outside the measured time, parses
// the block files and fills the nutation table (no day table file of an earlier session);
// its time is the counter first_run_ms.
void BM_ProgramComparePrecise100000(benchmark::State& state) {
  Window2 w;
  w.f.rigorousIau2006.Value = true;
  std::filesystem::remove(DayTableFile(Data().path()));
  auto t0 = std::chrono::steady_clock::now();
  w.Compare();
  const double first = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  for (auto _ : state) w.Compare();
  if (w.ui.messages > 0) state.SkipWithError(("window 2 said: " + w.ui.last).c_str());
  if (w.f.ComparedCount != kObservations) state.SkipWithError("not every observation was compared");
  state.counters["first_run_ms"] = first * 1000;
  state.SetItemsProcessed(state.iterations() * kObservations);
  state.counters["places_per_s"] = benchmark::Counter(static_cast<double>(state.iterations()) * kObservations,
                                                       benchmark::Counter::kIsRate);
}

void BM_ProgramComparePrecise4000Warm(benchmark::State& state) {
  Window2 w(kSmallSet, kSmallFile);
  w.f.rigorousIau2006.Value = true;
  w.Compare();
  for (auto _ : state) w.Compare();
  if (w.ui.messages > 0) state.SkipWithError(("window 2 said: " + w.ui.last).c_str());
  if (w.f.ComparedCount != kSmallSet) state.SkipWithError("not every observation was compared");
  state.SetItemsProcessed(state.iterations() * kSmallSet);
}

// A new session's first comparison of 4000 observations with "точно (IAU 2006)": a new
// window and astronomy state (the block files parsed again), the day table computed from
// nothing (argument 0), read from the file an earlier session left in the application
// folder (1) or from the table the build ships beside the program (2).
void BM_ProgramComparePreciseFirst4000(benchmark::State& state) {
  const std::filesystem::path file = DayTableFile(Data().path());
  const std::filesystem::path kept = file.string() + ".kept";
  if (state.range(0) != 0) {
    Window2 earlier(kSmallSet, kSmallFile);
    earlier.f.rigorousIau2006.Value = true;
    earlier.Compare();
    std::filesystem::copy_file(file, kept, std::filesystem::copy_options::overwrite_existing);
  }
  for (auto _ : state) {
    state.PauseTiming();
    if (state.range(0) == 1) {
      std::filesystem::copy_file(kept, file, std::filesystem::copy_options::overwrite_existing);
    } else {
      std::filesystem::remove(file);
    }
    auto w = std::make_unique<Window2>(kSmallSet, kSmallFile);
    if (state.range(0) == 2) w->app.Astro.SetShippedDayTableFolders({PLANOVA_DAY_TABLE_DIR});
    w->f.rigorousIau2006.Value = true;
    state.ResumeTiming();
    w->Compare();
    state.PauseTiming();
    if (w->ui.messages > 0) state.SkipWithError(("window 2 said: " + w->ui.last).c_str());
    if (w->f.ComparedCount != kSmallSet) state.SkipWithError("not every observation was compared");
    w.reset();
    state.ResumeTiming();
  }
  std::filesystem::remove(kept);
}

// The rigorous topocentric place (GCRS axes, deflection and annual + diurnal aberration)
// of the 100 000 epochs from Maunakea (MPC 568), the block files parsed and the nutation
// table filled by a first pass outside the measured time.
void BM_PreciseTopocentricPlace100000(benchmark::State& state) {
  AstroState a;
  a.InitConstants();
  a.JplFolder = JplFolder();
  const auto& obs = Observations();
  ApparentPlaceRequest r;
  r.Precise = true;
  r.DeltaT = DeltaTModel::kTable;
  r.Epoch = ComparisonEpoch::kJ2000;
  r.Observer = SiteFromParallaxConstants(204.5278, 0.94171, +0.33725);
  double sum = 0;
  bool ok = true;
  BeginEphemerisRun(a);
  auto pass = [&] {
    for (const Observation& o : obs) {
      r.JdUt = o.jd;
      const ApparentPlace p = ComputeApparentPlace(a, r);
      ok = p.Ok && ok;
      sum += p.LonDeg + p.LatDeg;
    }
  };
  pass();
  for (auto _ : state) pass();
  EndEphemerisRun(a);
  benchmark::DoNotOptimize(sum);
  if (!ok) state.SkipWithError("ephemeris error: are the block files in PLANOVA_DE405_DIR?");
  state.SetItemsProcessed(state.iterations() * kObservations);
  state.counters["places_per_s"] = benchmark::Counter(static_cast<double>(state.iterations()) * kObservations,
                                                       benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK(BM_AnchorErfa100000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_ProgramCompare100000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_ProgramCompare100000Spk)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_ProgramCompare4000Warm)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(BM_ProgramComparePrecise100000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_ProgramComparePrecise4000Warm)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(BM_ProgramComparePreciseFirst4000)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PreciseTopocentricPlace100000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
