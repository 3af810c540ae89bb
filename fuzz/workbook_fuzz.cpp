// Fuzz target: the .xlsx and .ods reader.  The first byte chooses what the rest is:
//   0: the workbook file itself (the zip archive as it comes);
//   1: an .xlsx's worksheet part, then after a byte 0 its shared strings part, in a
//      workbook whose other parts are fixed;
//   2: an .ods's content.xml;
//   3: an .ods's META-INF/manifest.xml, then after a byte 0 its content.xml.
// The reader must not fail on any input; a workbook it cannot read must say why, one it
// reads must say nothing, and every cell must come out as UTF-8 text.
#include <zip.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "file_fuzz_support.h"
#include "import/zip_workbook.h"

namespace {

using namespace planova;
namespace fs = std::filesystem;
using Parts = std::vector<std::pair<std::string, std::string>>;

void WriteZip(const fs::path& path, const Parts& parts) {
  int error = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  if (!archive) std::abort();
  for (const auto& [name, content] : parts) {
    zip_source_t* source = zip_source_buffer(archive, content.data(), content.size(), 0);
    if (!source || zip_file_add(archive, name.c_str(), source, ZIP_FL_OVERWRITE) < 0) std::abort();
  }
  if (zip_close(archive) != 0) std::abort();
}

const char kRootRels[] =
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId1" Target="xl/workbook.xml" )"
    R"(Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument"/></Relationships>)";
const char kWorkbook[] = R"(<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" )"
                         R"(xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">)"
                         R"(<sheets><sheet name="S" sheetId="1" r:id="rId1"/></sheets></workbook>)";
const char kWorkbookRels[] =
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId1" Target="worksheets/sheet1.xml" )"
    R"(Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet"/>)"
    R"(<Relationship Id="rId2" Target="sharedStrings.xml" )"
    R"(Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings"/></Relationships>)";

// True when `text` is well-formed UTF-8.
bool IsUtf8(const std::string& text) {
  for (size_t k = 0; k < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[k]);
    const size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (n == 0 || k + n > text.size()) return false;
    for (size_t j = 1; j < n; ++j) {
      if ((static_cast<unsigned char>(text[k + j]) >> 6) != 2) return false;
    }
    k += n;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const fs::path path = fuzz::FuzzFolder() / "book";
  const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  const size_t cut = rest.find('\0');
  const std::string first(rest.substr(0, cut));
  const std::string second(cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1));
  switch (data[0] % 4) {
    case 0:
      fuzz::WriteBytes(path, data + 1, size - 1);
      break;
    case 1:
      WriteZip(path, {{"_rels/.rels", kRootRels},
                      {"xl/workbook.xml", kWorkbook},
                      {"xl/_rels/workbook.xml.rels", kWorkbookRels},
                      {"xl/worksheets/sheet1.xml", first},
                      {"xl/sharedStrings.xml", second}});
      break;
    case 2:
      WriteZip(path,
               {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"}, {"content.xml", std::string(rest)}});
      break;
    default:
      WriteZip(path, {{"META-INF/manifest.xml", first}, {"content.xml", second}});
      break;
  }

  ZipWorkbook book;
  if (!book.Open(path) || !book.SelectFirstSheet()) {
    if (book.Problem() == WorkbookProblem::kNone) std::abort();
    return 0;
  }
  if (book.Problem() != WorkbookProblem::kNone) std::abort();
  static const char* const kFar[] = {"XFD1", "A1048576", "XFD1048576", "AA100", "Z1000"};
  for (int row = 1; row <= 12; ++row) {
    for (char column = 'A'; column <= 'Q'; ++column) {
      if (!IsUtf8(book.CellText(column + std::to_string(row)))) std::abort();
    }
  }
  for (const char* address : kFar) {
    if (!IsUtf8(book.CellText(address))) std::abort();
  }
  book.Close();
  if (!book.CellText("A1").empty()) std::abort();
  return 0;
}
