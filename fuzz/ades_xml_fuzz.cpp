// Fuzz target: a whole ADES XML file, as it stands, through the reader and the record
// converter.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "import/ades_reader.h"
#include "record_fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace planova;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  FieldTexts field;
  int64_t seen = 0;
  const AdesReadResult r = ReadAdesXml(text, [&](const AdesRecordTexts& record) {
    ++seen;
    RecordValues v = ConvertAdesRecord(record, field);
    fuzz::CheckAdesValues(v);
  });
  if (r.Ok != r.Message.empty() || r.Records != seen) __builtin_trap();  // a refused file hands out nothing
  return 0;
}
