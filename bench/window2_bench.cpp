// Window 2's data-set buttons on catalogue-sized sets, each pressed as the astronomer
// presses it, each measured alone:
//   Load   "Загрузить в формате BDL": a file of 100 000 records into data set 1.
//   Sort   "Упорядочить данные": those 100 000 records, loaded in no order.
//   Merge  "Объединить данные 1 и данные 2": the sorted set 1 with a second sorted file
//          of 100 000 records as data set 2, a fifth of whose dates match set 1's within
//          the tolerance; once plain and once with "+Текст" (every merged line shown).
//   Clean  "Почистить": 30 000 records of which 3 000 repeat a date within 1 s.
//   CompareFromFile  "Сравнить данные 1 с данными 2" with data 2 "из файла": the 100 000
//          records of set 1 (in no order) against the 100 000 of set 2, each matched with
//          the last record of set 2 within the tolerance (a fifth of them match).
//   Store  "Создать массивы с N=" 1 000 000: the time, and the heap the five arrays
//          (date, longitude, latitude, note, station in four columns) take per row.
// The store is N = 210 000 rows: the merged set 3 must fit, and the loader asks for at
// least one row per 150 bytes of file.  Before each pressing of Sort, Merge and Clean the
// store is put back as it was after loading (outside the measured time).
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <random>
#include <string>
#include <unordered_set>
#include <vector>

#include "bench_support.h"

namespace {

using namespace planova;
using namespace planova::bench;

constexpr int kRecords = 100000;
constexpr int kCleanRecords = 30000;
constexpr int kCleanRepeats = 3000;
constexpr int kMatches = kRecords / 5;
constexpr const char* kStoreRows = "210000";

// File numbers of ObsPARI/PARI11_G_<n>.txt.
constexpr const char* kUnsortedFile = "110";  // 100 000 records in random order
constexpr const char* kSortedFile = "111";    // 100 000 records by date, kMatches of them near set 1's
constexpr const char* kCleanFile = "112";     // 30 000 records, kCleanRepeats of them repeated dates

// The application folder with the three files, written once.
const AppFolder& Data() {
  static const AppFolder* folder = [] {
    static AppFolder f("window2_bench");
    // Dates on whole minutes, none taken twice, so that no two made-up records fall
    // within the tolerance by chance and the merged and cleaned sizes are known.
    std::mt19937_64 rng(2024);
    std::uniform_int_distribution<long long> minute(0, static_cast<long long>((kEndJd - kFirstJd) * 1440) - 1);
    std::uniform_real_distribution<double> ra(0, 360), dec(-28, 28);
    std::unordered_set<long long> taken;
    auto random = [&] {
      long long m;
      do m = minute(rng);
      while (!taken.insert(m).second);
      return Observation{kFirstJd + static_cast<double>(m) / 1440, ra(rng), dec(rng)};
    };

    std::vector<Observation> a(kRecords);
    for (auto& o : a) o = random();
    WriteBdlFile(f.path(), std::string("G_") + kUnsortedFile, a);

    // Set 2: every fifth record of set 1 seen again half a second later, the rest new.
    std::vector<Observation> b;
    for (int k = 0; k < kRecords; ++k) {
      if (k % 5 == 0) {
        Observation o = a[static_cast<size_t>(k)];
        o.jd += 0.5 / 86400;
        b.push_back(o);
      } else {
        b.push_back(random());
      }
    }
    std::sort(b.begin(), b.end(), [](const Observation& x, const Observation& y) { return x.jd < y.jd; });
    WriteBdlFile(f.path(), std::string("G_") + kSortedFile, b);

    std::vector<Observation> c(kCleanRecords - kCleanRepeats);
    for (auto& o : c) o = random();
    for (int k = 0; k < kCleanRepeats; ++k) {
      Observation o = c[static_cast<size_t>(k) * 9];
      o.jd += 1.0 / 86400;  // within the default tolerance of 1.5 s
      c.push_back(o);
    }
    std::shuffle(c.begin(), c.end(), rng);
    WriteBdlFile(f.path(), std::string("G_") + kCleanFile, c);
    return &f;
  }();
  return *folder;
}

// Window 2 open on the benchmark's folder with its arrays made.
struct Window2 {
  QuietPlatform ui{Data().path()};
  Application app{ui};
  Window2Model& f = app.window2;

  Window2() {
    app.ShowForm("Form2");
    f.arraySize.Text = kStoreRows;
    Press("Создать массивы с N=");
  }
  void Press(const std::string& caption) { f.FindButton(caption)->Press(); }
  void Load(const char* file, bool set2) {
    f.ChooseOption(set2 ? "Option2" : "Option1");
    f.fileNumber.Text = file;
    Press("Загрузить в формате BDL");
  }
  bool Failed(benchmark::State& state) {
    if (ui.messages == 0) return false;
    state.SkipWithError(("window 2 said: " + ui.last).c_str());
    return true;
  }
};

void BM_Window2Load100000(benchmark::State& state) {
  Window2 w;
  for (auto _ : state) {
    w.Load(kUnsortedFile, false);
    benchmark::DoNotOptimize(w.f.set1Pane.Text.data());
  }
  if (w.Failed(state)) return;
  if (w.f.Count1 != kRecords) state.SkipWithError("not every record was loaded");
  state.counters["records"] = w.f.Count1;
  state.SetItemsProcessed(state.iterations() * kRecords);
}

void BM_Window2Sort100000(benchmark::State& state) {
  Window2 w;
  w.Load(kUnsortedFile, false);
  const ObservationStore loaded = w.app.Store;
  for (auto _ : state) {
    state.PauseTiming();
    w.app.Store = loaded;
    state.ResumeTiming();
    w.Press("Упорядочить данные");
  }
  if (w.Failed(state)) return;
  bool sorted = w.f.Count1 == kRecords;
  for (int32_t r = 2; sorted && r <= w.f.Count1; ++r) sorted = w.app.Store.ObsJd(r - 1, kSet1) <= w.app.Store.ObsJd(r, kSet1);
  if (!sorted) state.SkipWithError("data set 1 is not in date order");
  state.counters["records"] = w.f.Count1;
  state.SetItemsProcessed(state.iterations() * kRecords);
}

void Merge(benchmark::State& state, bool withText) {
  Window2 w;
  w.Load(kUnsortedFile, false);
  w.Press("Упорядочить данные");
  w.Load(kSortedFile, true);
  w.f.showLines.Value = withText;  // "+Текст"
  const ObservationStore loaded = w.app.Store;
  for (auto _ : state) {
    state.PauseTiming();
    w.app.Store = loaded;
    state.ResumeTiming();
    w.Press("Объединить данные 1 и данные 2");
    benchmark::DoNotOptimize(w.f.reportPane.Text.data());
  }
  if (w.Failed(state)) return;
  if (w.f.Count3 != 2 * kRecords - kMatches) state.SkipWithError("the merged set has an unexpected size");
  state.counters["merged"] = w.f.Count3;
  state.counters["pane_MB"] = static_cast<double>(w.f.reportPane.Text.size()) / 1e6;
  state.SetItemsProcessed(state.iterations() * 2 * kRecords);
}
void BM_Window2Merge2x100000(benchmark::State& state) { Merge(state, false); }
void BM_Window2Merge2x100000WithText(benchmark::State& state) { Merge(state, true); }

void BM_Window2Clean30000(benchmark::State& state) {
  Window2 w;
  w.Load(kCleanFile, false);
  const ObservationStore loaded = w.app.Store;
  for (auto _ : state) {
    state.PauseTiming();
    w.app.Store = loaded;
    state.ResumeTiming();
    w.Press("Почистить");
    benchmark::DoNotOptimize(w.f.reportPane.Text.data());
  }
  if (w.Failed(state)) return;
  if (w.f.Count1 != kCleanRecords - kCleanRepeats) state.SkipWithError("the cleaning kept an unexpected number of records");
  state.counters["kept"] = w.f.Count1;
  state.SetItemsProcessed(state.iterations() * kCleanRecords);
}

void BM_Window2CompareFromFile100000x100000(benchmark::State& state) {
  Window2 w;
  w.Load(kUnsortedFile, false);
  w.Load(kSortedFile, true);
  w.f.ChooseOption("Option5");  // data 1 "из файла"
  w.f.ChooseOption("Option3");  // data 2 "из файла"
  w.f.plotDifferences.Value = false;    // no plot
  for (auto _ : state) {
    w.Press("Сравнить данные 1 с данными 2");
    benchmark::DoNotOptimize(w.f.reportPane.Text.data());
  }
  if (w.Failed(state)) return;
  if (w.f.ComparedCount != kMatches) state.SkipWithError("an unexpected number of records matched");
  state.counters["matched"] = w.f.ComparedCount;
  state.SetItemsProcessed(state.iterations() * kRecords);
}

// Bytes the heap holds, in small blocks and in blocks of their own (as large arrays are).
size_t HeapInUse() {
  const struct mallinfo2 m = mallinfo2();
  return m.uordblks + m.hblkhd;
}

void BM_Window2Store1000000(benchmark::State& state) {
  Window2 w;
  w.f.arraySize.Text = "1000000";
  size_t heap = 0;
  for (auto _ : state) {
    state.PauseTiming();
    w.app.Store = ObservationStore{};
    const size_t before = HeapInUse();
    state.ResumeTiming();
    w.Press("Создать массивы с N=");
    heap = HeapInUse() - before;
  }
  if (w.Failed(state)) return;
  state.counters["heap_MB"] = static_cast<double>(heap) / 1e6;
  state.counters["bytes_per_row"] = static_cast<double>(heap) / 1e6;
}

}  // namespace

BENCHMARK(BM_Window2Store1000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Window2Load100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Window2Sort100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Window2Merge2x100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Window2Merge2x100000WithText)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Window2Clean30000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Window2CompareFromFile100000x100000)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
