// Shared test helpers: a platform that records messages and pointer changes, a fresh
// application folder per test, and tolerances in physical units.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "astro/astro_state.h"
#include "common/platform.h"

namespace planova {
class FormModel;
struct ObservationStore;
}

namespace planova::test {

// Tolerances, named by what they measure.
constexpr double kDegPerArcsec = 1.0 / 3600.0;
constexpr double kArcsec = 1.0 / 3600.0;        // in degrees
constexpr double kSecondOfDay = 1.0 / 86400.0;  // in days
constexpr double kMetre = 1.0;

// DE405's constants, as JPL's header.405 gives them.
constexpr double kDe405AuKm = 149597870.691;  // the astronomical unit, km
constexpr double kDe405Emrat = 81.30056;      // the Earth/Moon mass ratio

// Expects |got - want| <= tol and, when it fails, prints want, got and the error.
#define EXPECT_NEAR_WHAT(got, want, tol, what)                                               \
  do {                                                                                       \
    double got_ = (got), want_ = (want), tol_ = (tol);                                       \
    EXPECT_LE(std::fabs(got_ - want_), tol_)                                                 \
        << (what) << ": want " << std::setprecision(17) << want_ << ", got " << got_         \
        << ", error " << (got_ - want_) << " (tolerance " << tol_ << ")";                    \
  } while (0)

class RecordingPlatform;
// An astronomy state whose application folder is the platform's.
AstroState AstroFor(const RecordingPlatform& ui);

class RecordingPlatform : public Platform {
 public:
  explicit RecordingPlatform(std::filesystem::path folder = {}) : folder_(std::move(folder)) {}
  void ShowMessage(const std::string& text, const std::string& title) override {
    messages.push_back(text);
    titles.push_back(title);
    busyAtMessage.push_back(busy);
  }
  // Records the question and gives `answer` (Yes unless a test says otherwise).
  bool Ask(const std::string& text) override {
    questions.push_back(text);
    return answer;
  }
  void SetBusyPointer(bool b) override {
    busy = b;
    ++busyChanges;
  }
  void ProcessEvents() override {
    ++eventsProcessed;
    if (onEvents) onEvents();
  }
  void FocusControl(const std::string& form, const std::string& control) override {
    focused.push_back(form + "." + control);
  }
  // Records the request and gives `chosenFile` (none: the choice is cancelled).
  std::optional<std::filesystem::path> ChooseFile(const FileRequest& request) override {
    fileRequests.push_back(request);
    return chosenFile;
  }
  std::filesystem::path AppFolder() const override { return folder_; }
  void SetAppFolder(std::filesystem::path p) { folder_ = std::move(p); }

  std::function<void()> onEvents;  // what the user does while a run lets events in
  std::vector<std::string> messages, titles;
  std::vector<std::string> questions;  // every question asked, in order
  bool answer = true;                   // the answer to every question
  std::optional<std::filesystem::path> chosenFile;  // the file every file request gets
  std::vector<FileRequest> fileRequests;            // every file request, in order
  std::vector<std::string> focused;  // "Form4.Text19": the boxes a refusal focused
  std::vector<bool> busyAtMessage;
  bool busy = false;
  int busyChanges = 0;
  int eventsProcessed = 0;

 private:
  std::filesystem::path folder_;
};

// Presses the button of `form` named by its caption or control name; the pointer must be
// normal again afterwards (also after a message).
void PressButton(FormModel& form, const std::string& caption, const RecordingPlatform& ui);

// The cases of a fixture of tests/data: one per line that is neither empty nor a comment
// ("#") and reads whole with `read`.
template <typename C, typename Read>
std::vector<C> ReadFixture(const char* name, Read read) {
  std::ifstream in(std::string(PLANOVA_TEST_DATA) + "/" + name);
  std::vector<C> cases;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream s(line);
    C c{};
    read(s, c);
    if (s) cases.push_back(c);
  }
  return cases;
}

// A new empty folder under the build tree for one test; with the sample tree copied
// into it when asked.
std::filesystem::path FreshFolder(const std::string& name, bool withSample = false);
// FreshFolder named `prefix` + the name of the test that runs.
std::filesystem::path FolderForThisTest(const std::string& prefix, bool withSample = false);

// One row of a truth CSV of the sample sources: the record as the import must form it
// (JD, ra_file_deg, dec_file_deg) and the noise-free theoretical place behind it.
struct TruthRow {
  int line = 0, record = 0, body = 0;
  double jd = 0, ra = 0, dec = 0;
  double raTheory = 0, decTheory = 0;
  std::string status;
};

// tests/data/truth/<name>: line,record,body,jd_ut,ra_theory_deg,dec_theory_deg,
// noise_ra_arcsec,noise_dec_arcsec,ra_file_deg,dec_file_deg,status,note.
std::vector<TruthRow> ReadTruth(const std::string& name);

// Data sets 1 and 3 hold exactly the records with these dates, in this order: Count1 and
// Count3 count them and column 3 repeats column 1 record by record.
void ExpectDataSet1(const ObservationStore& store, const std::vector<double>& jd);

// Whole file as bytes; a file made of `bytes` (replaced when there).
std::string ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const std::string& bytes);

// The build tree's folder of JPL's DE405 block files (ascp1960.405, ascp1980.405,
// ascp2000.405), which the CTest fixture de405_block_files fills before any test runs.
std::filesystem::path De405BlockFolder();

// While it lives, no file of this process may grow past `bytes` (RLIMIT_FSIZE, with
// SIGXFSZ ignored): a write past the limit fails with EFBIG, as on a full disk.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(size_t bytes);
  ~FileSizeLimit();
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  unsigned long long old_;
  void (*oldHandler_)(int);
};

// The temporary files ("<name>.tmp-…") of unfinished writes below `folder`.
std::vector<std::string> TemporaryFiles(const std::filesystem::path& folder);

}  // namespace planova::test

#include <cmath>
#include <iomanip>
