#include "import/catalogue_converter.h"

#include <cstring>

#include "common/numtext.h"
#include "common/textfile.h"

namespace planova {

namespace {

constexpr const char* kCrLf = "\r\n";

// Seconds that cannot fit whatever is carried: 99 minutes carried from them still leave
// 100 s, and a 100th minute does not fit the two columns of the minutes.
constexpr double kSecondsBeyondAnyCarry = 99 * 60 + 100;

}  // namespace

bool SplitMinutesAndSeconds(const std::string& minutesText, const std::string& secondsText, const char* secondsPattern,
                            std::string& minutes, std::string& seconds) {
  double m = 0, s = 0;
  if (!TryParseFieldReal(DotToComma(minutesText), m) || !TryParseFieldReal(DotToComma(secondsText), s)) return false;
  s = (m - Fix(m)) * 60 + s;
  double whole = Fix(m);
  // Refused before the carry, which then takes at most 99 steps.
  if (!(s < kSecondsBeyondAnyCarry) || !(whole <= 99)) return false;
  const size_t width = std::strlen(secondsPattern);
  seconds = Format(s, secondsPattern);
  // 100 s and more would push the line out of its columns: carry whole minutes.
  while (seconds.size() > width && s >= 60) {
    s -= 60;
    whole += 1;
    seconds = Format(s, secondsPattern);
  }
  minutes = Format(whole, "00");
  return seconds.size() == width && minutes.size() == 2 && s >= 0 && whole >= 0;
}

bool ConvertCatalogueLine(const std::string& line, std::string& out) {
  const CatalogueField* f = kCatalogueLayout;
  std::string timeMinutes, timeSeconds, decMinutes, decSeconds;
  if (!SplitMinutesAndSeconds(CutPadded(line, f[kCatTimeMinutes].input), CutPadded(line, f[kCatTimeSeconds].input),
                              f[kCatTimeSeconds].pattern, timeMinutes, timeSeconds) ||
      !SplitMinutesAndSeconds(CutPadded(line, f[kCatDecMinutes].input), CutPadded(line, f[kCatDecSeconds].input),
                              f[kCatDecSeconds].pattern, decMinutes, decSeconds)) {
    return false;
  }
  out.assign(kDovLineLength, ' ');
  bool ok = PlaceFilling(out, f[kCatDateHour].output, CutPadded(line, f[kCatDateHour].input)) &&
            PlaceFilling(out, f[kCatTimeMinutes].output, timeMinutes) &&
            PlaceFilling(out, f[kCatTimeSeconds].output, timeSeconds) &&
            PlaceFilling(out, f[kCatRaDecDegrees].output, CutPadded(line, f[kCatRaDecDegrees].input)) &&
            PlaceFilling(out, f[kCatDecMinutes].output, decMinutes) &&
            PlaceFilling(out, f[kCatDecSeconds].output, decSeconds) &&
            PlaceFilling(out, f[kCatNumber].output, CutPadded(line, f[kCatNumber].input));
  // The number format writes the decimal comma; the Dov layout has a point there.
  out[kDovTimeSecondsPoint - 1] = '.';
  out[kDovDecSecondsPoint - 1] = '.';
  return ok;
}

ConversionEnd ConvertCatalogueToDov(const std::filesystem::path& input, const std::filesystem::path& output,
                                    std::string& message, int32_t* counted) {
  message.clear();
  if (counted) *counted = 0;
  TextInputFile in;
  if (!in.Open(input)) {
    message = "Не найден файл  " + std::string(kCrLf) + PathText(input);
    return ConversionEnd::kInputMissing;
  }
  TextOutputFile out;
  if (!out.Create(output)) return ConversionEnd::kWriteFailed;
  std::string line, converted;
  int lineNumber = 0;
  int32_t records = 0;
  for (; lineNumber < 2 && in.ReadLine(line); ++lineNumber) out.WriteLine(line);
  while (in.ReadLine(line)) {
    ++lineNumber;
    if (!ConvertCatalogueLine(line, converted)) {
      message = "Ошибка чтения данных из файла" + std::string(kCrLf) + PathText(input) + kCrLf + "строка " +
                std::to_string(lineNumber);
      return ConversionEnd::kBadLine;
    }
    out.WriteLine(converted);
    ++records;
  }
  if (!out.Commit()) return ConversionEnd::kWriteFailed;
  if (counted) *counted = records;
  return ConversionEnd::kConverted;
}

}  // namespace planova
