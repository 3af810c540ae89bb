// Speed of the source import: a Dov file of 100 000 lines and an ADES PSV file of
// 1 000 000 lines through window 1's button "Загрузить исходные данные из", with the three
// panes filled and the rejected records written, as an astronomer would run it on a large
// catalogue; and the ADES reader with its record converter alone on the same file.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/application.h"
#include "common/platform.h"
#include "common/textfile.h"
#include "import/ades_reader.h"

#ifndef PLANOVA_SAMPLE_DIR
#define PLANOVA_SAMPLE_DIR ""
#endif

namespace {

namespace fs = std::filesystem;
using namespace planova;

constexpr int kLines = 100000;

// A whole file's bytes.
std::string FileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class QuietPlatform : public Platform {
 public:
  explicit QuietPlatform(fs::path folder) : folder_(std::move(folder)) {}
  void ShowMessage(const std::string& text, const std::string&) override { last = text; }
  bool Ask(const std::string&) override { return true; }  // yes, as the batch mode answers
  void SetBusyPointer(bool) override {}
  void ProcessEvents() override {}
  fs::path AppFolder() const override { return folder_; }
  std::string last;

 private:
  fs::path folder_;
};

fs::path SampleDir() {
  fs::path dir = PLANOVA_SAMPLE_DIR;
  if (dir.empty()) dir = fs::path(__FILE__).parent_path().parent_path() / "sample";
  return dir;
}

// An application folder in the temporary folder with FileDov/PARI11_G_1.txt of kLines
// records: the sample's records (three of them spoiled) repeated.
fs::path MakeFolder() {
  fs::path dir = fs::temp_directory_path() / ("planova_import_bench_" + std::to_string(getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir / "FileDov");
  fs::create_directories(dir / "Dat");
  TextInputFile in;
  if (!in.Open(SampleDir() / "FileDov" / "PARI11_G_1.txt")) throw std::runtime_error("sample Dov file not found");
  std::vector<std::string> lines;
  for (std::string line; in.ReadLine(line);) lines.push_back(line);
  TextOutputFile out;
  out.Create(dir / "FileDov" / "PARI11_G_1.txt");
  out.WriteLine(lines[0]);
  out.WriteLine(lines[1]);
  for (int k = 0; k < kLines; ++k) out.WriteLine(lines[2 + static_cast<size_t>(k) % (lines.size() - 2)]);
  if (!out.Commit()) throw std::runtime_error("cannot write the benchmark's Dov file");
  return dir;
}

void BM_DovImport100000Lines(benchmark::State& state) {
  const fs::path dir = MakeFolder();
  QuietPlatform ui(dir);
  Application app(ui);
  Window1Model& f = app.window1;
  f.arraySize.Text = std::to_string(kLines + 1);
  f.FindButton("Создать массивы с N=")->Press();
  f.writeBadRecordsFile.Value = true;  // "+FileBad"
  const ControlEntry* import = f.FindButton("Загрузить исходные данные из");
  for (auto _ : state) {
    import->Press();
    benchmark::DoNotOptimize(f.acceptedLog.Text.data());
  }
  if (!ui.last.empty() || app.Store.ReadCount != kLines) state.SkipWithError("the import did not run to its end");
  state.counters["records"] = app.Store.ReadCount;
  state.counters["accepted"] = app.Store.GoodCount;
  state.counters["pane_MB"] = static_cast<double>(f.sourceLog.Text.size() + f.acceptedLog.Text.size() +
                                                  f.rejectedOrSavedLog.Text.size()) / 1e6;
  state.SetItemsProcessed(state.iterations() * kLines);
  fs::remove_all(dir);
}
BENCHMARK(BM_DovImport100000Lines)->Unit(benchmark::kMillisecond);

constexpr int kAdesLines = 1000000;

// An application folder with FileADES/PARI11_2.psv of kAdesLines records: the sample's
// records repeated under its keyword record.
fs::path MakeAdesFolder() {
  fs::path dir = fs::temp_directory_path() / ("planova_ades_bench_" + std::to_string(getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir / "FileADES");
  fs::create_directories(dir / "Dat");
  TextInputFile in;
  if (!in.Open(SampleDir() / "FileADES" / "PARI11_2.psv")) throw std::runtime_error("sample ADES file not found");
  std::vector<std::string> heading, records;
  for (std::string line; in.ReadLine(line);) {
    (line.empty() || line[0] == '#' || line[0] == '!' || line.rfind("trkSub", 0) == 0 ? heading : records).push_back(line);
  }
  std::string text;
  for (const std::string& h : heading) text += h + "\n";
  for (int k = 0; k < kAdesLines; ++k) text += records[static_cast<size_t>(k) % records.size()] + "\n";
  if (!WriteFileAtomically(dir / "FileADES" / "PARI11_2.psv", text)) throw std::runtime_error("cannot write the ADES file");
  return dir;
}

void BM_AdesPsvImport1000000Lines(benchmark::State& state) {
  const fs::path dir = MakeAdesFolder();
  QuietPlatform ui(dir);
  Application app(ui);
  Window1Model& f = app.window1;
  f.arraySize.Text = std::to_string(kAdesLines + 1);
  f.FindButton("Создать массивы с N=")->Press();
  f.ChooseOption(f.sourceAdes);
  f.fileNumber.Text = "2";
  f.writeBadRecordsFile.Value = true;  // "+FileBad"
  const ControlEntry* import = f.FindButton("Загрузить исходные данные из");
  for (auto _ : state) {
    import->Press();
    benchmark::DoNotOptimize(f.acceptedLog.Text.data());
  }
  if (!ui.last.empty() || app.Store.GoodCount != kAdesLines) state.SkipWithError("the import did not run to its end");
  state.counters["records"] = app.Store.ReadCount;
  state.SetItemsProcessed(state.iterations() * kAdesLines);
  fs::remove_all(dir);
}
BENCHMARK(BM_AdesPsvImport1000000Lines)->Unit(benchmark::kMillisecond);

void BM_AdesPsvReadAndConvert1000000Lines(benchmark::State& state) {
  const fs::path dir = MakeAdesFolder();
  const std::string text = FileBytes(dir / "FileADES" / "PARI11_2.psv");
  int64_t accepted = 0;
  for (auto _ : state) {
    accepted = 0;
    FieldTexts field;
    ReadAdesPsv(text, [&](const AdesRecordTexts& r) { accepted += ConvertAdesRecord(r, field).Accepted; });
  }
  if (accepted != kAdesLines) state.SkipWithError("records were refused");
  state.SetItemsProcessed(state.iterations() * kAdesLines);
  fs::remove_all(dir);
}
BENCHMARK(BM_AdesPsvReadAndConvert1000000Lines)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
