// Window 1's import button: "Загрузить исходные данные из".
#include "common/numtext.h"
#include "import/source_import.h"
#include "import/zip_workbook.h"
#include "models/file_choice.h"
#include "models/messages.h"
#include "window1/window1_model.h"

namespace planova {

namespace {

// The import's parameters as window 1's controls hold them.  A frame left without a
// choice (possible only from a batch script) acts as its default choice.
ImportSettings SettingsOf(Window1Model& f) {
  ImportSettings s;
  s.AppFolder = f.Ui().AppFolder();
  s.ObservatoryCode = f.observatoryCode.Text;
  s.ObjectNumberText = BoxNumberText(f.objectNumber.Text);
  s.FileNumber = f.fileNumber.Text;
  s.Source = f.sourceExcel.Value ? SourceKind::kTable
             : f.sourceJpl.Value ? SourceKind::kJpl
             : f.sourceMpc.Value ? SourceKind::kMpc
             : f.sourceAdes.Value ? SourceKind::kAdes
                                 : SourceKind::kDov;

  TableOptions& t = s.Table;
  t.Date = f.dateJd.Value ? DateForm::kJd : f.dateYmday.Value ? DateForm::kYmday : DateForm::kYmdhms;
  t.Longitude = f.longitudeDms.Value       ? LongitudeForm::kDms
                : f.longitudeDegrees.Value ? LongitudeForm::kDegrees
                                           : LongitudeForm::kHms;
  t.LatitudeDegrees = f.latitudeDegrees.Value;
  t.Param = f.parameterRa.Value ? Parameter::kRa : f.parameterDec.Value ? Parameter::kDec : Parameter::kGeo;
  t.PointSeparator = f.separatorPoint.Value;
  t.LatitudeFromPole = f.latitudeFromPole.Value;

  s.JulianCalendar = f.calendarJulian.Value;
  s.LongVariant = f.dovLongVariant.Value;
  s.FileBad = f.writeBadRecordsFile.Value;
  s.Topo = f.topocentricSource.Value;
  s.Hor = f.horizontalSource.Value;
  for (size_t k = 0; k < s.ColumnLetters.size(); ++k) s.ColumnLetters[k] = f.columnLetters[k].Text;
  return s;
}

}  // namespace

void Window1Model::LoadSourceData() {
  if (!Store.Exists()) throw Refusal{kCreateArraysFirstMessage, {}};
  RequirePlainNameParts({observatoryCode.Text, fileNumber.Text});
  int32_t object = 0;
  if (!TryBoxInt32(objectNumber, object)) Refuse(objectNumber, "задайте правильно данные");
  TableWorkbook workbook;  // .xls, .xlsx or .ods by the name of the file found
  ImportResult r = RunSourceImport(SettingsOf(*this), Store, workbook);
  if (r.Calendar) Astro.SetCalendar(*r.Calendar);
  if (r.Started) {
    Store.Unsaved.clear();  // data set 3 follows the import
    readCount.Text = "0";
    goodCount.Text = "0";
    badCount.Text = "0";
    sourceLog.Text.clear();
    acceptedLog.Text.clear();
    rejectedOrSavedLog.Text.clear();
  }
  if (r.End == ImportEnd::kFinished) {
    // What the source's places and dates are referred to (MPC, ADES: J2000 and UTC): the
    // BDL file written says so.  A source that does not say (Dov, JPL, a table) gives back
    // the window's own marks, so that one import's marks never label another's records.
    epoch.Text = r.EpochLabel.empty() ? std::string(kDefaultEpochMark) : std::move(r.EpochLabel);
    timeScale.Text = r.TimeScaleLabel.empty() ? std::string(kDefaultTimeScaleMark) : std::move(r.TimeScaleLabel);
    readCount.Text = std::to_string(Store.ReadCount);
    goodCount.Text = std::to_string(Store.GoodCount);
    badCount.Text = std::to_string(Store.BadCount);
    sourceLog.Text = std::move(r.SourceLog);
    acceptedLog.Text = std::move(r.AcceptedLog);
    rejectedOrSavedLog.Text = std::move(r.RejectedLog);
    bdlNameLabel.Caption = std::move(r.FileLabel);
    Status.NoteLoaded(r.SourcePath, Ui().AppFolder(), Store.GoodCount);
    NoteRecentFile(Recent, r.SourcePath, Ui().AppFolder());
  } else if (r.Started) {
    Status.NoteNotLoaded();
  }
  statusLine.Caption = Status.Text();
  if (!r.Message.empty()) Ui().ShowMessage(r.Message);
}

}  // namespace planova
