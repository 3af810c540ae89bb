#include "window1/form1.h"

#include "astro/time.h"
#include "common/numtext.h"
#include "models/messages.h"

namespace planova {

namespace {

struct LabelSpec {
  const char* name;
  const char* caption;
};

// The fixed captions beside the boxes of window 1 (index into Form1::Labels).
constexpr LabelSpec kLabels[] = {
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

}  // namespace

Form1::Form1(Platform& platform, FormHost* host, AstroState& astro, ObservationStore& store)
    : FormModel("Form1", "Преобразование формата данных Planova - форма 1", platform, host), Astro(astro), Store(store) {
  AddText("Text3", Text3);
  AddText("Text8", Text8);
  AddText("Text10", Text10);
  AddText("Text18", Text18);
  AddText("Text11", Text11);
  AddText("Text12", Text12);
  AddText("Text13", Text13);
  AddText("Text9", Text9);
  AddText("Text2", Text2);
  AddText("Text4", Text4);
  AddText("Text5", Text5);
  AddText("Text6", Text6);
  AddText("Text7", Text7);
  AddText("Text14", Text14);
  AddText("Text15", Text15);
  AddText("Text16", Text16);
  AddText("Text17", Text17);
  AddText("Text32", Text32);
  AddText("Text33", Text33);
  AddText("Text34", Text34);
  AddText("Text24", Text24);
  for (int k = 0; k < 17; ++k) {
    AddText("Text1(" + std::to_string(k) + ")", Text1[static_cast<size_t>(k)]);
    AddLabel("Label20(" + std::to_string(k) + ")", Label20[static_cast<size_t>(k)], kFieldLabels[k]);
  }
  for (size_t k = 0; k < std::size(kLabels); ++k) AddLabel(kLabels[k].name, Labels[k], kLabels[k].caption);
  AddLabel("Label9", Label9, "в файл");

  AddFrame("Frame1", "");
  AddOption("Option8", Option8, "table Excel", "Frame1");
  AddOption("Option9", Option9, "File JPL", "Frame1");
  AddOption("Option21", Option21, "File Dov", "Frame1");
  AddFrame("Frame2", "разделитель в таблицах");
  AddOption("Option19", Option19, "запятая", "Frame2");
  AddOption("Option18", Option18, "точка", "Frame2");
  AddFrame("Frame3", "Широта задана от");
  AddOption("Option17", Option17, "полюса", "Frame3");
  AddOption("Option16", Option16, "экватора", "Frame3");
  AddFrame("Frame4", "Широта B");
  AddOption("Option15", Option15, "D", "Frame4");
  AddOption("Option14", Option14, "DMS", "Frame4");
  AddFrame("Frame5", "Долгота L ");
  AddOption("Option2", Option2, "DMS", "Frame5");
  AddOption("Option13", Option13, "D", "Frame5");
  AddOption("Option12", Option12, "HMS", "Frame5");
  AddFrame("Frame6", "Дата наблюдений в формате");
  AddOption("Option11", Option11, "JD", "Frame6");
  AddOption("Option10", Option10, "YMDay", "Frame6");
  AddOption("Option1", Option1, "YMDHMS", "Frame6");
  AddFrame("Frame7", "календарь");
  AddOption("Option20", Option20, "Григор", "Frame7");
  AddOption("Option3", Option3, "Юлиан", "Frame7");
  AddFrame("Frame8", "по параметру");
  AddOption("Option4", Option4, "RA", "Frame8");
  AddOption("Option5", Option5, "Dec", "Frame8");
  AddOption("Option6", Option6, "Geo", "Frame8");

  AddCheck("Check1", Check1, "+long");
  AddCheck("Check2", Check2, "+FileBad");
  AddCheck("Check3", Check3, "+Topo");
  AddCheck("Check4", Check4, "+Hor");

  AddRichText("RichTextBox1", RichTextBox1);
  AddRichText("RichTextBox2", RichTextBox2);
  AddRichText("RichTextBox3", RichTextBox3);

  AddButton("Command2", "Создать массивы с N=", [this] { CreateArrays(); });
  AddButton("Command3", "Загрузить исходные данные из", [this] { LoadSourceData(); });
  AddButton("Command4", "Сохранить данные в формате BDL", [this] { SaveBdl(); });
  AddButton("Command5", "+/-", [this] { ConvertCatalogue(); });
  AddButton("Command17", "G->J", [this] { GregorianToJd(); });
  AddButton("Command18", "J->G", [this] { JdToGregorian(); });
  AddButton("Command1", "К форме 2", [this] { ToForm2(); });
  AddButton("Command8", "About*", [this] { About(); });
  AddButton("Command9", "Выход", [this] { Exit(); });

  Load();
}

void Form1::Load() {
  Text2.Text = "UT";
  Text3.Text = "PARI";
  Text4.Text = "App";
  Text5.Text = "USNO Transit 6";
  Text6.Text = "198.0";
  Text7.Text = "Trans";
  Text8.Text = "11";
  Text9.Text = "RDGT_0";
  Text10.Text = "3200";
  Text11.Text = "0";
  Text12.Text = "0";
  Text13.Text = "0";
  Text14.Text = "C";
  Text15.Text = "E";
  Text16.Text = "";
  Text17.Text = "";
  Text18.Text = "1";
  Text24.Text = "2305814";
  Text32.Text = RealText(1.5);
  Text33.Text = "1";
  Text34.Text = "1601";
  for (int k = 0; k < 17; ++k) Text1[static_cast<size_t>(k)].Text = std::string(1, static_cast<char>('A' + k));

  ChooseOption("Option21");
  ChooseOption("Option19");
  ChooseOption("Option16");
  ChooseOption("Option14");
  ChooseOption("Option12");
  ChooseOption("Option1");
  ChooseOption("Option20");
  ChooseOption("Option6");

  RichTextBox1.Text = "исходная запись данных";
  RichTextBox2.Text = "прочитанные программой данные";
  RichTextBox3.Text = "не распознанные записи";
}

void Form1::CreateArrays() {
  if (!Store.RecreateFromText(Text10.Text)) Ui().ShowMessage("Задайте правильно данные");
}

void Form1::GregorianToJd() {
  Astro.UseJulianCalendar = Option3.Value ? 1 : 0;
  int32_t year = 0, month = 0;
  double day = 0;
  if (!TryParseInt32(Text34.Text, year) || !TryParseInt32(Text33.Text, month) || !TryParseReal(Text32.Text, day)) {
    Ui().ShowMessage("Задайте правильно данные");
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
  if (!TryParseReal(Text24.Text, jd)) {
    Ui().ShowMessage("Задайте правильно данные");
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

void Form1::ToForm2() {
  if (Host()) Host()->ShowForm("Form2");
}

void Form1::About() {
  if (Host()) Host()->ShowForm("Form3");
}

void Form1::Exit() {
  if (!Host()) return;
  for (const char* form : {"Form1", "Form2", "Form3", "Form4"}) Host()->CloseForm(form);
}

}  // namespace planova
