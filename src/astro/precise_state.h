// Module-wide state of the rigorous reduction: a table of IAU 2000A nutation (IAU 2006
// adjusted), of TDB-TT and of the equation of the origins at whole TT days, filled as dates
// are asked for and kept for the life of the application (and its nutation and TDB-TT
// between sessions, day_table_file.h).  A base of AstroState.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <memory>
#include <unordered_map>
#include <vector>

#include "astro/jpl_ephemeris.h"

namespace planova {

// One block of kNutationChunk consecutive days: per day dpsi, deps (radians, nutation in
// longitude and obliquity, eraNut06a), TDB-TT (seconds, geocentric, eraDtdb) and the
// equation of the origins (radians, eraEo06a: Earth rotation angle - Greenwich apparent
// sidereal time) at the whole TT JD (noon); a value not computed yet holds NaN (the
// equation of the origins is computed only for a topocentric place).
inline constexpr int kNutationChunk = 256;
// The block of the day table that holds a day (rounding towards minus infinity).
constexpr int64_t NutationChunkOf(int64_t day) {
  return day >= 0 ? day / kNutationChunk : (day - kNutationChunk + 1) / kNutationChunk;
}
struct NutationChunk {
  NutationChunk() {
    for (auto& d : Day) d.fill(std::numeric_limits<double>::quiet_NaN());
  }
  std::array<std::array<double, 4>, kNutationChunk> Day;
  // Whether the block belongs in the application folder's file: a day of it was computed
  // here or read from that file (a block only of the table shipped with the program is
  // not written again).
  bool Own = false;
};

struct PreciseState {
  // The blocks by index floor(day / kNutationChunk), day the integer TT JD.  Written by
  // ComputePrecisePlace's interpolation only.
  std::unordered_map<int64_t, std::shared_ptr<NutationChunk>> NutationTable;
  // The block used last, which the next date nearly always wants again.
  int64_t NutationLastChunk = INT64_MIN;
  NutationChunk* NutationLast = nullptr;
  // The table kept in the application folder (day_table_file.h): whether it was read, and
  // the days computed since it was read or written.
  bool DayTableRead = false;
  long NutationDaysAdded = 0;
  // Folders that may hold the table shipped with the program (NutationDays.bin beside the
  // executable, in the installed data folder): the first whose file checks out adds the
  // days the application folder's file does not have.  Read only.
  std::vector<std::filesystem::path> ShippedDayTableFolders;

  // Where each planet that may deflect the light (Venus, Mars, Jupiter, Saturn, Uranus,
  // Neptune) can be during the sub-interval of the record last asked for, from the block
  // files of the reader numbered Reader (JplAsciiEphemeris::Serial, 0: none) as they were
  // after its FilesParsed parses; a parse since, or another reader, makes it stale.
  struct Reach {
    uint64_t Reader = 0;
    long FilesParsed = -1;
    ChebyshevBound Bound;
    // The bound's centre and radius in au, as the deflection test takes them.
    std::array<double, 3> CentreAu{};
    double RadiusAu = 0;
  };
  std::array<Reach, 6> DeflectorReaches;

  // The site of the last topocentric place (east longitude, rho cos phi', rho sin phi',
  // compared bit for bit; none before the first) and its terrestrial position, km, kept so
  // that a run from one site does not turn its longitude again for every place.
  // TT - UTC of the UTC month last asked for from 1973 on, when the leap-second table has
  // no drift and one value serves the whole month: the JD (UTC) it serves (From, To),
  // a millionth of a day inside the month's ends, and the seconds.
  double TtMinusUtcFrom = 1, TtMinusUtcTo = 0, TtMinusUtcOfMonth = 0;

  bool SiteKnown = false;
  std::array<double, 3> SiteKey{};
  std::array<double, 3> SiteTerrestrialKm{};
};

}  // namespace planova
