// Window 2's BDL files: "Загрузить в формате BDL" into data set 1 or 2 (with the
// observatory's coordinates from its code) and "Записать результат в" from data set 3.
#include <array>
#include <cmath>

#include "common/numtext.h"
#include "common/textfile.h"
#include "window2/form2.h"

namespace planova {

namespace {

const char* const kCrLf = "\r\n";

struct Observatory {
  const char* code;
  const char* longitude;  // degrees east, as shown
  const char* latitude;   // degrees
};

// Observatories by their codes, with the coordinates the window shows for them.
constexpr std::array<Observatory, 15> kObservatories = {{
    {"BERL", "13,393", "52,520"},
    {"CAMB", "0,095", "52,214"},
    {"CAPE", "18,475", "-33,934"},
    {"EDIN", "3,183", "55,917"},
    {"GREN", "0,0", "51,477"},
    {"GTOK", "139,542", "35,672"},
    {"MADR", "80,246", "13,067"},
    {"NIKO", "31,975", "46,972"},
    {"OTTA", "-75,527", "45,317"},
    {"PARI", "2,337", "48,836"},
    {"RADC", "-1,251", "51,76"},
    {"STRA", "7,767", "48,583"},
    {"TIHO", "12,578", "55,681"},
    {"UCCL", "4,358", "50,799"},
    {"USNO", "-77,066", "38,921"},
}};

}  // namespace

void Form2::LoadBdl() {
  int32_t object = 0;
  if (!TryParseInt32(Text8.Text, object)) {
    Ui().ShowMessage("Задайте правильно данные");
    return;
  }
  if (ArraysMissing()) return;
  Store.ObjectNumber = object;
  Store.ObservatoryCode = Text3.Text;
  const std::string& code = Store.ObservatoryCode;
  HeaderText.clear();
  Astro.StopRequested = 0;

  Text14.Text = "0";
  Text15.Text = "0";
  for (const auto& o : kObservatories) {
    if (code == o.code) {
      Text14.Text = o.longitude;
      Text15.Text = o.latitude;
      break;
    }
  }
  ProgressBar1.Value = 0;
  RichTextBox3.Text.clear();
  ProcessLog = std::string("данные забракованные по времени наблюдения") + kCrLf;

  std::string mark;
  if (Option8.Value) mark = "_R_";
  if (Option9.Value) mark = "_D_";
  if (Option10.Value) {
    if (Option11.Value) mark = "_G_";
    if (Option12.Value) mark = "_GLB_";
    if (Option13.Value) mark = "_GT_";
    if (Option14.Value) mark = "_T_";
  }
  if (Option29.Value) mark = "_H_";
  std::string stem = code + std::to_string(object) + mark + Text1.Text;
  std::filesystem::path path = AppPath(Ui().AppFolder(), "Obs" + code + "/" + stem + ".txt");
  TextInputFile in;
  double length = 0;
  if (!OpenBdlFileForLoading(Ui(), path, Store.ObsCapacity, in, length)) return;
  LoadSet = Option2.Value ? 2 : 1;
  std::string& records = LoadSet == 1 ? RecordsText1 : RecordsText2;
  records.clear();
  (LoadSet == 1 ? RichTextBox1 : RichTextBox2).Text.clear();
  std::string line, lastLine;
  for (int k = 0; k < 5; ++k) {
    if (!in.ReadLine(line)) {
      Ui().ShowMessage("Ошибка открытия файла" + std::string(kCrLf) + PathText(path));
      return;
    }
    if (k > 0) HeaderText += kCrLf;
    HeaderText += line;
    lastLine = line;
  }
  records = Cp1251ToUtf8(HeaderText) + kCrLf;

  const int col = LoadSet;
  int32_t n = 0;
  BdlRecord rec;
  while (in.ReadLine(line)) {
    if (!ReadBdlRecord(Bdl, Astro, line, rec)) {
      RichTextBox2.Text = Cp1251ToUtf8(line);
      Ui().ShowMessage("Ошибка чтения данных из файла" + std::string(kCrLf) + PathText(path));
      return;
    }
    lastLine = line;
    if (Bdl.Hours < 0 || Bdl.Minutes < 0 || Bdl.Seconds < 0) {
      ProcessLog += Cp1251ToUtf8(line) + kCrLf;
      continue;
    }
    n = n + 1;
    if (n >= Store.ObsCapacity) {
      Ui().ShowMessage("увеличьте массивы данных");
      return;
    }
    Store.ObsNote(n, col) = rec.Note;
    Store.ObsJd(n, col) = rec.Jd;
    Store.ObsLon(n, col) = rec.Lon;
    Store.ObsLat(n, col) = rec.Lat;
    TimeScaleLabel = rec.TimeScale;
    records += Cp1251ToUtf8(BdlDisplayLine(Bdl, rec, n)) + kCrLf;
    ProgressBar1.Value = static_cast<int>(std::min<double>(100, static_cast<double>(n) * 15000 / length));
    if (Astro.StopRequested == 1) break;
    Ui().ProcessEvents();
  }
  in.Close();
  std::string summary = "всего прочитано  " + std::to_string(n) + "  записей";
  auto epochOf = [&](const std::string& l) {
    return Cp1251ToUtf8(EpochLabelOf(std::string(CutColumns(l, bdl::kEpoch))));
  };
  if (LoadSet == 1) {
    Count1 = n;
    Count3 = n;
    Text17.Text = std::to_string(n);
    RecordsText1 += kCrLf + summary;
    RichTextBox1.Text = RecordsText1;
    for (int32_t r = 1; r <= n; ++r) {
      Store.ObsJd(r, 3) = Store.ObsJd(r, 1);
      Store.ObsNote(r, 3) = Store.ObsNote(r, 1);
      Store.ObsLon(r, 3) = Store.ObsLon(r, 1);
      Store.ObsLat(r, 3) = Store.ObsLat(r, 1);
    }
    std::string scale = TimeScaleLabel;
    if (!scale.empty() && scale[0] == ' ') scale = scale.substr(1, 2);
    Text11.Text = Cp1251ToUtf8(scale);
    EpochLabel1 = epochOf(lastLine);
    EpochLabel3 = EpochLabel1;
    Text12.Text = EpochLabel1;
  } else {
    Count2 = n;
    Text17.Text = std::to_string(n);
    EpochLabel2 = epochOf(lastLine);
    RecordsText2 += kCrLf + summary;
    RichTextBox2.Text = RecordsText2;
  }
  Label9.Caption = code + std::to_string(object) + "_";
  RichTextBox3.Text = ProcessLog;
  ProgressBar1.Value = 100;
}

void Form2::WriteResult() {
  int32_t first = 0, last = 0;
  if (!TryParseInt32(Text16.Text, first) || !TryParseInt32(Text17.Text, last) || first < 1 || last < first ||
      !Store.Exists() || last > Store.ObsJd.Rows()) {
    Ui().ShowMessage("Задайте правильно номера записей: с № от 1 до по №, не больше размера массивов");
    return;
  }
  const std::string& code = Store.ObservatoryCode.empty() ? Text3.Text : Store.ObservatoryCode;
  std::string name = code + std::to_string(Store.ObjectNumber) + "_" + Text2.Text + ".txt";
  std::filesystem::path path = AppPath(Ui().AppFolder(), "Obs" + code + "/" + name);
  TextOutputFile out;
  if (!out.Create(path)) {
    Ui().ShowMessage("Ошибка записи в файл" + std::string(kCrLf) + PathText(path));
    return;
  }
  const std::string header = BdlHeadingLines(HeaderText, code);
  bool ok = out.WriteLine(header);
  ProcessLog = Cp1251ToUtf8(header) + kCrLf;
  if (Bdl.BodyName.empty()) Bdl.BodyName = BodyNameOf(Store.ObjectNumber);
  std::string scale = Utf8ToCp1251(Text11.Text), epoch = Utf8ToCp1251(Text12.Text);
  for (int32_t i = first; ok && i <= last; ++i) {
    if (!FormatBdlLine(Bdl, Astro, Store, i)) {
      ok = false;
      break;
    }
    PlaceAt(Bdl.BdlLine, bdl::kObservatory, Utf8ToCp1251(code));
    PlaceAt(Bdl.BdlLine, bdl::kNote.first, Store.ObsNote(i, 3).substr(0, 60));
    if (!scale.empty()) PlaceEndingAt(Bdl.BdlLine, bdl::kTimeScale.last, scale);
    PlaceAt(Bdl.BdlLine, bdl::kEpoch.first, "     ");
    PlaceEndingAt(Bdl.BdlLine, bdl::kEpoch.last, epoch);
    if (Check12.Value) PlaceAt(Bdl.BdlLine, bdl::kRowInNote, " " + std::to_string(i));
    ok = out.WriteLine(Bdl.BdlLine);
    ProgressBar1.Value = last > first ? static_cast<int>(static_cast<int64_t>(i - first) * 100 / (last - first)) : 100;
    if (Check1.Value) ProcessLog += Cp1251ToUtf8(Bdl.BdlLine) + kCrLf;
  }
  ok = out.Close() && ok;
  RichTextBox3.Text = ProcessLog;
  if (!ok) Ui().ShowMessage("Ошибка записи в файл" + std::string(kCrLf) + PathText(path));
}

std::string Form2::MergeLine(int32_t k, int takeFrom1, int takeFrom2) {
  if (!FormatBdlLine(Bdl, Astro, Store, k)) return {};
  PlaceAt(Bdl.BdlLine, bdl::kMergedJd.first, Format(Store.ObsJd(k, 3), "0000000.000000"));
  PlaceAt(Bdl.BdlLine, bdl::kMergedRow, std::to_string(k));
  PlaceAt(Bdl.BdlLine, bdl::kMergedFrom1, std::to_string(takeFrom1));
  PlaceAt(Bdl.BdlLine, bdl::kMergedFrom2, std::to_string(takeFrom2));
  return Cp1251ToUtf8(Bdl.BdlLine);
}

}  // namespace planova
