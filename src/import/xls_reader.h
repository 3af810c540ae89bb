// Reading observation tables kept as legacy Excel workbooks (.xls, Excel 97-2003).
//
// The table import needs four operations only: open a workbook file, take its first
// worksheet, read one cell by its address ("B2"), close the workbook.  They form the
// small interface `Workbook`; `FreeXlWorkbook` implements it with the FreeXL library
// (BIFF5/BIFF8 files read directly, no spreadsheet application needed), `ZipWorkbook`
// (import/zip_workbook.h) for .xlsx and .ods, and tests can feed a sheet of their own
// through the same interface.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace planova {

// Why a workbook could not be opened or has no sheet to read, for the import's message.
enum class WorkbookProblem {
  kNone,         // no reason known beyond "missing or not a workbook"
  kNotWorkbook,  // not a zip archive, or a zip that holds no .xlsx or .ods workbook
  kEncrypted,    // protected by a password (an encrypted .xlsx, an ODF file with encryption)
  kStrict,       // Strict Office Open XML (namespaces http://purl.oclc.org/ooxml/...)
  kNoSheet,      // a workbook without a worksheet
  kDamaged,      // a part that cannot be read or is not well-formed XML (or an .xls FreeXL refuses)
  kTooLarge,     // a sheet whose cells would take more than kMaxSheetMegabytes
};

// The memory the cells of one sheet of an .xlsx or .ods workbook may take, megabytes.
constexpr int kMaxSheetMegabytes = 32;

// One workbook opened for reading.  Cell texts are UTF-8.
class Workbook {
 public:
  virtual ~Workbook() = default;

  // Opens the workbook file; false when the file is missing or is not a workbook.
  virtual bool Open(const std::filesystem::path& path) = 0;
  // Makes the first worksheet the one that cells are read from; false when there is none.
  virtual bool SelectFirstSheet() = 0;
  // The value of a cell of the selected sheet as text: a text cell as it stands, a
  // number as the text of the number with the decimal comma ("1995", "12,5"), an empty
  // cell, a cell beyond the used part of the sheet and an address that is not a cell
  // address ("", "1", "B") as the empty text.
  virtual std::string CellText(std::string_view address) = 0;
  // Ends the work on the workbook; harmless when nothing is open.
  virtual void Close() = 0;
  // After Open or SelectFirstSheet failed: why, where the reader can tell.
  virtual WorkbookProblem Problem() const { return WorkbookProblem::kNone; }
};

// Splits a cell address such as "B2" or "aa17" into a zero-based row and column:
// one to three letters (either case) then a row number from 1 up.  False for anything
// else, and for a column beyond "XFD" or a row beyond 1048576 (the largest sheet).
bool ParseCellAddress(std::string_view address, uint32_t& row, uint32_t& column);

// The text of a number cell: up to 15 significant digits, decimal comma, no trailing
// zeros ("2449728,39719444"), as the spreadsheet shows a general-format number.
std::string NumberCellText(double value);

// A workbook read with FreeXL.  Without FreeXL in the build, Open always fails.
class FreeXlWorkbook : public Workbook {
 public:
  FreeXlWorkbook() = default;
  ~FreeXlWorkbook() override { Close(); }
  FreeXlWorkbook(const FreeXlWorkbook&) = delete;
  FreeXlWorkbook& operator=(const FreeXlWorkbook&) = delete;

  bool Open(const std::filesystem::path& path) override;
  bool SelectFirstSheet() override;
  std::string CellText(std::string_view address) override;
  void Close() override;
  WorkbookProblem Problem() const override { return problem_; }

 private:
  const void* handle_ = nullptr;
  bool sheetSelected_ = false;
  WorkbookProblem problem_ = WorkbookProblem::kNone;
};

}  // namespace planova
