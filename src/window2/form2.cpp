#include "window2/form2.h"

#include "astro/de405.h"
#include "astro/orbit.h"
#include "common/numtext.h"

namespace planova {

namespace {

struct LabelSpec {
  const char* name;
  const char* caption;
};

// Fixed captions beside the boxes of window 2 (index into Form2::Labels).
constexpr LabelSpec kLabels[] = {
    {"Label1", "Имя обсерватории"},
    {"Label2", "№ объекта"},
    {"Label3", "№ файла"},
    {"Label4", "ObsL"},
    {"Label5", "ObsB"},
    {"Label6", "время"},
    {"Label7", "эпоха"},
    {"Label8", "по №"},
    {"Label10", "с №"},
    {"Label11", "при dT, сек= "},
    {"Label12", "ET-UT,сек"},
    {"Label13", "год"},
    {"Label14", "месяц"},
    {"Label15", "день"},
    {"Label16", "JPL0 до"},
    {"Label17", "MT, лет/см"},
    {"Label18", "MdP,  угл. сек / см    (сек / см)"},
    {"Label19", "+dP, угл.сек(сек)"},
    {"Label20", "цвет dL"},
    {"Label21", "цвет dB"},
    {"Label22", "цвет dT"},
};

}  // namespace

Form2::Form2(Platform& platform, FormHost* host, AstroState& astro, ObservationStore& store)
    : FormModel("Form2", "Преобразование формата данных Planova - форма 2", platform, host), Astro(astro), Store(store) {
  for (size_t k = 0; k < std::size(kLabels); ++k) AddLabel(kLabels[k].name, Labels[k], kLabels[k].caption);
  AddLabel("Label9", Label9, "файл");

  AddText("Text10", Text10);
  AddText("Text3", Text3);
  AddText("Text8", Text8);
  AddText("Text1", Text1);
  AddText("Text14", Text14);
  AddText("Text15", Text15);
  AddText("Text11", Text11);
  AddText("Text12", Text12);
  AddText("Text16", Text16);
  AddText("Text17", Text17);
  AddText("Text2", Text2);
  AddText("Text5", Text5);
  AddText("Text18", Text18);
  AddText("Text23", Text23);
  AddText("Text22", Text22);
  AddText("Text21", Text21);
  AddText("Text27", Text27);
  AddText("Text9", Text9);
  AddText("Text13", Text13);
  AddText("Text4", Text4);
  AddText("Text7", Text7);
  AddText("Text19", Text19);
  AddText("Text20", Text20);
  AddText("Text6", Text6);
  AddText("Text24", Text24);
  AddText("Text25", Text25);
  AddText("Text26", Text26);

  AddFrame("Frame1", "данные №");
  AddOption("Option1", Option1, "1 (Hor, Topo всегда №1)", "Frame1");
  AddOption("Option2", Option2, "2", "Frame1");
  AddFrame("Frame3", "");
  AddOption("Option8", Option8, "RA", "Frame3");
  AddOption("Option9", Option9, "Dec", "Frame3");
  AddOption("Option10", Option10, "Geo ", "Frame3");
  AddOption("Option29", Option29, "Hor", "Frame3");
  AddFrame("Frame4", "Geo (Topo)");
  AddOption("Option11", Option11, "G", "Frame4");
  AddOption("Option12", Option12, "GLB", "Frame4");
  AddOption("Option13", Option13, "GT", "Frame4");
  AddOption("Option14", Option14, "T", "Frame4");
  AddFrame("Frame8", "");
  AddOption("Option18", Option18, "с начала", "Frame8");
  AddOption("Option19", Option19, "с конца", "Frame8");
  AddFrame("Frame11", "");
  AddOption("Option24", Option24, "12", "Frame11");
  AddOption("Option25", Option25, "ET- UT", "Frame11");
  AddOption("Option26", Option26, "LT- UT", "Frame11");
  AddFrame("Frame9", "");
  AddOption("Option20", Option20, "+", "Frame9");
  AddOption("Option21", Option21, "-", "Frame9");
  AddFrame("Frame7", "");
  AddOption("Option16", Option16, "B1950", "Frame7");
  AddOption("Option15", Option15, "JD", "Frame7");
  AddOption("Option17", Option17, "Other", "Frame7");
  AddFrame("Frame10", "в эпоху");
  AddOption("Option23", Option23, "J2000", "Frame10");
  AddOption("Option22", Option22, "JD", "Frame10");
  AddFrame("Frame5", "данные 1 (сравнение)");
  AddOption("Option6", Option6, "JPL0", "Frame5");
  AddOption("Option5", Option5, "из файла", "Frame5");
  AddFrame("Frame6", "данные 2 (сравнение)");
  AddOption("Option3", Option3, "из файла", "Frame6");
  AddOption("Option4", Option4, "JPL0", "Frame6");
  AddOption("Option7", Option7, "JPL2 (DE405)", "Frame6");
  AddFrame("Frame2", "к теоретическим, т.е. геометрическим, координатам JPL добавить ");

  AddCheck("Check1", Check1, "+Текст");
  AddCheck("Check2", Check2, "По шагам");
  AddCheck("Check3", Check3, "с 1700");
  AddCheck("Check4", Check4, "dL");
  AddCheck("Check5", Check5, "dB");
  AddCheck("Check6", Check6, "Ref(B)=");
  AddCheck("Check7", Check7, "Nut(B)=");
  AddCheck("Check8", Check8, "AberZ(L)=");
  AddCheck("Check9", Check9, "AberP(L)=");
  AddCheck("Check10", Check10, "dT");
  AddCheck("Check11", Check11, "+File");
  AddCheck("Check12", Check12, "+№ в примечаниях");
  AddCheck("Check13", Check13, "+График");
  AddCheck("Check14", Check14, "+ очистка рисунка");

  AddRichText("RichTextBox1", RichTextBox1);
  AddRichText("RichTextBox2", RichTextBox2);
  AddRichText("RichTextBox3", RichTextBox3);
  AddProgress("ProgressBar1", ProgressBar1);
  AddPicture("Picture1", Picture1);

  AddButton("Command6", "Создать массивы с N=", [this] { CreateArrays(); });
  AddButton("Command5", "Загрузить в формате BDL", [this] { LoadBdl(); });
  AddButton("Command20", "Почистить", [this] { Clean(); });
  AddButton("Command2", "Упорядочить данные", [this] { Sort(); });
  AddButton("Command15", "Изменить время", [this] { ChangeTime(); });
  AddButton("Command4", "Объединить данные 1 и данные 2", [this] { Merge(); });
  AddButton("Command10", "Перевести из эпохи", [this] { ConvertEpoch(); });
  AddButton("Command18", "Hor -> Topo", [this] { HorToTopo(); });
  AddButton("Command19", "Topo -> Hor", [this] { TopoToHor(); });
  AddButton("Command11", "Topo -> Geo", [this] { TopoToGeo(); });
  AddButton("Command13", "Geo -> Topo", [this] { GeoToTopo(); });
  AddButton("Command3", "Показать изменения", [this] { ShowChanges(); });
  AddButton("Command14", "Записать результат в", [this] { WriteResult(); });
  AddButton("Command17", "Stop", [this] { Stop(); });
  AddButton("Command12", "Сравнить данные 1 с данными 2", [this] { Compare(); });
  AddButton("Command7", "Stop", [this] { Stop(); });
  AddButton("Command16", "сделать 1 шаг", [this] { Step(); });
  AddButton("Command8", "DE405", [this] { De405(); });
  AddButton("Command1", "К форме 3", [this] { ToForm3(); });
  AddButton("Command9", "Выход", [this] { Exit(); });

  // Texts that do not depend on the load step.
  Text10.Text = "4000";
  Text8.Text = "11";
  Text1.Text = "110";
  Text16.Text = "1";
  Text17.Text = "1";
  Text5.Text = RealText(1.5);
  Text23.Text = "1861";
  Text22.Text = "1";
  Text21.Text = RealText(1.5);
  Text27.Text = "2000";
  Text19.Text = "1";
  Text20.Text = "3600";
  Text6.Text = "0";
  Text24.Text = "2";
  Text25.Text = "3";
  Text26.Text = "4";
  ChooseOption("Option1");
  ChooseOption("Option10");
  ChooseOption("Option11");
  ChooseOption("Option18");
  ChooseOption("Option15");
  ChooseOption("Option23");
  ChooseOption("Option5");
  ChooseOption("Option7");
}

void Form2::Load() {
  Text2.Text = "RDGLBT_40";
  Text3.Text = "PARI";
  Text11.Text = "UT";
  Text12.Text = "App";
  Text14.Text = RealText(2.337);
  Text15.Text = RealText(48.836);
  Astro.InitConstants();
  InitDe405Layout(Astro);
  InitPlanetMasses(Astro);
  InitPlotColours(PlotColours);
}

void Form2::Activate() { Astro.UseJulianCalendar = 0; }

bool Form2::ArraysMissing() {
  if (Store.Exists()) return false;
  Ui().ShowMessage("Сначала создайте массивы данных (кнопка \"Создать массивы с N=\")");
  return true;
}

void Form2::CreateArrays() {
  if (!Store.RecreateFromText(Text10.Text)) {
    Ui().ShowMessage("Задайте правильно данные");
    return;
  }
  Count1 = 0;
  Count2 = 0;
}

void Form2::Stop() { Astro.StopRequested = 1; }

void Form2::ToForm3() {
  if (Host()) Host()->ShowForm("Form4");
}

void Form2::Exit() {
  if (!Host()) return;
  for (const char* form : {"Form1", "Form3", "Form4", "Form2"}) Host()->CloseForm(form);
}

}  // namespace planova
