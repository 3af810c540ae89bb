#include "window1/window1_model.h"

#include "astro/time.h"
#include "common/numtext.h"
#include "models/messages.h"

namespace planova {

namespace {

// The fixed captions beside the boxes of window 1 (index into Window1Model::Labels).
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
    {"Text3", &Window1Model::Text3, "PARI"}, {"Text8", &Window1Model::Text8, "11"}, {"Text10", &Window1Model::Text10, "3200"},
    {"Text18", &Window1Model::Text18, "1"},
    // Import counters: all, good and bad records.
    {"Text11", &Window1Model::Text11, "0"}, {"Text12", &Window1Model::Text12, "0"}, {"Text13", &Window1Model::Text13, "0"},
    // The BDL file: its name part, the time-scale and epoch marks, the descriptive fields.
    {"Text9", &Window1Model::Text9, "RDGT_0"}, {"Text2", &Window1Model::Text2, "UT"}, {"Text4", &Window1Model::Text4, "App"},
    {"Text5", &Window1Model::Text5, "USNO Transit 6"}, {"Text6", &Window1Model::Text6, "198.0"}, {"Text7", &Window1Model::Text7, "Trans"},
    {"Text14", &Window1Model::Text14, "C"}, {"Text15", &Window1Model::Text15, "E"},
    {"Text16", &Window1Model::Text16, ""}, {"Text17", &Window1Model::Text17, ""},
    // The date converter: day, month, year and JD.
    {"Text32", &Window1Model::Text32, "1,5"}, {"Text33", &Window1Model::Text33, "1"}, {"Text34", &Window1Model::Text34, "1601"},
    {"Text24", &Window1Model::Text24, "2305814"},
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
    {"Option8", &Window1Model::Option8, "table Excel", "Frame1"}, {"Option9", &Window1Model::Option9, "File JPL", "Frame1"},
        {"Option21", &Window1Model::Option21, "File Dov", "Frame1"}, {"Option22", &Window1Model::Option22, "File MPC", "Frame1"},
    {"Option19", &Window1Model::Option19, "запятая", "Frame2"}, {"Option18", &Window1Model::Option18, "точка", "Frame2"},
    {"Option17", &Window1Model::Option17, "полюса", "Frame3"}, {"Option16", &Window1Model::Option16, "экватора", "Frame3"},
    {"Option15", &Window1Model::Option15, "D", "Frame4"}, {"Option14", &Window1Model::Option14, "DMS", "Frame4"},
    {"Option2", &Window1Model::Option2, "DMS", "Frame5"}, {"Option13", &Window1Model::Option13, "D", "Frame5"},
        {"Option12", &Window1Model::Option12, "HMS", "Frame5"},
    {"Option11", &Window1Model::Option11, "JD", "Frame6"}, {"Option10", &Window1Model::Option10, "YMDay", "Frame6"},
        {"Option1", &Window1Model::Option1, "YMDHMS", "Frame6"},
    {"Option20", &Window1Model::Option20, "Григор", "Frame7"}, {"Option3", &Window1Model::Option3, "Юлиан", "Frame7"},
    {"Option4", &Window1Model::Option4, "RA", "Frame8"}, {"Option5", &Window1Model::Option5, "Dec", "Frame8"},
        {"Option6", &Window1Model::Option6, "Geo", "Frame8"},
};

constexpr CheckRow<Window1Model> kChecks[] = {
    {"Check1", &Window1Model::Check1, "+long"}, {"Check2", &Window1Model::Check2, "+FileBad"},
    {"Check3", &Window1Model::Check3, "+Topo"}, {"Check4", &Window1Model::Check4, "+Hor"},
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
};

}  // namespace

Window1Model::Window1Model(Platform& platform, FormHost* host, AstroState& astro, ObservationStore& store)
    : FormModel("Form1", "Преобразование формата данных Planova - форма 1", platform, host), Astro(astro), Store(store) {
  AddTexts(kTexts);
  for (int k = 0; k < 17; ++k) {
    AddText("Text1(" + std::to_string(k) + ")", Text1[static_cast<size_t>(k)]);
    AddLabel("Label20(" + std::to_string(k) + ")", Label20[static_cast<size_t>(k)], kFieldLabels[k]);
  }
  AddLabels(Labels, kLabels);
  AddLabel("Label9", Label9, "в файл");
  AddOptions(kFrames, kOptions);
  AddChecks(kChecks);
  AddRichText("RichTextBox1", RichTextBox1);
  AddRichText("RichTextBox2", RichTextBox2);
  AddRichText("RichTextBox3", RichTextBox3);
  AddButtons(kButtons);
  SetBoxCaptions(kBoxCaptions);
  Load();
}

void Window1Model::Load() {
  SetTexts(kTexts);
  for (int k = 0; k < 17; ++k) Text1[static_cast<size_t>(k)].Text = std::string(1, static_cast<char>('A' + k));
  // The choice each frame starts with.
  for (const char* option : {"Option21", "Option19", "Option16", "Option14", "Option12", "Option1", "Option20", "Option6"}) {
    ChooseOption(option);
  }
  RichTextBox1.Text = "исходная запись данных";
  RichTextBox2.Text = "прочитанные программой данные";
  RichTextBox3.Text = "не распознанные записи";
}

void Window1Model::CreateArrays() { RecreateArrays(Store, Text10); }

void Window1Model::GregorianToJd() {
  Astro.UseJulianCalendar = Option3.Value ? 1 : 0;
  int32_t year = 0, month = 0;
  double day = 0;
  try {
    year = BoxInt32(Text34);
    month = BoxInt32(Text33);
    day = BoxReal(Text32);
  } catch (const RefusedBox& refused) {
    RefuseBox(refused, "Задайте правильно данные");
    return;
  }
  bool failed = false;
  double jd = JulianDateFromCalendar(Astro, day, month, year, &failed);
  if (failed) {
    Ui().ShowMessage(kWrongDateMessage);
    return;
  }
  Text24.Text = RealText(jd);
}

void Window1Model::JdToGregorian() {
  Astro.UseJulianCalendar = Option3.Value ? 1 : 0;
  double jd = 0;
  if (!TryBoxReal(Text24, jd)) {
    RefuseBox({.Box = "Text24"}, "Задайте правильно данные");
    return;
  }
  if (!CalendarFromJulianDate(Astro, jd)) {
    Ui().ShowMessage(kWrongJdMessage);
    return;
  }
  Text34.Text = std::to_string(Astro.CalYear);
  Text33.Text = std::to_string(Astro.CalMonth);
  Text32.Text = RealText(Astro.CalDay);
}

void Window1Model::OpenWindow2() { ShowForm("Form2"); }

void Window1Model::About() { ShowForm("Form3"); }

void Window1Model::Exit() { CloseForms({"Form1", "Form2", "Form3", "Form4"}); }

}  // namespace planova
