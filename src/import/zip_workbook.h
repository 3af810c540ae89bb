// Reading observation tables kept as Office Open XML (.xlsx) or OpenDocument (.ods)
// workbooks: zip archives of XML parts, read with libzip and Qt's XML stream reader.
//
// Only what a catalogue needs is read: the first worksheet (.xlsx: the first sheet that
// xl/workbook.xml lists, through its relationship; .ods: the first table:table of
// content.xml), and of its cells the value as the import wants it:
//   - a number as NumberCellText gives it, so that the same catalogue saved as .xls,
//     .xlsx or .ods imports to the same records digit for digit;
//   - a date or time cell as its serial number (days since 1899-12-30, the time as the
//     fraction of a day), since neither format keeps the text a spreadsheet shows;
//   - a boolean as 1 or 0, an error cell as the empty text;
//   - a text: .xlsx shared and inline strings (phonetic runs left out), .ods paragraphs
//     joined by a line end, with text:s spaces, tabs and line breaks, annotations left out.
// Sheets are kept as runs of rows and runs of equal cells, so the repeated rows and
// columns of an .ods file cost what their text costs once.
//
// Refused, with the reason kept for the import's message: a file that is not a zip (an
// encrypted .xlsx is an OLE compound file with an EncryptionInfo stream), an ODF file
// whose manifest holds encryption data, Strict Office Open XML, a workbook without a
// sheet, and a part that cannot be read or is not well-formed XML.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "import/xls_reader.h"

namespace planova {

// An .xlsx or .ods workbook, told apart by its parts rather than by its file name.
class ZipWorkbook : public Workbook {
 public:
  ZipWorkbook();
  ~ZipWorkbook() override;
  ZipWorkbook(const ZipWorkbook&) = delete;
  ZipWorkbook& operator=(const ZipWorkbook&) = delete;

  bool Open(const std::filesystem::path& path) override;
  bool SelectFirstSheet() override;
  std::string CellText(std::string_view address) override;
  void Close() override;
  WorkbookProblem Problem() const override { return problem_; }

 private:
  struct State;
  std::unique_ptr<State> state_;
  WorkbookProblem problem_ = WorkbookProblem::kNone;
};

// The reader a table file needs by its name: FreeXL for ".xls" (any case), ZipWorkbook
// for the others.
class TableWorkbook : public Workbook {
 public:
  bool Open(const std::filesystem::path& path) override;
  bool SelectFirstSheet() override;
  std::string CellText(std::string_view address) override;
  void Close() override;
  WorkbookProblem Problem() const override;

 private:
  FreeXlWorkbook xls_;
  ZipWorkbook zip_;
  Workbook* current_ = nullptr;
};

}  // namespace planova
