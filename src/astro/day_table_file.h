// The rigorous chain's table of whole TT days (PreciseState: IAU 2000A nutation and TDB-TT)
// kept between sessions in the application folder, so that a new session's first rigorous
// run does not evaluate the series again for the days an earlier session computed (some
// 60 microseconds a day: 1.3 s for every day of 60 years).
//
// File: <application folder>/NutationDays.bin, binary in this machine's byte order: a
// heading (the format's name and version, ERFA's version, the number 1.5 as a check of the
// byte order, the count of blocks), then per block of kNutationChunk days its index and
// dpsi, deps, TDB-TT of each day (NaN: not computed), then a 64-bit FNV-1a checksum of the
// bytes before it.  Written to a temporary file and renamed.  A file that does not check
// out (damaged, cut short, of another ERFA or byte order, or whose first day is not what
// the series give now, bit for bit) is ignored and replaced at the next save: a day read
// from it is always the number the series would give.
#pragma once

#include <cstdint>
#include <filesystem>

namespace planova {

struct AstroState;

// A whole TT day's row as the table holds it: dpsi, deps (radians, eraNut06a) and TDB-TT
// (seconds, eraDtdb, geocentric) at JD `day` (noon).
void ComputeDay(int64_t day, double& dpsi, double& deps, double& tdbMinusTt);

// The file's place in an application folder.
std::filesystem::path DayTableFile(const std::filesystem::path& appFolder);

// Reads the file of the state's application folder into the day table, once per state
// (later calls do nothing); nothing when no folder is known or the file does not check
// out.  Days already in the table are kept.
void LoadDayTable(AstroState& a);

// Writes the day table to the file when days were added since it was read or written.
// Returned: false when a write was due and failed (the next save tries again).
bool SaveDayTable(AstroState& a);

}  // namespace planova
