// Helpers shared by the fuzz targets of the record converters.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "common/numtext.h"
#include "import/ades_reader.h"
#include "import/source_import.h"

namespace planova::fuzz {

// Every value a converter hands over must be a finite number, and must survive the
// accepted-log patterns.
inline void CheckValues(const RecordValues& v) {
  if (v.HasJd && !std::isfinite(v.Jd)) std::abort();
  if (v.HasLon && !std::isfinite(v.LonDeg)) std::abort();
  if (v.HasLat && !std::isfinite(v.LatDeg)) std::abort();
  if (v.Accepted && !(v.HasJd)) std::abort();
  if (v.Accepted) {
    (void)Format(v.Jd, "0000000.0000000");
    (void)Format(v.LonDeg, "000.000000000");
    (void)Format(v.LatDeg, "000.000000000");
  }
}

// An ADES record besides: an accepted one has no reason to be set aside, a place within
// the sky and uncertainties within what the store's floats hold.
inline void CheckAdesValues(const RecordValues& v) {
  CheckValues(v);
  if (v.Accepted && v.Reason) std::abort();
  if (v.Accepted && !(v.LonDeg >= 0 && v.LonDeg < 360 && std::fabs(v.LatDeg) <= 90)) std::abort();
  if (!(v.SigmaRa >= 0 && v.SigmaRa <= 1e6 && v.SigmaDec >= 0 && v.SigmaDec <= 1e6)) std::abort();
}

// A whole ADES file, as it stands, through `read` (ReadAdesPsv or ReadAdesXml) and the
// record converter: every record checked, and a refused file hands out nothing.
template <typename Read>
void FuzzAdesFile(Read read, const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  FieldTexts field;
  int64_t seen = 0;
  const AdesReadResult r = read(text, [&](const AdesRecordTexts& record) {
    ++seen;
    CheckAdesValues(ConvertAdesRecord(record, field));
  });
  if (r.Ok != r.Message.empty() || r.Records != seen) __builtin_trap();
}

}  // namespace planova::fuzz
