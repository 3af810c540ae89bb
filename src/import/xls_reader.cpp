#include "import/xls_reader.h"

#include <fstream>

#include "common/numtext.h"

#if defined(PLANOVA_HAVE_FREEXL) && PLANOVA_HAVE_FREEXL
#include <freexl.h>
#endif

namespace planova {

bool ParseCellAddress(std::string_view address, uint32_t& row, uint32_t& column) {
  constexpr uint32_t kMaxColumns = 16384;   // "XFD"
  constexpr uint32_t kMaxRows = 1048576;
  size_t k = 0;
  uint32_t col = 0;
  for (; k < address.size() && k < 4; ++k) {
    char ch = address[k];
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
    if (ch < 'A' || ch > 'Z') break;
    col = col * 26 + static_cast<uint32_t>(ch - 'A' + 1);
  }
  if (k == 0 || k > 3 || col > kMaxColumns) return false;
  size_t digits = address.size() - k;
  if (digits == 0 || digits > 7) return false;
  uint32_t r = 0;
  for (; k < address.size(); ++k) {
    char ch = address[k];
    if (ch < '0' || ch > '9') return false;
    r = r * 10 + static_cast<uint32_t>(ch - '0');
  }
  if (r < 1 || r > kMaxRows) return false;
  row = r - 1;
  column = col - 1;
  return true;
}

std::string NumberCellText(double value) { return RealText(value); }

#if defined(PLANOVA_HAVE_FREEXL) && PLANOVA_HAVE_FREEXL

bool FreeXlWorkbook::Open(const std::filesystem::path& path) {
  Close();
  problem_ = WorkbookProblem::kNone;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return false;
  const void* handle = nullptr;
  int rc = freexl_open(path.c_str(), &handle);
  if (rc != FREEXL_OK) {
    if (handle) freexl_close(handle);
    // A compound file FreeXL cannot read is a damaged workbook (a truncated copy); any
    // other file is no workbook at all.
    char head[8] = {};
    std::ifstream in(path, std::ios::binary);
    if (in.read(head, sizeof head) && std::string_view(head, 8) == std::string_view("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8))
      problem_ = WorkbookProblem::kDamaged;
    return false;
  }
  handle_ = handle;
  return true;
}

bool FreeXlWorkbook::SelectFirstSheet() {
  sheetSelected_ = false;
  if (!handle_) return false;
  unsigned int sheets = 0;
  if (freexl_get_info(handle_, FREEXL_BIFF_SHEET_COUNT, &sheets) != FREEXL_OK) {
    problem_ = WorkbookProblem::kDamaged;
    return false;
  }
  if (sheets == 0) {
    problem_ = WorkbookProblem::kNoSheet;
    return false;
  }
  if (freexl_select_active_worksheet(handle_, 0) != FREEXL_OK) {
    problem_ = WorkbookProblem::kDamaged;
    return false;
  }
  sheetSelected_ = true;
  return true;
}

std::string FreeXlWorkbook::CellText(std::string_view address) {
  uint32_t row = 0, column = 0;
  if (!sheetSelected_ || !ParseCellAddress(address, row, column) || column > 0xFFFF) return {};
  FreeXL_CellValue cell;
  if (freexl_get_cell_value(handle_, row, static_cast<unsigned short>(column), &cell) != FREEXL_OK) return {};
  switch (cell.type) {
    case FREEXL_CELL_INT: return NumberCellText(static_cast<double>(cell.value.int_value));
    case FREEXL_CELL_DOUBLE: return NumberCellText(cell.value.double_value);
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME: return cell.value.text_value ? std::string(cell.value.text_value) : std::string();
    default: return {};
  }
}

void FreeXlWorkbook::Close() {
  if (handle_) freexl_close(handle_);
  handle_ = nullptr;
  sheetSelected_ = false;
}

#else  // built without FreeXL: no workbook can be read

bool FreeXlWorkbook::Open(const std::filesystem::path&) { return false; }
bool FreeXlWorkbook::SelectFirstSheet() { return false; }
std::string FreeXlWorkbook::CellText(std::string_view) { return {}; }
void FreeXlWorkbook::Close() { handle_ = nullptr; sheetSelected_ = false; }

#endif

}  // namespace planova
