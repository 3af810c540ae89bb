// Window 2's BDL loading and writing: a file written by window 1 loads back with its
// dates and coordinates; the observatory table, the size and capacity rules, rejected
// times, bad lines, the writer's placement, and each record's station from import to writing.
#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "app/application.h"
#include "bdl/bdl_line.h"
#include "common/textfile.h"
#include "models/messages.h"
#include "test_support.h"

namespace planova {
namespace {

using test::RecordingPlatform;

struct Window2Load : ::testing::Test {
  std::filesystem::path folder = test::FolderForThisTest("", true);
  RecordingPlatform ui{folder};
  Application app{ui};
  Window2Model& f = app.window2;

  void SetUp() override {
    app.ShowForm("Form2");
    f.arraySize.Text = "100";
    Press("Создать массивы с N=");
  }
  void Press(const std::string& caption) { Press(f, caption); }
  void Press(FormModel& form, const std::string& caption) { test::PressButton(form, caption, ui); }
  // A BDL file PARI11_G_110.txt in ObsPARI with the given observation lines.
  void WriteFile(const std::vector<std::string>& lines, const std::string& name = "PARI11_G_110.txt") {
    std::ofstream out(folder / "ObsPARI" / name, std::ios::binary);
    for (int k = 0; k < 5; ++k) out << "head " << k << "\r\n";
    for (const auto& l : lines) out << l << "\r\n";
  }
  static std::string Line(const std::string& date, const std::string& lat, const std::string& epoch = "  App",
                          const std::string& scale = " UT") {
    std::string l = "Moon      " + date + " " + scale + "   01 00 00.00000  1.11111  " + lat + "  1.1111   PARI";
    l.resize(158, ' ');
    PlaceAt(l, 133, epoch);
    return l;
  }
};

TEST_F(Window2Load, WindowOneFileLoadsBackWithItsValues) {
  // Window 1 writes 50 random observations; window 2 loads them as data set 1.
  Window1Model& w1 = app.window1;
  w1.arraySize.Text = "100";
  w1.FindButton("Создать массивы с N=")->Press();
  std::mt19937 rng(5);
  std::uniform_real_distribution<double> jd(2440000, 2460000), lon(0, 360), lat(-89.9, 89.9);
  const int n = 50;
  for (int i = 1; i <= n; ++i) {
    app.Store.ObsJd(i, kSet3) = jd(rng);
    app.Store.ObsLon(i, kSet3) = lon(rng);
    app.Store.ObsLat(i, kSet3) = lat(rng);
  }
  app.Store.ObsLat(7, kSet3) = -0.004;  // a declination just south of the equator
  app.Store.GoodCount = n;
  app.Store.ObservatoryCode = "PARI";
  app.Store.ObjectNumber = 11;
  w1.bdlNamePart.Text = "G_110";
  w1.FindButton("Сохранить данные в формате BDL")->Press();
  ASSERT_TRUE(ui.messages.empty()) << ui.messages[0];
  std::vector<double> wantJd, wantLon, wantLat;
  for (int i = 1; i <= n; ++i) {
    wantJd.push_back(app.Store.ObsJd(i, kSet3));
    wantLon.push_back(app.Store.ObsLon(i, kSet3));
    wantLat.push_back(app.Store.ObsLat(i, kSet3));
  }

  Press("Создать массивы с N=");
  Press("Загрузить в формате BDL");
  ASSERT_TRUE(ui.messages.empty()) << ui.messages[0];
  ASSERT_EQ(f.Count1, n);
  EXPECT_EQ(f.Count3, n);
  EXPECT_EQ(f.lastRow.Text, "50");
  EXPECT_EQ(f.timeScaleName.Text, "UT");
  EXPECT_EQ(f.epochName.Text, "App");
  EXPECT_EQ(f.EpochLabel1, "App");
  EXPECT_EQ(f.outputPrefix.Caption, "PARI11_");
  for (int i = 1; i <= n; ++i) {
    const size_t k = static_cast<size_t>(i - 1);
    // The file truncates seconds of time to 1e-4 s, right ascension to 1e-5 s and
    // declination to 1e-4": the values come back below those steps (plus 1e-5").
    double dt = (wantJd[k] - app.Store.ObsJd(i, kSet1)) * 86400;
    EXPECT_GE(dt, -2e-5) << i;
    EXPECT_LT(dt, 1e-4 + 1e-4) << i;
    EXPECT_NEAR(app.Store.ObsLon(i, kSet1), wantLon[k], (15e-5 + 1e-5) / 3600) << i;
    EXPECT_NEAR(app.Store.ObsLat(i, kSet1), wantLat[k], (1e-4 + 1e-5) / 3600) << i;
    EXPECT_EQ(app.Store.ObsJd(i, kSet3), app.Store.ObsJd(i, kSet1));
  }
  EXPECT_NE(f.set1Pane.Text.find("всего прочитано  50  записей"), std::string::npos);
}

TEST_F(Window2Load, ObservatoryTableAndLatitudeSigns) {
  WriteFile({Line("2000 01 Jan  12 00 00.0000", "-00 30 00.0000"), Line("2000 01 Jan  13 00 00.0000", " 90 00 00.0000"),
             Line("2000 01 Jan  14 00 00.0000", "-05 30 00.0000")});
  Press("Загрузить в формате BDL");
  ASSERT_EQ(f.Count1, 3);
  EXPECT_DOUBLE_EQ(app.Store.ObsLat(1, kSet1), -0.5);
  EXPECT_EQ(app.Store.ObsLat(2, kSet1), 0.0);  // exactly +90 is taken as "no latitude"
  EXPECT_DOUBLE_EQ(app.Store.ObsLat(3, kSet1), -5.5);
  EXPECT_DOUBLE_EQ(app.Store.ObsLon(1, kSet1), 15.0);
  EXPECT_EQ(app.Store.ObsJd(1, kSet1), 2451545.0);
  EXPECT_EQ(f.observatoryLonDeg.Text, "2,337");

  f.observatoryCode.Text = "USNO";
  WriteFile({}, "../ObsUSNO/USNO11_G_110.txt");
  Press("Загрузить в формате BDL");
  EXPECT_EQ(f.observatoryLonDeg.Text, "-77,066");
  EXPECT_EQ(f.observatoryLatDeg.Text, "38,921");
  f.observatoryCode.Text = "pari";  // codes are case-sensitive
  Press("Загрузить в формате BDL");
  EXPECT_EQ(f.observatoryLonDeg.Text, "0");
  EXPECT_EQ(f.observatoryLatDeg.Text, "0");

  // Codes of the MPC's list: a site's place; a space observer's 0, 0 and why, under the
  // refused lines of the folder's observatory files.
  std::filesystem::create_directories(folder / "Obs786");
  std::filesystem::create_directories(folder / "ObsC51");
  f.observatoryCode.Text = "786";
  WriteFile({}, "../Obs786/78611_G_110.txt");
  Press("Загрузить в формате BDL");
  EXPECT_EQ(f.observatoryLonDeg.Text, "-77,0655");
  EXPECT_EQ(f.observatoryLatDeg.Text, "38,9204");
  test::WriteBytes(folder / "Observatories.txt", "PARI     2,337   98,836\r\n");
  f.observatoryCode.Text = "C51";
  WriteFile({}, "../ObsC51/C5111_G_110.txt");
  Press("Загрузить в формате BDL");
  EXPECT_EQ(f.observatoryLonDeg.Text, "0");
  EXPECT_EQ(f.reportPane.Text,
            "Observatories.txt, строка 1: широта вне -90..90\r\n"
            "обсерватория C51: нет координат (космический или подвижный наблюдатель)\r\n"
            "данные забракованные по времени наблюдения\r\n");
}

TEST_F(Window2Load, RejectedTimesAndTheDisplayDay) {
  // The rejected line comes first: the labels are those of the last line read.
  std::string negative = Line("2000 01 Jan  -1 00 00.0000", " 10 00 00.0000");
  WriteFile({negative, Line("1967 01 Jan  20 06 00.0000", " 10 00 00.0000", "J2000", " ET")});
  Press("Загрузить в формате BDL");
  EXPECT_EQ(f.Count1, 1);
  EXPECT_EQ(f.reportPane.Text, "данные забракованные по времени наблюдения\r\n" + negative + "\r\n");
  EXPECT_EQ(f.timeScaleName.Text, "ET");
  EXPECT_EQ(f.epochName.Text, "J2000");
  // 20:06 on the 1st is shown as day 01, not rounded up to 02.
  EXPECT_NE(f.set1Pane.Text.find("1967 01 Jan  20 06 00.0000"), std::string::npos) << f.set1Pane.Text;
}

TEST_F(Window2Load, SecondDataSet) {
  WriteFile({Line("2000 01 Jan  12 00 00.0000", " 10 00 00.0000", "B1950")});
  f.ChooseOption(f.loadIntoSet2);
  Press("Загрузить в формате BDL");
  EXPECT_EQ(f.Count2, 1);
  EXPECT_EQ(f.Count1, 0);
  EXPECT_EQ(f.EpochLabel2, "B1950");
  EXPECT_EQ(app.Store.ObsLat(1, kSet2), 10.0);
  EXPECT_NE(f.set2Pane.Text.find("всего прочитано  1  записей"), std::string::npos);
}

TEST_F(Window2Load, Messages) {
  // With nothing loaded the writer refuses, and writes no all-zero record over a file.
  WriteFile({Line("2000 01 Jan  12 00 00.0000", " 10 00 00.0000")});
  const std::string before = test::ReadBytes(folder / "ObsPARI" / "PARI11_G_110.txt");
  f.outputName.Text = "G_110";
  Press("Записать результат в");
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], "Нет данных для записи: загрузите данные");
  EXPECT_EQ(test::ReadBytes(folder / "ObsPARI" / "PARI11_G_110.txt"), before);
  ui.messages.clear();

  // A load that fails after one that worked leaves set 1 empty: the comparison then
  // refuses instead of running on the records of the file loaded before.
  Press("Загрузить в формате BDL");
  ASSERT_GT(f.Count1, 0);
  f.fileNumber.Text = "999";
  Press("Загрузить в формате BDL");  // no file
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].rfind("Ошибка открытия файла\r\n", 0), 0u);
  EXPECT_NE(ui.messages[0].find("PARI11_G_999.txt"), std::string::npos);
  EXPECT_EQ(f.Count1, 0);
  EXPECT_EQ(f.set1Pane.Text, kNotLoadedText);
  EXPECT_EQ(f.statusLine.Caption, kNotLoadedText);
  Press("Сравнить данные 1 с данными 2");
  EXPECT_EQ(ui.messages.back(), "Надо загрузить данные");
  f.fileNumber.Text = "110";

  {
    std::ofstream out(folder / "ObsPARI" / "PARI11_G_110.txt", std::ios::binary);
    out << "only\r\ntwo\r\n";
  }
  Press("Загрузить в формате BDL");  // a file that ends within its heading lines
  EXPECT_EQ(ui.messages.back().rfind("Ошибка чтения данных из файла\r\n", 0), 0u);

  for (const std::string& bad : {std::string("Moon      2000 01 Jan  12 00 00.0000  UT"),
                                 Line("2000 01 Jan  12 00 00.0000", " 1x 00 00.0000"), std::string("not a BDL line"),
                                 Line("2000 01 Jan  24 00 00.0000", " 10 00 00.0000"),    // no hour of a day
                                 Line("2000 01 Jan  12 00 00.0000", " 10 00 00.1E30")}) {  // an exponent
    WriteFile({Line("2000 01 Jan  12 00 00.0000", " 10 00 00.0000"), bad});
    size_t before = ui.messages.size();
    Press("Загрузить в формате BDL");
    ASSERT_EQ(ui.messages.size(), before + 1);
    EXPECT_EQ(ui.messages.back().rfind("Ошибка чтения данных из файла\r\n", 0), 0u);
    EXPECT_EQ(f.set2Pane.Text, bad);
  }

  // A store of N = 4 takes at most 3 records (short lines keep the file under the size rule).
  f.arraySize.Text = "4";
  Press("Создать массивы с N=");
  auto shortLine = [](const char* date) { return Line(date, " 10 00 00.0000").substr(0, 90); };
  WriteFile({shortLine("2000 01 Jan  12 00 00.0000"), shortLine("2000 01 Jan  13 00 00.0000"),
             shortLine("2000 01 Jan  14 00 00.0000"), shortLine("2000 01 Jan  15 00 00.0000")});
  Press("Загрузить в формате BDL");
  EXPECT_EQ(ui.messages.back(), "увеличьте массивы данных");
  // More than 150 bytes a row: refused before reading.
  f.arraySize.Text = "1";
  Press("Создать массивы с N=");
  Press("Загрузить в формате BDL");
  EXPECT_EQ(ui.messages.back(), "Желательно увеличить размер массива");
}

// A load that stops early keeps exactly the records read before the stop: the counts,
// data sets 1 and 3 and the labels describe them, never the file loaded before.  Lines
// cut after the epoch (137 columns) pass the size rule of 150 bytes a row.
TEST_F(Window2Load, AStoppedLoadKeepsExactlyTheRecordsRead) {
  auto day = [](int d, const std::string& epoch) {
    return Line("2000 " + std::string(d < 10 ? "0" : "") + std::to_string(d) + " Jan  12 00 00.0000", " 10 00 00.0000",
                epoch)
        .substr(0, 137);
  };
  auto jds = [](int from, int to) {
    std::vector<double> out;
    for (int d = from; d <= to; ++d) out.push_back(2451544.0 + d);
    return out;
  };
  f.arraySize.Text = "10";
  Press("Создать массивы с N=");
  WriteFile({day(20, "  App"), day(21, "  App")});
  Press("Загрузить в формате BDL");
  test::ExpectDataSet1(app.Store, jds(20, 21));

  // Ten records for a store of N = 10: the first nine are loaded.
  std::vector<std::string> ten;
  for (int d = 1; d <= 10; ++d) ten.push_back(day(d, "J2000"));
  WriteFile(ten);
  Press("Загрузить в формате BDL");
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], "увеличьте массивы данных");
  test::ExpectDataSet1(app.Store, jds(1, 9));
  EXPECT_EQ(f.lastRow.Text, "9");
  EXPECT_EQ(f.EpochLabel1, "J2000");
  EXPECT_EQ(f.EpochLabel3, "J2000");
  EXPECT_NE(f.set1Pane.Text.find("всего прочитано  9  записей"), std::string::npos);

  // A bad third line: the two records before it are loaded.
  WriteFile({day(1, "B1950"), day(2, "B1950"), "not a BDL line", day(4, "B1950")});
  Press("Загрузить в формате BDL");
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[1].rfind("Ошибка чтения данных из файла\r\n", 0), 0u);
  test::ExpectDataSet1(app.Store, jds(1, 2));
  EXPECT_EQ(f.epochName.Text, "B1950");
  f.ChooseOption(f.loadIntoSet2);
  Press("Загрузить в формате BDL");
  EXPECT_EQ(f.Count2, 2);
  EXPECT_EQ(app.Store.ObsJd(2, kSet2), 2451546.0);
  EXPECT_EQ(f.EpochLabel2, "B1950");
}

TEST_F(Window2Load, WriterPlacesNoteScaleEpochAndRowNumber) {
  WriteFile({Line("2000 01 Jan  12 00 00.0000", "-00 30 00.0000")});
  Press("Загрузить в формате BDL");
  f.epochName.Text = "J2000";
  f.rowInNote.Value = true;
  f.firstRow.Text = "1";
  f.lastRow.Text = "1";
  Press("Записать результат в");
  ASSERT_TRUE(ui.messages.empty()) << ui.messages[0];
  EXPECT_EQ(f.statusLine.Caption,
            "загружено: ObsPARI/PARI11_G_110.txt, 1 записей; записано: ObsPARI/PARI11_RDGLBT_40.txt, 1 записей");
  std::string bytes = test::ReadBytes(folder / "ObsPARI" / "PARI11_RDGLBT_40.txt");
  EXPECT_EQ(bytes.substr(0, 36), "head 0\r\nhead 1\r\nhead 2\r\nhead 3\r\nhead");
  size_t start = bytes.find("Moon");
  ASSERT_NE(start, std::string::npos);
  std::string line = bytes.substr(start, 158);
  EXPECT_EQ(line.substr(0, 90), Line("2000 01 Jan  12 00 00.0000", "-00 30 00.0000").substr(0, 90));
  EXPECT_EQ(line.substr(93, 4), "PARI");
  EXPECT_EQ(line.substr(132, 5), "J2000");
  EXPECT_EQ(line.substr(150, 2), " 1");
  EXPECT_EQ(bytes.substr(start + 158, 2), "\r\n");

  f.lastRow.Text = "500";  // beyond the arrays
  Press("Записать результат в");
  EXPECT_EQ(ui.messages.size(), 1u);
  f.lastRow.Text = "2";  // beyond the records loaded
  Press("Записать результат в");
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[1], "Задайте правильно номера записей: по № не больше числа загруженных записей (1)");
  EXPECT_EQ(test::ReadBytes(folder / "ObsPARI" / "PARI11_RDGLBT_40.txt"), bytes);
  std::filesystem::remove_all(folder / "ObsPARI");
  f.lastRow.Text = "1";
  Press("Записать результат в");
  EXPECT_EQ(ui.messages.back().rfind("Ошибка записи в файл", 0), 0u);
}

// A loaded file is written back with its own times, although the JDs of 21:50:34.4 and
// 13:11:29.0 in 1990 lie 20 and 10 us below them; a changed time is a computed one,
// written truncated as window 2 always wrote dates.
TEST_F(Window2Load, LoadedTimesAreWrittenBackAndChangedTimesTruncated) {
  WriteFile({Line("1990 08 Jan  21 50 34.4000", " 27 20 12.2300"), Line("1990 12 Jan  13 11 29.0000", " 20 52 47.4100")});
  Press("Загрузить в формате BDL");
  f.firstRow.Text = "1";
  f.lastRow.Text = "2";
  const auto times = [this] {
    Press("Записать результат в");
    const std::string bytes = test::ReadBytes(folder / "ObsPARI" / "PARI11_RDGLBT_40.txt");
    std::vector<std::string> out;
    for (size_t p = 0; (p = bytes.find("\r\nMoon", p)) != std::string::npos; ++p) out.push_back(bytes.substr(p + 12, 26));
    return out;
  };
  EXPECT_EQ(times(), (std::vector<std::string>{"1990 08 Jan  21 50 34.4000", "1990 12 Jan  13 11 29.0000"}));
  f.ChooseOption(f.shiftHalfDay);
  f.ChooseOption(f.shiftPlus);
  Press("Изменить время");
  EXPECT_EQ(times(), (std::vector<std::string>{"1990 09 Jan  09 50 34.3999", "1990 13 Jan  01 11 28.9999"}));
  EXPECT_TRUE(ui.messages.empty()) << ui.messages[0];
}

TEST_F(Window2Load, ADateTheCalendarCannotTakeIsSaidBeforeTheWriteError) {
  WriteFile({Line("2000 01 Jan  12 00 00.0000", " 10 00 00.0000")});
  Press("Загрузить в формате BDL");
  app.Store.ObsJd(1, kSet3) = 1e300;
  f.firstRow.Text = "1";
  f.lastRow.Text = "1";
  Press("Записать результат в");
  ASSERT_GE(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[ui.messages.size() - 2], "Введите правильно юлианскую дату");
  EXPECT_EQ(ui.messages.back(), "Ошибка записи в файл\r\n" + PathText(folder / "ObsPARI" / "PARI11_RDGLBT_40.txt"));
  EXPECT_FALSE(std::filesystem::exists(folder / "ObsPARI" / "PARI11_RDGLBT_40.txt")) << "no part of the file is written";
}

// A file of two stations: window 1's MPC import keeps each line's code (columns 78-80)
// and writes it at column 94; windows 2 and 3 load it back per record, and it stays with
// its record through sorting, merging and their writers.  A record without a station of
// its own is written with the observatory code.
TEST_F(Window2Load, EachRecordKeepsItsStationFromImportToTheWrittenFiles) {
  // Column 94 of each observation line of a written file.
  const auto stations = [this](const std::string& name) {
    std::vector<std::string> codes;
    const std::string bytes = test::ReadBytes(folder / "ObsPARI" / name);
    size_t at = 0;
    for (int k = 0; k < 5; ++k) at = bytes.find("\r\n", at) + 2;
    for (; at < bytes.size(); at = bytes.find("\r\n", at) + 2) codes.push_back(bytes.substr(at + 93, 5));
    return codes;
  };
  const auto storeStations = [this](int col, int32_t rows) {
    std::vector<std::string> codes;
    for (int32_t i = 1; i <= rows; ++i) codes.push_back(app.Store.ObsStation(i, col).str());
    return codes;
  };
  using Codes = std::vector<std::string>;
  // Observations at noon of January 4, 1, 2 and 3, 2000, in the MPC layout.
  std::vector<std::string> mpc;
  for (auto [day, code] : {std::pair{"04", "568"}, {"01", "G96"}, {"02", "568"}, {"03", "G96"}}) {
    std::string l = std::string(14, ' ') + "C2000 01 " + day + ".50000001 00 00.000+10 00 00.00";
    l.resize(77, ' ');
    mpc.push_back(l + code);
  }
  {
    std::ofstream out(folder / "FileMPC" / "PARI11_3.txt", std::ios::binary);
    for (const auto& l : mpc) out << l << "\r\n";
  }
  Window1Model& w1 = app.window1;
  Press(w1, "Создать массивы с N=");
  w1.ChooseOption(w1.sourceMpc);
  w1.fileNumber.Text = "3";
  Press(w1, "Загрузить исходные данные из");
  ASSERT_EQ(app.Store.GoodCount, 4);
  EXPECT_EQ(storeStations(kSet3, 4), (Codes{"568", "G96", "568", "G96"}));
  EXPECT_EQ(app.Store.ObserverCode(2, kSet3), "G96");
  w1.bdlNamePart.Text = "G_110";
  Press(w1, "Сохранить данные в формате BDL");
  ASSERT_TRUE(ui.messages.empty()) << ui.messages[0];
  EXPECT_EQ(stations("PARI11_G_110.txt"), (Codes{"568  ", "G96  ", "568  ", "G96  "}));

  // Window 2: set 1 from that file, sorted by date; set 2 a record of 18 h on January 1
  // whose line names no station.
  Press("Загрузить в формате BDL");
  ASSERT_EQ(f.Count1, 4);
  EXPECT_EQ(storeStations(kSet1, 4), (Codes{"568", "G96", "568", "G96"}));
  Press("Упорядочить данные");
  EXPECT_EQ(storeStations(kSet1, 4), (Codes{"G96", "568", "G96", "568"}));
  EXPECT_EQ(storeStations(kSet3, 4), storeStations(kSet1, 4));
  EXPECT_LT(app.Store.ObsJd(1, kSet1), app.Store.ObsJd(2, kSet1));
  std::string unnamed = Line("2000 01 Jan  18 00 00.0000", " 10 00 00.0000");
  unnamed.replace(93, 4, "    ");
  WriteFile({unnamed}, "PARI11_G_111.txt");
  f.ChooseOption(f.loadIntoSet2);
  f.fileNumber.Text = "111";
  Press("Загрузить в формате BDL");
  ASSERT_EQ(f.Count2, 1);
  EXPECT_TRUE(app.Store.ObsStation(1, kSet2).empty());
  Press("Объединить данные 1 и данные 2");
  ASSERT_EQ(f.Count3, 5);
  EXPECT_EQ(storeStations(kSet3, 5), (Codes{"G96", "", "568", "G96", "568"}));
  EXPECT_EQ(app.Store.ObserverCode(2, kSet3), "PARI");
  f.firstRow.Text = "1";
  f.lastRow.Text = "5";
  f.outputName.Text = "S";
  Press("Записать результат в");
  ASSERT_TRUE(ui.messages.empty()) << ui.messages[0];
  EXPECT_EQ(stations("PARI11_S.txt"), (Codes{"G96  ", "PARI ", "568  ", "G96  ", "568  "}));

  // Window 3 loads window 1's file and writes it back with the same stations.
  app.ShowForm("Form4");
  Window3Model& w3 = app.window3;
  Press(w3, "Создать массивы с N=");
  w3.fileNumber.Text = "110";
  Press(w3, "Загрузить в формате BDL");
  ASSERT_EQ(w3.Count1, 4);
  w3.resultFileNumber.Text = "112";
  Press(w3, "Записать результат в файл");
  ASSERT_TRUE(ui.messages.empty()) << ui.messages[0];
  EXPECT_EQ(test::ReadBytes(folder / "ObsPARI" / "PARI11_G_112.txt"),
            test::ReadBytes(folder / "ObsPARI" / "PARI11_G_110.txt"));

  // An import of a source that names no station leaves none, whatever the rows held.
  w1.ChooseOption(w1.sourceDov);
  w1.fileNumber.Text = "1";
  Press(w1, "Загрузить исходные данные из");
  ASSERT_GT(app.Store.GoodCount, 4);
  EXPECT_EQ(storeStations(kSet3, 4), (Codes{"", "", "", ""}));
}

}  // namespace
}  // namespace planova
