// The files that "Открыть…", "Выбрать…" and "Недавние" choose: each window reads a chosen
// name back into the boxes that make that very name, or refuses it saying why with every
// box kept; the recent files; and "По умолчанию".
#include <gtest/gtest.h>

#include "app/application.h"
#include "models/file_choice.h"
#include "test_support.h"

namespace planova {
namespace {

namespace fs = std::filesystem;
using test::RecordingPlatform;

// A reading in one line: source (window 1), code, object, mark and number; or the refusal.
std::string Shown(const SourceFileBoxes& b) {
  if (!b.Refusal.empty()) return b.Refusal;
  const char* sources[] = {"Table", "JPL", "Dov", "MPC", "ADES"};
  std::string mark = "-";
  if (b.Param) {
    mark = *b.Param == Parameter::kRa ? "_R_" : *b.Param == Parameter::kDec ? "_D_" : b.Topo ? "_T_" : b.Hor ? "_H_" : "_G_";
  }
  return std::string(sources[static_cast<int>(b.Source)]) + " " + b.Code + " " +
         (b.Object ? std::to_string(*b.Object) : "-") + " " + mark + " " + b.FileNumber;
}
std::string Shown(const FileNameParts& p) {
  if (!p.Fits()) return p.Refusal;
  return p.Code + " " + (p.Object ? std::to_string(*p.Object) : "-") + " " + (p.Mark.empty() ? "-" : p.Mark) + " " + p.Number;
}

// `reader`: 1, 2 and 3 the windows' loads (window 1: its sources), 'W' a file written for
// the data of `code` and object 11.
struct NameCase {
  int reader;
  const char* file;
  const char* code;
  const char* want;
};

TEST(FileChoice, NamesGiveBackTheBoxesThatMakeThem) {
  const fs::path app = "/data/planova";
  const NameCase cases[] = {
      // Window 1: the folder chooses the source; Dov files and tables carry the parameter.
      {1, "FileDov/PARI11_G_110.txt", "PARI", "Dov PARI 11 _G_ 110"},
      {1, "FileDov/USNO11_T_2.txt", "PARI", "Dov USNO 11 _T_ 2"},
      {1, "FileDov/PARI10_H_1.txt", "", "Dov PARI 10 _H_ 1"},
      {1, "FileDov/PARI11_R_G_2.txt", "PARI", "Dov PARI 11 _R_ G_2"},
      {1, "TabPARI/PARI11_D_3.xlsx", "USNO", "Table PARI 11 _D_ 3"},
      {1, "FileJPL/PARI_5.txt", "PARI", "JPL PARI - - 5"},
      {1, "FileADES/PARI11_2.xml", "PARI", "ADES PARI 11 - 2"},
      {1, "/data/planova/FileMPC/PARI4_2.txt", "PARI", "MPC PARI 4 - 2"},
      // A code ending in digits: the box's code splits the name, else the shortest code.
      {1, "FileMPC/J9511_1.txt", "J95", "MPC J95 11 - 1"},
      {1, "FileMPC/J9511_1.txt", "PARI", "MPC J 9511 - 1"},
      {1, "ObsPARI/PARI11_G_1.txt", "PARI",
       "Файл не в папке исходных данных (FileDov, FileJPL, FileMPC, FileADES, Tab<код>): ObsPARI/PARI11_G_1.txt"},
      {1, "FileDov/old/PARI11_G_1.txt", "PARI",
       "Файл не в папке исходных данных (FileDov, FileJPL, FileMPC, FileADES, Tab<код>): FileDov/old/PARI11_G_1.txt"},
      {1, "/data/other/FileDov/PARI11_G_1.txt", "PARI", "Файл не в папке программы: /data/other/FileDov/PARI11_G_1.txt"},
      {1, "../FileDov/PARI11_G_1.txt", "PARI", "Файл не в папке программы: ../FileDov/PARI11_G_1.txt"},
      {1, "FileDov/PARI11_X_1.txt", "PARI",
       "Имя файла не по образцу <код><объект>_G_<№>.txt (_R_, _D_, _T_, _H_ вместо _G_): FileDov/PARI11_X_1.txt"},
      // No object, another extension, no number, another folder's code: no file of the pattern.
      {1, "FileDov/PARI_G_1.txt", "PARI",
       "Имя файла не по образцу <код><объект>_G_<№>.txt (_R_, _D_, _T_, _H_ вместо _G_): FileDov/PARI_G_1.txt"},
      {1, "FileMPC/PARI11_1.csv", "PARI", "Имя файла не по образцу <код><объект>_<№>.txt: FileMPC/PARI11_1.csv"},
      {1, "FileJPL/PARI_.txt", "PARI", "Имя файла не по образцу <код>_<№>.txt: FileJPL/PARI_.txt"},
      {1, "TabUSNO/PARI11_G_1.xls", "PARI",
       "Имя файла не по образцу <код><объект>_G_<№>.xls, .xlsx или .ods (_R_, _D_, _T_, _H_ вместо _G_): TabUSNO/PARI11_G_1.xls"},
      // Window 2: every mark of its file kinds.
      {2, "ObsPARI/PARI11_GLB_40.txt", "PARI", "PARI 11 _GLB_ 40"},
      {2, "ObsPARI/PARI11_GT_40.txt", "PARI", "PARI 11 _GT_ 40"},
      {2, "ObsUSNO/USNO11_H_7.txt", "PARI", "USNO 11 _H_ 7"},
      {2, "ObsPARI/PARI11_RDGLBT_40.txt", "PARI",
       "Имя файла не по образцу <код><объект>_G_<№>.txt (_R_, _D_, _GLB_, _GT_, _T_, _H_ вместо _G_): "
       "ObsPARI/PARI11_RDGLBT_40.txt"},
      {2, "FileDov/PARI11_G_1.txt", "PARI", "Файл не в папке Obs<код>: FileDov/PARI11_G_1.txt"},
      // Window 3: "_G_" files only.
      {3, "ObsPARI/PARI11_G_41.txt", "PARI", "PARI 11 - 41"},
      {3, "ObsPARI/PARI11_T_41.txt", "PARI", "Имя файла не по образцу <код><объект>_G_<№>.txt: ObsPARI/PARI11_T_41.txt"},
      // Written files: those of the data loaded only.
      {'W', "ObsPARI/PARI11_RDGLBT_40.txt", "PARI", "PARI 11 - RDGLBT_40"},
      {'W', "ObsPARI/PARI4_G_1.txt", "PARI", "Загруженные данные пишутся только в ObsPARI/PARI11_…txt: ObsPARI/PARI4_G_1.txt"},
  };
  for (const NameCase& c : cases) {
    // The import makes the stem of a Dov file or table back from the boxes read.
    const SourceFileBoxes source = Window1Model::ReadSourceFileName(c.file, app, c.code);
    if (c.reader == 1 && source.Param) {
      const std::string stem =
          SourceStem(source.Code, source.Object.value_or(0), *source.Param, source.Topo, source.Hor, source.FileNumber);
      EXPECT_EQ(fs::path(c.file).stem().string(), stem) << c.file;
    }
    const std::string got = c.reader == 1   ? Shown(source)
                            : c.reader == 2 ? Shown(Window2Model::ReadLoadFileName(c.file, app, c.code))
                            : c.reader == 3 ? Shown(Window3Model::ReadLoadFileName(c.file, app, c.code))
                                            : Shown(ReadWrittenFileName(c.file, app, c.code, 11));
    EXPECT_EQ(got, c.want) << c.file;
  }
}

TEST(FileChoice, RecentFilesKeepTheLatestEight) {
  RecentFiles recent;
  for (int k = 1; k <= 9; ++k) recent.Note("FileMPC/PARI11_" + std::to_string(k) + ".txt");
  recent.Note("FileMPC/PARI11_5.txt");
  ASSERT_EQ(recent.Names.size(), RecentFiles::kMost);
  EXPECT_EQ(recent.Names.front(), "FileMPC/PARI11_5.txt");
  EXPECT_EQ(recent.Names[1], "FileMPC/PARI11_9.txt");
  EXPECT_EQ(recent.Names.back(), "FileMPC/PARI11_2.txt");
  recent.Assign({"a", "", "b", "a", "c", "d", "e", "f", "g", "h", "i"});
  EXPECT_EQ(recent.Names, (std::vector<std::string>{"a", "b", "c", "d", "e", "f", "g", "h"}));
}

// Window 1 through its buttons, on the sample folder: what the dialog is asked, the boxes a
// chosen file fills, a refusal that keeps them, the files imported and written as recent
// ones, and "По умолчанию".
TEST(FileChoice, Window1ButtonsFillTheBoxesOrKeepThem) {
  RecordingPlatform ui(test::FolderForThisTest("file_choice_", true));
  Application app(ui);
  Window1Model& f = app.window1;
  const auto press = [&](const std::string& caption) { test::PressButton(f, caption, ui); };

  // "Открыть…" starts in the folder of the source chosen; a file of another source's
  // folder chooses that source.
  ui.chosenFile = "FileMPC/PARI4_2.txt";
  press("Открыть…");
  ASSERT_EQ(ui.fileRequests.size(), 1u);
  EXPECT_EQ(ui.fileRequests[0].Folder, ui.AppFolder() / "FileDov");
  EXPECT_TRUE(f.sourceMpc.Value);
  EXPECT_FALSE(f.sourceDov.Value);
  EXPECT_EQ(f.objectNumber.Text, "4");
  EXPECT_EQ(f.fileNumber.Text, "2");
  const auto before = f.Settings();
  ui.chosenFile = "FileMPC/PARI4.txt";
  press("Открыть…");
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], "Имя файла не по образцу <код><объект>_<№>.txt: FileMPC/PARI4.txt");
  EXPECT_EQ(f.Settings(), before);
  ui.chosenFile.reset();  // a cancelled dialog changes nothing
  press("Открыть…");
  EXPECT_EQ(f.Settings(), before);

  // The Dov sample imported and written: both are recent, the latest first.
  press("Недавние");
  EXPECT_TRUE(ui.fileRequests.back().FromList);
  EXPECT_TRUE(ui.fileRequests.back().Listed.empty());
  ui.chosenFile = ui.AppFolder() / "FileDov" / "PARI11_G_1.txt";
  press("Открыть…");
  press("Создать массивы с N=");
  press("Загрузить исходные данные из");
  f.bdlNamePart.Text = "G_5";
  press("Сохранить данные в формате BDL");
  ASSERT_EQ(ui.messages.size(), 1u) << ui.messages.back();
  EXPECT_EQ(f.Recent.Names, (std::vector<std::string>{"ObsPARI/PARI11_G_5.txt", "FileDov/PARI11_G_1.txt"}));

  // Chosen again, the source refills the source boxes, the written file "в файл".
  f.ChooseOption(f.sourceJpl);
  f.observatoryCode.Text = "USNO";
  f.bdlNamePart.Text = "x";
  ui.chosenFile = "FileDov/PARI11_G_1.txt";
  press("Недавние");
  EXPECT_EQ(ui.fileRequests.back().Listed, f.Recent.Names);
  EXPECT_TRUE(f.sourceDov.Value);
  EXPECT_EQ(f.observatoryCode.Text, "PARI");
  ui.chosenFile = "ObsPARI/PARI11_G_5.txt";
  press("Недавние");
  EXPECT_EQ(f.bdlNamePart.Text, "G_5");
  ui.chosenFile = "FileMPC/PARI11_1.txt";
  press("Недавние");
  EXPECT_EQ(ui.messages.back(), "Файла нет в списке недавних: FileMPC/PARI11_1.txt");

  // "Выбрать…" offers the file a save writes now, and takes a new name for the data imported.
  ui.chosenFile = ui.AppFolder() / "ObsPARI" / "PARI11_new.txt";
  press("Выбрать…");
  const FileRequest& target = ui.fileRequests.back();
  EXPECT_TRUE(target.ForWriting);
  EXPECT_EQ(target.Folder, ui.AppFolder() / "ObsPARI");
  EXPECT_EQ(target.Name, "PARI11_G_5.txt");
  EXPECT_EQ(f.bdlNamePart.Text, "new");

  // "По умолчанию": every setting back to the start's, what the import gave kept.
  f.ChooseOption(f.sourceAdes);
  f.columnLetters[3].Text = "Z";
  f.writeBadRecordsFile.Value = true;
  press("По умолчанию");
  EXPECT_EQ(f.observatoryCode.Text, "PARI");
  EXPECT_EQ(f.bdlNamePart.Text, "RDGT_0");
  EXPECT_EQ(f.columnLetters[3].Text, "D");
  EXPECT_TRUE(f.sourceDov.Value);
  EXPECT_FALSE(f.sourceAdes.Value);
  EXPECT_FALSE(f.writeBadRecordsFile.Value);
  EXPECT_EQ(f.goodCount.Text, std::to_string(app.Store.GoodCount));
  EXPECT_FALSE(f.IsSetting("Text12"));  // "хороших": the window's, not the user's
}

}  // namespace
}  // namespace planova
