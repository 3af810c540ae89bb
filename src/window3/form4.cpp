#include "window3/form4.h"

#include <cmath>

#include "astro/de405.h"
#include "astro/orbit.h"
#include "astro/time.h"
#include "bdl/bdl_file.h"
#include "common/numtext.h"
#include "models/messages.h"
#include "common/textfile.h"

namespace planova {

namespace {

const char* const kCrLf = "\r\n";

struct LabelSpec {
  const char* name;
  const char* caption;
};

constexpr LabelSpec kLabels[] = {
    {"Label1", "Имя обсерватории"}, {"Label2", "№ объекта"},   {"Label3", "№ файла"},     {"Label4", "файл"},
    {"Label5", "с №1"},             {"Label6", "по №2"},       {"Label7", "№1: год, месяц, день"},
    {"Label8", "№2: год, месяц, день"}, {"Label10", "сейчас: год, месяц, день"}, {"Label11", "сравнено"},
    {"Label12", "ET-UT,сек"},       {"Label13", "dLn="},       {"Label14", "dLk="},       {"Label15", "dBn="},
    {"Label16", "dBk="},            {"Label17", "+dL="},       {"Label18", "-dL="},       {"Label19", "+dB="},
    {"Label20", "-dB="},            {"Label21", "dL="},        {"Label22", "dB="},        {"Label23", "dLsr="},
    {"Label24", "dBsr="},           {"Label25", "MT, лет/см"}, {"Label26", "MdP,  угл. сек / см  "},
    {"Label27", "+dP, см"},
};

const uint32_t kGrey = (200u << 16) | (200u << 8) | 200u;

}  // namespace

Form4::Form4(Platform& platform, FormHost* host, AstroState& astro, ObservationStore& store)
    : FormModel("Form4", "Преобразование формата данных Planova - форма 3", platform, host), Astro(astro), Store(store) {
  for (size_t k = 0; k < std::size(kLabels); ++k) AddLabel(kLabels[k].name, Labels[k], kLabels[k].caption);
  for (auto [name, box] : std::initializer_list<std::pair<const char*, TextBox*>>{
           {"Text10", &Text10}, {"Text3", &Text3},   {"Text8", &Text8},   {"Text1", &Text1},   {"Text2", &Text2},
           {"Text16", &Text16}, {"Text17", &Text17}, {"Text23", &Text23}, {"Text22", &Text22}, {"Text21", &Text21},
           {"Text26", &Text26}, {"Text25", &Text25}, {"Text24", &Text24}, {"Text29", &Text29}, {"Text28", &Text28},
           {"Text27", &Text27}, {"Text5", &Text5},   {"Text18", &Text18}, {"Text30", &Text30}, {"Text31", &Text31},
           {"Text11", &Text11}, {"Text12", &Text12}, {"Text41", &Text41}, {"Text42", &Text42}, {"Text43", &Text43},
           {"Text44", &Text44}, {"Text7", &Text7},   {"Text9", &Text9},   {"Text32", &Text32}, {"Text33", &Text33},
           {"Text19", &Text19}, {"Text20", &Text20}, {"Text6", &Text6}}) {
    AddText(name, *box);
  }
  AddFrame("Frame5", "данными");
  AddOption("Option4", Option4, "JPL0", "Frame5");
  AddOption("Option7", Option7, "JPL2", "Frame5");
  AddCheck("Check1", Check1, "+ скорректировать данные");
  AddCheck("Check2", Check2, "По шагам");
  AddCheck("Check3", Check3, "с 1700");
  AddCheck("Check4", Check4, "dL");
  AddCheck("Check5", Check5, "dB");
  AddCheck("Check6", Check6, "+dL");
  AddCheck("Check7", Check7, "T0=T0");
  AddCheck("Check9", Check9, "dLsr");
  AddCheck("Check10", Check10, "+ учитывать для dLsr, dBsr");
  AddCheck("Check11", Check11, "dBsr");
  AddRichText("RichTextBox1", RichTextBox1);
  AddPicture("Picture1", Picture1);
  AddProgress("ProgressBar1", ProgressBar1);

  AddButton("Command6", "Создать массивы с N=", [this] { CreateArrays(); });
  AddButton("Command5", "Загрузить в формате BDL", [this] { LoadBdl(); });
  AddButton("Command14", "Записать результат в файл", [this] { WriteResult(); });
  AddButton("Command12", "Сравнить данные наблюдений с", [this] { StartRun(); });
  AddButton("Command16", "сделать 1 шаг", [this] { Step(); });
  AddButton("Command7", "Остановить сравнение", [this] { Stop(); });
  AddButton("Command17", "Stop", [this] { Stop(); });
  AddButton("Command1", "Очистить рисунок", [this] { ClearPlot(); });
  AddButton("Command9", "Закрыть форму", [this] { CloseWindow(); });

  Picture1.OnMouseDown = [this](double x, double, bool left) {
    BusyPointer busy(Ui());
    PickPoint(x, left);
  };
}

void Form4::Load() {
  // The window can be the first to need the constants, the DE405 layout and the masses.
  Astro.InitConstants();
  InitDe405Layout(Astro);
  InitPlanetMasses(Astro);
  Text10.Text = "4000";
  Text3.Text = "PARI";
  Text8.Text = "11";
  Text1.Text = "40";
  Text2.Text = "41";
  Text16.Text = "1";
  Text17.Text = "1";
  Text23.Text = "1861";
  Text22.Text = "1";
  Text21.Text = RealText(1.5);
  Text30.Text = Text31.Text = Text11.Text = Text12.Text = "0";
  Text41.Text = "20";
  Text42.Text = "-20";
  Text43.Text = "10";
  Text44.Text = "-10";
  Text19.Text = "10";
  Text20.Text = "20";
  Text6.Text = "4";
  RichTextBox1.Text = "первые данные";
  ChooseOption("Option4");
  Check4.Value = Check5.Value = Check9.Value = Check11.Value = true;
  DrawGrid();
}

void Form4::Activate() { Astro.UseJulianCalendar = 0; }

void Form4::DrawGrid() {
  Picture1.Clear();
  Picture1.Scale(0, 17, 25, 0);
  for (int y = 1; y <= 17; ++y) Picture1.Line(0, y, 25, y, kGrey);
  for (int x = 0; x <= 25; ++x) Picture1.Line(x, 0, x, 17, kGrey);
}

void Form4::ClearPlot() { DrawGrid(); }

void Form4::CreateArrays() {
  if (!Store.RecreateFromText(Text10.Text)) {
    Ui().ShowMessage("Задайте правильно данные");
    return;
  }
  Count1 = 0;
  Count3 = 0;
}

void Form4::Stop() { Astro.StopRequested = 1; }

void Form4::CloseWindow() {
  if (Host()) Host()->CloseForm(Name);
}

void Form4::LoadBdl() {
  int32_t object = 0;
  if (!TryParseInt32(Text8.Text, object)) {
    Ui().ShowMessage("Задайте правильно данные");
    return;
  }
  if (!Store.Exists()) {
    Ui().ShowMessage("Сначала создайте массивы данных (кнопка \"Создать массивы с N=\")");
    return;
  }
  Store.ObjectNumber = object;
  Store.ObservatoryCode = Text3.Text;
  const std::string& code = Store.ObservatoryCode;
  std::filesystem::path path =
      AppPath(Ui().AppFolder(), "Obs" + code + "/" + code + std::to_string(object) + "_G_" + Text1.Text + ".txt");
  BdlLoadOptions options;
  options.Progress = [this](int percent) { ProgressBar1.Value = percent; };
  options.ProcessEvents = [this] { Ui().ProcessEvents(); };
  const BdlLoadResult loaded = LoadBdlFile(path, Store, 1, Bdl, Astro, options);
  HeaderText = loaded.Heading;
  const std::string readError = "Ошибка чтения данных из файла" + std::string(kCrLf) + PathText(path);
  switch (loaded.End) {
    case BdlLoadEnd::kOpenFailed:
      Ui().ShowMessage("Ошибка открытия файла" + std::string(kCrLf) + PathText(path));
      return;
    case BdlLoadEnd::kTooLarge:
      Ui().ShowMessage("Желательно увеличить размер массива");
      return;
    case BdlLoadEnd::kShortHeading:
      RichTextBox1.Text.clear();
      Ui().ShowMessage(readError);
      return;
    default:
      break;
  }
  FinishLoad(loaded);
  if (loaded.End == BdlLoadEnd::kStoreFull) {
    Ui().ShowMessage("увеличьте массивы данных");
  } else if (loaded.End == BdlLoadEnd::kBadLine) {
    Ui().ShowMessage(readError);
  } else {
    ProgressBar1.Value = 100;
  }
}

void Form4::FinishLoad(const BdlLoadResult& loaded) {
  Text16.Text = "1";
  Text17.Text = std::to_string(loaded.Rows);
  std::string display = "всего прочитано  " + std::to_string(loaded.Rows) + "  записей" + kCrLf +
                        Cp1251ToUtf8(loaded.Heading) + kCrLf;
  for (const std::string& line : loaded.Shown) display += kCrLf + Cp1251ToUtf8(line);
  RichTextBox1.Text = display;
  if (loaded.Rows == 0) return;
  TimeScaleLabel = loaded.TimeScale;
  // The epoch of the file's records is the epoch the run compares in.
  std::string epoch = Cp1251ToUtf8(EpochLabelOf(loaded.LastEpochField));
  if (epoch == "App" || epoch == "B1950" || epoch == "J2000") EpochLabel1 = epoch;
}

void Form4::WriteResult() {
  int32_t first = 0, last = 0;
  // №1 > №2 writes the headings alone; otherwise both must be loaded records.
  if (!TryParseInt32(Text16.Text, first) || !TryParseInt32(Text17.Text, last) || first < 1 || !Store.Exists() ||
      (first <= last && last > std::min(Count3, Store.ObsJd.Rows() - 1))) {
    Ui().ShowMessage("Задайте правильно номера записей: с №1 от 1 по №2 не больше числа загруженных записей (" +
                     std::to_string(Count3) + ")");
    return;
  }
  const std::string& code = Store.ObservatoryCode.empty() ? Text3.Text : Store.ObservatoryCode;
  std::filesystem::path path = AppPath(
      Ui().AppFolder(), "Obs" + code + "/" + code + std::to_string(Store.ObjectNumber) + "_G_" + Text2.Text + ".txt");
  BdlWriteOptions options;
  options.LoadedHeading = HeaderText;
  options.ObservatoryCode = code;
  options.TimeScale = TimeScaleLabelOf(TimeScaleLabel);
  options.Epoch = Utf8ToCp1251(EpochLabel1);
  options.Written = [this](int percent, const std::string&) { ProgressBar1.Value = percent; };
  const BdlWriteResult written = WriteBdlFile(path, Store, first, last, Bdl, Astro, options);
  // The calendar routine answers a date beyond its range with its result alone.
  if (written.End == BdlWriteEnd::kCalendarFailed) Ui().ShowMessage(kWrongJdMessage);
  if (written.End != BdlWriteEnd::kWritten) Ui().ShowMessage("Ошибка записи в файл" + std::string(kCrLf) + PathText(path));
}

void Form4::PickPoint(double x, bool left) {
  double mt = 0;
  if (!TryParseReal(Text19.Text, mt)) {
    Ui().ShowMessage("Не могу найти эту точку", "Planova3");
    return;
  }
  double jdClick = x * mt * 365.25 + PlotTimeOrigin;
  PickedRow = 0;
  int32_t n = Store.Exists() ? std::min(Count1, Store.ObsJd.Rows()) : 0;
  for (int32_t i = 1; i <= n; ++i) {
    if (Store.ObsJd(i, 1) <= jdClick) PickedRow = i;
  }
  if (PickedRow == 0 || mt == 0) {
    Ui().ShowMessage("Не могу найти эту точку", "Planova3");
    return;
  }
  double jd = Store.ObsJd(PickedRow, 1);
  double xr = (jd - PlotTimeOrigin) / 365.25 / mt;
  Picture1.Line(xr, 17, xr, 0, 0xFF0000);
  if (!CalendarFromJulianDate(Astro, jd)) {
    Ui().ShowMessage(kWrongJdMessage);
    return;
  }
  (left ? Text23 : Text26).Text = std::to_string(Astro.CalYear);
  (left ? Text22 : Text25).Text = std::to_string(Astro.CalMonth);
  (left ? Text21 : Text24).Text = RealText(Astro.CalDay);
  (left ? Text16 : Text17).Text = std::to_string(PickedRow);
}

}  // namespace planova
