// Window 1's BDL writer ("Сохранить данные в формате BDL") and catalogue converter ("+/-").
#include "astro/time.h"
#include "bdl/bdl_line.h"
#include "common/numtext.h"
#include "models/file_choice.h"
#include "models/messages.h"
#include "common/textfile.h"
#include "import/catalogue_converter.h"
#include "window1/window1_model.h"

namespace planova {

namespace {

// A save with no record read by the last import (a source file missing, every record
// rejected, no arrays) would replace a file of observations by its heading lines alone.
constexpr const char* kNoDataMessage = "Нет данных для записи: загрузите исходные данные";

// Places a descriptive text (UTF-8, written in Windows-1251) so that it fills blank
// columns only: a text too long for the space before its end column would overwrite the
// field before it, or run past column 158.  `endColumn` > 0 places it right-aligned
// ending there, otherwise left-aligned from `startColumn`.  An empty text writes nothing.
bool PlaceDescriptive(std::string& line, const std::string& utf8, int startColumn, int endColumn) {
  std::string text = Utf8ToCp1251(utf8);
  if (text.empty()) return true;
  int first = endColumn > 0 ? endColumn + 1 - static_cast<int>(text.size()) : startColumn;
  int last = first + static_cast<int>(text.size()) - 1;
  if (first < 1 || last > kBdlLineLength) return false;
  for (int c = first; c <= last; ++c) {
    if (line[static_cast<size_t>(c - 1)] != ' ') return false;
  }
  return PlaceAt(line, first, text);
}

}  // namespace

// Writes rows 1..GoodCount of column 3 of the store as a BDL file
// \Obs<code>\<code><object>_<"в файл">.txt: five heading lines holding the observatory
// code, then one line per record with the descriptive texts of the window and, at column
// 94, the record's station (the code when it names none: a source of one observatory).
// The code and the object number are those kept by the last import.  Dates are written
// in the Gregorian calendar from 1582 October 15 and in the Julian calendar before.  The
// file is replaced only when every line is written: a text that does not fit, a date
// beyond the calendar or a failing disk leave the old file as it was, with a message
// naming it.
void Window1Model::SaveBdl() {
  rejectedOrSavedLog.Text.clear();
  std::string pane;
  const std::string code = Store.ObservatoryCode;
  const int32_t object = Store.ObjectNumber;
  const std::string number = std::to_string(object);
  RequirePlainNameParts({code, bdlNamePart.Text});

  std::filesystem::path path = AppPath(Ui().AppFolder(), "Obs" + code + "/" + code + number + "_" + bdlNamePart.Text + ".txt");
  if (!Store.Exists() || Store.GoodCount < 1) throw Refusal{kNoDataMessage, {}};
  if (!ConfirmReplace(Ui(), path, Store.GoodCount)) return;
  TextOutputFile out;
  if (Store.GoodCount > Store.ObsJd.Rows() || !out.Create(path)) throw Refusal{WriteFailureMessage(path), {}};
  Astro.SetCalendar(CalendarRule::kGregorianFrom1582);
  BdlState b;
  b.BodyName = BodyNameOf(object);

  std::string observatory;  // the record's, for each line
  // The descriptive texts: the text, and its first column (left-aligned) or last column
  // (right-aligned, first column 0).
  struct Descriptive {
    const std::string& text;
    int start, end;
  };
  const Descriptive texts[] = {
      {timeScale.Text, 0, bdl::kTimeScale.last},
      {observatory, bdl::kObservatory, 0},
      {instrument.Text, 0, bdl::kInstrumentEnd},
      {focalLengthCm.Text, 0, bdl::kFocalLengthEnd},
      {observationType.Text, 0, bdl::kObservationTypeEnd},
      {epoch.Text, 0, bdl::kEpoch.last},
      {limb.Text, 0, bdl::kLimbEnd},
      {clamp.Text, bdl::kClamp, 0},
      {observerInitials.Text, bdl::kInitials, 0},
      {reference.Text, 0, bdl::kReferenceEnd},
  };

  const std::string codeBytes = Utf8ToCp1251(code);
  bool ok = true;
  for (int k = 0; k < 5; ++k) ok = ok && out.WriteLine(codeBytes);
  for (int32_t i = 1; ok && i <= Store.GoodCount; ++i) {
    if (!FormatBdlLine(b, Astro.Calendar(), Store, i)) {
      // A date beyond the calendar's range: what is wrong, then that nothing was written;
      // the pane then shows the lines formatted before it.
      Ui().ShowMessage(kWrongJdMessage);
      Ui().ShowMessage(WriteFailureMessage(path));
      rejectedOrSavedLog.Text = pane;
      return;
    }
    observatory = Store.ObserverCode(i, kSet3);
    for (const Descriptive& d : texts) ok = ok && PlaceDescriptive(b.BdlLine, d.text, d.start, d.end);
    PlaceSigmaTail(b.BdlLine, Store.SigmaRaArcsec(i, kSet3), Store.SigmaDecArcsec(i, kSet3));
    ok = ok && out.WriteLine(b.BdlLine);
    if (!ok) break;
    // The pane shows the record number in place of the descriptive block.
    std::string shown = b.BdlLine;
    for (int c = bdl::kNote.first; c <= bdl::kNote.last; ++c) shown[static_cast<size_t>(c - 1)] = ' ';
    PlaceAt(shown, bdl::kSavedRow, std::to_string(i));
    pane += Cp1251ToUtf8(shown) + "\r\n";
  }
  ok = ok && out.Commit();
  // Under the lines written, as a load reports what it read: the count and the file.
  if (ok) {
    pane += "\r\n" + WrittenReport(Store.GoodCount, path, Ui().AppFolder());
    Status.NoteWritten(path, Ui().AppFolder(), Store.GoodCount);
    NoteRecentFile(Recent, path, Ui().AppFolder());
    statusLine.Caption = Status.Text();
  }
  rejectedOrSavedLog.Text = pane;
  if (!ok) Ui().ShowMessage(WriteFailureMessage(path));
}

// "+/-": FileDov\USNO_1866_1891.txt into FileDov\USNO11_G_2.txt (the Dov file that the
// import reads for observatory USNO, object 11, "Geo", file 2).
// A line that does not convert is named first; the Dov file then stays as it was.  A
// converted file is reported in the third pane: how many records, and where.
void Window1Model::ConvertCatalogue() {
  const std::filesystem::path folder = AppPath(Ui().AppFolder(), "FileDov");
  const std::filesystem::path output = folder / "USNO11_G_2.txt";
  std::string message;
  int32_t converted = 0;
  const ConversionEnd end = ConvertCatalogueToDov(folder / "USNO_1866_1891.txt", output, message, &converted);
  if (end == ConversionEnd::kConverted) {
    rejectedOrSavedLog.Text = WrittenReport(converted, output, Ui().AppFolder());
    NoteRecentFile(Recent, output, Ui().AppFolder());
  }
  if (!message.empty()) Ui().ShowMessage(message);
  if (end == ConversionEnd::kBadLine || end == ConversionEnd::kWriteFailed) Ui().ShowMessage(WriteFailureMessage(output));
}

}  // namespace planova
