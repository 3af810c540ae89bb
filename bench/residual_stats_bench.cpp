// The residual statistics of a large comparison: 1 000 000 made-up O-C residuals of five
// stations over 30 years (Gaussian, 0.5 % of them 10σ off, each with its σ), clipped at
// 3σ and summarized overall, per station and per year (the medians and MADs through
// std::nth_element).  Making the records is not measured.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "compare/residual_stats.h"

namespace {

using namespace planova;

const std::vector<ResidualRecord>& Records() {
  static const std::vector<ResidualRecord> records = [] {
    constexpr int kCount = 1000000;
    const char* stations[] = {"084", "309", "568", "691", "G96"};
    std::mt19937_64 gen(20261209);
    std::normal_distribution<double> ra(0.05, 0.3), dec(-0.02, 0.25), time(0.1, 0.5);
    std::uniform_real_distribution<double> sigma(0.15, 0.5), unit(0, 1);
    std::vector<ResidualRecord> v(kCount);
    for (int i = 0; i < kCount; ++i) {
      ResidualRecord& r = v[i];
      r.Number = i + 1;
      r.HasRa = r.HasDec = r.HasTime = true;
      r.RaArcsec = ra(gen);
      r.DecArcsec = dec(gen);
      r.TimeSeconds = time(gen);
      if (unit(gen) < 0.005) r.RaArcsec += 3.0;
      r.SigmaRaArcsec = sigma(gen);
      r.SigmaDecArcsec = sigma(gen);
      r.Station = stations[(i / 7) % 5];
      r.Year = 1990 + i * 30 / kCount;  // in the order of the dates, as a comparison gives them
    }
    return v;
  }();
  return records;
}

// Clipping and the summary of the accepted records: what window 2 does after a run.
void BM_ResidualStatsClipAndSummary1000000(benchmark::State& state) {
  const auto& records = Records();
  for (auto _ : state) {
    const ClipResult clip = ClipResiduals(records);
    const ResidualSummary s = SummarizeResiduals(records, clip.Flags);
    benchmark::DoNotOptimize(s.Overall.Coord[kResidualRa].Median);
    state.counters["iterations"] = clip.Iterations;
    state.counters["rejected"] = clip.Rejected;
  }
}
BENCHMARK(BM_ResidualStatsClipAndSummary1000000)->Unit(benchmark::kMillisecond);

void BM_ResidualStatsSummary1000000(benchmark::State& state) {
  const auto& records = Records();
  for (auto _ : state) benchmark::DoNotOptimize(SummarizeResiduals(records).Overall.Coord[kResidualDec].Mad);
}
BENCHMARK(BM_ResidualStatsSummary1000000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
