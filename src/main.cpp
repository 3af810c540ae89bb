// planova3 [--app-dir DIR] [--batch SCRIPT]
//
// Without --batch the program opens window 1.  With --batch it runs the window models
// from a script without showing windows (see app/batch.h).  The application folder is
// the executable's folder unless --app-dir names another.  The windows speak the
// language of --lang en|ru, else that of the system's locale (ui/translation.h); a
// batch script and the files written are Russian whatever the language.
#include <QApplication>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iostream>

#include "app/application.h"
#include "app/batch.h"
#include "ui/desktop.h"
#include "ui/translation.h"

namespace {

std::filesystem::path ExecutableFolder(const char* argv0) {
  std::error_code ec;
  auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec) return self.parent_path();
  return std::filesystem::absolute(argv0).parent_path();
}

int Usage() {
  std::cerr << "usage: planova3 [--app-dir DIR] [--batch SCRIPT]\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  // A file growing past the user's file-size limit (ulimit -f) fails its write like a
  // full disk, and the window says so, instead of ending the program.
  std::signal(SIGXFSZ, SIG_IGN);
  std::filesystem::path appFolder = ExecutableFolder(argv[0]);
  std::string script;
  std::string language;  // "en" or "ru"; empty: the system locale's
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--app-dir" && i + 1 < argc) {
      appFolder = std::filesystem::absolute(argv[++i]);
    } else if (arg == "--batch" && i + 1 < argc) {
      script = argv[++i];
    } else if (arg == "--lang" && i + 1 < argc) {
      language = argv[++i];
      planova::ui::Language unused;
      if (!planova::ui::LanguageFromName(language, unused)) return Usage();
    } else if (arg == "--help" || arg == "-h") {
      Usage();
      return 0;
    } else {
      return Usage();
    }
  }

  if (!script.empty()) {
    // Pictures are rendered off screen; no display is needed.
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (!std::getenv("XDG_RUNTIME_DIR")) setenv("XDG_RUNTIME_DIR", std::filesystem::temp_directory_path().c_str(), 1);
    QGuiApplication qt(argc, argv);
    std::ifstream in(script, std::ios::binary);
    if (!in) {
      std::cerr << "cannot open script " << script << "\n";
      return 2;
    }
    planova::BatchPlatform platform(std::cout, appFolder);
    planova::Application app(platform);
    planova::PictureActions pictures;
    pictures.Save = [&app](const std::string& form, const std::string& control, const std::filesystem::path& file) {
      return planova::ui::SavePicturePng(app, form, control, file);
    };
    return planova::RunBatchScript(app, in, std::cout, std::cerr, pictures);
  }

  QApplication qt(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  planova::ui::Language chosen = planova::ui::LanguageOfLocale(QLocale::system());
  if (!language.empty()) planova::ui::LanguageFromName(language, chosen);
  if (!planova::ui::UseLanguage(chosen)) std::cerr << "the English translation cannot be loaded\n";
  planova::ui::Desktop desktop(appFolder);
  desktop.Start();
  return QApplication::exec();
}
