// Fuzz target: one table row.  The first two bytes choose the options of window 1; the
// rest holds the texts of fields 1..16 separated by line feeds.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "record_fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace planova;
  if (size < 2) return 0;
  TableOptions o;
  o.Date = static_cast<DateForm>(data[0] % 3);
  o.Longitude = static_cast<LongitudeForm>((data[0] / 3) % 3);
  o.Param = static_cast<Parameter>((data[0] / 9) % 3);
  o.LatitudeDegrees = (data[1] & 1) != 0;
  o.PointSeparator = (data[1] & 2) != 0;
  o.LatitudeFromPole = (data[1] & 4) != 0;
  FieldTexts field;
  std::string_view rest(reinterpret_cast<const char*>(data + 2), size - 2);
  for (size_t k = 1; k <= 16 && !rest.empty(); ++k) {
    size_t end = rest.find('\n');
    field[k] = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  }
  const CalendarRule rule = (data[1] & 8) ? CalendarRule::kJulian : CalendarRule::kGregorianFrom1582;
  fuzz::CheckValues(ConvertTableRow(field, o, rule));
  return 0;
}
