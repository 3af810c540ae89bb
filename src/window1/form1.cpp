#include "window1/form1.h"

#include "astro/time.h"
#include "common/numtext.h"
#include "models/messages.h"

namespace planova {

namespace {

// The fixed captions beside the boxes of window 1 (index into Form1::Labels).
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
constexpr TextRow<Form1> kTexts[] = {
    {"Text3", &Form1::Text3, "PARI"}, {"Text8", &Form1::Text8, "11"}, {"Text10", &Form1::Text10, "3200"},
    {"Text18", &Form1::Text18, "1"},
    // Import counters: all, good and bad records.
    {"Text11", &Form1::Text11, "0"}, {"Text12", &Form1::Text12, "0"}, {"Text13", &Form1::Text13, "0"},
    // The BDL file: its name part, the time-scale and epoch marks, the descriptive fields.
    {"Text9", &Form1::Text9, "RDGT_0"}, {"Text2", &Form1::Text2, "UT"}, {"Text4", &Form1::Text4, "App"},
    {"Text5", &Form1::Text5, "USNO Transit 6"}, {"Text6", &Form1::Text6, "198.0"}, {"Text7", &Form1::Text7, "Trans"},
    {"Text14", &Form1::Text14, "C"}, {"Text15", &Form1::Text15, "E"},
    {"Text16", &Form1::Text16, ""}, {"Text17", &Form1::Text17, ""},
    // The date converter: day, month, year and JD.
    {"Text32", &Form1::Text32, "1,5"}, {"Text33", &Form1::Text33, "1"}, {"Text34", &Form1::Text34, "1601"},
    {"Text24", &Form1::Text24, "2305814"},
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
constexpr OptionRow<Form1> kOptions[] = {
    {"Option8", &Form1::Option8, "table Excel", "Frame1"}, {"Option9", &Form1::Option9, "File JPL", "Frame1"},
        {"Option21", &Form1::Option21, "File Dov", "Frame1"}, {"Option22", &Form1::Option22, "File MPC", "Frame1"},
    {"Option19", &Form1::Option19, "запятая", "Frame2"}, {"Option18", &Form1::Option18, "точка", "Frame2"},
    {"Option17", &Form1::Option17, "полюса", "Frame3"}, {"Option16", &Form1::Option16, "экватора", "Frame3"},
    {"Option15", &Form1::Option15, "D", "Frame4"}, {"Option14", &Form1::Option14, "DMS", "Frame4"},
    {"Option2", &Form1::Option2, "DMS", "Frame5"}, {"Option13", &Form1::Option13, "D", "Frame5"},
        {"Option12", &Form1::Option12, "HMS", "Frame5"},
    {"Option11", &Form1::Option11, "JD", "Frame6"}, {"Option10", &Form1::Option10, "YMDay", "Frame6"},
        {"Option1", &Form1::Option1, "YMDHMS", "Frame6"},
    {"Option20", &Form1::Option20, "Григор", "Frame7"}, {"Option3", &Form1::Option3, "Юлиан", "Frame7"},
    {"Option4", &Form1::Option4, "RA", "Frame8"}, {"Option5", &Form1::Option5, "Dec", "Frame8"},
        {"Option6", &Form1::Option6, "Geo", "Frame8"},
};

constexpr CheckRow<Form1> kChecks[] = {
    {"Check1", &Form1::Check1, "+long"}, {"Check2", &Form1::Check2, "+FileBad"},
    {"Check3", &Form1::Check3, "+Topo"}, {"Check4", &Form1::Check4, "+Hor"},
};

constexpr ButtonRow<Form1> kButtons[] = {
    {"Command2", "Создать массивы с N=", &Form1::CreateArrays},
    {"Command3", "Загрузить исходные данные из", &Form1::LoadSourceData},
    {"Command4", "Сохранить данные в формате BDL", &Form1::SaveBdl},
    {"Command5", "+/-", &Form1::ConvertCatalogue},
    // The date converter.
    {"Command17", "G->J", &Form1::GregorianToJd}, {"Command18", "J->G", &Form1::JdToGregorian},
    // Other windows and the way out.
    {"Command1", "К форме 2", &Form1::ToForm2}, {"Command8", "About*", &Form1::About}, {"Command9", "Выход", &Form1::Exit},
};

}  // namespace

Form1::Form1(Platform& platform, FormHost* host, AstroState& astro, ObservationStore& store)
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

void Form1::Load() {
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

void Form1::CreateArrays() { RecreateArrays(Store, Text10); }

void Form1::GregorianToJd() {
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

void Form1::JdToGregorian() {
  Astro.UseJulianCalendar = Option3.Value ? 1 : 0;
  double jd = 0;
  if (!TryBoxReal(Text24, jd)) {
    RefuseBox({"Text24"}, "Задайте правильно данные");
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

void Form1::ToForm2() { ShowForm("Form2"); }

void Form1::About() { ShowForm("Form3"); }

void Form1::Exit() { CloseForms({"Form1", "Form2", "Form3", "Form4"}); }

}  // namespace planova
