// Module-wide state of the DE405 ephemeris reader: record layout, coefficient
// record, unpacked coefficients, raw states, and the parsed block files kept in memory.
// A base of AstroState.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <vector>

#include "astro/de405.h"

namespace planova {

// One body's place in a DE405 coefficient record.
struct De405LayoutEntry {
  int FirstCoefficient = 0;          // 1-based position of its first coefficient in the record
  int CoefficientsPerComponent = 0;  // Chebyshev coefficients per component (x, y, z)
  double SubIntervalDays = 0;        // length of one sub-interval, days
  int SubIntervals = 0;              // sub-intervals per 32-day record, round(32 / length)
};

// JPL's DE405 record layout, by ephemeris body number: first coefficient,
// coefficients per component, sub-interval length in days.
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
inline constexpr int kDe405RecordDays = 32;
inline constexpr int kDe405ValuesPerRecord = 1020;  // values read per record (340 lines of three)
inline constexpr int kDe405MaxSubIntervals = 8;
inline constexpr int kDe405MaxCoefficients = 15;

// The layout table as De405Layout holds it: index = ephemeris body number 1..11.
constexpr std::array<De405LayoutEntry, 12> De405LayoutFromTable() {
  std::array<De405LayoutEntry, 12> layout{};
  for (const De405LayoutRow& row : kDe405RecordLayout) {
    De405LayoutEntry& e = layout[static_cast<size_t>(row.Body)];
    e.FirstCoefficient = row.FirstCoefficient;
    e.CoefficientsPerComponent = row.CoefficientsPerComponent;
    e.SubIntervalDays = row.SubIntervalDays;
    e.SubIntervals = static_cast<int>(kDe405RecordDays / row.SubIntervalDays + 0.5);
  }
  return layout;
}

// One 20-year block file parsed into memory (the reader's cache; a plain
// reader re-reads the file for every epoch).
struct De405BlockCache {
  bool Loaded = false;
  std::filesystem::path Folder;  // the folder it was looked up in
  std::filesystem::path Path;    // the file the values came from
  std::uintmax_t Size = 0;       // its size and modification time (ns) before reading;
  std::int64_t ModifiedNs = 0;   //   a change of either reads the file again
  int ValuesPerRecord = 0;       // record length the file was parsed with
  // The complete records in file order, up to the end of the file or the first record
  // that could not be read: ValuesPerRecord values each (record positions 1..N).
  std::vector<double> Values;
  // Running maximum of the records' end JDs (value 2): the first entry above an epoch is
  // the record where the plain sequential scan stops.
  std::vector<double> EndJdMax;
  // The run (De405State::De405RunStamp) in which the file was last checked on disk.
  std::uint64_t CheckedInRun = 0;
};

struct De405State {
  // --- Set once at start-up (InitDe405Layout) ---
  std::array<De405LayoutEntry, 12> De405Layout = De405LayoutFromTable();  // by ephemeris body 1..11
  int De405ValuesPerRecord = kDe405ValuesPerRecord;

  // The block file of the last failed read (empty for a date outside the files or no
  // folder known): what a read failure names.  A successful read leaves it as it was.
  std::filesystem::path De405FilePathRead;

  // Folder of the block files ascpYYYY.405.  Empty: the application folder's "JPL"
  // (Ui->AppFolder() / "JPL").
  std::filesystem::path De405Folder;

  // --- The last record read (index 0 unused; 1 start JD, 2 end JD (TDB), 3.. the
  // Chebyshev coefficients, km) ---
  std::array<double, kDe405ValuesPerRecord + 1> De405Record{};

  // --- One body at a time (De405BodyState) ---
  std::array<double, kDe405MaxSubIntervals + 1> De405SubIntervalStart{};  // JD, index 1..8

  // Raw states by ephemeris body number 1..11 (De405BodyState), axes of the equator and
  // equinox of J2000.0 (ICRF) as the files hold them; barycentric (solar-system
  // barycentre), the Moon (10) geocentric, 3 the Earth-Moon barycentre.  Position in km,
  // derivative with respect to the sub-interval's normalised time in km per half
  // sub-interval (times 2 / SubIntervalDays: km per day).
  std::array<double, 12> RawX{}, RawY{}, RawZ{};
  std::array<double, 12> RawVX{}, RawVY{}, RawVZ{};

  // --- Reading strategy ---
  // false (default): each block file is parsed once and kept in De405Cache, the covering
  // record is found by binary search.  true: the plain way, the file is opened
  // and scanned from its start for every epoch.  Both give bit-identical records.
  bool De405Rescan = false;
  // Parsed block files by block, index (file year - 1600) / 20.
  std::array<De405BlockCache, 21> De405Cache{};
  // How many times a block file was parsed into the cache (for tests and benchmarks).
  long De405FilesParsed = 0;

  // --- A run of many epochs (BeginEphemerisRun .. EndEphemerisRun) ---
  // Nonzero inside a run: each block file is checked on disk once per run, and records
  // are served in place from the parsed file through De405Values (1-based), not copied
  // into De405Record.  Zero outside: every epoch checks the file and copies its record.
  std::uint64_t De405RunStamp = 0;
  // cos and sin of the obliquity the ecliptic states were last rotated by, kept so that
  // they are not computed again for every body and epoch.
  double De405RotationObliquity = std::numeric_limits<double>::quiet_NaN();
  double De405RotationCos = 0, De405RotationSin = 0;
  std::uint64_t De405RunsBegun = 0;
  const double* De405Values = nullptr;
};

}  // namespace planova
