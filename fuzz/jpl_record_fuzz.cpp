// Fuzz target: one JPL observation line (body test and conversion).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/textfile.h"
#include "record_fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace planova;
  std::string_view line(reinterpret_cast<const char*>(data), size);
  for (int32_t body : {0, 4, 11}) (void)IsJplObservationOf(line, body);
  FieldTexts field;
  RecordValues v = ConvertJplLine(line, field);
  fuzz::CheckValues(v);
  for (int k = 4; k <= 12; ++k) (void)Cp1251ToUtf8(field[static_cast<size_t>(k)]);
  return 0;
}
