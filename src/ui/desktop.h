// The program on the desktop: the application's models shown as Qt windows.
#pragma once

#include <map>
#include <memory>

#include "app/application.h"
#include "ui/form_window.h"
#include "ui/qt_platform.h"

namespace planova::ui {

class Desktop {
 public:
  explicit Desktop(std::filesystem::path appFolder);

  QtPlatform platform;
  Application app;

  // The window of a form, created on first use.
  FormWindow& Window(const std::string& form);
  // Shows window 1 (the program's start).
  void Start();

 private:
  void OnVisibility(const std::string& form, bool open);
  std::map<std::string, std::unique_ptr<FormWindow>> windows_;
};

// Saves a picture box of a form as a PNG file, at the size the window gives it; an old
// file at that path is replaced only when the new one is complete.  False when the
// form has no such picture box or the file cannot be written.
bool SavePicturePng(Application& app, const std::string& form, const std::string& control,
                    const std::filesystem::path& file);

}  // namespace planova::ui
