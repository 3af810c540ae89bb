#include "window1/window1_model.h"

#include "astro/time.h"
#include "common/name_part.h"
#include "common/numtext.h"
#include "models/messages.h"

namespace planova {

namespace {

// The refusal of the store's N and of the date converter's boxes.

// The fixed captions beside the boxes of window 1 (index into Window1Model::boxLabels).
constexpr LabelRow kLabels[] = {
    {"Label1", "Имя обсерватории"},
    {"Label2", "объект наблюдения №"},
    {"Label3", "№"},
    {"Label4", "всего данных"},
    {"Label5", "хороших"},
    {"Label6", "плохих "},
    {"Label7", "время"},
    {"Label8", "эпоха"},
    {"Label10", "Instrument"},
    {"Label11", "Focal length in cm."},
    {"Label12", "observation Type Trans, Micro, Photo, CCD"},
    {"Label13", "Limb observed C, N, S, E, W"},
    {"Label14", "Clamp Used E or W"},
    {"Label15", "obsvr's Initials"},
    {"Label16", "Reference"},
    {"Label17", "DMY"},
    {"Label18", "JD"},
};

// Captions of the row of column-letter boxes, one per spreadsheet field.
constexpr const char* kFieldLabels[17] = {"Planet", "год",  "месяц", "день", "часы", "мин.", "сек.", "L_H", "L_M",
                                          "L_S",    "B_D",  "B_M",   "B_S",  "Day",  "JD",   "L_D",  "B_D"};

// The boxes and the texts the start-up puts in them.
constexpr TextRow<Window1Model> kTexts[] = {
    {"Text3", &Window1Model::observatoryCode, "PARI"}, {"Text8", &Window1Model::objectNumber, "11"},
    {"Text10", &Window1Model::arraySize, "3200"}, {"Text18", &Window1Model::fileNumber, "1"},
    // Import counters: all, good and bad records.
    {"Text11", &Window1Model::readCount, "0"}, {"Text12", &Window1Model::goodCount, "0"},
    {"Text13", &Window1Model::badCount, "0"},
    // The BDL file: its name part, the time-scale and epoch marks, the descriptive fields.
    {"Text9", &Window1Model::bdlNamePart, "RDGT_0"}, {"Text2", &Window1Model::timeScale, kDefaultTimeScaleMark},
    {"Text4", &Window1Model::epoch, kDefaultEpochMark}, {"Text5", &Window1Model::instrument, "USNO Transit 6"},
    {"Text6", &Window1Model::focalLengthCm, "198.0"}, {"Text7", &Window1Model::observationType, "Trans"},
    {"Text14", &Window1Model::limb, "C"}, {"Text15", &Window1Model::clamp, "E"},
    {"Text16", &Window1Model::observerInitials, ""}, {"Text17", &Window1Model::reference, ""},
    // The date converter: day, month, year and JD.
    {"Text32", &Window1Model::converterDay, "1,5"}, {"Text33", &Window1Model::converterMonth, "1"},
    {"Text34", &Window1Model::converterYear, "1601"}, {"Text24", &Window1Model::converterJd, "2305814"},
};

// The caption beside each number box, for the message that refuses its text.
constexpr BoxCaptionRow kBoxCaptions[] = {
    {"Text10", "Command2"}, {"Text8", "Label2"}, {"Text32", "Label17"}, {"Text33", "Label17"},
    {"Text34", "Label17"},  {"Text24", "Label18"},
};

constexpr FrameRow kFrames[] = {
    {"Frame1", ""}, {"Frame2", "разделитель в таблицах"}, {"Frame3", "Широта задана от"},
    {"Frame4", "Широта B"}, {"Frame5", "Долгота L "}, {"Frame6", "Дата наблюдений в формате"},
    {"Frame7", "календарь"}, {"Frame8", "по параметру"},
};

// One line per frame.
constexpr OptionRow<Window1Model> kOptions[] = {
    {"Option8", &Window1Model::sourceExcel, "table Excel", "Frame1"}, {"Option9", &Window1Model::sourceJpl, "File JPL", "Frame1"},
        {"Option21", &Window1Model::sourceDov, "File Dov", "Frame1"}, {"Option22", &Window1Model::sourceMpc, "File MPC", "Frame1"},
        {"Option23", &Window1Model::sourceAdes, "File ADES", "Frame1"},
    {"Option19", &Window1Model::separatorComma, "запятая", "Frame2"},
        {"Option18", &Window1Model::separatorPoint, "точка", "Frame2"},
    {"Option17", &Window1Model::latitudeFromPole, "полюса", "Frame3"},
        {"Option16", &Window1Model::latitudeFromEquator, "экватора", "Frame3"},
    {"Option15", &Window1Model::latitudeDegrees, "D", "Frame4"}, {"Option14", &Window1Model::latitudeDms, "DMS", "Frame4"},
    {"Option2", &Window1Model::longitudeDms, "DMS", "Frame5"}, {"Option13", &Window1Model::longitudeDegrees, "D", "Frame5"},
        {"Option12", &Window1Model::longitudeHms, "HMS", "Frame5"},
    {"Option11", &Window1Model::dateJd, "JD", "Frame6"}, {"Option10", &Window1Model::dateYmday, "YMDay", "Frame6"},
        {"Option1", &Window1Model::dateYmdhms, "YMDHMS", "Frame6"},
    {"Option20", &Window1Model::calendarGregorian, "Григор", "Frame7"},
        {"Option3", &Window1Model::calendarJulian, "Юлиан", "Frame7"},
    {"Option4", &Window1Model::parameterRa, "RA", "Frame8"}, {"Option5", &Window1Model::parameterDec, "Dec", "Frame8"},
        {"Option6", &Window1Model::parameterGeo, "Geo", "Frame8"},
};

constexpr CheckRow<Window1Model> kChecks[] = {
    {"Check1", &Window1Model::dovLongVariant, "+long"}, {"Check2", &Window1Model::writeBadRecordsFile, "+FileBad"},
    {"Check3", &Window1Model::topocentricSource, "+Topo"}, {"Check4", &Window1Model::horizontalSource, "+Hor"},
};

constexpr ButtonRow<Window1Model> kButtons[] = {
    {"Command2", "Создать массивы с N=", &Window1Model::CreateArrays},
    {"Command3", "Загрузить исходные данные из", &Window1Model::LoadSourceData},
    {"Command4", "Сохранить данные в формате BDL", &Window1Model::SaveBdl},
    {"Command5", "+/-", &Window1Model::ConvertCatalogue},
    // The date converter.
    {"Command17", "G->J", &Window1Model::GregorianToJd}, {"Command18", "J->G", &Window1Model::JdToGregorian},
    // Other windows and the way out.
    {"Command1", "К форме 2", &Window1Model::OpenWindow2}, {"Command8", "About*", &Window1Model::About}, {"Command9", "Выход", &Window1Model::Exit},
    // Files chosen in a dialog or from the recent ones, and the boxes back to their defaults.
    {"Command19", "Открыть…", &Window1Model::OpenSource}, {"Command20", "Недавние", &Window1Model::OpenRecent},
    {"Command21", "Выбрать…", &Window1Model::ChooseBdlTarget}, {"Command22", "По умолчанию", &Window1Model::RestoreDefaults},
};

// The boxes the window fills: the import's counts, and the marks "время" and "эпоха",
// which every import sets for the records it read.
constexpr const char* kFilledBoxes[] = {"Text11", "Text12", "Text13", "Text2", "Text4"};

}  // namespace

Window1Model::Window1Model(Platform& platform, FormHost* host, Astronomy& astro, ObservationStore& store)
    : FormModel("Form1", "Преобразование формата данных Planova - форма 1", platform, host), Astro(astro), Store(store) {
  AddTexts(kTexts);
  for (int k = 0; k < 17; ++k) {
    AddText("Text1(" + std::to_string(k) + ")", columnLetters[static_cast<size_t>(k)]);
    AddLabel("Label20(" + std::to_string(k) + ")", columnLabels[static_cast<size_t>(k)], kFieldLabels[k]);
  }
  AddLabels(boxLabels, kLabels);
  AddLabel("Label9", bdlNameLabel, "в файл");
  AddLabel("Label30", statusLine, "");
  AddOptions(kFrames, kOptions);
  AddChecks(kChecks);
  AddRichText("RichTextBox1", sourceLog);
  AddRichText("RichTextBox2", acceptedLog);
  AddRichText("RichTextBox3", rejectedOrSavedLog);
  AddButtons(kButtons);
  SetBoxCaptions(kBoxCaptions);
  SetFilledBoxes(kFilledBoxes);
  Load();
}

void Window1Model::Load() {
  SetTexts(kTexts);
  for (int k = 0; k < 17; ++k) columnLetters[static_cast<size_t>(k)].Text = std::string(1, static_cast<char>('A' + k));
  // The choice each frame starts with.
  for (const OptionButton* option : {&sourceDov, &separatorComma, &latitudeFromEquator, &latitudeDms, &longitudeHms,
                                     &dateYmdhms, &calendarGregorian, &parameterGeo}) {
    ChooseOption(*option);
  }
  sourceLog.Text = "исходная запись данных";
  acceptedLog.Text = "прочитанные программой данные";
  rejectedOrSavedLog.Text = "не распознанные записи";
}

void Window1Model::CreateArrays() {
  RecreateArrays(Store, arraySize);
}

void Window1Model::GregorianToJd() {
  Astro.SetCalendar(calendarJulian.Value ? CalendarRule::kJulian : CalendarRule::kGregorianFrom1582);
  int32_t year = 0, month = 0;
  double day = 0;
  if (!TryBoxInt32(converterYear, year)) Refuse(converterYear, kSetDataRightMessage);
  if (!TryBoxInt32(converterMonth, month)) Refuse(converterMonth, kSetDataRightMessage);
  if (!TryBoxReal(converterDay, day)) Refuse(converterDay, kSetDataRightMessage);
  const std::optional<double> jd = Astro.JulianDate(day, month, year);
  if (!jd) throw Refusal{kWrongDateMessage, {}};
  converterJd.Text = RealText(*jd);
}

void Window1Model::JdToGregorian() {
  Astro.SetCalendar(calendarJulian.Value ? CalendarRule::kJulian : CalendarRule::kGregorianFrom1582);
  double jd = 0;
  if (!TryBoxReal(converterJd, jd)) Refuse(converterJd, kSetDataRightMessage);
  const CalendarDateResult c = Astro.CalendarDateOf(jd);
  if (!c.Ok) throw Refusal{kWrongJdMessage, {}};
  converterYear.Text = std::to_string(c.Date.Year);
  converterMonth.Text = std::to_string(c.Date.Month);
  converterDay.Text = RealText(c.Date.Day);
}

void Window1Model::OpenWindow2() { ShowForm("Form2"); }

void Window1Model::About() { ShowForm("Form3"); }

void Window1Model::Exit() {
  if (!ConfirmUnsavedExit(Ui(), Store)) return;
  CloseForms({"Form1", "Form2", "Form3", "Form4"});
}

}  // namespace planova
