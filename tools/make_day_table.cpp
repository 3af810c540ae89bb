// make_day_table FILE [FIRST_YEAR LAST_YEAR]
//
// Writes the rigorous chain's table of whole TT days (IAU 2000A nutation with the IAU 2006
// adjustments, and TDB-TT) for every day of the years FIRST_YEAR..LAST_YEAR (default
// 1960..2060), rounded out to whole blocks of the table, in the format of the application
// folder's NutationDays.bin (astro/day_table_file.h).  The build ships it beside the
// program, so that a session's first rigorous run reads these days instead of evaluating
// the series (some 60 microseconds a day).  The numbers are those the program computes
// when it lacks a day, to the bit: the same routine fills both.
#include <erfa.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "astro/astro_state.h"
#include "astro/day_table_file.h"

namespace {

// The integer JD (noon) of January 1 (`december31` false) or December 31 of a year.
bool NoonOf(int year, bool december31, int64_t& jd) {
  double jd0 = 0, jd1 = 0;
  if (eraCal2jd(year, december31 ? 12 : 1, december31 ? 31 : 1, &jd0, &jd1) != 0) return false;
  jd = static_cast<int64_t>(jd0 + jd1 + 0.5);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 4) {
    std::fprintf(stderr, "usage: make_day_table FILE [FIRST_YEAR LAST_YEAR]\n");
    return 2;
  }
  const int firstYear = argc == 4 ? std::atoi(argv[2]) : 1960;
  const int lastYear = argc == 4 ? std::atoi(argv[3]) : 2060;
  int64_t first = 0, last = 0;
  if (!NoonOf(firstYear, false, first) || !NoonOf(lastYear, true, last) || last < first) {
    std::fprintf(stderr, "make_day_table: no years %d..%d\n", firstYear, lastYear);
    return 2;
  }
  // Whole blocks: the interpolation's six days around a date near either end are there too.
  planova::AstroState a;
  for (int64_t block = planova::NutationChunkOf(first); block <= planova::NutationChunkOf(last); ++block) {
    auto chunk = std::make_shared<planova::NutationChunk>();
    chunk->Own = true;
    for (int d = 0; d < planova::kNutationChunk; ++d) {
      auto& day = chunk->Day[static_cast<size_t>(d)];
      planova::ComputeDay(block * planova::kNutationChunk + d, day[0], day[1], day[2]);
    }
    a.NutationTable[block] = std::move(chunk);
  }
  const std::filesystem::path file = argv[1];
  if (!planova::WriteDayTable(a, file)) {
    std::fprintf(stderr, "make_day_table: cannot write %s\n", file.c_str());
    return 1;
  }
  return 0;
}
