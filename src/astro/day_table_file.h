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
//
// The program is also shipped with a file of the same format holding every day from
// late 1959 to 2061 (tools/make_day_table.cpp, made by the build), beside the executable
// or in the installed data folder: a session reads it for the days its application
// folder's file lacks, so that even the first rigorous run of a new folder evaluates no
// series for dates of those years.  That copy is only read; one that does not check out
// is ignored.
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

// Reads the file of the state's application folder into the day table, then the shipped
// one (ShippedDayTableFolders), once per state (later calls do nothing); a file that
// cannot be read or does not check out adds nothing.  Days already in the table are kept.
void LoadDayTable(AstroState& a);

// Writes the blocks of the day table that belong to the application folder
// (NutationChunk::Own) to `file`.  False when it cannot be written.
bool WriteDayTable(const AstroState& a, const std::filesystem::path& file);

// Writes the day table to the application folder's file when days were added since it
// was read or written.  Returned: false when a write was due and failed (the next save
// tries again).
bool SaveDayTable(AstroState& a);

}  // namespace planova
