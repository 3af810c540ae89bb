#include "import/catalogue_converter.h"

#include <cstring>

#include "common/numtext.h"
#include "common/textfile.h"

namespace planova {

namespace {

constexpr const char* kCrLf = "\r\n";

// Columns of a line; blanks where the line is shorter.
std::string Cut(const std::string& line, CatalogueColumns c) {
  std::string out;
  for (int col = c.first; col <= c.last; ++col) {
    size_t k = static_cast<size_t>(col - 1);
    out += k < line.size() ? line[k] : ' ';
  }
  return out;
}

// Writes `text` into `line` at `c`; false unless it fills the columns exactly.
bool Put(std::string& line, CatalogueColumns c, const std::string& text) {
  if (static_cast<int>(text.size()) != c.width()) return false;
  line.replace(static_cast<size_t>(c.first - 1), text.size(), text);
  return true;
}

}  // namespace

bool SplitMinutesAndSeconds(const std::string& minutesText, const std::string& secondsText, const char* secondsPattern,
                            std::string& minutes, std::string& seconds) {
  double m = 0, s = 0;
  if (!TryParseReal(DotToComma(minutesText), m) || !TryParseReal(DotToComma(secondsText), s)) return false;
  s = (m - Fix(m)) * 60 + s;
  double whole = Fix(m);
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
  if (!SplitMinutesAndSeconds(Cut(line, f[kCatTimeMinutes].input), Cut(line, f[kCatTimeSeconds].input),
                              f[kCatTimeSeconds].pattern, timeMinutes, timeSeconds) ||
      !SplitMinutesAndSeconds(Cut(line, f[kCatDecMinutes].input), Cut(line, f[kCatDecSeconds].input),
                              f[kCatDecSeconds].pattern, decMinutes, decSeconds)) {
    return false;
  }
  out.assign(kDovLineLength, ' ');
  bool ok = Put(out, f[kCatDateHour].output, Cut(line, f[kCatDateHour].input)) &&
            Put(out, f[kCatTimeMinutes].output, timeMinutes) && Put(out, f[kCatTimeSeconds].output, timeSeconds) &&
            Put(out, f[kCatRaDecDegrees].output, Cut(line, f[kCatRaDecDegrees].input)) &&
            Put(out, f[kCatDecMinutes].output, decMinutes) && Put(out, f[kCatDecSeconds].output, decSeconds) &&
            Put(out, f[kCatNumber].output, Cut(line, f[kCatNumber].input));
  // The number format writes the decimal comma; the Dov layout has a point there.
  out[kDovTimeSecondsPoint - 1] = '.';
  out[kDovDecSecondsPoint - 1] = '.';
  return ok;
}

bool ConvertCatalogueToDov(const std::filesystem::path& input, const std::filesystem::path& output, std::string& message) {
  TextInputFile in;
  if (!in.Open(input)) {
    message = "Не найден файл  " + std::string(kCrLf) + PathText(input);
    return false;
  }
  TextOutputFile out;
  if (!out.Create(output)) {
    message = "Ошибка записи в файл" + std::string(kCrLf) + PathText(output);
    return false;
  }
  std::string line, converted;
  int lineNumber = 0;
  for (; lineNumber < 2 && in.ReadLine(line); ++lineNumber) out.WriteLine(line);
  while (in.ReadLine(line)) {
    ++lineNumber;
    if (!ConvertCatalogueLine(line, converted)) {
      in.Close();
      out.Close();
      message = "Ошибка чтения данных из файла" + std::string(kCrLf) + PathText(input) + kCrLf + "строка " +
                std::to_string(lineNumber);
      return false;
    }
    out.WriteLine(converted);
  }
  in.Close();
  if (!out.Close()) {
    message = "Ошибка записи в файл" + std::string(kCrLf) + PathText(output);
    return false;
  }
  return true;
}

}  // namespace planova
