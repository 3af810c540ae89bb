// Fuzz target: the catalogue converter ("+/-" of window 1).  With the first byte even the
// rest is one catalogue line: a line that converts keeps the Dov layout, the time and the
// declination it stands for (within the rounding of the seconds' pattern) and, read by
// the import, the sign of its degrees.  With it odd the rest is a small catalogue file,
// converted whole: the conversion must end (a carry that never ends shows as a timeout).
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/numtext.h"
#include "file_fuzz_support.h"
#include "import/catalogue_converter.h"
#include "import/source_import.h"

namespace {

using namespace planova;

double Field(const std::string& line, FixedColumns c) {
  double v = 0;
  if (!TryParseFieldReal(DotToComma(CutPadded(line, c)), v)) std::abort();  // it converted, so it reads
  return v;
}

// Minutes and seconds of the catalogue line and of the Dov line stand for the same
// seconds, within the half of the last place of the seconds' pattern.
void CheckSeconds(const std::string& line, const std::string& dov, CatalogueFieldIndex minutes, CatalogueFieldIndex seconds,
                  double halfPlace) {
  const CatalogueField* f = kCatalogueLayout;
  const double want = Field(line, f[minutes].input) * 60 + Field(line, f[seconds].input);
  const double got = Field(dov, f[minutes].output) * 60 + Field(dov, f[seconds].output);
  if (!(std::fabs(got - want) <= halfPlace * (1 + 1e-9) + 1e-9 * std::fabs(want))) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  if (data[0] % 2 == 1) {
    const auto& folder = fuzz::FuzzFolder();
    fuzz::WriteBytes(folder / "catalogue.txt", data + 1, size - 1);
    std::string message;
    (void)ConvertCatalogueToDov(folder / "catalogue.txt", folder / "dov.txt", message);
    return 0;
  }
  const std::string line(reinterpret_cast<const char*>(data + 1), size - 1);
  std::string dov;
  if (!ConvertCatalogueLine(line, dov)) return 0;
  if (dov.size() != kDovLineLength || dov[kDovTimeSecondsPoint - 1] != '.' || dov[kDovDecSecondsPoint - 1] != '.') {
    std::abort();
  }
  CheckSeconds(line, dov, kCatTimeMinutes, kCatTimeSeconds, 0.05);
  CheckSeconds(line, dov, kCatDecMinutes, kCatDecSeconds, 0.005);
  FieldTexts field;
  const RecordValues v = ConvertDovLine(dov, false, false, CalendarRule::kGregorianFrom1582, field);
  const std::string degrees = CutPadded(dov, kDovNormalLayout[kDovDecDegrees]);
  const size_t sign = degrees.find_first_not_of(' ');
  if (v.Accepted && sign != std::string::npos && degrees[sign] == '-' && v.LatDeg > 0) std::abort();
  return 0;
}
