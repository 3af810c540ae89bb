// Window 1's BDL writer ("Сохранить данные в формате BDL") and catalogue converter ("+/-").
#include "astro/time.h"
#include "bdl/bdl_line.h"
#include "common/numtext.h"
#include "common/textfile.h"
#include "import/catalogue_converter.h"
#include "window1/form1.h"

namespace planova {

namespace {

// Places a descriptive text so that it fills blank columns only: a text too long for the
// space before its neighbour would overwrite another field.  `endColumn` > 0 places it
// right-aligned ending there, otherwise left-aligned from `startColumn`.
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

void Form1::SaveBdl() {
  RichTextBox3.Text.clear();
  std::string pane;
  // The observatory and the object are those of the last import (the boxes before any).
  std::string code = Store.ObservatoryCode;
  int32_t object = Store.ObjectNumber;
  if (code.empty() && !TryParseInt32(Text8.Text, object)) object = 0;
  if (code.empty()) code = Text3.Text;

  std::filesystem::path path =
      AppPath(Ui().AppFolder(), "Obs" + code + "/" + code + std::to_string(object) + "_" + Text9.Text + ".txt");
  TextOutputFile out;
  if (!Store.Exists() || Store.GoodCount > Store.ObsJd.Rows() || !out.Create(path)) {
    Ui().ShowMessage("Ошибка записи в файл");
    return;
  }
  Astro.UseJulianCalendar = 0;
  BdlState b;
  b.BodyName = BodyNameOf(object);
  std::string codeBytes = Utf8ToCp1251(code);
  bool ok = true;
  for (int k = 0; k < 5; ++k) ok = ok && out.WriteLine(codeBytes);
  for (int32_t i = 1; ok && i <= Store.GoodCount; ++i) {
    ok = FormatBdlLine(b, Astro, Store, i) &&
         PlaceDescriptive(b.BdlLine, Text2.Text, 0, bdl::kTimeScale.last) &&
         PlaceDescriptive(b.BdlLine, code, bdl::kObservatory, 0) &&
         PlaceDescriptive(b.BdlLine, Text5.Text, 0, bdl::kInstrumentEnd) &&
         PlaceDescriptive(b.BdlLine, Text6.Text, 0, bdl::kFocalLengthEnd) &&
         PlaceDescriptive(b.BdlLine, Text7.Text, 0, bdl::kObservationTypeEnd) &&
         PlaceDescriptive(b.BdlLine, Text4.Text, 0, bdl::kEpoch.last) &&
         PlaceDescriptive(b.BdlLine, Text14.Text, 0, bdl::kLimbEnd) &&
         PlaceDescriptive(b.BdlLine, Text15.Text, bdl::kClamp, 0) &&
         PlaceDescriptive(b.BdlLine, Text16.Text, bdl::kInitials, 0) &&
         PlaceDescriptive(b.BdlLine, Text17.Text, 0, bdl::kReferenceEnd) && out.WriteLine(b.BdlLine);
    if (!ok) break;
    std::string shown = b.BdlLine;
    for (int c = bdl::kNote.first; c <= bdl::kNote.last; ++c) shown[static_cast<size_t>(c - 1)] = ' ';
    PlaceAt(shown, 110, std::to_string(i));
    pane += Cp1251ToUtf8(shown) + "\r\n";
  }
  ok = out.Close() && ok;
  RichTextBox3.Text = pane;
  if (!ok) Ui().ShowMessage("Ошибка записи в файл");
}

void Form1::ConvertCatalogue() {
  std::filesystem::path folder = AppPath(Ui().AppFolder(), "FileDov");
  std::string message;
  if (!ConvertCatalogueToDov(folder / "USNO_1866_1891.txt", folder / "USNO11_G_2.txt", message)) {
    Ui().ShowMessage(message);
  }
}

}  // namespace planova
