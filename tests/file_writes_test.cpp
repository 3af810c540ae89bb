// Files are replaced only when complete: whatever stops a write (a file-size limit, a
// text that does not fit, a date beyond the calendar, a catalogue line that does not
// convert), the file the user had stays byte for byte, no temporary file is left, and
// the message names the file.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <memory>

#include "app/application.h"
#include "common/textfile.h"
#include "test_support.h"

namespace planova {
namespace {

namespace fs = std::filesystem;
using test::RecordingPlatform;

const std::string kPrevious = "the file as the user had it\r\n";

// The application on a fresh copy of the sample folder.
struct Desk {
  explicit Desk(const std::string& name) : folder(test::FreshFolder("file_writes_" + name, true)), ui(folder), app(ui) {}
  fs::path folder;
  RecordingPlatform ui;
  Application app;

  void Press(FormModel& form, const std::string& caption) { test::PressButton(form, caption, ui); }
  // Window 1: arrays and the Dov sample (300 records read, 3 rejected).
  void Import() {
    Press(app.window1, "Создать массивы с N=");
    Press(app.window1, "Загрузить исходные данные из");
  }
  void SaveWindow1Bdl() {
    app.window1.bdlNamePart.Text = "G_40";
    Press(app.window1, "Сохранить данные в формате BDL");
  }
  // Window 2: data set 1 (and 3) of 10 places generated from the two-body theory and
  // compared with it; with "+File" the run writes Dat\Param_data_PARI11 and StatPARI11.
  void Compare(bool files, bool stepMode = false) {
    app.ShowForm("Form2");
    Window2Model& f = app.window2;
    f.arraySize.Text = "10";
    Press(f, "Создать массивы с N=");
    f.ChooseOption(f.generateSet1);
    f.ChooseOption(f.theoryJpl0);
    f.writeParamFile.Value = files;
    f.stepMode.Value = stepMode;
    Press(f, "Сравнить данные 1 с данными 2");
  }
  // Window 2: "Записать результат в" with rows 1..10 of data set 3.
  void WriteWindow2Bdl() {
    app.window2.lastRow.Text = "10";
    Press(app.window2, "Записать результат в");
  }
};

TEST(FileWrites, AFailedWriteKeepsThePreviousFile) {
  const struct {
    const char* what;
    const char* target;                 // in the application folder
    std::function<void(Desk&)> prepare;  // the data the write needs, or its failure
    std::function<void(Desk&)> write;
    size_t limit;  // file-size limit during the write (bytes), 0 for none
  } cases[] = {
      {"window 1 BDL, file-size limit", "ObsPARI/PARI11_G_40.txt", [](Desk& d) { d.Import(); },
       [](Desk& d) { d.SaveWindow1Bdl(); }, 16},
      {"window 1 BDL, an instrument too long for its columns", "ObsPARI/PARI11_G_40.txt",
       [](Desk& d) {
         d.Import();
         d.app.window1.instrument.Text = std::string(30, 'X');
       },
       [](Desk& d) { d.SaveWindow1Bdl(); }, 0},
      {"window 1 BDL, record 150 beyond the calendar", "ObsPARI/PARI11_G_40.txt",
       [](Desk& d) {
         d.Import();
         d.app.Store.ObsJd(150, kSet3) = 1e300;
       },
       [](Desk& d) { d.SaveWindow1Bdl(); }, 0},
      {"rejected records, file-size limit", "Dat/Bad_data_PARI11_G_1.txt",
       [](Desk& d) {
         d.Press(d.app.window1, "Создать массивы с N=");
         d.app.window1.writeBadRecordsFile.Value = true;  // "+FileBad"
       },
       [](Desk& d) {
         d.Press(d.app.window1, "Загрузить исходные данные из");
         EXPECT_EQ(d.app.window1.badCount.Text, "3") << "the import itself is shown";
       },
       16},
      {"catalogue converter, file-size limit", "FileDov/USNO11_G_2.txt", [](Desk&) {},
       [](Desk& d) { d.Press(d.app.window1, "+/-"); }, 16},
      {"catalogue converter, line 6 does not convert", "FileDov/USNO11_G_2.txt",
       [](Desk& d) {
         const fs::path input = d.folder / "FileDov" / "USNO_1866_1891.txt";
         std::string bytes = test::ReadBytes(input);
         size_t line6 = 0;
         for (int k = 0; k < 5; ++k) line6 = bytes.find("\r\n", line6) + 2;
         bytes.replace(line6, bytes.find("\r\n", line6) - line6, "not a catalogue line");
         test::WriteBytes(input, bytes);
       },
       [](Desk& d) {
         d.Press(d.app.window1, "+/-");
         ASSERT_EQ(d.ui.messages.size(), 2u);
         EXPECT_TRUE(d.ui.messages[0].ends_with("строка 6")) << d.ui.messages[0];
       },
       0},
      {"window 2 BDL, file-size limit", "ObsPARI/PARI11_RDGLBT_40.txt", [](Desk& d) { d.Compare(false); },
       [](Desk& d) { d.WriteWindow2Bdl(); }, 16},
      {"window 2 BDL, record 5 beyond the calendar", "ObsPARI/PARI11_RDGLBT_40.txt",
       [](Desk& d) {
         d.Compare(false);
         d.app.Store.ObsJd(5, kSet3) = 1e300;
       },
       [](Desk& d) { d.WriteWindow2Bdl(); }, 0},
      {"window 3 BDL, file-size limit", "ObsPARI/PARI11_G_41.txt",
       [](Desk& d) {
         d.Import();
         d.SaveWindow1Bdl();
         d.app.ShowForm("Form4");
         d.Press(d.app.window3, "Создать массивы с N=");
         d.Press(d.app.window3, "Загрузить в формате BDL");
       },
       [](Desk& d) { d.Press(d.app.window3, "Записать результат в файл"); }, 16},
      {"comparison records, file-size limit", "Dat/Param_data_PARI11.txt", [](Desk&) {},
       [](Desk& d) { d.Compare(true); }, 16},
      // The records file of 10 rows and its CSV twin are shorter than the statistics: they
      // are written.
      {"comparison statistics, file-size limit", "Dat/StatPARI11.txt", [](Desk&) {},
       [](Desk& d) {
         d.Compare(true);
         EXPECT_NE(test::ReadBytes(d.folder / "Dat" / "Param_data_PARI11.txt"), kPrevious);
       },
       1400},
      // The summary of the residuals is longer than the Stat file, written before it.
      {"comparison summary, file-size limit", "Dat/Summary_PARI11.txt", [](Desk&) {},
       [](Desk& d) {
         d.Compare(true);
         EXPECT_NE(test::ReadBytes(d.folder / "Dat" / "StatPARI11.txt"), kPrevious);
       },
       2400},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Desk d(std::to_string(++n));
    c.prepare(d);
    ASSERT_TRUE(d.ui.messages.empty()) << d.ui.messages[0];
    const fs::path target = d.folder / c.target;
    for (const char* other : {"Dat/Param_data_PARI11.txt", c.target}) {
      test::WriteBytes(d.folder / other, kPrevious);
    }
    {
      std::unique_ptr<test::FileSizeLimit> limit;
      if (c.limit > 0) limit = std::make_unique<test::FileSizeLimit>(c.limit);
      c.write(d);
    }
    EXPECT_EQ(test::ReadBytes(target), kPrevious);
    ASSERT_FALSE(d.ui.messages.empty());
    // The message names the file (and the run's other file, when that failed too).
    const std::string message = d.ui.messages.back();
    EXPECT_EQ(message.rfind("Ошибка записи в файл\r\n" + PathText(target), 0), 0u) << message;
    EXPECT_EQ(test::TemporaryFiles(d.folder), std::vector<std::string>{});
  }
}

// After an import that read nothing (its source missing) neither the BDL file nor the
// rejected-records file of the same name is touched.
// Every write says in its window's pane how many records it wrote and where, relative to
// the application folder.
TEST(FileWrites, EveryWriteReportsItsCountAndFile) {
  Desk d("reports");
  d.Import();
  d.SaveWindow1Bdl();
  const std::string& pane1 = d.app.window1.rejectedOrSavedLog.Text;
  EXPECT_EQ(pane1.substr(pane1.rfind("\r\n") + 2), "записано  300  записей в ObsPARI/PARI11_G_40.txt");

  d.Press(d.app.window1, "+/-");
  EXPECT_EQ(d.app.window1.rejectedOrSavedLog.Text, "записано  200  записей в FileDov/USNO11_G_2.txt");

  d.Compare(false);
  d.WriteWindow2Bdl();
  const std::string& pane2 = d.app.window2.reportPane.Text;
  EXPECT_EQ(pane2.substr(pane2.rfind("\r\n") + 2), "записано  10  записей в ObsPARI/PARI11_RDGLBT_40.txt");
  EXPECT_TRUE(d.ui.messages.empty()) << d.ui.messages[0];
}

TEST(FileWrites, AFailedImportTouchesNoFile) {
  Desk d("failed_import");
  const fs::path bdl = d.folder / "ObsPARI" / "PARI11_G_40.txt";
  const fs::path bad = d.folder / "Dat" / "Bad_data_PARI11_G_7.txt";
  for (const fs::path& p : {bdl, bad}) test::WriteBytes(p, kPrevious);
  d.app.window1.writeBadRecordsFile.Value = true;  // "+FileBad"
  d.app.window1.fileNumber.Text = "7";    // no FileDov\PARI11_G_7.txt
  d.Import();
  d.SaveWindow1Bdl();
  EXPECT_EQ(d.ui.messages, (std::vector<std::string>{"Не найден файл  \r\n" +
                                                          PathText(d.folder / "FileDov" / "PARI11_G_7.txt"),
                                                      "Нет данных для записи: загрузите исходные данные"}));
  EXPECT_EQ(test::ReadBytes(bdl), kPrevious);
  EXPECT_EQ(test::ReadBytes(bad), kPrevious);
  EXPECT_EQ(test::TemporaryFiles(d.folder), std::vector<std::string>{});
}

// A comparison run in steps: its records file replaces the old one when the run passes
// its last row, or when a new run begins; while it is paused the old file stays.
TEST(FileWrites, APausedRunKeepsThePreviousRecordsFile) {
  Desk d("paused_run");
  const fs::path param = d.folder / "Dat" / "Param_data_PARI11.txt";
  test::WriteBytes(param, kPrevious);
  auto records = [&] {
    const std::string bytes = test::ReadBytes(param);
    return std::count(bytes.begin(), bytes.end(), '\n') - 5;  // after the heading lines
  };
  d.Compare(true, true);
  for (int k = 2; k <= 3; ++k) d.Press(d.app.window2, "сделать 1 шаг");
  EXPECT_EQ(test::ReadBytes(param), kPrevious);
  EXPECT_EQ(test::TemporaryFiles(d.folder).size(), 2u);  // Param_data_ and its CSV twin

  d.Press(d.app.window2, "Сравнить данные 1 с данными 2");  // a new run, paused after its first row
  EXPECT_EQ(records(), 3) << "the replaced run's records";
  for (int k = 2; k <= 10; ++k) d.Press(d.app.window2, "сделать 1 шаг");
  EXPECT_EQ(records(), 10);
  EXPECT_TRUE(d.ui.messages.empty()) << d.ui.messages[0];
  EXPECT_EQ(test::TemporaryFiles(d.folder), std::vector<std::string>{});
}

// The temporary file lies beside the target until the commit; the target keeps its
// permissions.
TEST(FileWrites, TheTargetChangesOnlyAtTheCommit) {
  const fs::path folder = test::FreshFolder("file_writes_commit");
  const fs::path target = folder / "f.txt";
  test::WriteBytes(target, kPrevious);
  fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  {
    TextOutputFile out;
    ASSERT_TRUE(out.Create(target));
    EXPECT_TRUE(out.WriteLine("new"));
    EXPECT_TRUE(out.Flush());
    EXPECT_EQ(test::TemporaryFiles(folder).size(), 1u);
  }  // not committed
  EXPECT_EQ(test::ReadBytes(target), kPrevious);
  EXPECT_EQ(test::TemporaryFiles(folder), std::vector<std::string>{});

  ASSERT_TRUE(WriteFileAtomically(target, "new\r\n"));
  EXPECT_EQ(test::ReadBytes(target), "new\r\n");
  EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_FALSE(WriteFileAtomically(folder / "no folder" / "f.txt", "x"));
  EXPECT_EQ(test::TemporaryFiles(folder), std::vector<std::string>{});

  // A write through a symbolic link writes the file it points at; the link stays.
  fs::create_symlink("f.txt", folder / "link.txt");
  ASSERT_TRUE(WriteFileAtomically(folder / "link.txt", "via link\r\n"));
  EXPECT_TRUE(fs::is_symlink(folder / "link.txt"));
  EXPECT_EQ(test::ReadBytes(target), "via link\r\n");

  // The temporary file of a process that has ended goes at the next write of its target;
  // that of a running process (the test's parent) stays.
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ASSERT_GT(child, 0);
  ::waitpid(child, nullptr, 0);
  const std::string dead = "f.txt.tmp-" + std::to_string(child) + "-1";
  const std::string living = "f.txt.tmp-" + std::to_string(::getppid()) + "-1";
  test::WriteBytes(folder / dead, "half");
  test::WriteBytes(folder / living, "half");
  ASSERT_TRUE(WriteFileAtomically(target, "new\r\n"));
  EXPECT_EQ(test::TemporaryFiles(folder), std::vector<std::string>{(folder / living).string()});
}

// Lines come out as written whatever their ends (CR LF, LF, CR alone, none at the end),
// also where a line or its CR LF is split between two of the reader's blocks.
TEST(TextInput, LinesAcrossBlocks) {
  const fs::path path = fs::path(::testing::TempDir()) / "planova_lines.txt";
  std::string bytes;
  std::vector<std::string> lines;
  const char* const ends[] = {"\r\n", "\n", "\r"};
  for (int n = 0; bytes.size() < 700000; ++n) {
    lines.push_back(std::string(static_cast<size_t>(n * 7919 % 301), static_cast<char>('a' + n % 26)));
    bytes += lines.back() + ends[n % 3];
  }
  lines.push_back("last line without an end");
  bytes += lines.back();
  // Put a CR LF across the first block boundary (256 kB).
  const size_t boundary = size_t{1} << 18;
  const size_t cr = bytes.find("\r\n", boundary / 2);
  lines.insert(lines.begin(), std::string(boundary - 2 - cr, 'x'));
  bytes.insert(0, lines.front() + "\n");
  ASSERT_EQ(bytes.substr(boundary - 1, 2), "\r\n");
  std::ofstream(path, std::ios::binary) << bytes;
  TextInputFile in;
  ASSERT_TRUE(in.Open(path));
  std::string line;
  for (const std::string& expected : lines) {
    ASSERT_TRUE(in.ReadLine(line));
    ASSERT_EQ(line, expected);
  }
  EXPECT_FALSE(in.ReadLine(line));
  EXPECT_TRUE(in.AtEnd());
  fs::remove(path);
}

}  // namespace
}  // namespace planova
