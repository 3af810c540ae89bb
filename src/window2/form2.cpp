#include "window2/form2.h"

#include "astro/de405.h"
#include "astro/orbit.h"
#include "common/numtext.h"
#include "models/messages.h"

namespace planova {

namespace {

// Fixed captions beside the boxes of window 2 (index into Form2::Labels).
constexpr LabelRow kLabels[] = {
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

// The boxes and the texts they hold from the start (the load step fills in the
// observatory, its place, the marks and the file name).
constexpr TextRow<Form2> kTexts[] = {
    // Data sets and loading.
    {"Text10", &Form2::Text10, "4000"}, {"Text3", &Form2::Text3}, {"Text8", &Form2::Text8, "11"},
    {"Text1", &Form2::Text1, "110"},
    {"Text14", &Form2::Text14}, {"Text15", &Form2::Text15}, {"Text11", &Form2::Text11}, {"Text12", &Form2::Text12},
    // Rows to write, the file name, the time tolerance and ET-UT.
    {"Text16", &Form2::Text16, "1"}, {"Text17", &Form2::Text17, "1"}, {"Text2", &Form2::Text2},
    {"Text5", &Form2::Text5, "1,5"}, {"Text18", &Form2::Text18},
    // The epoch: year, month, day.
    {"Text23", &Form2::Text23, "1861"}, {"Text22", &Form2::Text22, "1"}, {"Text21", &Form2::Text21, "1,5"},
    // Comparison: the end year of JPL0 and the corrections shown.
    {"Text27", &Form2::Text27, "2000"},
    {"Text9", &Form2::Text9}, {"Text13", &Form2::Text13}, {"Text4", &Form2::Text4}, {"Text7", &Form2::Text7},
    // The plot: scales, offset and the colours of the dL, dB and dT points.
    // One arcsecond to a unit: the grid's +-3 units hold the sample's 0,3" noise visibly.
    {"Text19", &Form2::Text19, "1"}, {"Text20", &Form2::Text20, "1"}, {"Text6", &Form2::Text6, "0"},
    {"Text24", &Form2::Text24, "2"}, {"Text25", &Form2::Text25, "3"}, {"Text26", &Form2::Text26, "4"},
};

// The caption beside each number box, for the message that refuses its text.
constexpr BoxCaptionRow kBoxCaptions[] = {
    {"Text10", "Command6"}, {"Text8", "Label2"},   {"Text14", "Label4"},  {"Text15", "Label5"},
    {"Text16", "Label10"},  {"Text17", "Label8"},  {"Text5", "Label11"},  {"Text18", "Label12"},
    {"Text23", "Label13"},  {"Text22", "Label14"}, {"Text21", "Label15"}, {"Text27", "Label16"},
    {"Text19", "Label17"},  {"Text20", "Label18"}, {"Text6", "Label19"},  {"Text24", "Label20"},
    {"Text25", "Label21"},  {"Text26", "Label22"},
};

constexpr FrameRow kFrames[] = {
    {"Frame1", "данные №"}, {"Frame3", ""}, {"Frame4", "Geo (Topo)"},
    {"Frame8", ""}, {"Frame11", ""}, {"Frame9", ""}, {"Frame7", ""}, {"Frame10", "в эпоху"},
    {"Frame5", "данные 1 (сравнение)"}, {"Frame6", "данные 2 (сравнение)"},
    {"Frame2", "к теоретическим, т.е. геометрическим, координатам JPL добавить "},
};

// One line per frame.
constexpr OptionRow<Form2> kOptions[] = {
    {"Option1", &Form2::Option1, "1 (Hor, Topo всегда №1)", "Frame1"}, {"Option2", &Form2::Option2, "2", "Frame1"},
    {"Option8", &Form2::Option8, "RA", "Frame3"}, {"Option9", &Form2::Option9, "Dec", "Frame3"},
        {"Option10", &Form2::Option10, "Geo ", "Frame3"}, {"Option29", &Form2::Option29, "Hor", "Frame3"},
    {"Option11", &Form2::Option11, "G", "Frame4"}, {"Option12", &Form2::Option12, "GLB", "Frame4"},
        {"Option13", &Form2::Option13, "GT", "Frame4"}, {"Option14", &Form2::Option14, "T", "Frame4"},
    {"Option18", &Form2::Option18, "с начала", "Frame8"}, {"Option19", &Form2::Option19, "с конца", "Frame8"},
    {"Option24", &Form2::Option24, "12", "Frame11"}, {"Option25", &Form2::Option25, "ET- UT", "Frame11"},
        {"Option26", &Form2::Option26, "LT- UT", "Frame11"},
    {"Option20", &Form2::Option20, "+", "Frame9"}, {"Option21", &Form2::Option21, "-", "Frame9"},
    {"Option16", &Form2::Option16, "B1950", "Frame7"}, {"Option15", &Form2::Option15, "JD", "Frame7"},
        {"Option17", &Form2::Option17, "Other", "Frame7"},
    {"Option23", &Form2::Option23, "J2000", "Frame10"}, {"Option22", &Form2::Option22, "JD", "Frame10"},
    {"Option6", &Form2::Option6, "JPL0", "Frame5"}, {"Option5", &Form2::Option5, "из файла", "Frame5"},
    {"Option3", &Form2::Option3, "из файла", "Frame6"}, {"Option4", &Form2::Option4, "JPL0", "Frame6"},
        {"Option7", &Form2::Option7, "JPL2 (DE405)", "Frame6"},
};

constexpr CheckRow<Form2> kChecks[] = {
    {"Check1", &Form2::Check1, "+Текст"}, {"Check2", &Form2::Check2, "По шагам"}, {"Check3", &Form2::Check3, "с 1700"},
    {"Check4", &Form2::Check4, "dL"}, {"Check5", &Form2::Check5, "dB"},
    // The corrections added to the theory.
    {"Check6", &Form2::Check6, "Ref(B)="}, {"Check7", &Form2::Check7, "Nut(B)="},
    {"Check8", &Form2::Check8, "AberZ(L)="}, {"Check9", &Form2::Check9, "AberP(L)="},
    {"Check10", &Form2::Check10, "dT"}, {"Check11", &Form2::Check11, "+File"},
    {"Check12", &Form2::Check12, "+№ в примечаниях"}, {"Check13", &Form2::Check13, "+График"},
    {"Check14", &Form2::Check14, "+ очистка рисунка"},
    // The rigorous reduction instead of the classical one.
    {"Check15", &Form2::Check15, "точно (IAU 2006)"},
};

constexpr ButtonRow<Form2> kButtons[] = {
    // Data sets.
    {"Command6", "Создать массивы с N=", &Form2::CreateArrays}, {"Command5", "Загрузить в формате BDL", &Form2::LoadBdl},
    {"Command20", "Почистить", &Form2::Clean}, {"Command2", "Упорядочить данные", &Form2::Sort},
    {"Command15", "Изменить время", &Form2::ChangeTime}, {"Command4", "Объединить данные 1 и данные 2", &Form2::Merge},
    // Epoch and frame conversions.
    {"Command10", "Перевести из эпохи", &Form2::ConvertEpoch},
    {"Command18", "Hor -> Topo", &Form2::HorToTopo}, {"Command19", "Topo -> Hor", &Form2::TopoToHor},
    {"Command11", "Topo -> Geo", &Form2::TopoToGeo}, {"Command13", "Geo -> Topo", &Form2::GeoToTopo},
    // The report of changes and the writer.
    {"Command3", "Показать изменения", &Form2::ShowChanges}, {"Command14", "Записать результат в", &Form2::WriteResult},
    // The comparison (a Stop beside the cleaning and one beside the comparison) and DE405.
    {"Command17", "Stop", &Form2::Stop}, {"Command12", "Сравнить данные 1 с данными 2", &Form2::Compare},
    {"Command7", "Stop", &Form2::Stop}, {"Command16", "сделать 1 шаг", &Form2::Step}, {"Command8", "DE405", &Form2::De405},
    // Other windows and the way out.
    {"Command1", "К форме 3", &Form2::ToForm3}, {"Command9", "Выход", &Form2::Exit},
};

}  // namespace

Form2::Form2(Platform& platform, FormHost* host, AstroState& astro, ObservationStore& store)
    : FormModel("Form2", "Преобразование формата данных Planova - форма 2", platform, host), Astro(astro), Store(store) {
  AddLabels(Labels, kLabels);
  AddLabel("Label9", Label9, "файл");
  AddTexts(kTexts);
  AddOptions(kFrames, kOptions);
  AddChecks(kChecks);
  AddRichText("RichTextBox1", RichTextBox1);
  AddRichText("RichTextBox2", RichTextBox2);
  AddRichText("RichTextBox3", RichTextBox3);
  AddProgress("ProgressBar1", ProgressBar1);
  AddPicture("Picture1", Picture1);
  AddButtons(kButtons);
  SetBoxCaptions(kBoxCaptions);

  SetTexts(kTexts);
  // The choice each frame starts with (the time-change frames start with none).
  for (const char* option : {"Option1", "Option10", "Option11", "Option18", "Option15", "Option23", "Option5", "Option7"}) {
    ChooseOption(option);
  }
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
  Ui().ShowMessage(kCreateArraysFirstMessage);
  return true;
}

void Form2::CreateArrays() {
  if (!RecreateArrays(Store, Text10)) return;
  Count1 = 0;
  Count2 = 0;
}

void Form2::Stop() { Astro.StopRequested = 1; }

void Form2::ToForm3() { ShowForm("Form4"); }

void Form2::Exit() { CloseForms({"Form1", "Form3", "Form4", "Form2"}); }

}  // namespace planova
