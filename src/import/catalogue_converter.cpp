#include "import/catalogue_converter.h"

#include "common/numtext.h"
#include "common/textfile.h"

namespace planova {

namespace {

// Columns first..last (1-based) of a line; blanks where the line is shorter.
std::string Cut(const std::string& line, int first, int last) {
  std::string out;
  for (int c = first; c <= last; ++c) {
    size_t k = static_cast<size_t>(c - 1);
    out += k < line.size() ? line[k] : ' ';
  }
  return out;
}

// Minutes with a fraction and seconds as whole minutes and seconds with `pattern`
// ("00.0" or "00.00"), carrying whole minutes while the seconds need more columns.
bool MinutesAndSeconds(const std::string& minutesText, const std::string& secondsText, const char* pattern,
                       std::string& minutes, std::string& seconds) {
  double m = 0, s = 0;
  if (!TryParseReal(DotToComma(minutesText), m) || !TryParseReal(DotToComma(secondsText), s)) return false;
  s = (m - Fix(m)) * 60 + s;
  double whole = Fix(m);
  std::string formatted = Format(s, pattern);
  const size_t width = std::string(pattern).size();
  while (formatted.size() > width && s >= 60) {
    s -= 60;
    whole += 1;
    formatted = Format(s, pattern);
  }
  minutes = Format(whole, "00");
  seconds = formatted;
  return true;
}

}  // namespace

bool ConvertCatalogueLine(const std::string& line, std::string& out) {
  std::string m1, s1, m2, s2;
  if (!MinutesAndSeconds(Cut(line, 23, 26), Cut(line, 28, 31), "00.0", m1, s1)) return false;
  if (!MinutesAndSeconds(Cut(line, 58, 61), Cut(line, 64, 68), "00.00", m2, s2)) return false;
  out = Cut(line, 1, 21) + " " + m1 + " " + s1 + "    " + Cut(line, 36, 55) + "  " + m2 + "  " + s2 + "   " +
        Cut(line, 72, 77);
  // The number format writes the decimal comma; the Dov layout has a point there.
  if (out.size() >= 28) out[27] = '.';
  if (out.size() >= 62) out[61] = '.';
  return true;
}

bool ConvertCatalogueToDov(const std::filesystem::path& input, const std::filesystem::path& output, std::string& message) {
  TextInputFile in;
  if (!in.Open(input)) {
    message = "Не найден файл  \r\n" + PathText(input);
    return false;
  }
  TextOutputFile out;
  if (!out.Create(output)) {
    message = "Ошибка записи в файл\r\n" + PathText(output);
    return false;
  }
  std::string line, converted;
  for (int k = 0; k < 2 && in.ReadLine(line); ++k) out.WriteLine(line);
  int number = 2;
  while (in.ReadLine(line)) {
    ++number;
    if (!ConvertCatalogueLine(line, converted)) {
      out.Close();
      message = "Ошибка чтения данных из файла\r\n" + PathText(input) + "\r\nстрока " + std::to_string(number);
      return false;
    }
    out.WriteLine(converted);
  }
  if (!out.Close()) {
    message = "Ошибка записи в файл\r\n" + PathText(output);
    return false;
  }
  return true;
}

}  // namespace planova
