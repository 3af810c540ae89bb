// Fuzz target: one Dov line.  The first byte chooses the "+long" variant, the polar
// distance and the calendar; the rest is the line.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/textfile.h"
#include "record_fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace planova;
  if (size == 0) return 0;
  const uint8_t choice = data[0];
  std::string_view line(reinterpret_cast<const char*>(data + 1), size - 1);
  const CalendarRule rule = (choice & 4) ? CalendarRule::kJulian : CalendarRule::kGregorianFrom1582;
  FieldTexts field;
  RecordValues v = ConvertDovLine(line, (choice & 1) != 0, (choice & 2) != 0, rule, field);
  fuzz::CheckValues(v);
  for (int k = 4; k <= 12; ++k) (void)Cp1251ToUtf8(field[static_cast<size_t>(k)]);
  return 0;
}
