// The program on the desktop: the application's models shown as Qt windows.
#pragma once

#include <map>
#include <memory>
#include <set>

#include "app/application.h"
#include "ui/form_window.h"
#include "ui/qt_platform.h"
#include "ui/remembered.h"

namespace planova::ui {

class Desktop {
 public:
  // `settingsFile`: where the windows' places, boxes and recent files are remembered
  // between starts (ui/remembered.h); empty: nothing is remembered.
  explicit Desktop(std::filesystem::path appFolder, const QString& settingsFile = {});
  // Keeps what is remembered of every window shown.
  ~Desktop();
  Desktop(const Desktop&) = delete;
  Desktop& operator=(const Desktop&) = delete;

  QtPlatform platform;
  Application app;

  // The window of a form, created on first use.
  FormWindow& Window(const std::string& form);
  // Shows window 1 (the program's start).
  void Start();

 private:
  void OnVisibility(const std::string& form, bool open);
  // The window's first showing takes what is remembered of it.
  void FirstShowing(FormWindow& window);
  std::map<std::string, std::unique_ptr<FormWindow>> windows_;
  Remembered remembered_;
  std::set<std::string> shown_;  // the windows shown at least once
};

// Saves a picture box of a form as a PNG file, at the size the window gives it; an old
// file at that path is replaced only when the new one is complete.  False when the
// form has no such picture box or the file cannot be written.
bool SavePicturePng(Application& app, const std::string& form, const std::string& control,
                    const std::filesystem::path& file);

}  // namespace planova::ui
