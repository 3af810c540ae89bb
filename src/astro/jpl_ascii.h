// JPL's ASCII ephemerides (DE4xx): a header "header.4xx" and block files of Chebyshev
// records, read from one folder.
//
// The header gives the record layout and the constants: KSIZE and NCOEFF (values per
// record; NCOEFF = KSIZE/2), GROUP 1010 (the title), GROUP 1030 (first and last JD, record
// length in days), GROUP 1040/1041 (constant names and values: AU, EMRAT, the GMs; D
// exponents) and GROUP 1050 (13 or 15 columns of three rows: first coefficient,
// coefficients per component, sub-intervals per record).  Without a header the folder's
// "*.405" files are read with DE405's layout and constants.
//
// Block files are named as JPL names them: "asc" + "p" (or "m", a negative year) + the
// first year in 4 or 5 digits + "." + the DE number ("ascp1960.405", "ascp01550.440",
// "ascm01000.441").  A block begins with the record that holds 1 January of its year; the
// next block's first record ends it; a file may hold that record too (JPL's files do),
// and a file reaching further into another block, or a file of another block length among
// them, refuses the ephemeris with the two files named.  Each block file is parsed once and kept until it
// changes on disk (its size or modification time); in a run (BeginRun .. EndRun) the disk
// is checked once per file.  Rescan reads the file from its start for every epoch; both
// ways give bit-identical records.  A file is read up to the first record that is cut
// short, holds a word that is not a number, or does not follow the previous one (its number
// and its start date).
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "astro/jpl_ephemeris.h"

namespace planova {

// One body's place in a coefficient record.
struct JplLayoutEntry {
  int FirstCoefficient = 0;          // 1-based position of its first coefficient in the record
  int CoefficientsPerComponent = 0;  // Chebyshev coefficients per component (x, y, z)
  double SubIntervalDays = 0;        // length of one sub-interval, days
  int SubIntervals = 0;              // sub-intervals per record
};
// By ephemeris body number 1..11 (index 0 unused).
using JplLayout = std::array<JplLayoutEntry, 12>;

// DE405's record layout (JPL's header.405, GROUP 1050), by ephemeris body number: first
// coefficient, coefficients per component, sub-interval length in days.
struct De405LayoutRow {
  int Body;
  int FirstCoefficient;
  int CoefficientsPerComponent;
  double SubIntervalDays;
};
inline constexpr De405LayoutRow kDe405RecordLayout[] = {
    {1, 3, 14, 8},      // Mercury
    {2, 171, 10, 16},   // Venus
    {3, 231, 13, 16},   // Earth-Moon barycentre
    {4, 309, 11, 32},   // Mars
    {5, 342, 8, 32},    // Jupiter
    {6, 366, 7, 32},    // Saturn
    {7, 387, 6, 32},    // Uranus
    {8, 405, 6, 32},    // Neptune
    {9, 423, 6, 32},    // Pluto
    {10, 441, 13, 4},   // Moon (geocentric)
    {11, 753, 11, 16},  // Sun
};
// DE405's facts for block files without a header.
inline constexpr int kDe405RecordDays = 32;
inline constexpr int kDe405Coefficients = 1018;  // NCOEFF
inline constexpr double kDe405AuKm = 149597870.691;
inline constexpr double kDe405Emrat = 81.30056;
inline constexpr double kDe405FirstJd = 2305424.5;  // 1599 Dec 9, the first record's start
inline constexpr double kDe405LastJd = 2525008.5;   // 2201 Feb 20, the last record's end
// The block files JPL published at first: "ascp1600.405" .. "ascp2000.405", 20 years each
// (a date in 1600 .. 2019 without its file is a missing file, not a date outside DE405).
inline constexpr int kDe405FirstFileYear = 1600;
inline constexpr int kDe405LastFileYear = 2000;
inline constexpr int kDe405YearsPerFile = 20;

inline constexpr int kJplMaxSubIntervals = 8;
inline constexpr int kJplMaxCoefficients = 18;
// The most bodies whose series JplAsciiEphemeris::BodyStates sums together.
inline constexpr size_t kJplMaxBodiesAtOnce = 4;

// One body's series at one date, made ready: its sub-interval's coefficients (x's Count,
// then y's, then z's), the sub-interval's length (days), the date's normalized time in it
// (tau, -1..1) and room for the Chebyshev polynomials of the first (T) and second (U) kind.
struct ChebyshevSeriesAt {
  const double* Coefficients = nullptr;
  int Count = 0;
  double IntervalDays = 0;
  double Tau = 0;
  double T[kJplMaxCoefficients + 1];
  double U[kJplMaxCoefficients + 1];
};

// DE405's layout table as JplLayout.
JplLayout De405Layout();

// Values read per record: NCOEFF rounded up to whole lines of three.
inline int JplValuesPerRecord(int ncoeff) { return (ncoeff + 2) / 3 * 3; }

// What a header says.
struct JplHeader {
  int Ksize = 0, Ncoeff = 0;
  std::string Title;                     // GROUP 1010's first line
  double FirstJd = 0, LastJd = 0;        // GROUP 1030
  double RecordDays = 0;
  JplConstants Constants;                // GROUP 1040/1041 (AU, EMRAT, every named value)
  int DeNumber = 0;                      // DENUM, 0 when absent
  JplLayout Layout{};                    // GROUP 1050, bodies 1..11
};
// Given: text, a header file's bytes.  Returned: true with h filled, or false with `error`
// saying what is wrong (a group missing or cut short, NCOEFF != KSIZE/2, a layout that does
// not fit the record).
bool ParseJplHeader(const std::string& text, JplHeader& h, std::string& error);

// A block file's name: "asc" + "p"/"m" + 4 or 5 digits + "." + digits.  False for any
// other name.
bool ParseJplBlockName(const std::string& name, int& year, int& deNumber);
// The name of the block of `year` (digits: 4 or 5, as the ephemeris' files are written).
std::string JplBlockName(int year, int deNumber, int digits);

// One block file parsed into memory.
struct JplBlockCache {
  bool Loaded = false;
  std::filesystem::path Path;    // the file the values came from
  std::uintmax_t Size = 0;       // its size and modification time (ns) before reading;
  std::int64_t ModifiedNs = 0;   //   a change of either reads the file again
  // The complete records in file order: ValuesPerRecord values each (positions 1..N).
  std::vector<double> Values;
  // Running maximum of the records' end JDs (value 2): the first entry above an epoch is
  // the record where the plain sequential scan stops.
  std::vector<double> EndJdMax;
  std::uint64_t CheckedInRun = 0;  // the run in which the file was last checked on disk
  // Why the file does not serve (empty: it does): its records reach into another block's
  // span further than JPL's one record at the join.
  std::string Overlap;
};

// The cached reader's parse, open to tests and fuzzing on any text.
// Given: bytes, a block file's text; valuesPerRecord (>= 2), the values read per record;
//   ncoeff, the count each record's header line must give.
// Returned: c.Values, every complete record after its header of two numbers (its number
//   1, 2, .. in the file and ncoeff) whose start is the previous record's end, up to the
//   end of the text or the first record that fails; c.EndJdMax.
void ParseJplBlockFile(const std::string& bytes, int valuesPerRecord, int ncoeff, JplBlockCache& c);

class JplAsciiEphemeris final : public JplEphemeris {
 public:
  // The ephemeris `deNumber` in `folder`: its header "header.<number>" when present (a
  // damaged header refuses: null, `refusal` says why, naming the file), else for 405
  // DE405's layout.  Null with a refusal when there is neither a header nor a block file
  // (for 405: never; its files may come later).
  static std::shared_ptr<JplAsciiEphemeris> Open(const std::filesystem::path& folder, int deNumber,
                                                 std::string* refusal);
  // The DE number of a file of the ASCII ephemerides (a header or a block file); false for
  // any other file name.
  static bool NumberOfFile(const std::string& fileName, int& number);

  std::string Name() const override { return name_; }
  int DeNumber() const override { return deNumber_; }
  JplCoverage Coverage() const override;
  const JplConstants& Constants() const override { return constants_; }
  std::vector<std::filesystem::path> Files() const override;
  EphemerisFailure State(int body, double jdTdb, ChebyshevState& out, std::filesystem::path* failedFile) override;

  // --- The two steps of State, for callers that read many bodies at one epoch ---
  // Reads the record covering jd.  kNoSuchDate outside Coverage(); kReadError for a file
  // missing, unreadable, damaged or not covering jd (`failedFile` names it).
  EphemerisFailure LoadRecord(double jd, std::filesystem::path* failedFile);
  // The Chebyshev state of ephemeris body k (1..11) from the loaded record at jd.
  // kReadError for a record or layout that does not serve, or a result not finite.
  EphemerisFailure BodyState(int k, double jd, ChebyshevState& out);
  // The states of count (1..kJplMaxBodiesAtOnce) bodies k[0..count) at one jd, each
  // bit for bit BodyState's, their series summed side by side (faster than one by one).
  // The first failure of BodyState's kinds is returned; the states are then not all given.
  EphemerisFailure BodyStates(const int* k, size_t count, double jd, ChebyshevState* out);
  // The bound of ephemeris body k over the sub-interval of the loaded record that covers
  // jd.  kReadError as BodyState's, or for a bound that is not finite.
  EphemerisFailure BodyBound(int k, double jd, ChebyshevBound& out) const;

  // A run of many epochs: each file is checked on disk once, and records are served from
  // the parsed files in place.
  void BeginRun();
  void EndRun();
  void SetRescan(bool rescan) { rescan_ = rescan; }

  // The first years of the block files present, in order (the folder listed again).
  std::vector<int> FileYearsPresent() const;
  int YearsPerFile() const { return yearsPerFile_; }
  // The first and last block years the ephemeris spans, and the file names at its ends.
  int FirstFileYear() const { return firstYear_; }
  int LastFileYear() const { return lastYear_; }
  std::filesystem::path BlockPath(int year) const;
  // The block year covering jd, or false outside the span.
  bool BlockYearOf(double jd, int& year) const;
  // The first JD of a block (the start of the record holding 1 January of its year).
  double BlockStartJd(int year) const;
  // Why the last LoadRecord that failed with kReadError failed, for the window (empty when
  // the file is missing, unreadable or damaged and its name says enough).
  const std::string& Problem() const { return problem_; }
  // Whether a block file's records [firstJd, lastEndJd) keep to its block: they may begin
  // no earlier than the block's first record and end no later than the next block's first
  // record (JPL repeats it as a file's last).  Empty when they do, else the text saying
  // which block they reach into.
  std::string OverlapOf(int year, double firstJd, double lastEndJd) const;

  // --- Open to tests: the reader's state ---
  JplLayout Layout{};
  int ValuesPerRecord = 0;  // values read per record (NCOEFF in whole lines)
  int Ncoeff = 0;
  std::vector<double> Record;  // the last record read (index 0 unused; 1 start, 2 end, 3..)
  std::array<double, kJplMaxSubIntervals + 1> SubIntervalStart{};  // of the last body, 1..
  long FilesParsed = 0;
  // This reader among all the process opened: with FilesParsed, what its records are.
  const std::uint64_t Serial = NextSerial();
  std::map<int, JplBlockCache> Cache;  // by block year
  const double* Values = nullptr;      // in a run: the record in place (1-based)

 private:
  static std::uint64_t NextSerial();
  bool LoadFromCache(int year, double jd);
  // Body k's series at jd from the loaded record, made ready for summing.
  EphemerisFailure PrepareSeries(int k, double jd, ChebyshevSeriesAt& s);
  // Body k's layout when the record holds it, else null.
  const JplLayoutEntry* ServingLayout(int k) const;
  void RememberBlock(int year, double from, double to) const;
  bool RescanFile(const std::filesystem::path& path, double jd);

  std::filesystem::path folder_;
  std::filesystem::path header_;
  std::string name_;
  int deNumber_ = 0;
  int digits_ = 4;
  JplConstants constants_;
  double originJd_ = kDe405FirstJd;  // the first record's start: the grid of records
  double recordDays_ = kDe405RecordDays;
  double lastJd_ = 0;                // the header's last JD (0: none)
  int firstYear_ = 0, lastYear_ = 0, yearsPerFile_ = kDe405YearsPerFile;
  bool rescan_ = false;
  std::string problem_;
  std::uint64_t runStamp_ = 0, runsBegun_ = 0;
  // BlockYearOf's last answer: the block and the dates [from, to) it covers (none yet).
  mutable int lastBlockYear_ = 0;
  mutable double lastBlockFrom_ = 1, lastBlockTo_ = 0;
  // In a run, the record LoadFromCache last served and the dates [From, To) for which the
  // block year and the search would give it again (it begins by From): a date of the same
  // record takes it without the search.
  struct ServedRecord {
    std::uint64_t Run = 0;
    double From = 1, To = 0;
    const double* Values = nullptr;
  } served_;
};

// The SPK reader's factory (spk_ephemeris.cpp): a kernel opened, or null with `refusal`.
std::unique_ptr<JplEphemeris> OpenSpkEphemeris(const std::filesystem::path& path, std::string* refusal);

}  // namespace planova
