// The program itself, as a user runs it: planova3 --batch SCRIPT [--app-dir DIR], its
// other options, and what it says when it cannot start.
#include <gtest/gtest.h>

#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <fstream>
#include <regex>

#include "app/batch.h"
#include "test_support.h"
#include "ui/start_up.h"

namespace planova {
namespace {

struct Outcome {
  int status;
  std::string out;
};

// Runs a shell command and reads its standard output.
Outcome RunCommand(const std::string& command) {
  FILE* pipe = popen(command.c_str(), "r");
  std::string out;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, pipe)) > 0) out.append(buf, n);
  int status = pclose(pipe);
  return {WEXITSTATUS(status), out};
}

Outcome RunProgram(const std::string& args) { return RunCommand(std::string(PLANOVA_EXE) + " " + args + " 2>/dev/null"); }

std::filesystem::path WriteScript(const std::filesystem::path& folder, const std::string& text) {
  auto path = folder / "script.txt";
  test::WriteBytes(path, text);
  return path;
}

TEST(Program, BatchDateConverter) {
  auto folder = test::FreshFolder("program-batch");
  auto script = WriteScript(folder,
                            "press Form1 G->J\nprint Form1.Text24\npress Form1 J->G\n"
                            "print Form1.Text34\nprint Form1.Text33\nprint Form1.Text32\n");
  Outcome r = RunProgram("--batch " + script.string() + " --app-dir " + folder.string());
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "2305814\n1601\n1\n1,5\n");
}

TEST(Program, BadScriptLineGivesStatusTwo) {
  auto folder = test::FreshFolder("program-bad");
  auto script = WriteScript(folder, "press Form1 Нет такой кнопки\n");
  EXPECT_EQ(RunProgram("--batch " + script.string()).status, 2);
  EXPECT_EQ(RunProgram("--batch " + (folder / "missing.txt").string()).status, 2);
  EXPECT_EQ(RunProgram("--no-such-option").status, 2);
}

// The windows' language does not reach a batch script: with English chosen, by --lang or
// by the locale, the script presses the Russian captions and messages print in Russian.
TEST(Program, BatchTakesRussianCaptionsWhateverTheLanguage) {
  auto folder = test::FreshFolder("program-lang");
  auto script = WriteScript(folder, "set Form1.Text10 x\npress Form1 Создать массивы с N=\npress Form1 G->J\nprint Form1.Text24\n");
  const std::string batch = "--batch " + script.string() + " --app-dir " + folder.string();
  for (const std::string& run : {"--lang en " + batch, "--lang ru " + batch, batch}) {
    Outcome r = RunCommand("LANG=en_GB.UTF-8 LC_ALL= " + std::string(PLANOVA_EXE) + " " + run + " 2>/dev/null");
    EXPECT_EQ(r.status, 0) << run;
    EXPECT_EQ(r.out, "MESSAGE Planova: Задайте правильно данные: Создать массивы с N=\n2305814\n") << run;
  }
  EXPECT_EQ(RunProgram("--lang de " + batch).status, 2);
}

// "save" writes a picture whole: under a file-size limit of nothing the old picture stays
// byte for byte, the script ends with status 2 and the message names the file.
TEST(Program, BatchSaveKeepsTheOldPictureWhenTheWriteFails) {
  auto folder = test::FreshFolder("program-save", true);
  const std::filesystem::path picture = folder / "plot.png";
  auto script = WriteScript(folder, "press Form1 К форме 2\nsave Form2.Picture1 " + picture.string() + "\n");
  const std::string run = std::string(PLANOVA_EXE) + " --batch " + script.string() + " --app-dir " + folder.string();
  ASSERT_EQ(RunCommand(run + " 2>/dev/null").status, 0);
  const std::string png = test::ReadBytes(picture);
  ASSERT_EQ(png.substr(1, 3), "PNG");

  Outcome r = RunCommand("ulimit -f 0; " + run + " 2>&1 >/dev/null");  // standard error only
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.out.find("script line 2: Ошибка записи в файл\\n" + picture.string() + "\n"), std::string::npos) << r.out;
  EXPECT_EQ(test::ReadBytes(picture), png);
  EXPECT_EQ(test::TemporaryFiles(folder), std::vector<std::string>{});
}

// The options that end at once, and a start without a display: their status and what
// they print (standard output and error together).
TEST(Program, OptionsAndAStartWithoutADisplay) {
  const std::string exe = PLANOVA_EXE;
  const std::string noDisplay = "env -u DISPLAY -u WAYLAND_DISPLAY -u WAYLAND_SOCKET ";
  const struct {
    std::string command;
    int status;
    std::vector<std::string> shows;
  } cases[] = {
      {exe + " --help", 0, {"--app-dir DIR", "--batch SCRIPT", "--init DIR", "--lang en|ru", "--version"}},
      {exe + " --app-dir ''", 2, {"--app-dir needs a value", "See planova3 --help"}},
      // A folder opens as a stream and would read as an empty script.
      {exe + " --batch " + test::FreshFolder("program-folder").string(), 2, {"it is a folder"}},
      {noDisplay + "-u QT_QPA_PLATFORM " + exe, 1, {"no display to show the windows on", "planova3 --batch SCRIPT"}},
      // A display that does not answer: Qt's platform fails, the program says why.
      {noDisplay + "QT_QPA_PLATFORM=xcb DISPLAY=:987 " + exe, 1, {"the windows cannot be shown", "planova3 --batch SCRIPT"}},
  };
  for (const auto& c : cases) {
    Outcome r = RunCommand(c.command + " 2>&1");
    EXPECT_EQ(r.status, c.status) << c.command << "\n" << r.out;
    for (const std::string& text : c.shows) EXPECT_NE(r.out.find(text), std::string::npos) << c.command << ": " << text;
    EXPECT_EQ(r.out.find("Reinstalling"), std::string::npos) << r.out;
  }
  // --help lists every command of the batch runner's table.
  const std::string help = RunCommand(exe + " --help").out;
  for (const BatchCommandHelp& c : BatchCommands()) {
    EXPECT_NE(help.find("  " + c.verb + " " + c.arguments + "\n      " + c.meaning), std::string::npos) << c.verb;
  }
  Outcome version = RunCommand(exe + " --version");
  EXPECT_EQ(version.status, 0);
  EXPECT_TRUE(std::regex_match(version.out, std::regex("planova3 3\\.[0-9]+\\.[0-9]+\n"))) << version.out;
}

// --init makes the sample's folders and files (keeping what is there); a batch run names
// on standard error what its folder lacks, before and after.
TEST(Program, InitMakesTheSampleLayout) {
  namespace fs = std::filesystem;
  const fs::path folder = test::FreshFolder("program-init") / "app";
  const fs::path sample = PLANOVA_SAMPLE_DIR;
  auto script = WriteScript(folder.parent_path(), "press Form1 G->J\n");
  const std::string batch = std::string(PLANOVA_EXE) + " --batch " + script.string() + " --app-dir " + folder.string();
  Outcome before = RunCommand(batch + " 2>&1 >/dev/null");
  EXPECT_EQ(before.status, 0);
  EXPECT_NE(before.out.find("Папки программы нет:\n" + folder.string()), std::string::npos) << before.out;
  EXPECT_NE(before.out.find("planova3 --init " + folder.string()), std::string::npos) << before.out;

  ASSERT_EQ(RunProgram("--init " + folder.string()).status, 0);
  for (const char* name : {"Dat", "FileDov", "FileJPL", "FileMPC", "FileADES", "JPL", "ObsPARI", "ObsUSNO", "TabPARI"}) {
    EXPECT_TRUE(fs::is_directory(folder / name)) << name;
  }
  EXPECT_EQ(test::ReadBytes(folder / "TabPARI" / "PARI11_G_1.xls"), test::ReadBytes(sample / "TabPARI" / "PARI11_G_1.xls"));
  EXPECT_FALSE(fs::exists(folder / "Dat" / ".gitkeep"));
  Outcome after = RunCommand(batch + " 2>&1 >/dev/null");
  EXPECT_NE(after.out.find("JPL/ascpГГГГ.405"), std::string::npos) << after.out;
  EXPECT_EQ(after.out.find("Dat —"), std::string::npos) << after.out;

  test::WriteBytes(folder / "FileDov" / "PARI11_G_1.txt", "own");
  ASSERT_EQ(RunProgram("--init " + folder.string()).status, 0);
  EXPECT_EQ(test::ReadBytes(folder / "FileDov" / "PARI11_G_1.txt"), "own");
  EXPECT_EQ(RunProgram("--init /proc/planova-init").status, 1);
}

// The windows carry the program's icon, drawn from its SVG.
TEST(Program, WindowsCarryTheProgramIcon) {
  ui::SetProgramIcon();
  EXPECT_FALSE(QApplication::windowIcon().pixmap(64).isNull());
}

}  // namespace
}  // namespace planova
