// Source import of window 1: the sample sources against their truth files (and as old
// Mac files), the record converters on awkward records of old catalogues, the table
// readers (.xls, .xlsx, .ods), the store's capacity, and every message of the import.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <zip.h>

#include <array>

#include <cmath>
#include <fstream>
#include <iomanip>
#include <map>
#include <sstream>

#include "app/application.h"
#include "common/numtext.h"
#include "common/textfile.h"
#include "import/source_import.h"
#include "import/xls_reader.h"
#include "import/zip_workbook.h"
#include "test_support.h"

namespace planova {
namespace {

namespace fs = std::filesystem;
using test::ReadTruth;
using test::RecordingPlatform;
using test::TruthRow;

// The truth files give dates to 1e-8 day and places to 1e-9 degree, as the import must.
constexpr double kJdTol = 1e-8;      // days
constexpr double kAngleTol = 1e-9;   // degrees

const fs::path kTruth = fs::path(PLANOVA_TEST_DATA) / "truth";
const fs::path kXls = fs::path(PLANOVA_TEST_DATA) / "xls";
const fs::path kWorkbooks = fs::path(PLANOVA_TEST_DATA) / "workbooks";

// A zip archive of the given parts (name, content): the workbooks whose edge cases the
// tests write beside what they must read as.
using Parts = std::vector<std::pair<std::string, std::string>>;
void WriteZip(const fs::path& path, const Parts& parts) {
  int error = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  ASSERT_NE(archive, nullptr) << path;
  for (const auto& [name, content] : parts) {
    zip_source_t* source = zip_source_buffer(archive, content.data(), content.size(), 0);
    ASSERT_GE(zip_file_add(archive, name.c_str(), source, ZIP_FL_OVERWRITE), 0) << name;
  }
  ASSERT_EQ(zip_close(archive), 0) << path;
}

// An .xlsx of the given workbook sheets, relationships, shared strings and other parts.
Parts Xlsx(const std::string& sheets, const std::string& rels, const std::string& strings, Parts more) {
  const std::string ns = R"( xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main")";
  const std::string rns = R"( xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships")";
  const std::string pkg = R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)";
  more.push_back({"_rels/.rels", pkg + R"(<Relationship Id="rId1" Target="xl/workbook.xml" )"
                                       R"(Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument"/>)"
                                       "</Relationships>"});
  more.push_back({"xl/workbook.xml", "<workbook" + ns + rns + "><sheets>" + sheets + "</sheets></workbook>"});
  more.push_back({"xl/_rels/workbook.xml.rels", pkg + rels + "</Relationships>"});
  more.push_back({"xl/sharedStrings.xml", "<sst" + ns + ">" + strings + "</sst>"});
  return more;
}
std::string XlsxSheet(const std::string& rows) {
  return R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>)" + rows +
         "</sheetData></worksheet>";
}
const std::string kXlsxRels =
    R"(<Relationship Id="rId1" Target="worksheets/sheet1.xml" )"
    R"(Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet"/>)"
    R"(<Relationship Id="rId9" Target="sharedStrings.xml" )"
    R"(Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings"/>)";
const std::string kXlsxOneSheet = R"(<sheet name="S" sheetId="1" r:id="rId1"/>)";

// An .ods of the given tables (and manifest, when not empty).
Parts Ods(const std::string& tables, const std::string& manifest = "") {
  Parts parts = {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
                 {"content.xml",
                  R"(<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" )"
                  R"(xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" )"
                  R"(xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"><office:body><office:spreadsheet>)" +
                      tables + "</office:spreadsheet></office:body></office:document-content>"}};
  if (!manifest.empty()) {
    parts.push_back({"META-INF/manifest.xml",
                     R"(<manifest:manifest xmlns:manifest="urn:oasis:names:tc:opendocument:xmlns:manifest:1.0">)" +
                         manifest + "</manifest:manifest>"});
  }
  return parts;
}

// Expects the store to hold the truth's accepted records: record i in row i of column 1,
// and the k-th accepted record in row k of column 3.
void ExpectStoreMatchesTruth(const ObservationStore& store, const std::vector<TruthRow>& truth, int body) {
  int good = 0;
  for (const TruthRow& t : truth) {
    if (t.status != "ok" || (body >= 0 && t.body != body)) continue;
    ++good;
    std::string what = "record " + std::to_string(t.record) + " (line " + std::to_string(t.line) + ")";
    EXPECT_NEAR_WHAT(store.ObsJd(t.record, kSet1), t.jd, kJdTol, what + " JD");
    EXPECT_NEAR_WHAT(store.ObsLon(t.record, kSet1), t.ra, kAngleTol, what + " RA");
    EXPECT_NEAR_WHAT(store.ObsLat(t.record, kSet1), t.dec, kAngleTol, what + " Dec");
    EXPECT_EQ(store.ObsJd(good, kSet3), store.ObsJd(t.record, kSet1)) << what;
    EXPECT_EQ(store.ObsLat(good, kSet3), store.ObsLat(t.record, kSet1)) << what;
  }
  EXPECT_EQ(store.GoodCount, good);
}

// Window 1 on a fresh application folder.
struct ImportTest : ::testing::Test {
  RecordingPlatform ui;
  Application app{ui};
  Window1Model& f = app.window1;
  ObservationStore& store = app.Store;
  fs::path folder;

  void UseFolder(bool withSample) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder = test::FreshFolder(std::string("import_") + info->name(), withSample);
    ui.SetAppFolder(folder);
  }
  void Press(const std::string& caption) {
    test::PressButton(f, caption, ui);
  }
  void CreateStore(int n) {
    f.arraySize.Text = std::to_string(n);
    Press("Создать массивы с N=");
  }
  void Import() { Press("Загрузить исходные данные из"); }
  // Writes a source file of the application folder: Windows-1251 lines, CR LF.
  void WriteSource(const std::string& rel, const std::vector<std::string>& lines) {
    TextOutputFile out;
    ASSERT_TRUE(out.Create(folder / rel)) << rel;
    for (const auto& l : lines) out.WriteLine(l);
    ASSERT_TRUE(out.Commit());
  }
  void CopyTable(const std::string& fixture, const std::string& stem = "PARI11_G_1") {
    fs::copy_file(kXls / fixture, folder / "TabPARI" / (stem + ".xls"), fs::copy_options::overwrite_existing);
  }
};

// --- The sample sources --------------------------------------------------------------

TEST_F(ImportTest, DovSampleGivesTheCountsAndPlacesOfItsTruthFile) {
  UseFolder(true);
  CreateStore(3200);
  f.writeBadRecordsFile.Value = true;  // "+FileBad"
  Import();
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(f.readCount.Text, "303");
  EXPECT_EQ(f.goodCount.Text, "300");
  EXPECT_EQ(f.badCount.Text, "3");
  EXPECT_EQ(store.ObjectNumber, 11);
  EXPECT_EQ(store.ObservatoryCode, "PARI");
  EXPECT_EQ(f.bdlNameLabel.Caption, "в файл   PARI11_");
  auto truth = ReadTruth("PARI11_G_1.dov.csv");
  ExpectStoreMatchesTruth(store, truth, -1);

  // Logs: headings, the record text, and an accepted entry with its fixed patterns.
  EXPECT_EQ(f.sourceLog.Text.rfind("исходная запись данных\r\n0001          1990 01 03   20 55 30.2", 0), 0u);
  EXPECT_EQ(f.acceptedLog.Text.rfind("распознанные программой записи\r\n"
                                      "0001    2447895,3718773    003,760208333    005,906816667\r\n", 0), 0u);
  EXPECT_EQ(f.rejectedOrSavedLog.Text.rfind("ЗАБРАКОВАННЫЕ ПРОГРАММОЙ ЗАПИСИ\r\n0165    ", 0), 0u);

  // The rejected-records file: heading, then each record with the fields cut from it.
  const std::string fields165 = "               1995  07  11  21  23  15.4  18  46  56.67" + std::string(14, ' ');
  std::string bad = test::ReadBytes(folder / "Dat" / "Bad_data_PARI11_G_1.txt");
  std::string want = "\r\n" + Utf8ToCp1251("плохие данные в таблице или файлеPARI11_G_1") + "\r\n\r\n" +
                     "0165          1995 07 11   21 23 15.4    18  46  56.67\r\n" + fields165 + "\r\n\r\n";
  EXPECT_EQ(bad.substr(0, want.size()), want);
  size_t entries = 0;
  for (size_t p = 0; (p = bad.find("\r\n\r\n0", p)) != std::string::npos; ++p) ++entries;
  EXPECT_EQ(entries, 3u);
  EXPECT_NE(f.rejectedOrSavedLog.Text.find(Cp1251ToUtf8(fields165)), std::string::npos);

  // Without "+FileBad" the same records are rejected but not counted, and the rejected
  // log holds the record texts alone.
  f.writeBadRecordsFile.Value = false;
  Import();
  EXPECT_EQ(f.readCount.Text, "303");
  EXPECT_EQ(f.goodCount.Text, "300");
  EXPECT_EQ(f.badCount.Text, "0");
  EXPECT_EQ(f.rejectedOrSavedLog.Text.find(Cp1251ToUtf8(fields165)), std::string::npos);
  EXPECT_NE(f.rejectedOrSavedLog.Text.find("0190          1996 01 33"), std::string::npos);
}

// The sample's MPC file holds the Dov sample's observations in the 80-column layout: the
// same places within that layout's precision (a millionth of a day), epoch J2000 for the
// BDL file; lines of other kinds are rejected with their reason.
TEST_F(ImportTest, MpcFileGivesTheDovSamplesPlaces) {
  UseFolder(true);
  CreateStore(3200);
  Import();  // the Dov sample
  std::vector<std::array<double, 3>> dov;
  for (int32_t g = 1; g <= store.GoodCount; ++g) dov.push_back({store.ObsJd(g, kSet3), store.ObsLon(g, kSet3), store.ObsLat(g, kSet3)});
  ASSERT_EQ(dov.size(), 300u);
  f.ChooseOption(f.sourceMpc);  // "File MPC"
  Import();
  EXPECT_TRUE(ui.messages.empty()) << ui.messages[0];
  EXPECT_EQ(f.readCount.Text, "301");  // the Dov file's day 33 is there too, and rejected again
  ASSERT_EQ(store.GoodCount, 300);
  for (int32_t g = 1; g <= 300; ++g) {
    const auto& d = dov[static_cast<size_t>(g - 1)];
    EXPECT_NEAR_WHAT(store.ObsJd(g, kSet3), d[0], 0.5e-6 + 1e-9, "JD of " + std::to_string(g));
    EXPECT_NEAR_WHAT(store.ObsLon(g, kSet3), d[1], 1e-10, "RA of " + std::to_string(g));
    EXPECT_NEAR_WHAT(store.ObsLat(g, kSet3), d[2], 1e-10, "Dec of " + std::to_string(g));
  }
  EXPECT_EQ(f.epoch.Text, "J2000");
  EXPECT_EQ(f.timeScale.Text, "UT");

  const std::string place = "1995 07 11.89137718 46 56.670-05 54 24.54";
  WriteSource("FileMPC/PARI11_2.txt",
              {std::string(14, ' ') + "C" + place, std::string(14, ' ') + "S" + place, std::string(14, ' ') + "s" + place,
               std::string(14, ' ') + "V" + place, std::string(14, ' ') + "R" + place,
               std::string(14, ' ') + "C1995 07 11.891377"});
  f.fileNumber.Text = "2";
  Import();
  EXPECT_EQ(f.readCount.Text, "6");
  EXPECT_EQ(f.goodCount.Text, "1");
  EXPECT_NEAR(store.ObsLat(1, kSet3), -(5 + 54 / 60.0 + 24.54 / 3600), 1e-12);  // the sign of column 45
  for (const char* reason : {"наблюдение со спутника", "вторая строка наблюдения со спутника",
                             "наблюдение подвижного наблюдателя", "радарное наблюдение", "короткая строка"}) {
    EXPECT_NE(f.rejectedOrSavedLog.Text.find(std::string("<- ") + reason), std::string::npos) << reason;
  }
}

TEST_F(ImportTest, ConvertedUsnoCatalogueKeepsSecondsOfSixtyAndMore) {
  // The converter's expected output holds seconds of 60 and more (lines 73, 88, 140,
  // 149); the import adds them as they stand.
  UseFolder(true);
  fs::copy_file(kTruth / "USNO11_G_2.expected.txt", folder / "FileDov" / "USNO11_G_2.txt");
  CreateStore(3200);
  f.observatoryCode.Text = "USNO";
  f.fileNumber.Text = "2";
  Import();
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(f.readCount.Text, "200");
  EXPECT_EQ(f.goodCount.Text, "200");
  ExpectStoreMatchesTruth(store, ReadTruth("USNO_1866_1891.csv"), -1);
  EXPECT_EQ(f.bdlNameLabel.Caption, "в файл   USNO11_");

  // The Julian calendar throughout: 1866 dates fall 12 days later.
  f.ChooseOption(f.calendarJulian);
  double gregorian = store.ObsJd(1, kSet1);
  Import();
  EXPECT_EQ(app.Astro.Calendar(), CalendarRule::kJulian);
  EXPECT_NEAR_WHAT(store.ObsJd(1, kSet1) - gregorian, 12.0, kJdTol, "Julian minus Gregorian in 1866");
}

TEST_F(ImportTest, JplSampleGivesEachBodyItsRecords) {
  UseFolder(true);
  CreateStore(3200);
  f.ChooseOption(f.sourceJpl);
  auto truth = ReadTruth("PARI_1.jpl.csv");
  for (auto [body, count] : {std::pair{11, 60}, {4, 50}, {5, 40}, {7, 1}}) {
    f.objectNumber.Text = std::to_string(body);
    Import();
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(f.readCount.Text, std::to_string(count)) << "body " << body;
    EXPECT_EQ(f.goodCount.Text, std::to_string(count)) << "body " << body;
    EXPECT_EQ(f.badCount.Text, "0");
    if (body != 7) ExpectStoreMatchesTruth(store, truth, body);
  }
  // Each import overwrites the rows it reaches and leaves the rows beyond: after body 7
  // (one record) row 2 still holds Jupiter's second record and row 45 Mars's 45th.
  for (const TruthRow& t : truth) {
    if ((t.body == 5 && t.record == 2) || (t.body == 4 && t.record == 45)) {
      EXPECT_NEAR_WHAT(store.ObsJd(t.record, kSet1), t.jd, kJdTol, "row left from an earlier import");
    }
  }
}

TEST_F(ImportTest, XlsSampleGivesTheSamePlacesInEveryForm) {
  UseFolder(true);
  CreateStore(3200);
  f.ChooseOption(f.sourceExcel);
  auto truth = ReadTruth("PARI11_G_1.xls.csv");
  struct Form {
    const OptionButton& date;
    const OptionButton& lon;
    const OptionButton& lat;
    const char* what;
  };
  for (Form form : {Form{f.dateYmdhms, f.longitudeHms, f.latitudeDms, "YMDHMS HMS DMS"},
                    Form{f.dateYmday, f.longitudeHms, f.latitudeDms, "YMDay HMS DMS"},
                    Form{f.dateJd, f.longitudeDegrees, f.latitudeDegrees, "JD D D"}}) {
    f.ChooseOption(form.date);
    f.ChooseOption(form.lon);
    f.ChooseOption(form.lat);
    store.Recreate(3200);
    Import();
    SCOPED_TRACE(form.what);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(f.readCount.Text, "120");
    EXPECT_EQ(f.goodCount.Text, "120");
    EXPECT_EQ(f.badCount.Text, "0");
    ExpectStoreMatchesTruth(store, truth, -1);
  }
  EXPECT_EQ(f.sourceLog.Text.rfind("исходная запись данных\r\n0001        Moon    1995    1    10    21", 0), 0u);
}

// --- Times written back ------------------------------------------------------------

// Days from 1970 January 1 of a Gregorian date (H. Hinnant's days_from_civil).
int64_t DaysFrom1970(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  return era * 146097 + yoe * 365 + yoe / 4 - yoe / 100 + doy - 719468;
}

// Time in 0.0001 s, the last place of a BDL line.
constexpr int64_t kPerSecond = 10000, kPerMinute = 60 * kPerSecond, kPerHour = 60 * kPerMinute, kPerDay = 24 * kPerHour;

// A decimal text ("30.2", "57,6", "03.871877") times `perUnit`, in exact integers: -1 when
// the text is no plain decimal or the product is no whole number.
int64_t Ticks(std::string_view text, int64_t perUnit) {
  int64_t mantissa = 0, scale = 1;
  bool point = false;
  for (char c : text) {
    if (c == '.' || c == ',') {
      if (point) return -1;
      point = true;
    } else if (c >= '0' && c <= '9') {
      mantissa = mantissa * 10 + (c - '0');
      if (point) scale *= 10;
    } else {
      return -1;
    }
  }
  return mantissa * perUnit % scale == 0 ? mantissa * perUnit / scale : -1;
}

// The time of a source's fields from 1970 January 1.0, in 0.0001 s: year, month, day
// (with its fraction), then hours, minutes and seconds when given; kNoTime when a field is
// no plain decimal.
constexpr int64_t kNoTime = INT64_MIN;
int64_t SourceTicks(const std::vector<std::string>& f) {
  if (f.size() < 3) return kNoTime;
  const int64_t parts[] = {Ticks(f[0], 1), Ticks(f[1], 1), Ticks(f[2], kPerDay),
                           f.size() > 3 ? Ticks(f[3], kPerHour) : 0, f.size() > 4 ? Ticks(f[4], kPerMinute) : 0,
                           f.size() > 5 ? Ticks(f[5], kPerSecond) : 0};
  for (int64_t v : parts) {
    if (v < 0) return kNoTime;
  }
  return (DaysFrom1970(parts[0], parts[1], 1) - 1) * kPerDay + parts[2] + parts[3] + parts[4] + parts[5];
}

// The same of a written BDL line's date and time columns.
int64_t LineTicks(const std::string& line) {
  const std::string months = "JanFebMarAprMayJunJulAugSepOctNovDec";
  const size_t month = months.find(line.substr(18, 3));
  if (month == std::string::npos || month % 3 != 0) return kNoTime;
  return SourceTicks({line.substr(10, 4), std::to_string(month / 3 + 1), line.substr(15, 2), line.substr(23, 2),
                      line.substr(26, 2), line.substr(29, 7)});
}

// The words of a text between blanks.
std::vector<std::string> Words(std::string_view text) {
  std::vector<std::string> out;
  std::istringstream in{std::string(text)};
  for (std::string w; in >> w;) out.push_back(w);
  return out;
}

// The lines of a text, without their CR LF.
std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) {
    if (!l.empty() && l.back() == '\r') l.pop_back();
    out.push_back(l);
  }
  return out;
}

// A source record's time fields as the test reads them from its text: year, month, day
// (with its fraction), and hours, minutes, seconds where the source has them.
using TimeFields = std::vector<std::string> (*)(const std::string& record);
std::vector<std::string> DovTime(const std::string& r) {  // the first six words
  std::vector<std::string> w = Words(r);
  w.resize(std::min<size_t>(w.size(), 6));
  return w;
}
std::vector<std::string> TableTime(const std::string& r) {  // the planet, then six cells
  std::vector<std::string> w = Words(r);
  if (w.size() < 7) return {};
  return {w.begin() + 1, w.begin() + 7};
}
std::vector<std::string> JplTime(const std::string& r) {  // JD x 100000 in columns 5-16
  const int64_t n = Ticks(r.substr(4, 12), 1) - 244058750000;  // from JD 2440587.5, 1970 January 1.0
  char day[32];
  std::snprintf(day, sizeof day, "%lld.%05lld", static_cast<long long>(1 + n / 100000), static_cast<long long>(n % 100000));
  return {"1970", "1", day};
}
std::vector<std::string> MpcTime(const std::string& r) { return Words(r.substr(15, 17)); }  // columns 16-32
std::vector<std::string> AdesTime(const std::string& r) {  // obsTime, "2021-01-01T08:16:12.2304Z"
  for (size_t t = 10; t + 9 < r.size(); ++t) {
    if (r[t] == 'T' && r[t - 3] == '-' && r[t - 6] == '-' && r[t + 3] == ':' && r[t + 6] == ':') {
      const size_t end = r.find('Z', t);
      return {r.substr(t - 10, 4), r.substr(t - 5, 2), r.substr(t - 2, 2), r.substr(t + 1, 2), r.substr(t + 4, 2),
              r.substr(t + 7, end == std::string::npos ? std::string::npos : end - t - 7)};
    }
  }
  return {};
}

// Every sample source imported and written as BDL gives back the time of every record as
// its source wrote it, to the last of the line's 0.0001 s: a Dov time (the Dov sample and
// the converted USNO catalogue, whose carried seconds of 60 and more count on), a JPL
// date in hundred-thousandths of a day, a table's cells, an MPC day to 1e-6 and an ADES
// obsTime (.psv and .xml), each read by the test from the record's text in the source log.
TEST_F(ImportTest, EverySampleSourceIsWrittenWithItsOwnTimes) {
  UseFolder(true);
  CreateStore(3200);
  Press("+/-");  // FileDov/USNO11_G_2.txt from the catalogue
  ASSERT_TRUE(ui.messages.empty()) << ui.messages[0];
  struct Source {
    OptionButton& kind;
    const char* code;
    const char* object;
    const char* number;
    TimeFields fields;
  };
  const Source sources[] = {
      {f.sourceDov, "PARI", "11", "1", DovTime},      {f.sourceDov, "USNO", "11", "2", DovTime},
      {f.sourceJpl, "PARI", "11", "1", JplTime},      {f.sourceJpl, "PARI", "4", "1", JplTime},
      {f.sourceJpl, "PARI", "5", "1", JplTime},       {f.sourceExcel, "PARI", "11", "1", TableTime},
      {f.sourceExcel, "PARI", "11", "2", TableTime},  {f.sourceMpc, "PARI", "11", "1", MpcTime},
      {f.sourceMpc, "PARI", "11", "2", MpcTime},      {f.sourceMpc, "PARI", "4", "2", MpcTime},
      {f.sourceAdes, "PARI", "11", "2", AdesTime},    {f.sourceAdes, "PARI", "11", "2", AdesTime},
  };
  int compared = 0;
  for (const Source& src : sources) {
    const std::string what = std::string(src.code) + src.object + " file " + src.number;
    // The second ADES source is the .xml: the .psv, which is read first, is moved aside.
    if (&src == &sources[std::size(sources) - 1]) fs::rename(folder / "FileADES" / "PARI11_2.psv", folder / "Dat" / "psv");
    f.ChooseOption(src.kind);
    f.observatoryCode.Text = src.code;
    f.objectNumber.Text = src.object;
    f.fileNumber.Text = src.number;
    Import();
    Press("Сохранить данные в формате BDL");
    ASSERT_TRUE(ui.messages.empty()) << what << ": " << ui.messages[0];
    ASSERT_GT(store.GoodCount, 0) << what;

    // The source text of each record, and the records accepted, in their order.
    std::map<int, std::string> record;
    for (const std::string& l : SplitLines(f.sourceLog.Text)) {
      if (l.size() > 8 && l[4] == ' ') record[std::stoi(l.substr(0, 4))] = l.substr(8);
    }
    std::vector<int> accepted;
    for (const std::string& l : SplitLines(f.acceptedLog.Text)) {
      if (l.size() > 8 && l[4] == ' ') accepted.push_back(std::stoi(l.substr(0, 4)));
    }
    const std::vector<std::string> written = SplitLines(test::ReadBytes(
        folder / ("Obs" + std::string(src.code)) / (std::string(src.code) + src.object + "_RDGT_0.txt")));
    ASSERT_EQ(written.size(), accepted.size() + 5) << what;
    int changed = 0;
    for (size_t k = 0; k < accepted.size(); ++k) {
      const std::string& source = record[accepted[k]];
      const int64_t want = SourceTicks(src.fields(source));
      ASSERT_NE(want, kNoTime) << what << ": " << source;
      if (LineTicks(written[k + 5]) != want) {
        ++changed;
        ADD_FAILURE() << what << ": " << source << "\n  written " << written[k + 5].substr(0, 36);
      }
    }
    EXPECT_EQ(changed, 0) << what;
    compared += static_cast<int>(accepted.size());
  }
  EXPECT_EQ(compared, 1670);
}

// --- Capacity --------------------------------------------------------------------------

TEST_F(ImportTest, StoreOfNHoldsNMinusOneRecords) {
  UseFolder(true);
  CreateStore(5);
  f.writeBadRecordsFile.Value = true;
  Import();
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], "увеличьте массив данных");
  EXPECT_EQ(ui.titles[0], "Planova");
  EXPECT_EQ(store.GoodCount, 4);
  auto truth = ReadTruth("PARI11_G_1.dov.csv");
  EXPECT_NEAR_WHAT(store.ObsJd(4, kSet3), truth[3].jd, kJdTol, "fourth record");
  // The boxes and panes were reset at the start and are not filled; the label stays.
  EXPECT_EQ(f.readCount.Text, "0");
  EXPECT_EQ(f.sourceLog.Text, "");
  EXPECT_EQ(f.bdlNameLabel.Caption, "в файл");
}

TEST_F(ImportTest, TableOfNMinusOneRowsImportsWhole) {
  UseFolder(true);
  CopyTable("four_rows.xls");
  f.ChooseOption(f.sourceExcel);
  CreateStore(5);
  Import();
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(f.readCount.Text, "4");
  EXPECT_EQ(f.goodCount.Text, "4");
  auto truth = ReadTruth("PARI11_G_1.xls.csv");
  truth.resize(4);
  ExpectStoreMatchesTruth(store, truth, -1);

  CreateStore(4);
  Import();
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], "увеличьте массив данных");
  EXPECT_EQ(store.GoodCount, 3);
}

TEST_F(ImportTest, ImportBeforeTheStoreExistsAsksForTheArrays) {
  UseFolder(true);
  f.sourceLog.Text = "earlier log";
  const std::pair<const OptionButton*, const char*> sources[] = {
      {&f.sourceDov, "File Dov"}, {&f.sourceJpl, "File JPL"}, {&f.sourceExcel, "table Excel"}};
  for (auto [option, source] : sources) {
    f.ChooseOption(*option);
    Import();
    ASSERT_EQ(ui.messages.size(), 1u) << source;
    EXPECT_EQ(ui.messages[0], "Сначала создайте массивы данных (кнопка \"Создать массивы с N=\")") << source;
    EXPECT_EQ(f.sourceLog.Text, "earlier log") << "nothing was started";
    EXPECT_EQ(store.GoodCount, 0);
    ui.messages.clear();
  }
  EXPECT_FALSE(store.Exists());
}

// --- Messages --------------------------------------------------------------------------

TEST_F(ImportTest, MissingSourcesAndBadSettingsEndWithTheirMessage) {
  UseFolder(true);
  CreateStore(10);
  store.ObsJd(1, kSet1) = 42;
  f.sourceLog.Text = "earlier log";

  f.objectNumber.Text = "одиннадцать";
  Import();
  EXPECT_EQ(ui.messages.back(), "задайте правильно данные: объект наблюдения №");
  EXPECT_EQ(f.sourceLog.Text, "earlier log");  // nothing was started
  f.objectNumber.Text = "11";

  f.fileNumber.Text = "7";
  Import();
  EXPECT_EQ(ui.messages.back(), "Не найден файл  \r\n" + PathText(folder / "FileDov" / "PARI11_G_7.txt"));
  EXPECT_EQ(f.sourceLog.Text, "");
  f.ChooseOption(f.sourceJpl);
  Import();
  EXPECT_EQ(ui.messages.back(), "Не найден файл  \r\n" + PathText(folder / "FileJPL" / "PARI_7.txt"));
  f.ChooseOption(f.sourceExcel);
  Import();
  EXPECT_EQ(ui.messages.back(), "Не найдена таблица  \r\n" + PathText(folder / "TabPARI" / "PARI11_G_7.xls"));

  // A missing folder, and a file with an .xls name that is not a workbook.
  f.observatoryCode.Text = "ZZZZ";
  Import();
  EXPECT_EQ(ui.messages.back(), "Не найдена таблица  \r\n" + PathText(folder / "TabZZZZ" / "ZZZZ11_G_7.xls"));
  f.observatoryCode.Text = "PARI";
  WriteSource("TabPARI/PARI11_G_7.xls", {"Planet;год", "Moon;1995"});
  Import();
  EXPECT_EQ(ui.messages.back(), "Не найдена таблица  \r\n" + PathText(folder / "TabPARI" / "PARI11_G_7.xls"));

  // "+FileBad" without a Dat folder: the rejected-records file cannot be created.
  f.ChooseOption(f.sourceDov);
  f.fileNumber.Text = "1";
  f.writeBadRecordsFile.Value = true;
  fs::remove_all(folder / "Dat");
  Import();
  EXPECT_EQ(ui.messages.back(), "Ошибка записи в файл\r\n" + PathText(folder / "Dat" / "Bad_data_PARI11_G_1.txt"));
  EXPECT_EQ(ui.messages.size(), 7u);
  EXPECT_EQ(store.ObsJd(1, kSet1), 42.0);
  for (bool busy : ui.busyAtMessage) EXPECT_TRUE(busy);
}

// --- Dov and JPL records from files ----------------------------------------------------

const std::string kDovLine = "      1990 01 03   20 55 30.2    00  15  02.45    +05  54  24.54";

// The Dov line with `text` written from 1-based column `col` on.
std::string Put(std::string line, size_t col, const std::string& text) {
  if (line.size() < col - 1 + text.size()) line.resize(col - 1 + text.size(), ' ');
  line.replace(col - 1, text.size(), text);
  return line;
}

TEST_F(ImportTest, DovBadLinesAreRejectedOnceWithoutMessages) {
  UseFolder(true);
  CreateStore(100);
  WriteSource("FileDov/PARI11_G_1.txt",
              {"heading 1", "heading 2",
               kDovLine.substr(0, 40),               // short line
               Put(kDovLine, 38, "1\t"),             // tab in the RA minutes
               Put(kDovLine, 23, "ab"),              // letters in the minutes of time
               Put(kDovLine, 15, "33"),              // day over 32.5
               Put(kDovLine, 7, "9999"),             // a far year, still a date
               Put(kDovLine, 20, "24"),              // hour 24: no hour of a day
               Put(kDovLine, 42, "1E300"),           // an exponent in the RA seconds
               "",                                   // empty line
               kDovLine});
  for (bool fileBad : {true, false}) {
    f.writeBadRecordsFile.Value = fileBad;
    Import();
    EXPECT_TRUE(ui.messages.empty()) << (ui.messages.empty() ? "" : ui.messages[0]);
    EXPECT_EQ(f.readCount.Text, "9");
    EXPECT_EQ(f.goodCount.Text, "2");
    EXPECT_EQ(f.badCount.Text, fileBad ? "7" : "0");
  }
  // The day over 32.5 is rejected before its date is stored.
  EXPECT_EQ(store.ObsJd(4, kSet1), 0.0);
}

TEST_F(ImportTest, DayOverTheLimitIsRejectedExactlyOnce) {
  UseFolder(true);
  CreateStore(10);
  WriteSource("FileDov/PARI11_G_1.txt", {"h1", "h2", Put(kDovLine, 15, "33")});
  for (bool fileBad : {true, false}) {
    f.writeBadRecordsFile.Value = fileBad;
    Import();
    EXPECT_EQ(f.readCount.Text, "1");
    EXPECT_EQ(f.goodCount.Text, "0");
    EXPECT_EQ(f.badCount.Text, fileBad ? "1" : "0");
    EXPECT_EQ(f.rejectedOrSavedLog.Text, "ЗАБРАКОВАННЫЕ ПРОГРАММОЙ ЗАПИСИ\r\n0001    " + Put(kDovLine, 15, "33") + "\r\n" +
                                       (fileBad ? std::string(15, ' ') + "1990  01  33  20  55  30.2  00  15  02.45      +05  54  24.54    \r\n\r\n" : ""));
  }
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ImportTest, JplLinesChooseTheirBodyAndCountOnlyObservations) {
  UseFolder(true);
  CreateStore(100);
  f.ChooseOption(f.sourceJpl);
  const std::string coords = "                 015439308         06071430";
  WriteSource("FileJPL/PARI_1.txt",
              {"h1", "h2", "h3", "h4", "h5",
               "P011245155843970" + coords, "P010245155843970" + coords, " 011245155843970" + coords,
               "P0112451558", "P0x1245155843970" + coords, "P1  245155843970" + coords, ""});
  f.objectNumber.Text = "11";
  Import();
  EXPECT_EQ(f.readCount.Text, "2");  // the line without coordinates is counted and rejected
  EXPECT_EQ(f.goodCount.Text, "1");
  f.objectNumber.Text = "0";
  Import();
  EXPECT_EQ(f.goodCount.Text, "1");
  f.objectNumber.Text = "10";
  Import();
  EXPECT_EQ(f.readCount.Text, "0");
  f.objectNumber.Text = "1";
  Import();
  EXPECT_EQ(f.goodCount.Text, "1");
  EXPECT_TRUE(ui.messages.empty());
}

// MPC lines whose numbers read but hold no possible date or place: each is refused with
// its reason, written after it in the rejected records, and stores nothing; the days and
// parts just inside the limits (leap days of both calendars, 59.999 s) are accepted.
TEST_F(ImportTest, MpcImpossibleDatesAndPartsAreRefusedWithTheirReason) {
  const char* kDay = "нет такого дня в месяце";
  const char* kRa = "прямое восхождение: минуты или секунды вне 0..60";
  const char* kDec = "склонение: минуты или секунды вне 0..60";
  const std::string line = std::string(14, ' ') + "C1995 07 11.89137718 46 56.670-05 54 24.54";
  struct Case {
    std::vector<std::pair<size_t, const char*>> put;  // 1-based columns of the 80-column line
    const char* reason;                               // null: accepted
  };
  const std::vector<Case> cases{
      {{{24, "31.999999"}}, nullptr}, {{{24, "32.700000"}}, kDay}, {{{24, "00.500000"}}, kDay},
      {{{21, "04"}, {24, "31.000000"}}, kDay}, {{{21, "13"}}, "нет такого месяца"},
      {{{21, "02"}, {24, "30.000000"}}, kDay}, {{{16, "1900"}, {21, "02"}, {24, "29.000000"}}, kDay},
      {{{16, "2000"}, {21, "02"}, {24, "29.500000"}}, nullptr},
      {{{16, "1500"}, {21, "02"}, {24, "29.000000"}}, nullptr},  // Julian leap year
      {{{33, "00"}, {36, "60"}, {39, "02.450"}}, kRa}, {{{39, "60.000"}}, kRa}, {{{36, "59"}, {39, "59.999"}}, nullptr},
      {{{49, "60"}}, kDec}, {{{52, "99.99"}}, kDec}, {{{49, "59"}, {52, "59.99"}}, nullptr},
  };
  std::vector<std::string> lines;
  for (const Case& c : cases) {
    lines.push_back(line);
    for (const auto& [column, text] : c.put) lines.back() = Put(lines.back(), column, text);
  }
  UseFolder(true);
  CreateStore(100);
  f.ChooseOption(f.sourceMpc);
  f.writeBadRecordsFile.Value = true;
  WriteSource("FileMPC/PARI11_1.txt", lines);
  Import();
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(f.readCount.Text, std::to_string(cases.size()));
  const std::string bad = Cp1251ToUtf8(test::ReadBytes(folder / "Dat" / "Bad_data_PARI11_G_1.txt"));
  for (size_t k = 0; k < cases.size(); ++k) {
    const int32_t i = static_cast<int32_t>(k + 1);
    const std::string entry = Format(i, "0000") + "    " + lines[k] + "    <- ";
    if (!cases[k].reason) {
      EXPECT_EQ(bad.find(entry), std::string::npos) << lines[k];
      continue;
    }
    EXPECT_NE(bad.find(entry + cases[k].reason + "\r\n"), std::string::npos) << lines[k];
    EXPECT_EQ(store.ObsJd(i, kSet1), 0.0) << lines[k];
    EXPECT_EQ(store.ObsLon(i, kSet1), 0.0) << lines[k];
  }
  EXPECT_EQ(f.goodCount.Text, "5");
}

// Old Mac files end their lines with a CR alone: the sample MPC, Dov and JPL files so
// written import every record as their CR LF originals do, to the same logs.
TEST_F(ImportTest, CrOnlyFilesImportAsTheirCrLfOriginals) {
  UseFolder(true);
  CreateStore(3200);
  f.writeBadRecordsFile.Value = true;
  for (auto [source, rel] : {std::pair{&f.sourceMpc, "FileMPC/PARI11_1.txt"}, {&f.sourceDov, "FileDov/PARI11_G_1.txt"},
                             {&f.sourceJpl, "FileJPL/PARI_1.txt"}}) {
    f.ChooseOption(*source);
    Import();
    const std::string logs = f.sourceLog.Text + f.acceptedLog.Text + f.rejectedOrSavedLog.Text;
    const std::string bad = test::ReadBytes(folder / "Dat" / "Bad_data_PARI11_G_1.txt");
    const std::string good = f.goodCount.Text;
    std::string bytes = test::ReadBytes(folder / rel);
    for (size_t p = 0; (p = bytes.find("\r\n", p)) != std::string::npos;) bytes.erase(p + 1, 1);
    ASSERT_TRUE(WriteFileAtomically(folder / rel, bytes));
    Import();
    EXPECT_GE(std::stoi(good), 60) << rel;
    EXPECT_EQ(f.goodCount.Text, good) << rel;
    EXPECT_EQ(f.sourceLog.Text + f.acceptedLog.Text + f.rejectedOrSavedLog.Text, logs) << rel;
    EXPECT_EQ(test::ReadBytes(folder / "Dat" / "Bad_data_PARI11_G_1.txt"), bad) << rel;
  }
  EXPECT_TRUE(ui.messages.empty());
}

// --- Tables through the workbook reader ------------------------------------------------

TEST_F(ImportTest, TableEdgeRowsAndSeparatorChoice) {
  UseFolder(true);
  CopyTable("edge_rows.xls");
  CreateStore(100);
  f.ChooseOption(f.sourceExcel);
  f.writeBadRecordsFile.Value = true;
  Import();
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(f.readCount.Text, "5");  // row 7 is empty: row 8 is never read
  EXPECT_EQ(f.goodCount.Text, "2");
  EXPECT_EQ(f.badCount.Text, "3");
  // Row 2: 2h 48m 44.096s and -0 30' 0".
  EXPECT_NEAR_WHAT(store.ObsLat(1, kSet1), -0.5, kAngleTol, "declination -0 30 0");
  EXPECT_NEAR_WHAT(store.ObsLon(1, kSet1), (2 + 48 / 60.0 + 44.096 / 3600) * 15, kAngleTol, "RA 2 48 44.096");
  // Row 3: 1995 January 10 + 24h 61m 75s; 1995 January 10.0 is JD 2449727.5.
  EXPECT_NEAR_WHAT(store.ObsJd(2, kSet1), 2449727.5 + (24 + 61 / 60.0 + 75 / 3600.0) / 24, kJdTol, "hours 24");
  EXPECT_NEAR_WHAT(store.ObsLon(2, kSet1), 15.0, kAngleTol, "HMS 1 0 0");
  EXPECT_NEAR_WHAT(store.ObsLat(2, kSet1), 10.0, kAngleTol, "+10 0 0");
  // Rejected rows carry the Cyrillic planet cell into the Windows-1251 file.
  std::string bad = test::ReadBytes(folder / "Dat" / "Bad_data_PARI11_G_1.txt");
  EXPECT_NE(bad.find("0003        " + Utf8ToCp1251("Луна") + "    1996    1    33"), std::string::npos);
  EXPECT_NE(f.rejectedOrSavedLog.Text.find("0005        Луна    1995    1    10    21    31    12.5"), std::string::npos);

  f.ChooseOption(f.separatorPoint);  // "точка": "12.5" is twelve and a half seconds
  Import();
  EXPECT_EQ(f.goodCount.Text, "3");
  EXPECT_NEAR_WHAT(store.ObsJd(5, kSet1), 2449727.5 + (21 + 31 / 60.0 + 12.5 / 3600) / 24, kJdTol, "seconds 12.5");
}

TEST_F(ImportTest, TablesWithoutDataGiveZeroCounts) {
  UseFolder(true);
  CreateStore(100);
  f.ChooseOption(f.sourceExcel);
  for (const char* fixture : {"blank_b2.xls", "empty.xls"}) {
    CopyTable(fixture);
    Import();
    EXPECT_TRUE(ui.messages.empty()) << fixture;
    EXPECT_EQ(f.readCount.Text, "0") << fixture;
    EXPECT_EQ(f.goodCount.Text, "0") << fixture;
    EXPECT_EQ(f.sourceLog.Text, "исходная запись данных\r\n") << fixture;
    EXPECT_EQ(f.acceptedLog.Text, "распознанные программой записи\r\n") << fixture;
    EXPECT_EQ(f.rejectedOrSavedLog.Text, "ЗАБРАКОВАННЫЕ ПРОГРАММОЙ ЗАПИСИ\r\n") << fixture;
  }
}

TEST_F(ImportTest, WorkbooksImportAsTheXlsDoesToTheSameBdlBytes) {
  // The spreadsheet sample as openpyxl's .xlsx (the sample tree's PARI11_G_2.xlsx), as
  // LibreOffice's .xlsx and as .ods: the same counts, logs and BDL file as the .xls in
  // the date forms "YMDHMS" and "YMDay".  (Not in "JD": both writers round the sample's
  // 17-digit Julian dates to 16 or 15 digits, some of them the other way from the .xls
  // reader's 15-digit text; see scripts/make_workbook_fixtures.sh.)
  UseFolder(true);
  fs::copy_file(kWorkbooks / "sample_libreoffice.xlsx", folder / "TabPARI" / "PARI11_G_3.xlsx");
  fs::copy_file(kWorkbooks / "sample.ods", folder / "TabPARI" / "PARI11_G_4.ods");
  // .xls comes first, then .xlsx, then .ods: these are never read.
  fs::copy_file(kWorkbooks / "cells.ods", folder / "TabPARI" / "PARI11_G_1.xlsx");
  fs::copy_file(kWorkbooks / "cells.ods", folder / "TabPARI" / "PARI11_G_3.ods");
  CreateStore(3200);
  f.ChooseOption(f.sourceExcel);
  f.writeBadRecordsFile.Value = true;
  const std::pair<const OptionButton*, const char*> forms[] = {{&f.dateYmdhms, "YMDHMS"}, {&f.dateYmday, "YMDay"}};
  for (auto [option, form] : forms) {
    f.ChooseOption(*option);
    std::string logs, bdl;
    for (const char* number : {"1", "2", "3", "4"}) {
      SCOPED_TRACE(std::string(form) + " file " + number);
      f.fileNumber.Text = number;
      Import();
      EXPECT_TRUE(ui.messages.empty());
      EXPECT_EQ(f.readCount.Text + " " + f.goodCount.Text + " " + f.badCount.Text, "120 120 0");
      f.bdlNamePart.Text = std::string("G_10") + number;
      Press("Сохранить данные в формате BDL");
      const std::string got = test::ReadBytes(folder / "ObsPARI" / ("PARI11_G_10" + std::string(number) + ".txt"));
      // The panes, up to the write report that names each file.
      const std::string& pane3 = f.rejectedOrSavedLog.Text;
      const std::string gotLogs = f.acceptedLog.Text + pane3.substr(0, pane3.rfind("записано"));
      if (bdl.empty()) {
        bdl = got;
        logs = gotLogs;
        ASSERT_GT(bdl.size(), 120u * 158);
      }
      EXPECT_EQ(got, bdl);
      EXPECT_EQ(gotLogs, logs);
    }
  }
}

TEST_F(ImportTest, WorkbooksThatCannotBeReadSayWhy) {
  UseFolder(true);
  CreateStore(10);
  f.ChooseOption(f.sourceExcel);
  f.fileNumber.Text = "7";
  const std::string strictRels =
      R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" )"
      R"(Type="http://purl.oclc.org/ooxml/officeDocument/relationships/officeDocument" Target="xl/workbook.xml"/>)"
      "</Relationships>";
  // An encrypted .xlsx: an OLE compound file whose directory names an EncryptionInfo stream.
  std::string compound("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
  compound.resize(512 + 128, '\0');
  for (char c : std::string("EncryptionInfo")) compound += {c, '\0'};
  const std::string notZip = "Таблица не читается: это не книга .xlsx или .ods  ";
  const std::string encrypted = "Таблица защищена паролем: сохраните ее без пароля  ";
  const std::string noSheet = "В таблице нет ни одного листа  ";
  const std::string damaged = "Таблица повреждена и не читается  ";
  const std::string tooLarge = "Книга слишком велика (предел 32 МБ)  ";
  // Workbooks of a few kilobytes that would expand a thousandfold: 100-kB shared strings
  // in 400 cells, 600 runs of 65536 spaces, and entities of a document type declaration.
  std::string reuse, spaces, laughs = "<!DOCTYPE worksheet [<!ENTITY a \"" + std::string(1000, 'a') + "\">";
  for (int k = 0; k < 400; ++k) reuse += R"(<c r="A)" + std::to_string(k + 1) + R"(" t="s"><v>0</v></c>)";
  for (int k = 0; k < 600; ++k) spaces += R"(<text:s text:c="65536"/>)";
  for (char e = 'b'; e <= 'h'; ++e) {
    std::string tenfold;
    for (int k = 0; k < 10; ++k) tenfold += std::string("&") + static_cast<char>(e - 1) + ";";
    laughs += std::string("<!ENTITY ") + e + " \"" + tenfold + "\">";
  }
  laughs += "]>";
  const std::string stringBomb = "<si><t>" + std::string(100000, 'x') + "</t></si>";
  struct Case {
    const char* ext;
    Parts parts;        // a zip of these parts, or
    std::string bytes;  // these bytes
    std::string message;
  };
  const Case cases[] = {
      {".xlsx", {}, "Planet;год\r\nMoon;1995\r\n", notZip},
      {".ods", {}, std::string(compound, 0, 512), notZip},  // an .xls under another name
      {".xlsx", {{"readme.txt", "a zip, not a workbook"}}, "", notZip},
      {".xlsx", {}, compound, encrypted},
      {".ods", Ods("<table:table/>", R"(<manifest:file-entry manifest:full-path="content.xml">)"
                                     "<manifest:encryption-data/></manifest:file-entry>"), "", encrypted},
      {".xlsx", {{"_rels/.rels", strictRels}}, "",
       "Таблица в формате Strict Open XML: сохраните ее как книгу Excel (.xlsx)  "},
      {".xlsx", Xlsx("", kXlsxRels, "", {}), "", noSheet},
      {".xlsx", Xlsx(kXlsxOneSheet, "", "", {}), "", noSheet},  // the sheet's relationship is missing
      {".ods", Ods(""), "", noSheet},
      {".xlsx", Xlsx(kXlsxOneSheet, kXlsxRels, "", {{"xl/worksheets/sheet1.xml", "<worksheet><sheetData>"}}), "",
       damaged},
      {".xls", {}, std::string(compound, 0, 512), damaged},  // a compound file cut short
      {".xlsx", Xlsx(kXlsxOneSheet, kXlsxRels, stringBomb, {{"xl/worksheets/sheet1.xml", XlsxSheet(reuse)}}), "",
       tooLarge},
      {".ods", Ods(R"(<table:table><table:table-row><table:table-cell><text:p>)" + spaces +
                   "</text:p></table:table-cell></table:table-row></table:table>"), "", tooLarge},
      {".xlsx", Xlsx(kXlsxOneSheet, kXlsxRels, "", {{"xl/worksheets/sheet1.xml", laughs + XlsxSheet("&h;")}}), "",
       damaged},
  };
  rusage before{};
  ::getrusage(RUSAGE_SELF, &before);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message + c.ext);
    const fs::path path = folder / "TabPARI" / (std::string("PARI11_G_7") + c.ext);
    if (c.parts.empty()) {
      test::WriteBytes(path, c.bytes);
    } else {
      WriteZip(path, c.parts);
    }
    ui.messages.clear();
    Import();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], c.message + "\r\n" + PathText(path));
    EXPECT_EQ(f.readCount.Text, "0");
    EXPECT_LT(fs::file_size(path), 10000u);
    fs::remove(path);
  }
  // None of them took more than 100 MB on the way (the peak, in kilobytes).  AddressSanitizer
  // keeps freed blocks in its quarantine and shadows every byte, so the figure means nothing
  // in the sanitized build.
  rusage after{};
  ::getrusage(RUSAGE_SELF, &after);
#if defined(__SANITIZE_ADDRESS__)
  (void)after;
#else
  EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 100 * 1024);
#endif
}

TEST(ZipWorkbook, CellsOfXlsxAndOds) {
  const fs::path dir = test::FreshFolder("zip_workbook_cells", false);
  using Cells = std::vector<std::pair<const char*, const char*>>;
  struct Case {
    const char* name;
    Parts parts;
    Cells cells;
  };
  // .xlsx: the first sheet listed (not the first relationship), shared strings with rich
  // runs and a phonetic run, inline strings, booleans, errors, formulas' values, cells and
  // rows without their reference, rows out of order.
  const std::string sheets = R"(<sheet name="Data" sheetId="2" r:id="rId1"/><sheet name="Other" sheetId="1" r:id="rId2"/>)";
  const std::string rels = kXlsxRels + R"(<Relationship Id="rId2" Target="/xl/worksheets/other.xml" )"
                                       R"(Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet"/>)";
  const std::string strings = "<si><t>Луна</t></si><si><r><t>+1</t></r><r><rPr/><t>6</t></r><rPh><t>x</t></rPh></si>";
  const std::string rows =
      R"(<row r="5"><c r="A5"><v>5</v></c></row>)"
      R"(<row r="2"><c r="A2" t="s"><v>0</v></c><c r="B2"><v>1995</v></c><c r="C2" t="s"><v>1</v></c>)"
      R"(<c r="D2" t="inlineStr"><is><t xml:space="preserve"> a  b </t></is></c><c r="E2" t="b"><v>1</v></c>)"
      R"(<c r="F2" t="e"><v>#DIV/0!</v></c><c r="G2"><f>O2</f><v>2449728.3971944442</v></c>)"
      R"(<c r="H2" t="str"><f>A2</f><v>Луна</v></c><c><v>-12.5</v></c><c r="K2" t="s"><v>9</v></c></row>)"
      R"(<row><c><v>1E+16</v></c><c r="C3" s="1"/></row>)";
  Parts xlsx = Xlsx(sheets, rels, strings,
                    {{"xl/worksheets/sheet1.xml", XlsxSheet(rows)},
                     {"xl/worksheets/other.xml", XlsxSheet(R"(<row r="1"><c r="A1"><v>99</v></c></row>)")}});
  // .ods: repeated columns and rows, texts with text:s, spans, several paragraphs and an
  // annotation, header rows, dates, times and booleans, and a second table not read.
  const std::string table =
      R"(<table:table><table:table-column table:number-columns-repeated="5"/><table:table-header-rows>)"
      R"(<table:table-row><table:table-cell office:value-type="string"><text:p>Луна</text:p></table:table-cell>)"
      R"(<table:table-cell table:number-columns-repeated="3" office:value-type="float" office:value="0.5"/>)"
      R"(<table:table-cell table:number-columns-repeated="16379"/>)"
      R"(<table:table-cell office:value-type="float" office:value="1"/><table:table-cell office:value-type="float" office:value="2"/>)"
      R"(</table:table-row></table:table-header-rows>)"
      R"(<table:table-row table:number-rows-repeated="1000000"><table:table-cell office:value-type="float" office:value="7"/>)"
      R"(</table:table-row><table:table-row><table:table-cell office:value-type="string"><text:p>  a<text:s text:c="2"/>b)"
      R"(  <text:span>c</text:span> </text:p><office:annotation><text:p>note</text:p></office:annotation>)"
      R"(<text:p>d<text:tab/>e<text:s/></text:p></table:table-cell><table:covered-table-cell/>)"
      R"(<table:table-cell office:value-type="date" office:date-value="1995-01-10T12:00:00"/>)"
      R"(<table:table-cell office:value-type="time" office:time-value="PT21H00M00S"/>)"
      R"(<table:table-cell office:value-type="boolean" office:boolean-value="true"/>)"
      R"(<table:table-cell office:value-type="percentage" office:value="0.25"><text:p>25%</text:p></table:table-cell>)"
      R"(</table:table-row></table:table><table:table><table:table-row><table:table-cell office:value-type="float" )"
      R"(office:value="99"/></table:table-row></table:table>)";
  const Case cases[] = {
      {"edges.xlsx", xlsx,
       {{"A2", "Луна"}, {"B2", "1995"}, {"C2", "+16"}, {"D2", " a  b "}, {"E2", "1"}, {"F2", ""},
        {"G2", "2449728,39719444"}, {"H2", "Луна"}, {"I2", "-12,5"}, {"J2", ""}, {"K2", ""}, {"A3", "1E+16"},
        {"C3", ""}, {"A5", "5"}, {"A4", ""}, {"A1", ""}, {"B", ""}}},
      {"edges.ods", Ods(table),
       {{"A1", "Луна"}, {"B1", "0,5"}, {"D1", "0,5"}, {"E1", ""}, {"XFD1", "1"}, {"A2", "7"}, {"A1000001", "7"},
        {"B2", ""}, {"A1000002", "a  b c\nd\te "}, {"B1000002", ""}, {"C1000002", "34709,5"},
        {"D1000002", "0,875"}, {"E1000002", "1"}, {"F1000002", "0,25"}, {"A1000003", ""}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteZip(dir / c.name, c.parts);
    ZipWorkbook book;
    ASSERT_TRUE(book.Open(dir / c.name));
    ASSERT_TRUE(book.SelectFirstSheet());
    for (auto [address, text] : c.cells) EXPECT_EQ(book.CellText(address), text) << address;
  }

  // LibreOffice's .ods of the .xls reader's own fixture reads cell for cell as FreeXL
  // reads the .xls.
  FreeXlWorkbook xls;
  ZipWorkbook ods;
  ASSERT_TRUE(xls.Open(kXls / "cells.xls") && xls.SelectFirstSheet());
  ASSERT_TRUE(ods.Open(kWorkbooks / "cells.ods") && ods.SelectFirstSheet());
  for (int row = 1; row <= 4; ++row) {
    for (char column = 'A'; column <= 'L'; ++column) {
      const std::string address = column + std::to_string(row);
      EXPECT_EQ(ods.CellText(address), xls.CellText(address)) << address;
    }
  }
}

TEST(XlsReader, CellsAsTextFromTheFirstSheet) {
  FreeXlWorkbook book;
  EXPECT_FALSE(book.Open(kXls / "missing.xls"));
  EXPECT_FALSE(book.Open(kXls / "make_fixtures.py"));
  ASSERT_TRUE(book.Open(kXls / "cells.xls"));
  ASSERT_TRUE(book.SelectFirstSheet());
  const std::pair<const char*, const char*> cells[] = {
      {"A1", "Planet"}, {"A2", "Луна"},  {"B2", "1995"}, {"C2", "12,5"}, {"D2", "12.5"},
      {"E2", "-0,25"},  {"F2", "2449728,39719444"},       {"G2", ""},     {"H2", "1E+16"},
      {"I2", "-0"},     {"K2", "0"},     {"b2", "1995"}, {"Z99", ""},    {"B", ""},
      {"2", ""},        {"", ""},        {"AAAA2", ""},  {"XFD1048576", ""}};
  for (auto [address, text] : cells) EXPECT_EQ(book.CellText(address), text) << address;
  book.Close();
  EXPECT_EQ(book.CellText("B2"), "");
}

TEST(XlsReader, CellAddresses) {
  uint32_t row = 0, column = 0;
  ASSERT_TRUE(ParseCellAddress("AA17", row, column));
  EXPECT_EQ(row, 16u);
  EXPECT_EQ(column, 26u);
  for (const char* bad : {"B0", "B2x", " B2", "XFE1", "B99999999", "В2" /* Cyrillic */}) {
    EXPECT_FALSE(ParseCellAddress(bad, row, column)) << bad;
  }
}

// --- Table rows through a sheet of the test's own -------------------------------------

class FakeSheet : public Workbook {
 public:
  std::map<std::string, std::string> cells;
  int rowsWithData = 0;  // every row up to this one holds "1" in every cell not set
  bool Open(const fs::path&) override { return true; }
  bool SelectFirstSheet() override { return true; }
  std::string CellText(std::string_view address) override {
    auto it = cells.find(std::string(address));
    if (it != cells.end()) return it->second;
    uint32_t row = 0, column = 0;
    return ParseCellAddress(address, row, column) && static_cast<int>(row) < rowsWithData ? "1" : "";
  }
  void Close() override {}
  // Row `row` from column A on.
  void Row(int row, const std::vector<std::string>& values) {
    for (size_t k = 0; k < values.size(); ++k) cells[std::string(1, static_cast<char>('A' + k)) + std::to_string(row)] = values[k];
  }
};

struct TableTest : ::testing::Test {
  RecordingPlatform ui;
  ObservationStore store;
  FakeSheet sheet;
  ImportSettings s;

  TableTest() {
    s.AppFolder = test::FolderForThisTest("import_table_");
    s.ObservatoryCode = "PARI";
    s.ObjectNumberText = "11";
    s.FileNumber = "1";
    s.Source = SourceKind::kTable;
    for (int k = 0; k < 17; ++k) s.ColumnLetters[static_cast<size_t>(k)] = std::string(1, static_cast<char>('A' + k));
    store.Recreate(100);
  }
  ImportResult Run() { return RunSourceImport(s, store, sheet); }
};

TEST_F(TableTest, LongitudeAndLatitudeForms) {
  //                 A       B       C    D     E    F    G    H    I    J    K     L     M    N       O            P        Q
  sheet.Row(2, {"Moon", "1995", "1", "10", "0", "0", "0", "1", "0", "0", "-0", "30", "0", "10,5", "2449728", "-10.5", "0,5"});
  sheet.Row(3, {"Moon", "1995", "1", "10", "0", "0", "0", "1", "0", "0", "30", "0", "0", "10,5", "2449728", "-", "-"});
  Run();
  EXPECT_NEAR_WHAT(store.ObsLon(1, kSet1), 15.0, kAngleTol, "HMS 1 0 0");
  EXPECT_NEAR_WHAT(store.ObsLat(1, kSet1), -0.5, kAngleTol, "DMS -0 30 0");
  EXPECT_NEAR_WHAT(store.ObsJd(1, kSet1), 2449727.5, kJdTol, "1995 January 10.0");

  s.Table.Longitude = LongitudeForm::kDms;
  s.Table.LatitudeFromPole = true;
  Run();  // row 2 only: "-0 30 0" from the pole would be 90.5 degrees
  EXPECT_EQ(store.GoodCount, 1);
  EXPECT_NEAR_WHAT(store.ObsLon(2, kSet1), 1.0, kAngleTol, "DMS 1 0 0");
  EXPECT_NEAR_WHAT(store.ObsLat(2, kSet1), 60.0, kAngleTol, "polar distance 30 0 0");

  // Decimal degrees; "-" in a decimal cell leaves the row's earlier value in place,
  // untouched by the polar-distance rule too.
  s.Table.Longitude = LongitudeForm::kDegrees;
  s.Table.LatitudeDegrees = true;
  s.Table.Date = DateForm::kYmday;
  store.ObsLon(2, kSet1) = 123.0;
  store.ObsLat(2, kSet1) = -7.0;
  Run();
  EXPECT_NEAR_WHAT(store.ObsLon(1, kSet1), 349.5, kAngleTol, "D -10.5");
  EXPECT_NEAR_WHAT(store.ObsLat(1, kSet1), 89.5, kAngleTol, "D 0,5 from the pole");
  EXPECT_NEAR_WHAT(store.ObsJd(1, kSet1), 2449728.0, kJdTol, "YMDay 10,5");
  EXPECT_EQ(store.ObsLon(2, kSet1), 123.0);
  EXPECT_EQ(store.ObsLat(2, kSet3), -7.0);
  EXPECT_EQ(store.GoodCount, 2);
}

TEST_F(TableTest, ParameterChoiceLeavesTheOtherCoordinate) {
  sheet.Row(2, {"Moon", "1995", "1", "10", "21", "31", "57,6", "2", "48", "44,096", "+16", "2", "0,38"});
  store.ObsLon(1, kSet1) = 111.0;
  store.ObsLat(1, kSet1) = 22.0;
  s.Table.Param = Parameter::kRa;
  Run();
  EXPECT_EQ(store.ObsLat(1, kSet1), 22.0);
  EXPECT_EQ(store.ObsLat(1, kSet3), 22.0);
  EXPECT_NE(store.ObsLon(1, kSet1), 111.0);
  store.ObsLon(1, kSet1) = 111.0;
  s.Table.Param = Parameter::kDec;
  Run();
  EXPECT_EQ(store.ObsLon(1, kSet1), 111.0);
  EXPECT_NEAR_WHAT(store.ObsLat(1, kSet1), 16 + 2 / 60.0 + 0.38 / 3600, kAngleTol, "+16 2 0.38");
}

TEST_F(TableTest, ColumnLettersMoveTheFieldsAndNegativeTimePartsCountBack) {
  // Year in column S instead of B; column B still marks the data as present.
  sheet.Row(2, {"Moon", "x", "1", "10", "0", "-30", "0", "0", "0", "0", "0", "0", "0"});
  sheet.cells["S2"] = "1995";
  s.ColumnLetters[1] = "S";
  s.ColumnLetters[13] = "";  // a field the date form does not use
  ImportResult r = Run();
  EXPECT_EQ(r.End, ImportEnd::kFinished);
  ASSERT_EQ(store.GoodCount, 1);
  EXPECT_NEAR_WHAT(store.ObsJd(1, kSet1), 2449727.5 - 0.5 / 24, kJdTol, "minus 30 minutes");
}

TEST_F(TableTest, ASheetThatNeverEndsStopsAtTheCapacity) {
  sheet.rowsWithData = 1000000;
  store.Recreate(50);
  ImportResult r = Run();
  EXPECT_EQ(r.End, ImportEnd::kStoreFull);
  EXPECT_EQ(r.Message, "увеличьте массив данных");
  EXPECT_EQ(store.ReadCount, 50);
}

TEST_F(TableTest, YearsBeyondTheCalendarCellsRejectWithoutAMessage) {
  sheet.Row(2, {"Moon", "40000", "1", "10", "0", "0", "0", "1", "0", "0", "0", "0", "0"});
  sheet.Row(3, {"Moon", "-32768", "2", "10", "0", "0", "0", "1", "0", "0", "0", "0", "0"});
  sheet.Row(4, {"Moon", "1995", "1", "32", "12", "0", "1", "1", "0", "0", "0", "0", "0"});  // 32.5 + 1 s
  ImportResult r = Run();
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(store.ReadCount, 3);
  EXPECT_EQ(store.GoodCount, 0);
  EXPECT_EQ(r.RejectedLog.rfind("ЗАБРАКОВАННЫЕ ПРОГРАММОЙ ЗАПИСИ\r\n0001", 0), 0u);
}

// Rows whose numbers read but hold no possible date or place: each refused with its
// reason, nothing of it stored, the good rows imported.
TEST_F(TableTest, ImpossibleValuesAreRefusedWithTheirReason) {
  const std::vector<std::string> good = {"Moon", "1995", "1", "10", "0", "0", "0", "1", "0", "0", "10", "0", "0", "10", "2449728"};
  const struct {
    size_t cell;  // the cell of the good row changed
    std::string text;
    DateForm date;
    const char* reason;
  } cases[] = {
      {9, "1e308", DateForm::kYmdhms, "прямое восхождение: минуты или секунды вне 0..60"},
      {7, "30", DateForm::kYmdhms, "прямое восхождение: часы вне 0..23"},
      {8, "-60", DateForm::kYmdhms, "прямое восхождение: минуты или секунды вне 0..60"},
      {10, "95", DateForm::kYmdhms, "склонение или широта вне ±90"},
      {12, "60", DateForm::kYmdhms, "склонение: минуты или секунды вне 0..60"},
      {14, "1e308", DateForm::kJd, "дата вне календаря"},
      {14, "-1e308", DateForm::kJd, "дата вне календаря"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text + " " + c.reason);
    std::vector<std::string> bad = good;
    bad[c.cell] = c.text;
    sheet.cells.clear();
    sheet.Row(2, bad);
    sheet.Row(3, good);
    s.Table.Date = c.date;
    store.ObsJd(1, kSet1) = 7;
    ImportResult r = Run();
    EXPECT_EQ(store.ReadCount, 2);
    EXPECT_EQ(store.GoodCount, 1);
    EXPECT_EQ(store.ObsJd(1, kSet1), 7.0);
    EXPECT_NE(r.RejectedLog.find(std::string("    <- ") + c.reason), std::string::npos) << r.RejectedLog;
    EXPECT_NEAR_WHAT(store.ObsJd(1, kSet3), 2449727.5 + (c.date == DateForm::kJd ? 0.5 : 0), kJdTol, "the good row");
  }
}

// --- The record converters -------------------------------------------------------------

TEST(DovRecord, DeclinationSignsPolarDistanceAndCarriedSeconds) {
  RecordingPlatform ui;
  FieldTexts field;
  struct Case {
    std::string degrees, minutes, seconds;
    bool pole;
    double want;
  };
  for (const Case& c : {Case{"-05", "30", "00.00", false, -5.5}, Case{"+00", "30", "00.00", false, 0.5},
                        Case{"-00", "30", "00.00", false, -0.5}, Case{" -0", "00", "01.80", false, -0.0005},
                        Case{"120", "00", "00.00", true, -30}, Case{"+90", "00", "00.00", false, 90},
                        Case{"+00", "00", "-1.80", false, -0.0005}, Case{"+30", "00", "00.00", true, 60.0},
                        Case{"+12", "59", "66.54", false, 12 + 59 / 60.0 + 66.54 / 3600}}) {
    std::string line = Put(Put(Put(kDovLine, 51, c.degrees), 56, c.minutes), 60, c.seconds);
    RecordValues v = ConvertDovLine(line, false, c.pole, CalendarRule::kGregorianFrom1582, field);
    ASSERT_TRUE(v.Accepted) << line;
    EXPECT_NEAR_WHAT(v.LatDeg, c.want, kAngleTol, line);
  }
  // Seconds of time of 68.5 and minutes of 75 add as they stand; so do RA seconds of 61.7.
  RecordValues v = ConvertDovLine(Put(Put(Put(kDovLine, 23, "75"), 26, "68.5"), 42, "61.70"), false, false, CalendarRule::kGregorianFrom1582, field);
  ASSERT_TRUE(v.Accepted);
  EXPECT_NEAR_WHAT(v.Jd, 2447894.5 + (20 + 75 / 60.0 + 68.5 / 3600) / 24, kJdTol, "1990 January 3 + 20h 75m 68.5s");
  EXPECT_NEAR_WHAT(v.LonDeg, (15 / 60.0 + 61.7 / 3600) * 15, kAngleTol, "0h 15m 61.7s");
  // A decimal comma is as good as the point.
  EXPECT_TRUE(ConvertDovLine(Put(kDovLine, 26, "30,2"), false, false, CalendarRule::kGregorianFrom1582, field).Accepted);
  // Day 32 at 12h is 32.5 exactly: not over the limit.
  EXPECT_TRUE(ConvertDovLine(Put(Put(Put(Put(kDovLine, 15, "32"), 20, "12"), 23, "00"), 26, "00.0"), false, false, CalendarRule::kGregorianFrom1582, field).Accepted);
  EXPECT_TRUE(ui.messages.empty());
}

TEST(DovRecord, ImpossibleValuesAndExponentsReject) {
  FieldTexts field;
  // Each case changes the one line at the columns given.
  struct Case {
    std::vector<std::pair<size_t, const char*>> put;
    bool accepted;
  };
  for (const Case& c : std::vector<Case>{
           {{{12, "12"}}, true}, {{{12, "13"}}, false}, {{{12, "00"}}, false},              // month
           {{{20, "23"}}, true}, {{{20, "30"}}, false}, {{{20, "-1"}}, false},              // hours of time
           {{{34, "23"}}, true}, {{{34, "24"}}, false},                                     // hours of RA
           {{{34, "23"}, {38, "59"}, {42, "59.99"}}, true},                                 // RA below 24 h
           {{{34, "23"}, {38, "60"}, {42, "00.00"}}, false},                                // RA of 24 h
           {{{51, "+90"}, {56, "00"}, {60, "00.00"}}, true}, {{{51, "-90"}, {56, "00"}, {60, "00.00"}}, true},
           {{{51, "+90"}, {56, "00"}, {60, "00.01"}}, false}, {{{51, "+99"}}, false},        // past the pole
           {{{42, "1E300"}}, false}, {{{42, " 1e3 "}}, false}, {{{7, "2E3 "}}, false},       // exponents
       }) {
    std::string line = kDovLine;
    for (const auto& [column, text] : c.put) line = Put(line, column, text);
    EXPECT_EQ(ConvertDovLine(line, false, false, CalendarRule::kGregorianFrom1582, field).Accepted, c.accepted) << line;
  }
}

TEST(DovRecord, LongVariantColumns) {
  FieldTexts field;
  // Wider time and declination fields: hours 20-24, minutes 26-28, seconds 30-32,
  // RA 37-38 / 41-42 / 45-49, declination 54-56 / 59-62 / 65-69.
  std::string line = std::string(6, ' ') + "1990 01 03";
  for (auto [col, text] : {std::pair<size_t, const char*>{20, "00020"}, {26, "055"}, {30, "030"}, {37, "00"}, {41, "15"},
                           {45, "02.45"}, {54, "-05"}, {59, "0030"}, {65, "24.54"}}) {
    line = Put(line, col, text);
  }
  RecordValues v = ConvertDovLine(line, true, false, CalendarRule::kGregorianFrom1582, field);
  ASSERT_TRUE(v.Accepted);
  EXPECT_NEAR_WHAT(v.Jd, 2447894.5 + (20 + 55 / 60.0 + 30 / 3600.0) / 24, kJdTol, "long variant date");
  EXPECT_NEAR_WHAT(v.LonDeg, (15 / 60.0 + 2.45 / 3600) * 15, kAngleTol, "long variant RA");
  EXPECT_NEAR_WHAT(v.LatDeg, -(5 + 30 / 60.0 + 24.54 / 3600), kAngleTol, "long variant Dec");
  EXPECT_EQ(field[4], std::string(15, ' ') + "1990  01  03  00020  055  030");
  EXPECT_FALSE(ConvertDovLine(line, false, false, CalendarRule::kGregorianFrom1582, field).Accepted);
}

TEST(JplRecord, PartsBlanksAndSign) {
  FieldTexts field;
  const std::string line = "P011245155843970                 015439308         06071430";
  RecordValues v = ConvertJplLine(line, field);
  ASSERT_TRUE(v.Accepted);
  EXPECT_NEAR_WHAT(v.Jd, 2451558.4397, kJdTol, "JD x 100000");
  EXPECT_NEAR_WHAT(v.LonDeg, (54 / 60.0 + 1 + 39.308 / 3600) * 15, kAngleTol, "1h 54m 39.308s");
  EXPECT_NEAR_WHAT(v.LatDeg, 6 + 7 / 60.0 + 14.30 / 3600, kAngleTol, "6 07 14.30");
  EXPECT_EQ(field[4], "245155843970");
  EXPECT_EQ(field[8], "308");
  EXPECT_EQ(field[12], "30");

  // Blank parts count as 0; "-" in column 51 turns the declination south.
  v = ConvertJplLine(Put(Put(Put("P011245155843970", 34, "0154"), 51, "-"), 52, "0607    "), field);
  ASSERT_TRUE(v.Accepted);
  EXPECT_NEAR_WHAT(v.LonDeg, (54 / 60.0 + 1) * 15, kAngleTol, "blank seconds");
  EXPECT_NEAR_WHAT(v.LatDeg, -(6 + 7 / 60.0), kAngleTol, "southern, blank seconds");

  // Without any declination, or with letters, the record is rejected; its JD stays read.
  v = ConvertJplLine("P011245155843970                 015439308", field);
  EXPECT_FALSE(v.Accepted);
  EXPECT_TRUE(v.HasJd && v.HasLon && !v.HasLat);
  EXPECT_FALSE(ConvertJplLine(Put("P011245155843970", 52, "06071430"), field).Accepted);  // no RA
  EXPECT_FALSE(ConvertJplLine("P011245155843970                 01x439308         06071430", field).Accepted);
  // Impossible values and exponents reject the line; "-0" degrees is south as column 51 is.
  for (const auto& [bad, accepted] : {std::pair<std::string, bool>{Put(line, 34, "24"), false}, {Put(line, 34, "23"), true},
                                      {Put(line, 52, "91"), false}, {Put(line, 52, "90"), false}, {Put(line, 52, "89"), true},
                                      {Put(line, 40, "1E2"), false}, {Put(line, 5, "2451558E-10"), false}}) {
    EXPECT_EQ(ConvertJplLine(bad, field).Accepted, accepted) << bad;
  }
  v = ConvertJplLine(Put(line, 52, "-0"), field);
  ASSERT_TRUE(v.Accepted);
  EXPECT_NEAR_WHAT(v.LatDeg, -(7 / 60.0 + 14.30 / 3600), kAngleTol, "-0 07 14.30");
  EXPECT_FALSE(ConvertJplLine("P011  JD missing", field).Accepted);

  EXPECT_TRUE(IsJplObservationOf("P011", 11));
  EXPECT_TRUE(IsJplObservationOf("P010", 0));
  EXPECT_FALSE(IsJplObservationOf("P010", 10));
  EXPECT_TRUE(IsJplObservationOf("P5  2451", 5));
  EXPECT_TRUE(IsJplObservationOf("P11 2451", 1));  // without a leading 0 only column 2 counts
  EXPECT_FALSE(IsJplObservationOf("P11 2451", 11));
  EXPECT_FALSE(IsJplObservationOf(" 011", 11));
  EXPECT_FALSE(IsJplObservationOf("P", 0));
}

TEST(SourceStem, KindMarks) {
  EXPECT_EQ(SourceStem("PARI", 11, Parameter::kGeo, false, false, "1"), "PARI11_G_1");
  EXPECT_EQ(SourceStem("PARI", 11, Parameter::kRa, true, true, "1"), "PARI11_R_1");
  EXPECT_EQ(SourceStem("PARI", 4, Parameter::kDec, false, false, "02"), "PARI4_D_02");
  EXPECT_EQ(SourceStem("USNO", 11, Parameter::kGeo, true, false, "2"), "USNO11_T_2");
  EXPECT_EQ(SourceStem("USNO", 11, Parameter::kGeo, true, true, "2"), "USNO11_H_2");
}

}  // namespace
}  // namespace planova
