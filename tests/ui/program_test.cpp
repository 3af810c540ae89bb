// The program itself, as a user runs it: planova3 --batch SCRIPT [--app-dir DIR].
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "test_support.h"

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
  std::ofstream(path, std::ios::binary) << text;
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

}  // namespace
}  // namespace planova
