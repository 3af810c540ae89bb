// ADES sources: the modern Moon sample in PSV and XML against its MPC twin, the refusals of
// bad files and records, and the uncertainties carried through BDL files.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "app/application.h"
#include "bdl/bdl_file.h"
#include "common/numtext.h"
#include "common/textfile.h"
#include "import/ades_reader.h"
#include "import/source_import.h"
#include "test_support.h"
#include "window2/data_sets.h"

namespace planova {
namespace {

namespace fs = std::filesystem;

// The MPC lines round right ascension to 0.001 s of time and declination to 0.01"; their
// dates are whole microdays, which obsTime holds to 0.1 ms.
constexpr double kMpcRaRoundingDeg = 0.0005 * 15 / 3600;
constexpr double kMpcDecRoundingDeg = 0.005 / 3600;
constexpr double kTimeTolDays = 1e-9;  // a double's JD near 2.46e6 holds 5e-10 day
constexpr float kSampleSigma = 0.1f;   // rmsRA = rmsDec of the sample, arcseconds

std::string Repeated(const std::string& text, int n) {
  std::string r;
  for (int k = 0; k < n; ++k) r += text;
  return r;
}

struct Record {
  double Jd, Ra, Dec;
  std::string Station;
  float SigmaRa, SigmaDec;
};

struct AdesImport : ::testing::Test {
  test::RecordingPlatform ui;
  Application app{ui};
  Window1Model& f = app.window1;
  ObservationStore& store = app.Store;
  fs::path folder;

  void SetUp() override {
    folder = test::FreshFolder(std::string("ades_") + ::testing::UnitTest::GetInstance()->current_test_info()->name(), true);
    ui.SetAppFolder(folder);
    f.arraySize.Text = "400";
    test::PressButton(f, "Создать массивы с N=", ui);
    f.fileNumber.Text = "2";
  }
  std::vector<Record> Import(OptionButton& source) {
    f.ChooseOption(source);
    test::PressButton(f, "Загрузить исходные данные из", ui);
    std::vector<Record> r;
    for (int32_t g = 1; g <= store.GoodCount; ++g) {
      r.push_back({store.ObsJd(g, kSet3), store.ObsLon(g, kSet3), store.ObsLat(g, kSet3), store.ObserverCode(g, kSet3),
                   static_cast<float>(store.SigmaRaArcsec(g, kSet3)), static_cast<float>(store.SigmaDecArcsec(g, kSet3))});
    }
    return r;
  }
};

// Both ADES files give the same records, station and uncertainty included, and these are
// the MPC file's within its rounding; the import says J2000 and UT as for MPC, a Dov import
// after it App and UT again.
TEST_F(AdesImport, SamplePsvAndXmlGiveTheMpcSamplesRecords) {
  const std::vector<Record> mpc = Import(f.sourceMpc);
  ASSERT_EQ(mpc.size(), 120u);
  f.epoch.Text = f.timeScale.Text = "";
  const std::vector<Record> psv = Import(f.sourceAdes);
  EXPECT_EQ(f.epoch.Text, "J2000");
  EXPECT_EQ(f.timeScale.Text, "UT");
  fs::remove(folder / "FileADES" / "PARI11_2.psv");  // the .xml is read when there is no .psv
  const std::vector<Record> xml = Import(f.sourceAdes);
  EXPECT_TRUE(ui.messages.empty()) << ui.messages[0];
  // A Dov import after it gives the window's own marks back: its places are of date.
  f.fileNumber.Text = "1";
  Import(f.sourceDov);
  EXPECT_EQ(f.epoch.Text, "App");
  EXPECT_EQ(f.timeScale.Text, "UT");
  ASSERT_EQ(psv.size(), mpc.size());
  ASSERT_EQ(xml.size(), mpc.size());
  for (size_t k = 0; k < mpc.size(); ++k) {
    const std::string what = "record " + std::to_string(k + 1);
    EXPECT_EQ(psv[k].Jd, xml[k].Jd) << what;
    EXPECT_EQ(psv[k].Ra, xml[k].Ra) << what;
    EXPECT_EQ(psv[k].Dec, xml[k].Dec) << what;
    EXPECT_EQ(psv[k].Station, xml[k].Station) << what;
    EXPECT_EQ(psv[k].Station, mpc[k].Station) << what;
    EXPECT_EQ(psv[k].SigmaRa, kSampleSigma) << what;
    EXPECT_EQ(xml[k].SigmaDec, kSampleSigma) << what;
    EXPECT_EQ(mpc[k].SigmaRa, 0.0f) << what;
    EXPECT_NEAR_WHAT(psv[k].Jd, mpc[k].Jd, kTimeTolDays, what);
    EXPECT_NEAR_WHAT(psv[k].Ra, mpc[k].Ra, kMpcRaRoundingDeg, what);
    EXPECT_NEAR_WHAT(psv[k].Dec, mpc[k].Dec, kMpcDecRoundingDeg, what);
  }
}

// A file the reader refuses reads no record, and the import says why; a record's fault
// refuses that record alone, with its reason.
TEST_F(AdesImport, BadFilesAndRecordsAreRefusedWithTheirReason) {
  const std::string version = "# version=2017\n";
  const std::string keys = "stn|obsTime|ra|dec|rmsRA|rmsDec\n";
  const std::string good = "568|2021-01-01T08:16:12.2304Z|131.25|22.13|0.1|0.1\n";
  struct FileCase {
    std::string text;
    bool xml;
    const char* says;
  };
  const FileCase files[] = {
      {keys + good, false, "# version=2017"},
      {"# version=1999\n" + keys + good, false, "версия ADES"},
      {version + "# observatory\n! mpcCode 568\n", false, "нет записи ключей"},
      {version + good, false, "неизвестное поле"},
      {version + "stn|obsTime|ra|dec|stn\n" + good, false, "повторено"},
      {version + "stn|obsTime|ra\n", false, "нет поля \"dec\""},
      {"<ades><optical/></ades>", true, "<ades version"},
      {"<opticals version=\"2017\"/>", true, "<ades version"},
      {"<ades version=\"2017\">" + Repeated("<a>", 40), true, "глубже"},
      {"<ades version=\"2017\">" + std::string(40, 'a') + "<a><b></a>", true, "испорчен"},
      {"<!DOCTYPE ades [<!ENTITY e \"x\">]><ades version=\"2017\"/>", true, "DTD"},
  };
  for (const FileCase& c : files) {
    int records = 0;
    const AdesRecordSink count = [&records](const AdesRecordTexts&) { ++records; };
    const AdesReadResult r = c.xml ? ReadAdesXml(c.text, count) : ReadAdesPsv(c.text, count);
    EXPECT_FALSE(r.Ok) << c.text;
    EXPECT_NE(r.Message.find(c.says), std::string::npos) << r.Message;
    EXPECT_EQ(records, 0) << c.text;
  }
  // Through the import: the message with the file, nothing read, no rejected-records file.
  f.writeBadRecordsFile.Value = true;
  test::WriteBytes(folder / "FileADES" / "PARI11_2.psv", version + good);
  Import(f.sourceAdes);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_NE(ui.messages[0].find("PARI11_2.psv"), std::string::npos) << ui.messages[0];
  EXPECT_EQ(f.readCount.Text, "0");
  EXPECT_FALSE(fs::exists(folder / "Dat" / "Bad_data_PARI11_G_2.txt"));

  struct RecordCase {
    std::string record;
    const char* reason;  // null: accepted
  };
  const RecordCase records[] = {
      {"568|2021-01-01T08:16:12Z|131.25|22.13||", nullptr},
      {"   |2021-02-28T23:59:59.9999|0|-90|0.5|1e0", "rmsDec не число"},
      {"568|2021-01-01T08:16:12.2304Z|131.25|22.13|0.1", "число полей"},
      {"568|2021-01-01 08:16:12Z|131.25|22.13|0.1|0.1", "obsTime не время ISO 8601"},
      {"568|2021-02-29T00:00:00Z|131.25|22.13|0.1|0.1", "obsTime не время ISO 8601"},
      {"568|2021-01-01T24:00:00Z|131.25|22.13|0.1|0.1", "obsTime не время ISO 8601"},
      {"568|2021-01-01T08:16:12Z|360|22.13|0.1|0.1", "ra вне"},
      {"568|2021-01-01T08:16:12Z|131.25|90.5|0.1|0.1", "dec вне"},
      {"568|2021-01-01T08:16:12Z|1.3e2|22.13|0.1|0.1", "ra не число"},
      {"568|2021-01-01T08:16:12Z|131.25|22.13|0|0.1", "rmsRA или rmsDec"},
      {"568|2021-01-01T08:16:12Z|131.25|22.13|0.1|-0.1", "rmsRA или rmsDec"},
      {"568|2021-01-01T08:16:12Z||22.13|0.1|0.1", "нет obsTime, ra или dec"},
      {"XYZ|2021-01-01T08:16:12Z|131.25|22.13|0.1|0.1", "неизвестный код станции"},
  };
  std::string psv = version + "# observatory\n! mpcCode 007\n" + keys;
  for (const RecordCase& c : records) psv += c.record + "\r\n";
  test::WriteBytes(folder / "FileADES" / "PARI11_2.psv", psv);
  ui.messages.clear();
  Import(f.sourceAdes);
  EXPECT_TRUE(ui.messages.empty()) << ui.messages[0];
  ASSERT_EQ(f.readCount.Text, std::to_string(std::size(records)));
  EXPECT_EQ(f.goodCount.Text, "1");
  EXPECT_EQ(store.ObserverCode(1, kSet3), "568");
  EXPECT_EQ(store.SigmaRaArcsec(1, kSet3), 0.0);  // no rmsRA: unknown
  const std::string bad = Cp1251ToUtf8(test::ReadBytes(folder / "Dat" / "Bad_data_PARI11_G_2.txt"));
  for (size_t k = 0; k < std::size(records); ++k) {
    if (!records[k].reason) continue;
    const std::string entry = Format(static_cast<int32_t>(k + 1), "0000") + "    " + records[k].record + "    <- ";
    EXPECT_NE(bad.find(entry + records[k].reason), std::string::npos) << records[k].record << "\n" << bad;
  }
  // The block's station stands for a record without one.
  AdesRecordTexts blockOnly;
  blockOnly.Field[kAdesObsTime] = "2021-01-01T00:00:00Z";
  blockOnly.Field[kAdesRa] = "1";
  blockOnly.Field[kAdesDec] = "2";
  blockOnly.BlockStation = "007";
  FieldTexts field;
  const RecordValues v = ConvertAdesRecord(blockOnly, field);
  EXPECT_TRUE(v.Accepted);
  EXPECT_EQ(v.Station.str(), "007");
  EXPECT_EQ(v.Jd, 2459215.5);
}

// The uncertainties travel in the BDL tail: window 1 writes them, a load reads them, a
// write of what was loaded gives the same bytes; records without them keep 158 columns.
TEST_F(AdesImport, UncertaintiesRoundTripThroughTheBdlTail) {
  Import(f.sourceAdes);
  ASSERT_EQ(store.GoodCount, 120);
  store.ObsSigmaRa(2, kSet3) = store.ObsSigmaDec(2, kSet3) = 0;  // a record without them
  store.ObsSigmaRa(3, kSet3) = 123456.7f;                         // and wide values
  store.ObsSigmaDec(3, kSet3) = 1.5e-6f;
  f.bdlNamePart.Text = "ades";
  test::PressButton(f, "Сохранить данные в формате BDL", ui);
  const fs::path saved = folder / "ObsPARI" / "PARI11_ades.txt";
  const std::string bytes = test::ReadBytes(saved);
  std::vector<std::string> lines;
  for (size_t p = 0, e; (e = bytes.find("\r\n", p)) != std::string::npos; p = e + 2) lines.push_back(bytes.substr(p, e - p));
  ASSERT_EQ(lines.size(), 5u + 120u);
  EXPECT_EQ(lines[5].substr(kBdlLineLength), " 0.100000 0.100000");
  EXPECT_EQ(lines[6].size(), static_cast<size_t>(kBdlLineLength));
  EXPECT_EQ(lines[7].substr(kBdlLineLength), "   123457 0.000002");

  ObservationStore loaded;
  loaded.Recreate(400);
  BdlState b;
  ASSERT_EQ(LoadBdlFile(saved, loaded, 1, b, CalendarRule::kGregorianFrom1582).Rows, 120);
  EXPECT_EQ(loaded.ObsSigmaRa(1, kSet3), kSampleSigma);
  EXPECT_EQ(loaded.ObsSigmaDec(2, kSet3), 0.0f);
  BdlWriteOptions o;
  o.ObservatoryCode = "PARI";
  o.TimeScale = " UT";
  o.Epoch = "J2000";
  const fs::path again = folder / "again.txt", third = folder / "third.txt";
  ASSERT_EQ(WriteBdlFile(again, loaded, 1, 120, b, CalendarRule::kGregorianFrom1582, o).End, BdlWriteEnd::kWritten);
  ObservationStore reloaded;
  reloaded.Recreate(400);
  ASSERT_EQ(LoadBdlFile(again, reloaded, 1, b, CalendarRule::kGregorianFrom1582).Rows, 120);
  ASSERT_EQ(WriteBdlFile(third, reloaded, 1, 120, b, CalendarRule::kGregorianFrom1582, o).End, BdlWriteEnd::kWritten);
  // The tails (the rest of a line is the BDL writer's own, whose last digit of the time a
  // round trip may move) are the same bytes each time.
  const std::string first = test::ReadBytes(again), second = test::ReadBytes(third);
  for (size_t p = 0, q = 0; p < first.size() && q < second.size();) {
    const size_t e = first.find("\r\n", p), f2 = second.find("\r\n", q);
    ASSERT_NE(e, std::string::npos);
    ASSERT_NE(f2, std::string::npos);
    const std::string a = first.substr(p, e - p), c = second.substr(q, f2 - q);
    EXPECT_EQ(a.size(), c.size()) << a;
    if (a.size() > static_cast<size_t>(kBdlLineLength)) {
      EXPECT_EQ(a.substr(kBdlLineLength), c.substr(kBdlLineLength));
    }
    p = e + 2;
    q = f2 + 2;
  }
  EXPECT_NE(first.find(lines[5].substr(kBdlLineLength) + "\r\n"), std::string::npos);
  EXPECT_NE(first.find(lines[7].substr(kBdlLineLength) + "\r\n"), std::string::npos);

  // Window 2's sort moves each record's uncertainties with it.
  const double jd3 = reloaded.ObsJd(3, kSet1);
  SortByDate(reloaded, 120, false);
  EXPECT_EQ(reloaded.ObsJd(118, kSet3), jd3);
  EXPECT_EQ(reloaded.ObsSigmaRa(118, kSet3), 123457.0f);
  EXPECT_EQ(reloaded.ObsSigmaDec(119, kSet1), 0.0f);

  // A line whose columns beyond 158 hold something else is read as it always was.
  BdlRecord rec;
  ASSERT_TRUE(ReadBdlRecord(b, CalendarRule::kGregorianFrom1582, lines[6] + " remark", rec));
  EXPECT_EQ(rec.SigmaRa, 0.0);
}

}  // namespace
}  // namespace planova
