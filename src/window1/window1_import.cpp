// Window 1's import button: "Загрузить исходные данные из".
#include "common/numtext.h"
#include "import/source_import.h"
#include "import/zip_workbook.h"
#include "models/messages.h"
#include "window1/window1_model.h"

namespace planova {

namespace {

// The import's parameters as window 1's controls hold them.  A frame left without a
// choice (possible only from a batch script) acts as its default choice.
ImportSettings SettingsOf(Window1Model& f) {
  ImportSettings s;
  s.AppFolder = f.Ui().AppFolder();
  s.ObservatoryCode = f.Text3.Text;
  s.ObjectNumberText = BoxNumberText(f.Text8.Text);
  s.FileNumber = f.Text18.Text;
  s.Source = f.Option8.Value    ? SourceKind::kTable
             : f.Option9.Value  ? SourceKind::kJpl
             : f.Option22.Value ? SourceKind::kMpc
                                : SourceKind::kDov;

  TableOptions& t = s.Table;
  t.Date = f.Option11.Value ? DateForm::kJd : f.Option10.Value ? DateForm::kYmday : DateForm::kYmdhms;
  t.Longitude = f.Option2.Value ? LongitudeForm::kDms : f.Option13.Value ? LongitudeForm::kDegrees : LongitudeForm::kHms;
  t.LatitudeDegrees = f.Option15.Value;
  t.Param = f.Option4.Value ? Parameter::kRa : f.Option5.Value ? Parameter::kDec : Parameter::kGeo;
  t.PointSeparator = f.Option18.Value;
  t.LatitudeFromPole = f.Option17.Value;

  s.JulianCalendar = f.Option3.Value;
  s.LongVariant = f.Check1.Value;
  s.FileBad = f.Check2.Value;
  s.Topo = f.Check3.Value;
  s.Hor = f.Check4.Value;
  for (size_t k = 0; k < s.ColumnLetters.size(); ++k) s.ColumnLetters[k] = f.Text1[k].Text;
  return s;
}

}  // namespace

void Window1Model::LoadSourceData() {
  if (!Store.Exists()) {
    Ui().ShowMessage(kCreateArraysFirstMessage);
    return;
  }
  if (!NamePartsAllowed({Text3.Text, Text18.Text})) return;
  int32_t object = 0;
  if (!TryBoxInt32(Text8, object)) {
    RefuseBox({.Box = "Text8"}, "задайте правильно данные");
    return;
  }
  TableWorkbook workbook;  // .xls, .xlsx or .ods by the name of the file found
  ImportResult r = RunSourceImport(SettingsOf(*this), Store, workbook);
  if (r.Calendar) Astro.UseJulianCalendar = *r.Calendar == CalendarRule::kJulian ? 1 : 0;
  if (r.Started) {
    Text11.Text = "0";
    Text12.Text = "0";
    Text13.Text = "0";
    RichTextBox1.Text.clear();
    RichTextBox2.Text.clear();
    RichTextBox3.Text.clear();
  }
  if (r.End == ImportEnd::kFinished) {
    // MPC places are of J2000 and their dates of UTC: the BDL file written says so.
    if (Option22.Value) {
      Text4.Text = "J2000";
      Text2.Text = "UT";
    }
    Text11.Text = std::to_string(Store.ReadCount);
    Text12.Text = std::to_string(Store.GoodCount);
    Text13.Text = std::to_string(Store.BadCount);
    RichTextBox1.Text = std::move(r.SourceLog);
    RichTextBox2.Text = std::move(r.AcceptedLog);
    RichTextBox3.Text = std::move(r.RejectedLog);
    Label9.Caption = std::move(r.FileLabel);
  }
  if (!r.Message.empty()) Ui().ShowMessage(r.Message);
}

}  // namespace planova
