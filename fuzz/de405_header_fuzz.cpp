// Fuzz target: the JPL ASCII header parse (header.4xx).  Any text: the parse either
// refuses with a reason or gives a layout whose every body fits in NCOEFF values, with
// NCOEFF = KSIZE/2 and a record length and span that are numbers.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "astro/jpl_ascii.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace planova;
  const std::string text(reinterpret_cast<const char*>(data), size);
  JplHeader h;
  std::string error;
  if (!ParseJplHeader(text, h, error)) {
    if (error.empty()) std::abort();
    return 0;
  }
  if (h.Ksize != 2 * h.Ncoeff || !(h.RecordDays > 0) || !(h.LastJd > h.FirstJd)) std::abort();
  for (size_t body = 1; body <= 11; ++body) {
    const JplLayoutEntry& e = h.Layout[body];
    if (e.FirstCoefficient < 3 || e.FirstCoefficient + 3 * e.CoefficientsPerComponent * e.SubIntervals - 1 > h.Ncoeff)
      std::abort();
  }
  return 0;
}
