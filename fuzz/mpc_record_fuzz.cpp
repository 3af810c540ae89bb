// Fuzz target: one MPC 80-column observation line, as it stands.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/textfile.h"
#include "record_fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace planova;
  std::string_view line(reinterpret_cast<const char*>(data), size);
  FieldTexts field;
  RecordValues v = ConvertMpcLine(line, field);
  fuzz::CheckValues(v);
  if (v.Accepted && v.Reason) __builtin_trap();  // an accepted line has no reason to be set aside
  for (int k = 4; k <= 12; ++k) (void)Cp1251ToUtf8(field[static_cast<size_t>(k)]);
  return 0;
}
