// BDL lines and files: the layout character for character, the split of coordinates,
// truncation without carry, formatting and parsing back over four millennia, the lines a
// loader must refuse, a load stopped by "Stop", a CR-only file loaded whole, and window
// 1's writer with its calendar, file name, field room, date failures and messages.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iomanip>
#include <random>

#include "astro/time.h"
#include "bdl/bdl_file.h"
#include "common/textfile.h"
#include "test_support.h"
#include "window1/window1_model.h"

namespace planova {
namespace {

using test::RecordingPlatform;
namespace fs = std::filesystem;

// The example observation: JD 2451545, longitude 15 deg, latitude -0.5 deg, the Moon,
// with window 1's default descriptive texts.
const std::string kExample =
    "Moon      2000 01 Jan  12 00 00.0000  UT   01 00 00.00000  1.11111  -00 30 00.0000  1.1111   PARI      USNO Transit 6 "
    "198.0  Trans    App   C  E              ";

// The date and coordinates of row 1 as FormatBdlLine writes them.
struct OneRow {
  RecordingPlatform ui;
  ObservationStore store;
  BdlState b;
  OneRow() {
    store.Recreate(2);
    b.BodyName = "Moon";
  }
  std::string Line(double jd, double lon, double lat) {
    store.ObsJd(1, kSet3) = jd;
    store.ObsLon(1, kSet3) = lon;
    store.ObsLat(1, kSet3) = lat;
    EXPECT_TRUE(FormatBdlLine(b, CalendarRule::kGregorianFrom1582, store, 1));
    EXPECT_EQ(b.BdlLine.size(), 158u);
    return b.BdlLine;
  }
};

TEST(BdlLine, SplitGivesTheSignToTheFirstNonZeroPart) {
  BdlState b;
  SplitLonLat(b, 15, -0.5);
  EXPECT_EQ(b.LonHours, 1);
  EXPECT_EQ(b.LonMinutes, 0);
  EXPECT_NEAR(b.LonSeconds, 0, 1e-9);
  EXPECT_EQ(b.LatDegrees, 0);
  EXPECT_EQ(b.LatMinutes, -30);
  EXPECT_NEAR(b.LatSeconds, 0, 1e-9);
  SplitLonLat(b, 0, -0.004);
  EXPECT_EQ(b.LatDegrees, 0);
  EXPECT_EQ(b.LatMinutes, 0);
  EXPECT_NEAR(b.LatSeconds, -14.4, 1e-9);
  SplitLonLat(b, 359.9, -12.5);
  EXPECT_EQ(b.LonHours, 23);
  EXPECT_EQ(b.LatDegrees, -12);
  EXPECT_EQ(b.LatMinutes, 30);
}

TEST(BdlLine, LatitudeSignAndDigitsInColumns69To82) {
  OneRow r;
  EXPECT_EQ(r.Line(2451545, 15, -0.5).substr(68, 14), "-00 30 00.0000");
  EXPECT_EQ(r.Line(2451545, 0, -0.004).substr(68, 14), "-00 00 14.4000");
  EXPECT_EQ(r.Line(2451545, 0, 0.004).substr(68, 14), " 00 00 14.4000");
  EXPECT_EQ(r.Line(2451545, 0, -12.5).substr(68, 14), "-12 30 00.0000");
  // 1 23' 00" north, whose seconds come out as -2e-13": no minus.
  EXPECT_EQ(r.Line(2451545, 0, 23 / 60.0 + 1).substr(68, 14), " 01 23 00.0000");
  // Truncated, not rounded: 359.99999 deg is 23h 59m 59.9976s; 89.99999 deg is
  // 89 59' 59.964", which its double gives as 59.963999999999...", less than 1e-6 of the
  // last place below its digits: written 59.9640.
  EXPECT_EQ(r.Line(2451545, 359.99999, 89.99999).substr(43, 39),
            "23 59 59.99760  1.11111   89 59 59.9640");
}

TEST(BdlLine, SecondsAreTruncatedWithoutCarry) {
  BdlState b;
  b.BodyName = "Moon";
  b.BdlLine.assign(kBdlLineLength, ' ');
  WriteBdlFields(b, 2000, "Jan", 1, 12, 59, 59.99999, 1, 59, 59.999999, -5, 59, 59.99999);
  EXPECT_EQ(b.BdlLine.substr(23, 13), "12 59 59.9999");
  EXPECT_EQ(b.BdlLine.substr(43, 14), "01 59 59.99999");
  EXPECT_EQ(b.BdlLine.substr(68, 14), "-05 59 59.9999");
  EXPECT_EQ(b.BdlLine.size(), 158u);
  // A five-character year runs into column 15.
  b.BdlLine.assign(kBdlLineLength, ' ');
  WriteBdlFields(b, -1000, "Jan", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(b.BdlLine.substr(10, 5), "-1000");
}

TEST(BdlLine, SecondsTheSlackTakesToSixtyCarry) {
  // Just below a whole minute by less than the slack (1e-6 of the last place, 1e-5 for
  // the right ascension): a minute is carried, and 60 minutes an hour or a degree; a
  // right ascension of 24 h is 0 h, a time stays below 24 h and a declination below 90
  // degrees with their truncation.
  struct Case {
    double h, m, s, lonH, lonM, lonS, latD, latM, latS;
    const char* time;  // columns 24-36
    const char* ra;    // columns 44-57
    const char* dec;   // columns 69-82
  };
  const double below = 60 - 1e-11;
  for (const Case& c : {Case{12, 0, below, 1, 0, below, 5, 0, below, "12 01 00.0000", "01 01 00.00000", " 05 01 00.0000"},
                        Case{12, 59, below, 1, 59, below, 5, 59, below, "13 00 00.0000", "02 00 00.00000", " 06 00 00.0000"},
                        Case{23, 59, below, 23, 59, below, 89, 59, below, "23 59 59.9999", "00 00 00.00000", " 89 59 59.9999"},
                        Case{0, 0, 0, 0, 0, 0, 0, 0, -below, "00 00 00.0000", "00 00 00.00000", "-00 01 00.0000"},
                        Case{0, 0, 59.99999, 0, 0, 59.999999, 0, 0, 59.99999, "00 00 59.9999", "00 00 59.99999", " 00 00 59.9999"}}) {
    BdlState b;
    b.BdlLine.assign(kBdlLineLength, ' ');
    WriteBdlFields(b, 2000, "Jan", 1, c.h, c.m, c.s, c.lonH, c.lonM, c.lonS, c.latD, c.latM, c.latS);
    EXPECT_EQ(b.BdlLine.substr(23, 13), c.time);
    EXPECT_EQ(b.BdlLine.substr(43, 14), c.ra);
    EXPECT_EQ(b.BdlLine.substr(68, 14), c.dec);
  }
}

TEST(BdlLine, MonthsAndBodies) {
  BdlState b;
  MonthAbbreviation(b, 12);
  EXPECT_EQ(b.MonthText, "Dec");
  MonthAbbreviation(b, 13);
  EXPECT_EQ(b.MonthText, "Dec");
  MonthAbbreviation(b, 0);
  EXPECT_EQ(b.MonthText, "Dec");
  b.MonthText = "Feb";
  MonthNumber(b);
  EXPECT_EQ(b.Month, 2);
  // MonthNumber keeps the month for a text it does not know.
  for (const char* unknown : {"feb", "Foo"}) {
    b.MonthText = unknown;
    MonthNumber(b);
    EXPECT_EQ(b.Month, 2) << unknown;
  }
  for (int m = 1; m <= 12; ++m) {
    MonthAbbreviation(b, m);
    MonthNumber(b);
    EXPECT_EQ(b.Month, m);
  }
  EXPECT_EQ(BodyNameOf(11), "Moon");
  EXPECT_EQ(BodyNameOf(10), "Kometa");
  EXPECT_EQ(BodyNameOf(3), "Sun");
  EXPECT_EQ(BodyNameOf(0), "Sun");
}

TEST(BdlLine, ParseBackTheFormattedLine) {
  OneRow r;
  r.b.InputLine = r.Line(2447893.337461, 123.456789, -23.456789);  // 1990-01-27 20:05:56.63
  ASSERT_TRUE(ParseBdlLine(r.b, CalendarRule::kGregorianFrom1582));
  EXPECT_EQ(r.b.Year, 1990);
  EXPECT_EQ(r.b.Month, 1);
  EXPECT_EQ(r.b.BodyName, "Moon    ");
  // The line keeps 1e-4 s: the date comes back within that (and the JD's own rounding).
  EXPECT_NEAR((r.b.Jd - 2447893.337461) * 86400, 0, 1.1e-4);
  EXPECT_TRUE(r.ui.messages.empty());
}

TEST(BdlLine, FormattedLinesReadBackWithinTheirTruncation) {
  OneRow r;
  std::mt19937 rng(11);
  // Years 1..2100: Julian calendar before 1582 October 15, Gregorian after.
  std::uniform_real_distribution<double> jd(1721424.5, 2488069.5), lon(0, 360), lat(-89.99, 89.99);
  for (int k = 0; k < 2000; ++k) {
    const double j = jd(rng), l = lon(rng), b = lat(rng);
    std::string line = r.Line(j, l, b);
    BdlRecord rec;
    ASSERT_TRUE(ReadBdlRecord(r.b, CalendarRule::kGregorianFrom1582, line, rec)) << line;
    // Seconds of time are cut to 1e-4 s; a JD near 2.4e6 days itself holds 4e-5 s.
    const double dt = (j - rec.Jd) * 86400;
    EXPECT_GE(dt, -5e-5) << line;
    EXPECT_LT(dt, 1e-4 + 5e-5) << line;
    // Right ascension cut to 1e-5 s of time (15e-5"), declination to 1e-4", toward zero.
    EXPECT_NEAR_WHAT(rec.LonDeg, l - 7.5e-5 * test::kArcsec, 8e-5 * test::kArcsec, line);
    EXPECT_NEAR_WHAT(std::fabs(rec.LatDeg), std::fabs(b) - 0.5e-4 * test::kArcsec, 0.6e-4 * test::kArcsec, line);
    EXPECT_EQ(rec.LatDeg < 0, b < 0) << line;
  }
  EXPECT_TRUE(r.ui.messages.empty());

  // A year of five characters runs into column 15 and is read back as its first four.
  double jdMinus1000 = JulianDateFromCalendar(CalendarRule::kGregorianFrom1582, 1.5, 1, -1000);
  std::string line = r.Line(jdMinus1000, 15, 1);
  EXPECT_EQ(line.substr(10, 12), "-100001 Jan ");
  r.b.InputLine = line;
  ASSERT_TRUE(ParseBdlLine(r.b, CalendarRule::kGregorianFrom1582));
  EXPECT_EQ(r.b.Year, -100);
}

// A BDL line of the given fields, as window 1 writes them.
std::string BdlText(int year, const char* month, int day, int h, int m, int s, int sf, int rh, int rm, int rs, int rf,
                    bool south, int dd, int dm, int ds, int df) {
  char buf[200];
  std::snprintf(buf, sizeof buf,
                "Moon      %4d %02d %s  %02d %02d %02d.%04d  UT   %02d %02d %02d.%05d  1.11111  %c%02d %02d %02d.%04d  1.1111",
                year, day, month, h, m, s, sf, rh, rm, rs, rf, south ? '-' : ' ', dd, dm, ds, df);
  std::string line = buf;
  line.resize(kBdlLineLength, ' ');
  return line;
}

TEST(BdlLine, ReadThenWrittenLinesKeepTheirDigits) {
  // Random lines, the last and first 0.0001 s of years, and every whole minute of right
  // ascension and declination (which their doubles hold as a minute less 59.99999999999
  // s): the date, time and coordinates written from the values read are the same bytes
  // (the time, which the JD holds only to 40 us, as a source's time), and so is the
  // display line, written from the fields read.  A file of them, loaded and written again
  // with its heading, time scale and epoch, is the same file byte for byte.
  OneRow r;
  std::mt19937 rng(7);
  auto u = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::vector<std::string> lines;
  for (int k = 0; k < 5000; ++k) {
    lines.push_back(BdlText(1700 + u(400), months[u(12)], 1 + u(28), u(24), u(60), u(60), u(10000), u(24), u(60), u(60),
                            u(100000), u(2) == 1, u(90), u(60), u(60), u(10000)));
  }
  for (int year : {1582, 1899, 1999, 2000, 2100}) {
    lines.push_back(BdlText(year, "Dec", 31, 23, 59, 59, 9999, 1, 0, 0, 0, false, 1, 0, 0, 0));
    lines.push_back(BdlText(year, "Jan", 1, 0, 0, 0, 0, 1, 0, 0, 0, false, 1, 0, 0, 0));
  }
  for (int m = 0; m < 24 * 60; ++m) lines.push_back(BdlText(2000, "Jan", 1, 0, 0, 0, 0, m / 60, m % 60, 0, 0, false, 0, 0, 0, 0));
  for (int m = 0; m < 90 * 60; ++m) lines.push_back(BdlText(2000, "Jan", 1, 0, 0, 0, 0, 0, 0, 0, 0, m % 2 == 0, m / 60, m % 60, 0, 0));
  // A declination of 0 has no sign to write.
  std::erase_if(lines, [](const std::string& line) { return line.substr(68, 14) == "-00 00 00.0000"; });
  for (const std::string& line : lines) {
    BdlRecord rec;
    ASSERT_TRUE(ReadBdlRecord(r.b, CalendarRule::kGregorianFrom1582, line, rec)) << line;
    EXPECT_TRUE(rec.ExactTime) << line;
    EXPECT_EQ(BdlDisplayLine(r.b, rec, 1).substr(0, 93), line.substr(0, 93));
    r.store.ObsLon(1, kSet3) = rec.LonDeg;
    r.store.ObsLat(1, kSet3) = rec.LatDeg;
    r.store.ObsJd(1, kSet3) = rec.Jd;
    r.store.ObsExactTime(1, kSet3) = rec.ExactTime;
    ASSERT_TRUE(FormatBdlLine(r.b, CalendarRule::kGregorianFrom1582, r.store, 1));
    EXPECT_EQ(r.b.BdlLine.substr(10, 26), line.substr(10, 26)) << line;
    EXPECT_EQ(r.b.BdlLine.substr(43, 39), line.substr(43, 39)) << line;
  }

  const fs::path folder = test::FreshFolder("bdl_written_again");
  std::string file = "PARI\r\nPARI\r\nPARI\r\nPARI\r\nPARI\r\n";
  for (std::string line : lines) {
    PlaceAt(line, bdl::kObservatory, "PARI");
    PlaceAt(line, bdl::kEpoch.first, "J2000");
    file += line + "\r\n";
  }
  ASSERT_TRUE(WriteFileAtomically(folder / "read.txt", file));
  const auto rows = static_cast<int32_t>(lines.size());
  r.store.Recreate(2 * rows);  // within the size rule's 150 bytes of file a row
  const BdlLoadResult loaded = LoadBdlFile(folder / "read.txt", r.store, 1, r.b, CalendarRule::kGregorianFrom1582);
  ASSERT_EQ(loaded.Rows, rows);
  BdlWriteOptions options;
  options.LoadedHeading = loaded.Heading;
  options.ObservatoryCode = "PARI";
  options.TimeScale = "UT";
  options.Epoch = "J2000";
  ASSERT_EQ(WriteBdlFile(folder / "written.txt", r.store, 1, rows, r.b, CalendarRule::kGregorianFrom1582, options).End,
            BdlWriteEnd::kWritten);
  EXPECT_TRUE(test::ReadBytes(folder / "written.txt") == file) << "the file written differs from the file read";
}

// The time of a record whose JD is its source's time is rounded to the line's 0.0001 s,
// carried through the minutes, hours and date; any other JD is truncated as the dates of
// computed records always were.  A JD beyond 4 000 000 holds no time to 0.0001 s.
TEST(BdlLine, ASourcesTimeIsRoundedAndCarriedAComputedOneTruncated) {
  OneRow r;
  const double ulp = std::ldexp(1.0, -31);  // the last bit of a JD from 2^21 to 2^22, 40 us
  const double midnight2000 = 2451544.5, march2000 = 2451604.5;  // 2000 January 1.0, March 1.0
  struct Case {
    double jd;
    bool exact;
    const char* written;  // columns 11-36
  } cases[] = {
      {midnight2000 - ulp, true, "2000 01 Jan  00 00 00.0000"},
      {midnight2000 - ulp, false, "1999 31 Dec  23 59 59.9999"},
      {midnight2000 - 3 * ulp, true, "1999 31 Dec  23 59 59.9999"},  // 120 us before: the last 0.0001 s
      {midnight2000 + ulp, true, "2000 01 Jan  00 00 00.0000"},
      {midnight2000 + ulp, false, "2000 01 Jan  00 00 00.0000"},
      {march2000 - ulp, true, "2000 01 Mar  00 00 00.0000"},        // after February 29
      {march2000 - ulp, false, "2000 29 Feb  23 59 59.9999"},
      {midnight2000 + 0.375 - ulp, true, "2000 01 Jan  09 00 00.0000"},  // 09:00, a whole hour
      {midnight2000 + 0.375 - ulp, false, "2000 01 Jan  08 59 59.9999"},
  };
  for (const Case& c : cases) {
    r.store.ObsExactTime(1, kSet3) = c.exact;
    EXPECT_EQ(r.Line(c.jd, 15, 1).substr(10, 26), c.written) << std::setprecision(17) << c.jd << " " << c.exact;
  }
  // Beyond JD 4 000 000 the last bit is 80 us or more: even a source's time is truncated.
  const double late = std::ldexp(1.0, 22) + 0.5;  // a midnight
  r.store.ObsExactTime(1, kSet3) = 1;
  EXPECT_EQ(r.Line(late - std::ldexp(1.0, -30), 15, 1).substr(23, 13), "23 59 59.9999");
}

TEST(BdlLine, ReadRefusesImpossibleValuesAndExponents) {
  OneRow r;
  const std::string good = BdlText(2000, "Jan", 1, 23, 59, 59, 9999, 23, 59, 59, 99999, true, 90, 0, 0, 0);
  auto with = [&](size_t column, const std::string& text) {
    return good.substr(0, column - 1) + text + good.substr(column - 1 + text.size());
  };
  BdlRecord rec;
  ASSERT_TRUE(ReadBdlRecord(r.b, CalendarRule::kGregorianFrom1582, good, rec));
  EXPECT_EQ(rec.LatDeg, -90.0);
  ASSERT_TRUE(ReadBdlRecord(r.b, CalendarRule::kGregorianFrom1582, with(24, "-5"), rec)) << "negative times are the loaders' affair";
  for (const std::string& bad : {with(24, "24"), with(24, "99"), with(27, "60"), with(30, "60"), with(44, "24"),
                                 with(47, "60"), with(50, "60"), with(53, "1E300"), with(33, "1E30"), with(70, "91"),
                                 with(70, "90 00 00.0001"), with(73, "60"), with(76, "60"), with(79, "1E-5"),
                                 with(11, "2E03"), with(44, "-1"), with(47, "-1"), with(50, "-1"), with(73, "-1"), with(76, "-1")}) {
    EXPECT_FALSE(ReadBdlRecord(r.b, CalendarRule::kGregorianFrom1582, bad, rec)) << bad;
  }
  EXPECT_TRUE(r.ui.messages.empty());
}

// The station is columns 94-98 with the blanks around it trimmed; column 99 starts the
// note, so a longer code keeps its first five bytes.
TEST(BdlLine, StationIsColumns94To98Trimmed) {
  OneRow r;
  const std::string blank = BdlText(2000, "Jan", 1, 12, 0, 0, 0, 1, 0, 0, 0, false, 10, 0, 0, 0);
  BdlRecord rec;
  for (auto [field, want] : {std::pair{"     ", ""}, {"568  ", "568"}, {" G96 ", "G96"}, {"PARIS1", "PARIS"},
                             {"\xcf\xd3\xcb", "\xcf\xd3\xcb"}}) {
    const std::string line = blank.substr(0, 93) + field + blank.substr(93 + std::string(field).size());
    ASSERT_TRUE(ReadBdlRecord(r.b, CalendarRule::kGregorianFrom1582, line, rec)) << line;
    EXPECT_EQ(rec.Station.str(), want) << line;
  }
}

TEST(BdlLine, ParseRefusesWhatIsNoDateWithoutAMessage) {
  OneRow r;
  r.b.InputLine = r.Line(2451545, 15, -0.5);
  ASSERT_TRUE(ParseBdlLine(r.b, CalendarRule::kGregorianFrom1582));
  ASSERT_EQ(r.b.Month, 1);
  const std::string good = r.b.InputLine;
  auto with = [&](size_t at, const std::string& text) { return good.substr(0, at) + text + good.substr(at + text.size()); };
  // An unknown month must not take the month of the line before it.
  for (const std::string& bad : {with(18, "Foo"), with(18, "JAN"), with(18, "   "), with(10, "9E99"), with(10, "20,5"),
                                 with(15, "xx"), with(32, "00a0"), good.substr(0, 35), std::string(),
                                 std::string("Moon      2000 01 Jan"), std::string("Moon      2x00 01 Jan  12 00 00.0000"),
                                 std::string("Moon      2000 01 Jan  1a 00 00.0000  UT")}) {
    r.b.InputLine = bad;
    EXPECT_FALSE(ParseBdlLine(r.b, CalendarRule::kGregorianFrom1582)) << bad;
  }
  EXPECT_TRUE(r.ui.messages.empty());
}

// "Stop" during a load: the records read before it stay loaded, mirrored in column 3.
TEST(BdlFile, AStoppedLoadKeepsTheRecordsReadBeforeTheStop) {
  fs::path folder = test::FreshFolder("bdl_stopped_load");
  OneRow r;
  r.store.Recreate(10);
  {
    TextOutputFile out;
    ASSERT_TRUE(out.Create(folder / "stop.txt"));
    for (int k = 0; k < kBdlHeadingLines; ++k) out.WriteLine("head");
    for (int day = 0; day < 5; ++day) out.WriteLine(r.Line(2451545 + day, 15, -0.5));
    ASSERT_TRUE(out.Commit());
  }
  BdlLoadOptions options;
  int events = 0;
  int16_t stop = 1;  // a Stop left from before the load does not count
  options.Stop = &stop;
  options.ProcessEvents = [&] {
    if (++events == 2) stop = 1;
  };
  BdlLoadResult loaded = LoadBdlFile(folder / "stop.txt", r.store, 1, r.b, CalendarRule::kGregorianFrom1582, options);
  EXPECT_EQ(loaded.End, BdlLoadEnd::kStopRequested);
  ASSERT_EQ(loaded.Rows, 2);
  EXPECT_EQ(loaded.Shown.size(), 2u);
  EXPECT_EQ(r.store.Count1, 2);
  EXPECT_EQ(r.store.Count3, 2);
  for (int32_t row = 1; row <= 2; ++row) {
    EXPECT_EQ(r.store.ObsJd(row, kSet1), 2451544.0 + row);
    EXPECT_EQ(r.store.ObsJd(row, kSet3), r.store.ObsJd(row, kSet1));
    EXPECT_EQ(r.store.ObsNote(row, kSet3), r.store.ObsNote(row, kSet1));
  }
  EXPECT_EQ(r.store.ObsJd(3, kSet1), 0.0) << "nothing read after the stop";

  // The same file with CR-only line ends (an old Mac file) loads whole.
  std::string bytes = test::ReadBytes(folder / "stop.txt");
  for (size_t p = 0; (p = bytes.find("\r\n", p)) != std::string::npos;) bytes.erase(p + 1, 1);
  ASSERT_TRUE(WriteFileAtomically(folder / "mac.txt", bytes));
  EXPECT_EQ(LoadBdlFile(folder / "mac.txt", r.store, 1, r.b, CalendarRule::kGregorianFrom1582).Rows, 5);
}

// Window 1's writer: five heading lines of the observatory code, then the records with
// the window's descriptive texts.
struct BdlWriter : ::testing::Test {
  fs::path folder = test::FolderForThisTest("", true);
  RecordingPlatform ui{folder};
  Astronomy astro;
  ObservationStore store;
  Window1Model f{ui, nullptr, astro, store};

  void SetUp() override {
    store.Recreate(10);
    store.ObservatoryCode = "PARI";
    store.ObjectNumber = 11;
  }
  void Row(int32_t i, double jd, double lon = 15, double lat = -0.5) {
    store.ObsJd(i, kSet3) = jd;
    store.ObsLon(i, kSet3) = lon;
    store.ObsLat(i, kSet3) = lat;
    store.GoodCount = i;
  }
  void Save() {
    f.FindButton("Сохранить данные в формате BDL")->Press();
    EXPECT_FALSE(ui.busy);
  }
  // The lines of the file; every line must end with CR LF.
  std::vector<std::string> Lines(const std::string& name = "PARI11_RDGT_0.txt") {
    std::string bytes = test::ReadBytes(folder / "ObsPARI" / name);
    std::vector<std::string> out;
    size_t start = 0;
    for (size_t p; (p = bytes.find("\r\n", start)) != std::string::npos; start = p + 2) out.push_back(bytes.substr(start, p - start));
    EXPECT_EQ(start, bytes.size()) << "every line ends with CR LF";
    return out;
  }
};

TEST_F(BdlWriter, ExampleLineCharacterForCharacter) {
  ASSERT_EQ(kExample.size(), 158u);
  Row(1, 2451545.0, 15.0, -0.5);
  Save();
  EXPECT_TRUE(ui.messages.empty());
  auto lines = Lines();
  ASSERT_EQ(lines.size(), 6u);
  for (int k = 0; k < 5; ++k) EXPECT_EQ(lines[static_cast<size_t>(k)], "PARI");
  EXPECT_EQ(lines[5], kExample);
  // The pane shows the line with the descriptive block replaced by the record number,
  // then how many records went to which file.
  std::string shown = kExample.substr(0, 98) + std::string(11, ' ') + "1" + std::string(48, ' ');
  EXPECT_EQ(f.rejectedOrSavedLog.Text, shown + "\r\n\r\nзаписано  1  записей в ObsPARI/PARI11_RDGT_0.txt");
}

// With no record read by the last import (or no arrays) there is nothing to save: a file
// of the same name keeps its records.
TEST_F(BdlWriter, NothingReadIsNotSaved) {
  const fs::path file = folder / "ObsPARI" / "PARI11_RDGT_0.txt";
  test::WriteBytes(file, "records\r\n");
  Save();
  RecordingPlatform ui2{folder};
  ObservationStore none;
  Window1Model fresh(ui2, nullptr, astro, none);
  fresh.FindButton("Сохранить данные в формате BDL")->Press();
  EXPECT_FALSE(ui2.busy);
  for (const auto* messages : {&ui.messages, &ui2.messages}) {
    EXPECT_EQ(*messages, std::vector<std::string>{"Нет данных для записи: загрузите исходные данные"});
  }
  EXPECT_EQ(test::ReadBytes(file), "records\r\n");
}

TEST_F(BdlWriter, CyrillicTextsGoOutInTheFilesCodePage) {
  Row(1, 2451545.0, 15.0, -0.5);
  f.observationType.Text = "Фото";
  Save();
  auto lines = Lines();
  ASSERT_EQ(lines[5].size(), 158u);
  EXPECT_EQ(Cp1251ToUtf8(lines[5].substr(126, 4)), "Фото");
}

TEST_F(BdlWriter, GregorianFromOctober15WhateverTheImportUsed) {
  astro.SetCalendar(CalendarRule::kJulian);  // as left by an import with "Юлиан"
  Row(1, 2299160.5);            // 1582 October 15.0, the first Gregorian day
  Row(2, 2299160.0);            // the day before: 1582 October 4.5 in the Julian calendar
  Save();
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(astro.Calendar(), CalendarRule::kGregorianFrom1582);
  auto lines = Lines();
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[5].substr(10, 26), "1582 15 Oct  00 00 00.0000");
  EXPECT_EQ(lines[6].substr(10, 26), "1582 04 Oct  12 00 00.0000");
}

TEST_F(BdlWriter, NameAndBodyComeFromTheLastImportNotTheBoxes) {
  f.observatoryCode.Text = "USNO";
  f.objectNumber.Text = "5";
  store.ObjectNumber = 4;
  f.bdlNamePart.Text = "X";
  Row(1, 2451545);
  Save();
  EXPECT_TRUE(ui.messages.empty());
  auto lines = Lines("PARI4_X.txt");
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[5].substr(0, 10), "Mars      ");
  EXPECT_EQ(lines[5].substr(93, 4), "PARI");

  // Before any import there is no observatory code: \Obs\0_X.txt has no folder.
  store.ObservatoryCode.clear();
  store.ObjectNumber = 0;
  Save();
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], "Ошибка записи в файл\r\n" + PathText(folder / "Obs" / "0_X.txt"));
}

TEST_F(BdlWriter, FailuresSayErrorWritingFile) {
  Row(1, 2451545.0, 15.0, -0.5);
  f.instrument.Text = std::string(30, 'X');  // an instrument longer than its field
  const fs::path file = folder / "ObsPARI" / "PARI11_RDGT_0.txt";
  Save();
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], "Ошибка записи в файл\r\n" + PathText(file));
  EXPECT_FALSE(fs::exists(file)) << "no part of the file is written";

  f.instrument.Text = "USNO Transit 6";
  fs::remove_all(folder / "ObsPARI");
  Save();
  EXPECT_EQ(ui.messages.back(), "Ошибка записи в файл\r\n" + PathText(file));
}

TEST_F(BdlWriter, TextsMustFitBeforeTheirEndColumn) {
  Row(1, 2451545);
  // After "PARI" (columns 94-97) the instrument has columns 98-117.
  f.instrument.Text = std::string(20, 'I');
  Save();
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(Lines()[5].substr(93, 24), "PARI" + std::string(20, 'I'));

  f.instrument.Text = std::string(21, 'I');
  const std::string before = test::ReadBytes(folder / "ObsPARI" / "PARI11_RDGT_0.txt");
  Save();
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], "Ошибка записи в файл\r\n" + PathText(folder / "ObsPARI" / "PARI11_RDGT_0.txt"));
  EXPECT_EQ(test::ReadBytes(folder / "ObsPARI" / "PARI11_RDGT_0.txt"), before) << "the saved file stays";

  // A reference longer than the room after the initials, a time mark reaching the seconds.
  f.instrument.Text = "USNO Transit 6";
  f.observerInitials.Text = "AB";
  f.reference.Text = std::string(11, 'R');
  Save();
  EXPECT_EQ(ui.messages.size(), 2u);
  f.reference.Text = std::string(10, 'R');
  f.timeScale.Text = "UTCX1";
  Save();
  EXPECT_EQ(ui.messages.size(), 3u);
}

TEST_F(BdlWriter, ADateTheCalendarCannotTakeStopsWithItsOwnMessage) {
  Row(1, 2451545);
  Row(2, 1e300);
  Row(3, 2451546);
  Save();
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0], "Введите правильно юлианскую дату");
  EXPECT_EQ(ui.messages[1], "Ошибка записи в файл\r\n" + PathText(folder / "ObsPARI" / "PARI11_RDGT_0.txt"));
  EXPECT_FALSE(fs::exists(folder / "ObsPARI" / "PARI11_RDGT_0.txt")) << "no part of the file is written";
  EXPECT_EQ(f.rejectedOrSavedLog.Text.size(), 160u) << "the pane shows the line formatted";
}

}  // namespace
}  // namespace planova
