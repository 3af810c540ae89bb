#include "common/columns.h"

namespace planova {

std::string_view CutColumns(std::string_view line, FixedColumns c) {
  size_t from = static_cast<size_t>(c.first - 1);
  if (from >= line.size()) return {};
  return line.substr(from, static_cast<size_t>(c.width()));
}

std::string CutPadded(std::string_view line, FixedColumns c) {
  std::string out(CutColumns(line, c));
  out.resize(static_cast<size_t>(c.width()), ' ');
  return out;
}

bool PlaceAt(std::string& line, int column, std::string_view text) {
  if (column < 1) return false;
  for (size_t k = 0; k < text.size(); ++k) {
    size_t pos = static_cast<size_t>(column - 1) + k;
    if (pos >= line.size()) break;
    line[pos] = text[k];
  }
  return true;
}

bool PlaceEndingAt(std::string& line, int endColumn, std::string_view text) {
  return PlaceAt(line, endColumn + 1 - static_cast<int>(text.size()), text);
}

bool PlaceFilling(std::string& line, FixedColumns c, std::string_view text) {
  if (static_cast<int>(text.size()) != c.width()) return false;
  return PlaceAt(line, c.first, text);
}

}  // namespace planova
