// DE405 reader: the plain re-scan of the block file for every epoch against the
// parsed-once cache with binary search.
//
// One pass = 4000 epochs spread evenly over 1960-2019 (the three block files ascp1960,
// ascp1980, ascp2000), each with LoadJplRecord and, for the Sun, the Earth-Moon
// barycentre, the Moon and one planet (cycling through Mercury..Pluto without the
// barycentre), JplBodyState and JplStateToEcliptic.
//   Rescan     (a) JplRescan = true: every epoch opens and scans its file.
//   FirstPass  (b) a fresh state: the three files are parsed on first use, then cached.
//   WarmPass   (c) the same state again: everything comes from memory.
//   ParseFiles     a fresh state loading one epoch from each file: the cost of parsing
//                  each file once, the yardstick for (b) - (c).
// The folder is PLANOVA_DE405_DIR from the environment, else the build tree's de405
// (filled by scripts/install_de405.sh through the target de405_bench_data).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "astro/astro_state.h"
#include "astro/jpl.h"

namespace {

using planova::AstroState;

constexpr int kEpochs = 4000;
constexpr double kFirstJd = 2436934.5;  // 1960 January 1
constexpr double kEndJd = 2458832.5;    // 2019 December 15, end of ascp2000

std::filesystem::path Folder() {
  const char* env = std::getenv("PLANOVA_DE405_DIR");
  return env && *env ? std::filesystem::path(env) : std::filesystem::path(PLANOVA_DE405_DIR);
}

const std::vector<double>& Epochs() {
  static const std::vector<double> epochs = [] {
    std::vector<double> e;
    double step = (kEndJd - kFirstJd) / kEpochs;
    for (int i = 0; i < kEpochs; ++i) e.push_back(kFirstJd + (i + 0.5) * step);
    return e;
  }();
  return epochs;
}

std::unique_ptr<AstroState> NewState(bool rescan) {
  auto a = std::make_unique<AstroState>();
  a->InitConstants();
  a->JplFolder = Folder();
  a->JplRescan = rescan;
  return a;
}

// One pass over the epochs; returns a checksum of every position and velocity written
// (bitwise sum), or 0 after an ephemeris error.
unsigned long long Pass(AstroState& a) {
  static constexpr int kPlanets[] = {1, 2, 4, 5, 6, 7, 8, 9};
  unsigned long long sum = 0;
  int i = 0;
  for (double jd : Epochs()) {
    a.CurrentJd = jd;
    a.EphemerisError = 0;
    planova::LoadJplRecord(a);
    if (a.EphemerisError) return 0;
    int bodies[] = {0, 3, 11, kPlanets[i++ % 8]};
    for (int b : bodies) {
      planova::JplBodyState(a, b);
      planova::JplStateToEcliptic(a, b);
      double v[] = {a.PosX[b], a.PosY[b], a.PosZ[b], a.VelX[b], a.VelY[b], a.VelZ[b]};
      for (double x : v) {
        unsigned long long u;
        std::memcpy(&u, &x, sizeof u);
        sum += u;
      }
    }
    if (a.EphemerisError) return 0;
  }
  return sum;
}

unsigned long long ReferenceSum() {
  static const unsigned long long sum = [] {
    auto a = NewState(false);
    return Pass(*a);
  }();
  return sum;
}

void Report(benchmark::State& state, unsigned long long sum) {
  if (sum == 0) {
    state.SkipWithError("ephemeris error: are the block files in PLANOVA_DE405_DIR?");
  } else if (sum != ReferenceSum()) {
    state.SkipWithError("results differ from the cached path's");
  }
  state.counters["epochs"] = kEpochs;
  state.counters["per_epoch"] =
      benchmark::Counter(static_cast<double>(kEpochs), benchmark::Counter::kIsIterationInvariantRate |
                                                           benchmark::Counter::kInvert);
}

void Rescan(benchmark::State& state) {
  auto a = NewState(true);
  unsigned long long sum = 0;
  for (auto _ : state) {
    sum = Pass(*a);
    benchmark::DoNotOptimize(sum);
  }
  Report(state, sum);
}

void FirstPass(benchmark::State& state) {
  unsigned long long sum = 0;
  long parsed = 0;
  for (auto _ : state) {
    auto a = NewState(false);
    sum = Pass(*a);
    parsed = a->JplFilesParsed;
    benchmark::DoNotOptimize(sum);
  }
  Report(state, sum);
  state.counters["files_parsed"] = static_cast<double>(parsed);
}

void WarmPass(benchmark::State& state) {
  auto a = NewState(false);
  Pass(*a);
  unsigned long long sum = 0;
  for (auto _ : state) {
    sum = Pass(*a);
    benchmark::DoNotOptimize(sum);
  }
  Report(state, sum);
  state.counters["files_parsed"] = static_cast<double>(a->JplFilesParsed);
}

void ParseFiles(benchmark::State& state) {
  long parsed = 0;
  bool ok = true;
  for (auto _ : state) {
    auto a = NewState(false);
    for (double jd : {2440000.5, 2448000.5, 2455000.5}) {
      a->CurrentJd = jd;
      planova::LoadJplRecord(*a);
    }
    ok = ok && a->EphemerisError == 0;
    parsed = a->JplFilesParsed;
  }
  if (!ok) state.SkipWithError("ephemeris error: are the block files in PLANOVA_DE405_DIR?");
  state.counters["files_parsed"] = static_cast<double>(parsed);
}

}  // namespace

BENCHMARK(Rescan)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(FirstPass)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(WarmPass)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(ParseFiles)->Unit(benchmark::kMillisecond)->MinTime(2.0);

BENCHMARK_MAIN();
