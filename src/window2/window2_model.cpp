#include "window2/window2_model.h"

#include "astro/de405.h"
#include "astro/orbit.h"
#include "common/numtext.h"
#include "models/messages.h"

namespace planova {

namespace {

// Fixed captions beside the boxes of window 2 (index into Window2Model::Labels).
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
constexpr TextRow<Window2Model> kTexts[] = {
    // Data sets and loading.
    {"Text10", &Window2Model::Text10, "4000"}, {"Text3", &Window2Model::Text3}, {"Text8", &Window2Model::Text8, "11"},
    {"Text1", &Window2Model::Text1, "110"},
    {"Text14", &Window2Model::Text14}, {"Text15", &Window2Model::Text15}, {"Text11", &Window2Model::Text11}, {"Text12", &Window2Model::Text12},
    // Rows to write, the file name, the time tolerance and ET-UT.
    {"Text16", &Window2Model::Text16, "1"}, {"Text17", &Window2Model::Text17, "1"}, {"Text2", &Window2Model::Text2},
    {"Text5", &Window2Model::Text5, "1,5"}, {"Text18", &Window2Model::Text18},
    // The epoch: year, month, day.
    {"Text23", &Window2Model::Text23, "1861"}, {"Text22", &Window2Model::Text22, "1"}, {"Text21", &Window2Model::Text21, "1,5"},
    // Comparison: the end year of JPL0 and the corrections shown.
    {"Text27", &Window2Model::Text27, "2000"},
    {"Text9", &Window2Model::Text9}, {"Text13", &Window2Model::Text13}, {"Text4", &Window2Model::Text4}, {"Text7", &Window2Model::Text7},
    // The plot: scales, offset and the colours of the dL, dB and dT points.
    // One arcsecond to a unit: the grid's +-3 units hold the sample's 0,3" noise visibly.
    {"Text19", &Window2Model::Text19, "1"}, {"Text20", &Window2Model::Text20, "1"}, {"Text6", &Window2Model::Text6, "0"},
    {"Text24", &Window2Model::Text24, "2"}, {"Text25", &Window2Model::Text25, "3"}, {"Text26", &Window2Model::Text26, "4"},
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
constexpr OptionRow<Window2Model> kOptions[] = {
    {"Option1", &Window2Model::Option1, "1 (Hor, Topo всегда №1)", "Frame1"}, {"Option2", &Window2Model::Option2, "2", "Frame1"},
    {"Option8", &Window2Model::Option8, "RA", "Frame3"}, {"Option9", &Window2Model::Option9, "Dec", "Frame3"},
        {"Option10", &Window2Model::Option10, "Geo ", "Frame3"}, {"Option29", &Window2Model::Option29, "Hor", "Frame3"},
    {"Option11", &Window2Model::Option11, "G", "Frame4"}, {"Option12", &Window2Model::Option12, "GLB", "Frame4"},
        {"Option13", &Window2Model::Option13, "GT", "Frame4"}, {"Option14", &Window2Model::Option14, "T", "Frame4"},
    {"Option18", &Window2Model::Option18, "с начала", "Frame8"}, {"Option19", &Window2Model::Option19, "с конца", "Frame8"},
    {"Option24", &Window2Model::Option24, "12", "Frame11"}, {"Option25", &Window2Model::Option25, "ET- UT", "Frame11"},
        {"Option26", &Window2Model::Option26, "LT- UT", "Frame11"},
    {"Option20", &Window2Model::Option20, "+", "Frame9"}, {"Option21", &Window2Model::Option21, "-", "Frame9"},
    {"Option16", &Window2Model::Option16, "B1950", "Frame7"}, {"Option15", &Window2Model::Option15, "JD", "Frame7"},
        {"Option17", &Window2Model::Option17, "Other", "Frame7"},
    {"Option23", &Window2Model::Option23, "J2000", "Frame10"}, {"Option22", &Window2Model::Option22, "JD", "Frame10"},
    {"Option6", &Window2Model::Option6, "JPL0", "Frame5"}, {"Option5", &Window2Model::Option5, "из файла", "Frame5"},
    {"Option3", &Window2Model::Option3, "из файла", "Frame6"}, {"Option4", &Window2Model::Option4, "JPL0", "Frame6"},
        {"Option7", &Window2Model::Option7, "JPL2 (DE405)", "Frame6"},
};

constexpr CheckRow<Window2Model> kChecks[] = {
    {"Check1", &Window2Model::Check1, "+Текст"}, {"Check2", &Window2Model::Check2, "По шагам"}, {"Check3", &Window2Model::Check3, "с 1700"},
    {"Check4", &Window2Model::Check4, "dL"}, {"Check5", &Window2Model::Check5, "dB"},
    // The corrections added to the theory.
    {"Check6", &Window2Model::Check6, "Ref(B)="}, {"Check7", &Window2Model::Check7, "Nut(B)="},
    {"Check8", &Window2Model::Check8, "AberZ(L)="}, {"Check9", &Window2Model::Check9, "AberP(L)="},
    {"Check10", &Window2Model::Check10, "dT"}, {"Check11", &Window2Model::Check11, "+File"},
    {"Check12", &Window2Model::Check12, "+№ в примечаниях"}, {"Check13", &Window2Model::Check13, "+График"},
    {"Check14", &Window2Model::Check14, "+ очистка рисунка"},
    // The rigorous reduction instead of the classical one.
    {"Check15", &Window2Model::Check15, "точно (IAU 2006)"},
};

constexpr ButtonRow<Window2Model> kButtons[] = {
    // Data sets.
    {"Command6", "Создать массивы с N=", &Window2Model::CreateArrays}, {"Command5", "Загрузить в формате BDL", &Window2Model::LoadBdl},
    {"Command20", "Почистить", &Window2Model::Clean}, {"Command2", "Упорядочить данные", &Window2Model::Sort},
    {"Command15", "Изменить время", &Window2Model::ChangeTime}, {"Command4", "Объединить данные 1 и данные 2", &Window2Model::Merge},
    // Epoch and frame conversions.
    {"Command10", "Перевести из эпохи", &Window2Model::ConvertEpoch},
    {"Command18", "Hor -> Topo", &Window2Model::HorToTopo}, {"Command19", "Topo -> Hor", &Window2Model::TopoToHor},
    {"Command11", "Topo -> Geo", &Window2Model::TopoToGeo}, {"Command13", "Geo -> Topo", &Window2Model::GeoToTopo},
    // The report of changes and the writer.
    {"Command3", "Показать изменения", &Window2Model::ShowChanges}, {"Command14", "Записать результат в", &Window2Model::WriteResult},
    // The comparison (a Stop beside the cleaning and one beside the comparison) and DE405.
    {"Command17", "Stop", &Window2Model::Stop}, {"Command12", "Сравнить данные 1 с данными 2", &Window2Model::Compare},
    {"Command7", "Stop", &Window2Model::Stop}, {"Command16", "сделать 1 шаг", &Window2Model::Step}, {"Command8", "DE405", &Window2Model::De405},
    // Other windows and the way out.
    {"Command1", "К форме 3", &Window2Model::OpenWindow3}, {"Command9", "Выход", &Window2Model::Exit},
};

}  // namespace

Window2Model::Window2Model(Platform& platform, FormHost* host, AstroState& astro, ObservationStore& store)
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

void Window2Model::Load() {
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

void Window2Model::Activate() { Astro.UseJulianCalendar = 0; }

bool Window2Model::ArraysMissing() {
  if (Store.Exists()) return false;
  Ui().ShowMessage(kCreateArraysFirstMessage);
  return true;
}

void Window2Model::CreateArrays() {
  if (!RecreateArrays(Store, Text10)) return;
  Count1 = 0;
  Count2 = 0;
}

void Window2Model::Stop() { Astro.StopRequested = 1; }

void Window2Model::OpenWindow3() { ShowForm("Form4"); }

void Window2Model::Exit() { CloseForms({"Form1", "Form3", "Form4", "Form2"}); }

}  // namespace planova
