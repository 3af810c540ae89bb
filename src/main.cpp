// planova3 [--app-dir DIR] [--batch SCRIPT] | --init DIR | --version | --help
//
// Without --batch the program opens window 1.  With --batch it runs the window models
// from a script without showing windows (see app/batch.h).  The application folder is
// the executable's folder unless --app-dir names another; --init makes one and ends.
// The windows speak the language of --lang en|ru, else that of the system's locale
// (ui/translation.h); a batch script and the files written are Russian whatever the
// language.
#include <QApplication>
#include <QString>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <unistd.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <vector>

#include "app/application.h"
#include "app/batch.h"
#include "astro/jpl.h"
#include "common/app_folder.h"
#include "common/register_state.h"
#include "models/messages.h"
#include "ui/desktop.h"
#include "ui/start_up.h"
#include "ui/translation.h"

namespace {

namespace fs = std::filesystem;

fs::path ExecutableFolder(const char* argv0) {
  std::error_code ec;
  auto self = fs::read_symlink("/proc/self/exe", ec);
  if (!ec) return self.parent_path();
  return fs::absolute(argv0).parent_path();
}

// A folder named on the command line.  "~" and "~/…" are the home folder's: the desktop
// entry passes "~/Planova3" quoted, as its format asks, and no shell expands it.
fs::path FolderArgument(const std::string& text) {
  const char* home = std::getenv("HOME");
  if (home && *home && text == "~") return fs::path(home);
  if (home && *home && text.rfind("~/", 0) == 0) return fs::path(home) / text.substr(2);
  return fs::absolute(text);
}

// Where the sample tree and the scripts lie: installed beside the program
// (PREFIX/share/planova3), or else in the source tree the program was built from.
fs::path SharedFolder(const fs::path& exeFolder) {
  std::error_code ec;
  fs::path installed = exeFolder.parent_path() / "share" / "planova3";
  if (fs::is_directory(installed / "sample", ec)) return installed;
  return fs::path(PLANOVA_SOURCE_DIR);
}

// Where the rigorous chain's day table shipped with the program may lie: beside the
// executable (the build tree) and in the installed data folder (PREFIX/share/planova3).
std::vector<fs::path> ShippedDayTableFolders(const fs::path& exeFolder) {
  return {exeFolder, exeFolder.parent_path() / "share" / "planova3"};
}

constexpr const char* kUsage = "usage: planova3 [--app-dir DIR] [--batch SCRIPT]\n"
                               "       planova3 --init DIR | --version | --help\n";

void PrintHelp(std::ostream& out) {
  out << kUsage
      << "\nProcesses optical astrometric observations of the Sun, the planets, the Moon and a comet.\n"
         "Without --batch it opens window 1 (a desktop session is needed).\n\nOptions:\n";
  struct Option {
    const char* name;
    const char* meaning;
  };
  static const Option kOptions[] = {
      {"--app-dir DIR", "application folder (default: the program's folder; ~/ is home)"},
      {"--batch SCRIPT", "runs the windows from a script, unseen; needs no display"},
      {"--init DIR", "makes DIR an application folder like the sample's, then ends"},
      {"--lang en|ru", "interface language (default: system locale)"},
      {"--version", "prints the version and ends"},
      {"-h, --help", "prints this help and ends"},
  };
  for (const Option& o : kOptions) out << "  " << o.name << std::string(18 - std::string(o.name).size(), ' ') << o.meaning << "\n";
  out << "\nBatch commands (SCRIPT is UTF-8 text, one command a line; blank lines and lines\n"
         "starting with # are skipped):\n";
  for (const planova::BatchCommandHelp& c : planova::BatchCommands()) {
    std::string head = c.verb + " " + c.arguments;
    out << "  " << head << "\n      " << c.meaning << "\n";
  }
  out << "FORM is Form1 (window 1), Form2 (window 2), Form4 (window 3) or Form3 (help); every\n"
         "message box prints \"MESSAGE Planova: TEXT\" on standard output.\n"
         "\nExit status: 0 when done; 1 when no display can be opened or --init fails;\n"
         "2 for a wrong option or script line.\n";
}

int UsageError(const std::string& what) {
  std::cerr << "planova3: " << what << "\n" << kUsage << "See planova3 --help.\n";
  return 2;
}

// A program text on standard error: CR LF line ends as the terminal's.
std::string TerminalText(std::string text) {
  for (size_t at; (at = text.find("\r\n")) != std::string::npos;) text.erase(at, 1);
  return text;
}

constexpr const char* kBatchHint =
    "Start it in a desktop session, or run a script without windows:\n"
    "  planova3 --batch SCRIPT [--app-dir DIR]   (see planova3 --help)\n";

// Why no window can be shown, found before Qt looks (its platform plugin would end the
// program with an abort and advice to reinstall it); empty when a display may be there.
std::string NoDisplayReason() {
#if defined(__linux__)
  auto set = [](const char* name) {
    const char* v = std::getenv(name);
    return v && *v;
  };
  const bool x11 = set("DISPLAY"), wayland = set("WAYLAND_DISPLAY") || set("WAYLAND_SOCKET");
  // QT_QPA_PLATFORM may list platforms to try ("wayland;xcb"); any other than these two
  // (offscreen, vnc, eglfs …) needs no display server.
  std::string platforms = set("QT_QPA_PLATFORM") ? std::getenv("QT_QPA_PLATFORM") : "";
  if (platforms.empty()) platforms = "xcb;wayland";
  size_t from = 0;
  while (from <= platforms.size()) {
    size_t end = platforms.find(';', from);
    if (end == std::string::npos) end = platforms.size();
    const std::string p = platforms.substr(from, end - from);
    if (p.rfind("xcb", 0) == 0 ? x11 : p.rfind("wayland", 0) == 0 ? wayland : true) return {};
    from = end + 1;
  }
  return "no display to show the windows on (DISPLAY and WAYLAND_DISPLAY are not set)";
#else
  return {};
#endif
}

// While QApplication starts: Qt's platform messages are held back, and a platform that
// cannot start (a display that does not answer, a missing plugin) ends the program with
// a clear message and status 1 instead of an abort.
QtMessageHandler g_previousHandler = nullptr;
std::vector<std::pair<QtMsgType, QString>> g_heldMessages;

void StartingQtHandler(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type == QtFatalMsg) {
    // The platform's own words say why ("could not connect to display :1"); Qt's last
    // one only that no plugin started.
    const QString why = g_heldMessages.empty() ? text.section('.', 0, 0) : g_heldMessages.front().second;
    std::cerr << "planova3: the windows cannot be shown: " << why.toStdString() << "\n" << kBatchHint;
    std::cerr.flush();
    std::_Exit(1);
  }
  if (context.category && QString::fromLatin1(context.category).startsWith(QLatin1String("qt.qpa"))) {
    g_heldMessages.emplace_back(type, text);
    return;
  }
  if (g_previousHandler) g_previousHandler(type, context, text);
}

int Init(const fs::path& folder, const fs::path& shared) {
  fs::path failed;
  std::vector<std::string> made = planova::MakeAppFolder(folder, shared / "sample", true, failed);
  for (const std::string& m : made) std::cout << "made " << (folder / m).string() << "\n";
  if (!failed.empty()) {
    std::cerr << "planova3: cannot make " << failed.string() << "\n";
    return 1;
  }
  std::cout << "Application folder " << folder.string() << " is ready.\n";
  const planova::AppFolderCheck check = planova::CheckAppFolder(folder, planova::FindEphemerides);
  if (check.NoEphemeris()) {
    std::cout << "The DE405 block files (JPL/ascpYYYY.405) are made by:\n  bash "
              << (shared / "scripts" / "install_de405.sh").string() << " " << (folder / "JPL").string() << "\n";
  } else {
    std::cout << "Ephemerides:";
    for (size_t i = 0; i < check.Ephemerides.size(); ++i) std::cout << (i ? ", " : " ") << check.Ephemerides[i];
    std::cout << "\n";
  }
  std::cout << "Start: planova3 --app-dir " << folder.string() << "\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // A file growing past the user's file-size limit (ulimit -f) fails its write like a
  // full disk, and the window says so, instead of ending the program.
  std::signal(SIGXFSZ, SIG_IGN);
#ifdef __GLIBC__
  // One heap for every thread: a comparison's places and its ADES file are formed on
  // second threads, whose own heaps would not reuse what the load has freed (a million
  // observations took 9 MB more).
  mallopt(M_ARENA_MAX, 1);
#endif
  const fs::path exeFolder = ExecutableFolder(argv[0]);
  fs::path appFolder = exeFolder;
  std::string script;
  std::string language;  // "en" or "ru"; empty: the system locale's
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      PrintHelp(std::cout);
      return 0;
    }
    if (arg == "--version") {
      std::cout << "planova3 " << PLANOVA_VERSION << "\n";
      return 0;
    }
    if (arg != "--app-dir" && arg != "--batch" && arg != "--init" && arg != "--lang") {
      return UsageError("unknown option '" + arg + "'");
    }
    if (i + 1 >= argc || argv[i + 1][0] == '\0') return UsageError(arg + " needs a value");
    const std::string value = argv[++i];
    if (arg == "--lang") {
      language = value;
      planova::ui::Language known;
      if (!planova::ui::LanguageFromName(language, known)) return UsageError("unknown language '" + value + "' (en or ru)");
    }
    if (arg == "--init") return Init(FolderArgument(value), SharedFolder(exeFolder));
    if (arg == "--app-dir") appFolder = FolderArgument(value);
    if (arg == "--batch") script = value;
  }
  const fs::path sample = SharedFolder(exeFolder) / "sample";

  if (!script.empty()) {
    // Pictures are rendered off screen; no display is needed.
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (!std::getenv("XDG_RUNTIME_DIR")) {
      // A folder of the user's own (0700), as Qt wants its runtime folder to be.
      const fs::path runtime = fs::temp_directory_path() / ("planova3-runtime-" + std::to_string(::getuid()));
      std::error_code ec;
      fs::create_directories(runtime, ec);
      fs::permissions(runtime, fs::perms::owner_all, ec);
      setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    }
    QGuiApplication qt(argc, argv);
    // Qt's start leaves the AVX upper state in use (common/register_state.h).
    planova::ClearUpperRegisterState();
    // A folder opens as a stream on Linux and reads as an empty script: refused by name,
    // as is a file that cannot be read (with the system's reason).
    std::error_code ec;
    if (fs::is_directory(script, ec)) {
      std::cerr << "cannot open script " << script << ": it is a folder\n";
      return 2;
    }
    std::ifstream in(script, std::ios::binary);
    if (!in) {
      std::cerr << "cannot open script " << script << ": " << std::strerror(errno) << "\n";
      return 2;
    }
    const planova::AppFolderCheck check = planova::CheckAppFolder(appFolder, planova::FindEphemerides);
    const std::string missing = planova::AppFolderMissingText(appFolder, check);
    if (!missing.empty()) {
      std::cerr << TerminalText(missing) << "\n";
      if (!check.FoldersComplete()) std::cerr << TerminalText(planova::AppFolderInitHint(appFolder)) << "\n";
    }
    planova::BatchPlatform platform(std::cout, appFolder);
    planova::Application app(platform);
    app.Astro.SetShippedDayTableFolders(ShippedDayTableFolders(exeFolder));
    planova::PictureActions pictures;
    pictures.Save = [&app](const std::string& form, const std::string& control, const fs::path& file) {
      return planova::ui::SavePicturePng(app, form, control, file);
    };
    return planova::RunBatchScript(app, in, std::cout, std::cerr, pictures);
  }

  if (const std::string reason = NoDisplayReason(); !reason.empty()) {
    std::cerr << "planova3: " << reason << ".\n" << kBatchHint;
    return 1;
  }
  g_previousHandler = qInstallMessageHandler(StartingQtHandler);
  QApplication qt(argc, argv);
  planova::ClearUpperRegisterState();  // as above: Qt's start leaves the AVX upper state in use
  qInstallMessageHandler(g_previousHandler);
  for (const auto& [type, text] : g_heldMessages) qt_message_output(type, QMessageLogContext(), text);
  g_heldMessages.clear();

  planova::ui::SetProgramIcon();
  QApplication::setQuitOnLastWindowClosed(false);
  planova::ui::Language chosen = planova::ui::LanguageOfLocale(QLocale::system());
  if (!language.empty()) planova::ui::LanguageFromName(language, chosen);
  if (!planova::ui::UseLanguage(chosen)) std::cerr << "the English translation cannot be loaded\n";
  planova::ui::CheckAppFolderAtStart(appFolder, sample);
  // The windows' places, boxes and recent files are remembered in the user's settings;
  // a batch script never reads them (above), so that it runs the same everywhere.
  planova::ui::Desktop desktop(appFolder, planova::ui::UserSettingsFile());
  desktop.app.Astro.SetShippedDayTableFolders(ShippedDayTableFolders(exeFolder));
  desktop.Start();
  return QApplication::exec();
}
