#include "test_support.h"

#include "common/form.h"
#include "common/obs_store.h"

#include <sys/resource.h>

#include <csignal>
#include <fstream>
#include <sstream>

namespace planova::test {

void PressButton(FormModel& form, const std::string& caption, const RecordingPlatform& ui) {
  const ControlEntry* b = form.FindButton(caption);
  ASSERT_NE(b, nullptr) << caption;
  b->Press();
  EXPECT_FALSE(ui.busy) << "pointer not restored after " << caption;
}

std::filesystem::path FreshFolder(const std::string& name, bool withSample) {
  namespace fs = std::filesystem;
  fs::path dir = fs::path(PLANOVA_BINARY_DIR) / "test-folders" / name;
  fs::remove_all(dir);
  fs::create_directories(dir);
  if (withSample) {
    fs::copy(PLANOVA_SAMPLE_DIR, dir, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  }
  return dir;
}

std::filesystem::path FolderForThisTest(const std::string& prefix, bool withSample) {
  return FreshFolder(prefix + ::testing::UnitTest::GetInstance()->current_test_info()->name(), withSample);
}

std::vector<TruthRow> ReadTruth(const std::string& name) {
  std::ifstream in(std::filesystem::path(PLANOVA_TEST_DATA) / "truth" / name);
  std::vector<TruthRow> rows;
  std::string text;
  std::getline(in, text);  // header
  while (std::getline(in, text)) {
    if (!text.empty() && text.back() == '\r') text.pop_back();
    std::vector<std::string> c;
    std::stringstream ss(text);
    for (std::string cell; c.size() < 11 && std::getline(ss, cell, ',');) c.push_back(cell);
    if (c.size() < 11) continue;
    TruthRow r;
    r.line = std::stoi(c[0]);
    r.record = c[1].empty() ? 0 : std::stoi(c[1]);
    r.body = c[2].empty() ? -1 : std::stoi(c[2]);
    if (!c[3].empty()) r.jd = std::stod(c[3]);
    if (!c[4].empty()) r.raTheory = std::stod(c[4]);
    if (!c[5].empty()) r.decTheory = std::stod(c[5]);
    if (!c[8].empty()) r.ra = std::stod(c[8]);
    if (!c[9].empty()) r.dec = std::stod(c[9]);
    r.status = c[10];
    rows.push_back(r);
  }
  return rows;
}

void ExpectDataSet1(const ObservationStore& store, const std::vector<double>& jd) {
  const int32_t n = static_cast<int32_t>(jd.size());
  EXPECT_EQ(store.Count1, n);
  EXPECT_EQ(store.Count3, n);
  for (int32_t r = 1; r <= n && store.HasRow(r); ++r) {
    EXPECT_EQ(store.ObsJd(r, kSet1), jd[static_cast<size_t>(r - 1)]) << "row " << r;
    EXPECT_EQ(store.ObsJd(r, kSet3), store.ObsJd(r, kSet1)) << "row " << r;
    EXPECT_EQ(store.ObsLon(r, kSet3), store.ObsLon(r, kSet1)) << "row " << r;
    EXPECT_EQ(store.ObsLat(r, kSet3), store.ObsLat(r, kSet1)) << "row " << r;
    EXPECT_EQ(store.ObsNote(r, kSet3), store.ObsNote(r, kSet1)) << "row " << r;
  }
}

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::filesystem::path De405BlockFolder() { return std::filesystem::path(PLANOVA_BINARY_DIR) / "de405"; }

FileSizeLimit::FileSizeLimit(size_t bytes) {
  rlimit l{};
  getrlimit(RLIMIT_FSIZE, &l);
  old_ = l.rlim_cur;
  oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
  l.rlim_cur = bytes;
  EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &l), 0);
}

FileSizeLimit::~FileSizeLimit() {
  rlimit l{};
  getrlimit(RLIMIT_FSIZE, &l);
  l.rlim_cur = old_;
  setrlimit(RLIMIT_FSIZE, &l);
  std::signal(SIGXFSZ, oldHandler_);
}

std::vector<std::string> TemporaryFiles(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::recursive_directory_iterator(folder)) {
    if (e.path().filename().string().find(".tmp-") != std::string::npos) names.push_back(e.path().string());
  }
  return names;
}

}  // namespace planova::test

namespace planova::test {

AstroState AstroFor(const RecordingPlatform& ui) {
  AstroState a;
  a.AppFolder = [&ui] { return ui.AppFolder(); };
  return a;
}

}  // namespace planova::test
