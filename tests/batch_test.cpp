// The batch runner: commands, messages on standard output, and exit status 2 with the
// script line for anything it cannot do.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "app/application.h"
#include "app/batch.h"
#include "test_support.h"

namespace planova {
namespace {

struct BatchResult {
  int status;
  std::string out, err;
};

BatchResult RunScript(const std::string& script, const std::function<void(Application&)>& setUp = {},
                      const std::filesystem::path& appFolder = std::filesystem::temp_directory_path()) {
  std::ostringstream out, err;
  BatchPlatform platform(out, appFolder);
  Application app(platform);
  if (setUp) setUp(app);
  std::istringstream in(script);
  int status = RunBatchScript(app, in, out, err);
  EXPECT_FALSE(platform.Busy());
  return {status, out.str(), err.str()};
}

TEST(Batch, DateConverterScript) {
  auto r = RunScript(
      "press Form1 G->J\n"
      "print Form1.Text24\n"
      "press Form1 J->G\n"
      "print Form1.Text34\n"
      "print Form1.Text33\n"
      "print Form1.Text32\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "2305814\n1601\n1\n1,5\n");
  EXPECT_EQ(r.err, "");
}

TEST(Batch, SetTakesTheRestOfTheLineAndSkipsComments) {
  auto r = RunScript(
      "# a comment\r\n"
      "\r\n"
      "   \n"
      "set Form1.Text5 USNO  Transit 9 \r\n"
      "print Form1.Text5\n"
      "set Form1.Text16\n"
      "print Form1.Text16\n"
      "set Form1.Option3 1\n"
      "print Form1.Option20\n"
      "set Form1.Check2 1\n"
      "print Form1.Check2\n"
      "print Form1.Label20(1)\n"
      "press Form1 Command17\n"
      "print Form1.Text24\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "USNO  Transit 9 \n\n0\n1\nгод\n2305824\n");
}

TEST(Batch, MessagesArePrintedWithTheirTitle) {
  auto r = RunScript(
      "set Form1.Text10 -1\n"
      "press Form1 Создать массивы с N=\n"
      "set Form1.Text10 10\n"
      "press Form1 Создать массивы с N=\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "MESSAGE Planova: Задайте правильно данные: Создать массивы с N=\n");
}

TEST(Batch, BadLinesStopWithStatusTwo) {
  const std::pair<const char*, const char*> cases[] = {
      {"print Form9.Text1\n", "unknown form"},
      {"print Form1.Text99\n", "unknown control"},
      {"press Form1 Нет такой кнопки\n", "unknown button"},
      {"frobnicate Form1.Text3\n", "unknown command"},
      {"print Form2.Text1\n", "not open"},
      {"set Form1.Option3 2\n", "cannot set"},
      {"print Form1\n", "FORM.CONTROL"},
      {"click Form1.Text3 1 2 left\n", "picture"},
      {"answer maybe\n", "yes or no"},
      {"press Form1 Открыть…\n", "'Открыть…' asks for a file: open Form1.Command19 FILE"},
      {"open Form1.Command17 FileDov/PARI11_G_1.txt\n", "Form1.Command17 does not ask for a file"},
      {"open Form1.Command19\n", "open needs a file name"},
  };
  for (auto [script, what] : cases) {
    auto r = RunScript(std::string("print Form1.Text3\n") + script + "print Form1.Text8\n");
    EXPECT_EQ(r.status, 2) << script;
    EXPECT_NE(r.err.find("line 2"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(what), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "PARI\n") << "the script must stop at the bad line";
  }
}

TEST(Batch, FormsBecomeUsableWhenOpenedAndExitEnds) {
  auto r = RunScript(
      "press Form1 К форме 2\n"
      "press Form1 About*\n"
      "print Form3.Text1\n"
      "press Form3 Закрыть\n"
      "press Form1 Выход\n"
      "print Form9.Nothing\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.substr(0, 3), "  \r");
}

// "open" answers a button's file dialog or list of recent files with a file of the
// application folder: window 2 takes the file window 1 wrote, then the file it wrote
// itself from its recent ones; window 3 the same file by its dialog, and not from its own
// recent files, which hold none yet.  A button that refuses before it asks says why, and
// the script goes on.
TEST(Batch, OpenChoosesTheFileOfAButton) {
  auto r = RunScript(
      "set Form1.Text8 x\n"
      "open Form1.Command21 ObsPARI/PARI11_a.txt\n"
      "set Form1.Text8 11\n"
      "press Form1 Создать массивы с N=\n"
      "open Form1.Command19 FileDov/PARI11_G_1.txt\n"
      "press Form1 Загрузить исходные данные из\n"
      "set Form1.Text9 G_40\n"
      "press Form1 Сохранить данные в формате BDL\n"
      "press Form1 К форме 2\n"
      "set Form2.Text3 USNO\n"
      "open Form2.Command21 ObsPARI/PARI11_G_40.txt\n"
      "print Form2.Text3\n"
      "print Form2.Text1\n"
      "press Form2 Создать массивы с N=\n"
      "press Form2 Загрузить в формате BDL\n"
      "set Form2.Text2 RX_1\n"
      "press Form2 Записать результат в\n"
      "set Form2.Text2 other\n"
      "open Form2.Command22 ObsPARI/PARI11_RX_1.txt\n"
      "print Form2.Text2\n"
      "press Form2 К форме 3\n"
      "set Form4.Text1 1\n"
      "open Form4.Command19 ObsPARI/PARI11_G_40.txt\n"
      "print Form4.Text1\n"
      "open Form4.Command20 ObsPARI/PARI11_G_40.txt\n",
      {}, test::FolderForThisTest("batch_", true));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "MESSAGE Planova: Задайте правильно данные: объект наблюдения №\n"
            "PARI\n40\nRX_1\n40\nMESSAGE Planova: Файла нет в списке недавних: ObsPARI/PARI11_G_40.txt\n");
}

// Questions print like messages and take the script's last answer (yes before any).
TEST(Batch, QuestionsTakeTheLastAnswer) {
  auto r = RunScript(
      "answer no\n"
      "press Form1 Выход\n"
      "print Form1.Text3\n"
      "answer yes\n"
      "press Form1 Выход\n"
      "print Form9.Nothing\n",
      [](Application& app) { app.Store.Unsaved = "объединённые данные окна 2"; });
  EXPECT_EQ(r.status, 0) << r.err;
  const std::string question = "QUESTION Planova: Есть незаписанные данные (объединённые данные окна 2). Выйти без записи?\n";
  EXPECT_EQ(r.out, question + "PARI\n" + question);
}

// Window 2's list box of ephemerides: it starts at the first name found, takes only a
// name it lists, and the calculator selects the box's choice before it reads, refusing
// one whose files are gone.
TEST(Batch, EphemerisListBoxTakesANameItLists) {
  std::vector<std::string> selected;
  auto r = RunScript(
      "press Form1 К форме 2\n"
      "print Form2.Combo1\n"
      "set Form2.Combo1 DE440\n"
      "print Form2.Combo1\n"
      "press Form2 DE405\n"
      "set Form2.Combo1 DE430\n",
      [&](Application& app) {
        app.window2.Ephemerides = {[] { return std::vector<std::string>{"DE405", "DE440"}; },
                                   [&](const std::string& name) {
                                     selected.push_back(name);
                                     return name == "DE405";
                                   }};
      });
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("line 6: cannot set Form2.Combo1 to 'DE430'"), std::string::npos) << r.err;
  EXPECT_EQ(r.out, "DE405\nDE440\nMESSAGE Planova: Эфемериды недоступны: DE440\n");
  EXPECT_EQ(selected, std::vector<std::string>{"DE440"});
}

}  // namespace
}  // namespace planova
