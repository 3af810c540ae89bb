// Fuzz target: one BDL observation line through the loaders' reader (ParseBdlLine for
// the date, then the coordinates, the note and the display line).
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "bdl/bdl_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace planova;
  std::string line(reinterpret_cast<const char*>(data), size);
  BdlState b;
  b.InputLine = line;
  (void)ParseBdlLine(b, CalendarRule::kGregorianFrom1582);
  BdlRecord r;
  if (ReadBdlRecord(b, CalendarRule::kGregorianFrom1582, line, r)) {
    if (!std::isfinite(r.LonDeg) || !std::isfinite(r.LatDeg)) std::abort();
    (void)BdlDisplayLine(b, r, 1);
  }
  return 0;
}
