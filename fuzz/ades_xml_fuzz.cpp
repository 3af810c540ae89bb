// Fuzz target: a whole ADES XML file, as it stands, through the reader and the record
// converter.
#include <cstddef>
#include <cstdint>

#include "record_fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  planova::fuzz::FuzzAdesFile(planova::ReadAdesXml, data, size);
  return 0;
}
