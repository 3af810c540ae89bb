// The files a classical comparison of 1 000 000 observations writes after its places,
// each measured alone in process CPU (the forming and the system's write; the fsync of
// the end is the disk's, not ours, and is included as the program pays it):
//   ParamRecords  the Param_data_ records (eight numbers a line in print form);
//   CsvRows       the CSV twin's lines (date as ISO 8601 and JD, fixed fields, the O-C
//                 to 6 decimals, the intervals, the selection and the sigmas);
//   ResidualsPsv  Residuals_<code><object>.psv (ADES PSV, the columns lined up).
// The records are made-up residuals of a sorted 30-year run at one station, some of
// them without a sigma of their own; making them is not measured.
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "compare/ades_residuals.h"
#include "compare/comparison_run.h"

namespace {

using namespace planova;

constexpr int kCount = 1000000;

struct Record {
  double Jd, RaDeg, DecDeg, OcRa, OcDec, OcTime;
  float SigmaRa, SigmaDec;
};

const std::vector<Record>& Records() {
  static const std::vector<Record> records = [] {
    std::mt19937_64 gen(20261209);
    std::normal_distribution<double> oc(0.05, 0.6);
    std::uniform_real_distribution<double> ra(0, 360), dec(-28, 28), unit(0, 1);
    std::vector<Record> v(kCount);
    for (int i = 0; i < kCount; ++i) {
      Record& r = v[i];
      r.Jd = 2436935.5 + i * (30 * 365.25 / kCount);  // 1960 on, in the order of the dates
      r.RaDeg = ra(gen);
      r.DecDeg = dec(gen);
      r.OcRa = oc(gen);
      r.OcDec = oc(gen);
      r.OcTime = unit(gen) < 0.5 ? 0 : oc(gen);
      r.SigmaRa = unit(gen) < 0.1 ? 0.0f : 0.3f;
      r.SigmaDec = r.SigmaRa;
    }
    return v;
  }();
  return records;
}

std::filesystem::path Folder() {
  static const std::filesystem::path folder = [] {
    std::filesystem::path p = std::filesystem::temp_directory_path() / "planova_output_bench";
    std::filesystem::create_directories(p);
    return p;
  }();
  return folder;
}

void BM_ParamRecords1000000(benchmark::State& state) {
  const auto& records = Records();
  for (auto _ : state) {
    ComparisonRun run;
    run.OpenParamFile(Folder() / "Param_data_PARI11.txt", "PARI", 11);
    for (int i = 0; i < kCount; ++i) {
      const Record& r = records[static_cast<size_t>(i)];
      run.WriteParamRecord(i + 1, 22.78, 1, 1960 + i * 30 / kCount, r.Jd, r.OcRa / 3600, r.OcDec / 3600, r.OcTime / 86400);
    }
    benchmark::DoNotOptimize(run.CloseRunFiles().empty());
  }
}
BENCHMARK(BM_ParamRecords1000000)->Unit(benchmark::kMillisecond);

// As window 2 forms the rows of its CSV twin (Window2Model::WriteCsvRows): in place, in
// blocks of about 1 MB.
void BM_CsvRows1000000(benchmark::State& state) {
  const auto& records = Records();
  const std::string fixed = CsvFixedFieldsOf(11, "JPL2 DE405", "App");
  constexpr size_t kBlockBytes = size_t{1} << 20;
  for (auto _ : state) {
    ComparisonRun run;
    run.OpenParamFile(Folder() / "Param_data_PARI11.txt", "PARI", 11);
    run.OpenCsvFile(Folder() / "Param_data_PARI11.csv", "record,date,jd,...");
    std::string block(kBlockBytes + CsvRecordStartMax(fixed) + 8 * (kCsvNumberMax + 1) + 4, ' ');
    char* const start = block.data();
    char* p = start;
    IsoDateTime date;
    for (int i = 0; i < kCount; ++i) {
      const Record& r = records[static_cast<size_t>(i)];
      p = StartCsvRecordInto(p, i + 1, date, CalendarRule::kGregorianFrom1582, r.Jd, fixed);
      const double cosDec = std::cos(r.DecDeg / 57.29577951308232);
      for (double v : {r.OcRa, r.OcRa * cosDec, r.OcDec, r.OcTime}) {
        *p++ = ',';
        p = CsvNumberInto<6>(p, v);
      }
      for (char c : std::string_view(",3,1,A,")) *p++ = c;
      if (r.SigmaRa > 0) p = CsvNumberInto<4>(p, r.SigmaRa);
      *p++ = ',';
      if (r.SigmaDec > 0) p = CsvNumberInto<4>(p, r.SigmaDec);
      *p++ = '\r';
      *p++ = '\n';
      if (static_cast<size_t>(p - start) >= kBlockBytes) {
        run.WriteCsvBytes({start, static_cast<size_t>(p - start)});
        p = start;
      }
    }
    run.WriteCsvBytes({start, static_cast<size_t>(p - start)});
    benchmark::DoNotOptimize(run.CloseRunFiles().empty());
  }
}
BENCHMARK(BM_CsvRows1000000)->Unit(benchmark::kMillisecond);

// The rows handed one at a time, as window 2 hands its kept residuals.
class Rows : public AdesRowSource {
 public:
  size_t Count() const override { return kCount; }
  void Fill(size_t k, AdesResidualRow& row) const override {
    const Record& r = Records()[k];
    row.JdUtc = r.Jd;
    row.RaDeg = r.RaDeg;
    row.DecDeg = r.DecDeg;
    row.Station = "PARI";
    row.ResRaArcsec = r.OcRa * std::cos(r.DecDeg / 57.29577951308232);
    row.ResDecArcsec = r.OcDec;
    row.SelAst = 'A';
    row.SigRaArcsec = r.SigmaRa;
    row.SigDecArcsec = r.SigmaDec;
  }
};

void BM_ResidualsPsv1000000(benchmark::State& state) {
  Records();
  AdesResidualsRequest request;
  request.Body = "Moon";
  request.Ephemeris = "DE405";
  for (auto _ : state) {
    benchmark::DoNotOptimize(WriteAdesResiduals(Folder() / "Residuals_PARI11.psv", request, Rows()).Records);
  }
}
BENCHMARK(BM_ResidualsPsv1000000)->Unit(benchmark::kMillisecond);

}  // namespace

// The files (300 MB) are removed when the benchmarks end.
int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::error_code ec;
  std::filesystem::remove_all(std::filesystem::temp_directory_path() / "planova_output_bench", ec);
  return 0;
}
