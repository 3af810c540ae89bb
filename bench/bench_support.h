// What the window benchmarks share: a platform that shows nothing, a fresh application
// folder in the temporary folder (removed at exit), and BDL files written by window 1's
// "Сохранить данные в формате BDL" from records made up by the benchmark.
#pragma once

#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/application.h"
#include "common/platform.h"

namespace planova::bench {

namespace fs = std::filesystem;

// Julian dates of 1960 January 1 and of 2019 December 15, the span of the block files
// ascp1960, ascp1980 and ascp2000.
constexpr double kFirstJd = 2436934.5;
constexpr double kEndJd = 2458832.5;

class QuietPlatform : public Platform {
 public:
  explicit QuietPlatform(fs::path folder) : folder_(std::move(folder)) {}
  void ShowMessage(const std::string& text, const std::string&) override {
    last = text;
    ++messages;
  }
  // Yes, as the batch mode answers unless its script says otherwise: a file is replaced.
  bool Ask(const std::string&) override { return true; }
  void SetBusyPointer(bool) override {}
  void ProcessEvents() override {}
  fs::path AppFolder() const override { return folder_; }
  std::string last;
  int messages = 0;

 private:
  fs::path folder_;
};

// An empty application folder <temp>/planova_<name>_<pid> with ObsPARI and Dat; it is
// removed when the program ends.
class AppFolder {
 public:
  explicit AppFolder(const std::string& name)
      : path_(fs::temp_directory_path() / ("planova_" + name + "_" + std::to_string(getpid()))) {
    fs::remove_all(path_);
    fs::create_directories(path_ / "ObsPARI");
    fs::create_directories(path_ / "Dat");
  }
  ~AppFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  AppFolder(const AppFolder&) = delete;
  AppFolder& operator=(const AppFolder&) = delete;
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

// The DE405 block files: PLANOVA_DE405_DIR from the environment, else the build tree's de405.
inline fs::path JplFolder() {
  const char* env = std::getenv("PLANOVA_DE405_DIR");
#ifdef PLANOVA_DE405_DIR
  return env && *env ? fs::path(env) : fs::path(PLANOVA_DE405_DIR);
#else
  return env && *env ? fs::path(env) : fs::path();
#endif
}

struct Observation {
  double jd, ra, dec;  // UT Julian date; right ascension and declination, degrees
};

// n observations evenly spread over kFirstJd..kEndJd at plausible places of the Moon:
// right ascension advancing 13.2 degrees a day, declination swinging within +-25 degrees
// over the month.
inline std::vector<Observation> MoonLikeObservations(int n) {
  std::vector<Observation> obs;
  const double step = (kEndJd - kFirstJd) / n;
  for (int i = 0; i < n; ++i) {
    double jd = kFirstJd + (i + 0.5) * step;
    double days = jd - kFirstJd;
    double ra = std::fmod(days * 13.176, 360.0);
    double dec = 25 * std::sin(days * 0.2299715);
    obs.push_back({jd, ra, dec});
  }
  return obs;
}

// ObsPARI/PARI11_<suffix>.txt with the records in the given order, Moon observations of
// Paris written by window 1 (time scale "UT", epoch "App").
inline void WriteBdlFile(const fs::path& folder, const std::string& suffix, const std::vector<Observation>& recs) {
  QuietPlatform ui(folder);
  Application app(ui);
  app.ShowForm("Form2");  // the astronomy module's constants
  Window1Model& w1 = app.window1;
  w1.arraySize.Text = std::to_string(recs.size() + 1);
  w1.FindButton("Создать массивы с N=")->Press();
  for (size_t k = 0; k < recs.size(); ++k) {
    const auto i = static_cast<int32_t>(k + 1);
    app.Store.ObsJd(i, kSet3) = recs[k].jd;
    app.Store.ObsLon(i, kSet3) = recs[k].ra;
    app.Store.ObsLat(i, kSet3) = recs[k].dec;
  }
  app.Store.GoodCount = static_cast<int32_t>(recs.size());
  app.Store.ObservatoryCode = "PARI";
  app.Store.ObjectNumber = 11;
  w1.bdlNamePart.Text = suffix;
  w1.FindButton("Сохранить данные в формате BDL")->Press();
  if (!ui.last.empty()) throw std::runtime_error("window 1 could not write the BDL file: " + ui.last);
}

}  // namespace planova::bench
