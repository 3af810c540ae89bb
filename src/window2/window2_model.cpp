#include "window2/window2_model.h"

#include "astro/jpl.h"
#include "astro/orbit.h"
#include "common/name_part.h"
#include "common/numtext.h"
#include "models/messages.h"

namespace planova {

namespace {

// Fixed captions beside the boxes of window 2 (index into Window2Model::boxLabels).
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
    {"Label23", "эфемериды"},
    {"Label24", "исключить №"},
};

// The boxes and the texts they hold from the start (the load step fills in the
// observatory, its place, the marks and the file name).
constexpr TextRow<Window2Model> kTexts[] = {
    // Data sets and loading.
    {"Text10", &Window2Model::arraySize, "4000"},
    {"Text3", &Window2Model::observatoryCode},
    {"Text8", &Window2Model::objectNumber, "11"},
    {"Text1", &Window2Model::fileNumber, "110"},
    {"Text14", &Window2Model::observatoryLonDeg},
    {"Text15", &Window2Model::observatoryLatDeg},
    {"Text11", &Window2Model::timeScaleName},
    {"Text12", &Window2Model::epochName},
    // Rows to write, the file name, the time tolerance and ET-UT.
    {"Text16", &Window2Model::firstRow, "1"},
    {"Text17", &Window2Model::lastRow, "1"},
    {"Text2", &Window2Model::outputName},
    {"Text5", &Window2Model::toleranceSeconds, "1,5"},
    {"Text18", &Window2Model::etMinusUtSeconds},
    // The epoch: year, month, day.
    {"Text23", &Window2Model::dateYear, "1861"},
    {"Text22", &Window2Model::dateMonth, "1"},
    {"Text21", &Window2Model::dateDay, "1,5"},
    // Comparison: the end year of JPL0 and the corrections shown.
    {"Text27", &Window2Model::generateToYear, "2000"},
    {"Text9", &Window2Model::aberrationArcsec},
    {"Text13", &Window2Model::planetaryAberrationArcsec},
    {"Text4", &Window2Model::refractionArcsec},
    {"Text7", &Window2Model::nutationArcsec},
    // The plot: scales, offset and the colours of the dL, dB and dT points.
    // One arcsecond to a unit: the grid's +-3 units hold the sample's 0,3" noise visibly.
    {"Text19", &Window2Model::plotScaleYearsPerCm, "1"},
    {"Text20", &Window2Model::plotScaleArcsecPerCm, "1"},
    {"Text6", &Window2Model::plotOffsetArcsec, "0"},
    {"Text24", &Window2Model::colourDiffL, "2"},
    {"Text25", &Window2Model::colourDiffB, "3"},
    {"Text26", &Window2Model::colourDiffT, "4"},
    // The residual statistics: k of the clipping, the records excluded by hand.
    {"Text28", &Window2Model::clipK, "3"},
    {"Text29", &Window2Model::excludedRecords},
};

// The caption beside each number box, for the message that refuses its text.
constexpr BoxCaptionRow kBoxCaptions[] = {
    {"Text10", "Command6"}, {"Text8", "Label2"},   {"Text14", "Label4"},  {"Text15", "Label5"},
    {"Text16", "Label10"},  {"Text17", "Label8"},  {"Text5", "Label11"},  {"Text18", "Label12"},
    {"Text23", "Label13"},  {"Text22", "Label14"}, {"Text21", "Label15"}, {"Text27", "Label16"},
    {"Text19", "Label17"},  {"Text20", "Label18"}, {"Text6", "Label19"},  {"Text24", "Label20"},
    {"Text25", "Label21"},  {"Text26", "Label22"},  {"Text28", "Check18"}, {"Text29", "Label24"},
};

constexpr FrameRow kFrames[] = {
    {"Frame1", "данные №"}, {"Frame3", ""}, {"Frame4", "Geo (Topo)"},
    {"Frame8", ""}, {"Frame11", ""}, {"Frame9", ""}, {"Frame7", ""}, {"Frame10", "в эпоху"},
    {"Frame5", "данные 1 (сравнение)"}, {"Frame6", "данные 2 (сравнение)"},
    {"Frame2", "к теоретическим, т.е. геометрическим, координатам JPL добавить "},
};

// The options, frame by frame.
constexpr OptionRow<Window2Model> kOptions[] = {
    {"Option1", &Window2Model::loadIntoSet1, "1 (Hor, Topo всегда №1)", "Frame1"},
    {"Option2", &Window2Model::loadIntoSet2, "2", "Frame1"},
    {"Option8", &Window2Model::fileRa, "RA", "Frame3"},
    {"Option9", &Window2Model::fileDec, "Dec", "Frame3"},
    {"Option10", &Window2Model::fileGeo, "Geo ", "Frame3"},
    {"Option29", &Window2Model::fileHor, "Hor", "Frame3"},
    {"Option11", &Window2Model::geoMarkG, "G", "Frame4"},
    {"Option12", &Window2Model::geoMarkGlb, "GLB", "Frame4"},
    {"Option13", &Window2Model::geoMarkGt, "GT", "Frame4"},
    {"Option14", &Window2Model::geoMarkT, "T", "Frame4"},
    {"Option18", &Window2Model::sortAscending, "с начала", "Frame8"},
    {"Option19", &Window2Model::sortDescending, "с конца", "Frame8"},
    {"Option24", &Window2Model::shiftHalfDay, "12", "Frame11"},
    {"Option25", &Window2Model::shiftEtMinusUt, "ET- UT", "Frame11"},
    {"Option26", &Window2Model::shiftLtMinusUt, "LT- UT", "Frame11"},
    {"Option20", &Window2Model::shiftPlus, "+", "Frame9"},
    {"Option21", &Window2Model::shiftMinus, "-", "Frame9"},
    {"Option16", &Window2Model::fromEpochB1950, "B1950", "Frame7"},
    {"Option15", &Window2Model::fromEpochOfDate, "JD", "Frame7"},
    {"Option17", &Window2Model::fromEpochOther, "Other", "Frame7"},
    {"Option23", &Window2Model::toEpochJ2000, "J2000", "Frame10"},
    {"Option22", &Window2Model::toEpochOfDate, "JD", "Frame10"},
    {"Option6", &Window2Model::generateSet1, "JPL0", "Frame5"},
    {"Option5", &Window2Model::set1FromFile, "из файла", "Frame5"},
    {"Option3", &Window2Model::set2FromFile, "из файла", "Frame6"},
    {"Option4", &Window2Model::theoryJpl0, "JPL0", "Frame6"},
    {"Option7", &Window2Model::theoryJpl2, "JPL2 (DE405)", "Frame6"},
};

constexpr CheckRow<Window2Model> kChecks[] = {
    {"Check1", &Window2Model::showLines, "+Текст"},
    {"Check2", &Window2Model::stepMode, "По шагам"},
    {"Check3", &Window2Model::deltaTSince1700, "с 1700"},
    {"Check4", &Window2Model::plotDiffL, "dL"},
    {"Check5", &Window2Model::plotDiffB, "dB"},
    // The corrections added to the theory.
    {"Check6", &Window2Model::addRefraction, "Ref(B)="},
    {"Check7", &Window2Model::addNutation, "Nut(B)="},
    {"Check8", &Window2Model::addAberration, "AberZ(L)="},
    {"Check9", &Window2Model::addPlanetaryAberration, "AberP(L)="},
    {"Check10", &Window2Model::plotDiffT, "dT"},
    {"Check11", &Window2Model::writeParamFile, "+File"},
    {"Check12", &Window2Model::rowInNote, "+№ в примечаниях"},
    {"Check13", &Window2Model::plotDifferences, "+График"},
    {"Check14", &Window2Model::clearPlot, "+ очистка рисунка"},
    {"Check21", &Window2Model::fitPlotToData, "по данным"},
    // The rigorous reduction instead of the classical one.
    {"Check15", &Window2Model::rigorousIau2006, "точно (IAU 2006)"},
    {"Check16", &Window2Model::astrometricPlace, "астрометрическое (ICRS)"},
    {"Check17", &Window2Model::deltaTFromTable, "TT-UTC по таблице"},
    {"Check19", &Window2Model::topocentricPlace, "топоцентр."},
    // The residual statistics at the end of a run.
    {"Check18", &Window2Model::clipResiduals, "отбраковка k·σ"},
    {"Check20", &Window2Model::clipJointly, "совместно"},
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
    // The comparison (a Stop beside the cleaning and one beside the comparison) and the ephemeris calculator.
    {"Command17", "Stop", &Window2Model::Stop}, {"Command12", "Сравнить данные 1 с данными 2", &Window2Model::Compare},
    {"Command7", "Stop", &Window2Model::Stop}, {"Command16", "сделать 1 шаг", &Window2Model::Step}, {"Command8", "DE405", &Window2Model::EphemerisCalculator},
    // Other windows and the way out.
    {"Command1", "К форме 3", &Window2Model::OpenWindow3}, {"Command9", "Выход", &Window2Model::Exit},
    // Files chosen in a dialog or from the recent ones, and the boxes back to their defaults.
    {"Command21", "Открыть…", &Window2Model::OpenLoadFile}, {"Command22", "Недавние", &Window2Model::OpenRecent},
    {"Command23", "По умолчанию", &Window2Model::RestoreDefaults},
};

// The boxes the window fills: the corrections and ET-UT of the last theoretical place,
// and what describes the data loaded: the observatory's place, the time scale and epoch
// of data set 1 and its last row.
constexpr const char* kFilledBoxes[] = {"Text18", "Text9", "Text13", "Text4", "Text7",
                                        "Text14", "Text15", "Text11", "Text12", "Text17"};

}  // namespace

Window2Model::Window2Model(Platform& platform, FormHost* host, Astronomy& astro, ObservationStore& store)
    : FormModel("Form2", "Преобразование формата данных Planova - форма 2", platform, host), Astro(astro), Store(store) {
  AddLabels(boxLabels, kLabels);
  AddLabel("Label9", outputPrefix, "файл");
  AddLabel("Label25", statusLine, "");
  AddTexts(kTexts);
  AddOptions(kFrames, kOptions);
  AddChecks(kChecks);
  AddCombo("Combo1", ephemeris);
  Ephemerides = {[this] { return Astro.FindEphemerides(); }, [this](const std::string& name) { return Astro.SelectEphemeris(name); }};
  AddRichText("RichTextBox1", set1Pane);
  AddRichText("RichTextBox2", set2Pane);
  AddRichText("RichTextBox3", reportPane);
  AddProgress("ProgressBar1", progress);
  AddPicture("Picture1", plotPicture);
  AddButtons(kButtons);
  SetBoxCaptions(kBoxCaptions);
  SetFilledBoxes(kFilledBoxes);

  SetTexts(kTexts);
  // The choice each frame starts with (the time-change frames start with none).
  for (const OptionButton* option : {&loadIntoSet1, &fileGeo, &geoMarkG, &sortAscending, &fromEpochOfDate, &toEpochJ2000,
                                     &set1FromFile, &theoryJpl2}) {
    ChooseOption(*option);
  }
}

void Window2Model::Load() {
  outputName.Text = "RDGLBT_40";
  observatoryCode.Text = "PARI";
  timeScaleName.Text = "UT";
  epochName.Text = "App";
  observatoryLonDeg.Text = RealText(2.337);
  observatoryLatDeg.Text = RealText(48.836);
  // A new run starts on a clean picture unless the user asks to draw over the last one.
  clearPlot.Value = true;
  InitPlotColours(PlotColours);
}

void Window2Model::Activate() {
  Astro.SetCalendar(CalendarRule::kGregorianFrom1582);
  Ephemerides.Fill(ephemeris);
}

void Window2Model::RequireArrays() const {
  if (!Store.Exists()) throw Refusal{kCreateArraysFirstMessage, {}};
}

void Window2Model::CreateArrays() {
  RecreateArrays(Store, arraySize);
  Count1 = 0;
  Count2 = 0;
}

void Window2Model::Stop() { StopRequested = 1; }

void Window2Model::OpenWindow3() { ShowForm("Form4"); }

void Window2Model::Exit() {
  if (!ConfirmUnsavedExit(Ui(), Store)) return;
  CloseForms({"Form1", "Form3", "Form4", "Form2"});
}

}  // namespace planova
