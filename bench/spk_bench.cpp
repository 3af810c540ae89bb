// The SPK reader on de405.bsp (scripts/make_de405_spk.py writes it from the DE405 block
// files): what a comparison asks of the ephemeris, per epoch the Sun, the Earth-Moon
// barycentre, the Moon and one planet (cycling through Mercury..Pluto without the
// barycentre), over 4000 epochs spread evenly over 1960-2019.
//   States             the kernel opened once: state evaluations per second.
//   OpenAndFirstState  a fresh open (file record, summary chain, segments checked, the
//                      mapping) and the four states of the first epoch.
//   OpenAnd4000Epochs  a fresh open and the whole pass: the ephemeris's share of opening a
//                      kernel and a first comparison of 4000 observations (the aim: < 50 ms).
//   ColdOpenAnd4000Epochs  the same with the kernel's pages dropped from the page cache
//                      first (posix_fadvise DONTNEED, untimed), so that they come from the disk.
// The folder is PLANOVA_DE405_DIR from the environment, else the build tree's de405.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "astro/spk_ephemeris.h"

namespace {

using namespace planova;

constexpr int kEpochs = 4000;
constexpr double kFirstJd = 2436934.5;  // 1960 January 1
constexpr double kEndJd = 2458832.5;    // 2019 December 15
constexpr int kBodiesPerEpoch = 4;

std::filesystem::path Kernel() {
  const char* env = std::getenv("PLANOVA_DE405_DIR");
  return (env && *env ? std::filesystem::path(env) : std::filesystem::path(PLANOVA_DE405_DIR)) / "de405.bsp";
}

std::unique_ptr<JplEphemeris> Open(benchmark::State& state) {
  std::string refusal;
  auto e = OpenSpkEphemeris(Kernel(), &refusal);
  if (!e) state.SkipWithError(("the kernel is refused: " + refusal).c_str());
  return e;
}

// States of `epochs` epochs; returns a checksum of the positions and derivatives (bitwise
// sum), or 0 after a failure.
unsigned long long Pass(JplEphemeris& e, int epochs) {
  static constexpr int kPlanets[] = {kJplMercury, kJplVenus, kJplMars, kJplJupiter, kJplSaturn, kJplUranus, kJplNeptune, kJplPluto};
  const double step = (kEndJd - kFirstJd) / kEpochs;
  unsigned long long sum = 0;
  for (int i = 0; i < epochs; ++i) {
    const double jd = kFirstJd + (i + 0.5) * step;
    for (int body : {static_cast<int>(kJplSun), static_cast<int>(kJplEarthMoonBarycentre), static_cast<int>(kJplMoon), static_cast<int>(kPlanets[i % 8])}) {
      ChebyshevState s;
      if (e.State(body, jd, s, nullptr) != EphemerisFailure::kNone) return 0;
      for (double x : {s.Pos[0], s.Pos[1], s.Pos[2], s.Der[0], s.Der[1], s.Der[2]}) {
        unsigned long long u;
        std::memcpy(&u, &x, sizeof u);
        sum += u;
      }
    }
  }
  return sum;
}

void Check(benchmark::State& state, unsigned long long sum) {
  if (sum == 0) state.SkipWithError("a state failed");
}

void States(benchmark::State& state) {
  auto e = Open(state);
  if (!e) return;
  unsigned long long sum = 0;
  for (auto _ : state) {
    sum = Pass(*e, kEpochs);
    benchmark::DoNotOptimize(sum);
  }
  Check(state, sum);
  state.SetItemsProcessed(state.iterations() * kEpochs * kBodiesPerEpoch);
}

void OpenAndFirstState(benchmark::State& state) {
  unsigned long long sum = 0;
  for (auto _ : state) {
    auto e = Open(state);
    if (!e) return;
    sum = Pass(*e, 1);
    benchmark::DoNotOptimize(sum);
  }
  Check(state, sum);
}

void OpenAnd4000Epochs(benchmark::State& state) {
  unsigned long long sum = 0;
  for (auto _ : state) {
    auto e = Open(state);
    if (!e) return;
    sum = Pass(*e, kEpochs);
    benchmark::DoNotOptimize(sum);
  }
  Check(state, sum);
}

// Asks the kernel to drop the file's cached pages (a hint; clean pages go).
void DropCachedPages() {
  int fd = ::open(Kernel().c_str(), O_RDONLY);
  if (fd < 0) return;
  ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
  ::close(fd);
}

void ColdOpenAnd4000Epochs(benchmark::State& state) {
  unsigned long long sum = 0;
  for (auto _ : state) {
    state.PauseTiming();
    DropCachedPages();
    state.ResumeTiming();
    auto e = Open(state);
    if (!e) return;
    sum = Pass(*e, kEpochs);
    benchmark::DoNotOptimize(sum);
  }
  Check(state, sum);
}

}  // namespace

BENCHMARK(States)->Unit(benchmark::kMicrosecond);
BENCHMARK(OpenAndFirstState)->Unit(benchmark::kMicrosecond);
BENCHMARK(OpenAnd4000Epochs)->Unit(benchmark::kMillisecond);
BENCHMARK(ColdOpenAnd4000Epochs)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
