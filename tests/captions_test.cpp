// The captions and starting texts of the program's windows as the users know them:
// every box with the label beside it and the text it shows at start, the caption of
// every option, check box, frame and button, the choice each option frame starts with,
// and the caption of each window.  Each window's registry is held against one list, both
// ways, so that a mistyped caption, a default that drifted, or a control added or removed
// is reported by the control's name.
#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/application.h"
#include "test_support.h"

namespace planova {
namespace {

using test::RecordingPlatform;

// A control with a fixed caption.
struct Captioned {
  std::string name;
  std::string caption;
};

// A box, the label beside it and the text it shows at start (none: the users know no
// fixed label or text for it).
struct Box {
  std::string name;
  std::optional<Captioned> label;
  std::optional<std::string> text;
};

// The choices of one option frame, the frame's name and caption, and the caption of the
// choice it starts with (none: not fixed).
struct OptionFrame {
  std::string frameName;
  std::string frameCaption;
  std::vector<Captioned> choices;
  std::optional<std::string> chosen;
};

// One window and the controls the lists below have named so far: each is checked for
// its kind and caption, and ExpectNothingElse then fails for every control the window
// registers beyond them, so that a control added or removed is reported by its name.
struct Listing {
  const FormModel& form;
  std::set<std::string> named;
};

std::string Read(const FormModel& form, const std::string& name) {
  std::string value;
  EXPECT_TRUE(form.ReadControl(name, value)) << name;
  return value;
}

const ControlEntry* Expect(Listing& l, const std::string& name, ControlKind kind, const std::string& caption = "") {
  EXPECT_TRUE(l.named.insert(name).second) << l.form.Name << ": " << name << " is listed twice";
  const ControlEntry* e = l.form.Find(name);
  EXPECT_NE(e, nullptr) << l.form.Name << ": " << name << " is missing";
  if (e == nullptr) return nullptr;
  EXPECT_EQ(static_cast<int>(e->Kind), static_cast<int>(kind)) << l.form.Name << ": " << name << " has the wrong kind";
  EXPECT_EQ(e->Caption, caption) << l.form.Name << ": " << name;
  return e;
}

void ExpectNothingElse(const Listing& l) {
  for (const ControlEntry& e : l.form.Controls()) {
    EXPECT_TRUE(l.named.count(e.Name)) << l.form.Name << ": " << e.Name << " (kind " << static_cast<int>(e.Kind)
                                       << ", caption \"" << e.Caption << "\") is not listed";
  }
}

// The boxes' starting texts and the labels beside them.
void ExpectBoxes(Listing& l, const std::vector<Box>& boxes) {
  for (const Box& b : boxes) {
    const ControlEntry* e = Expect(l, b.name, ControlKind::kText);
    if (e != nullptr && b.text) {
      EXPECT_EQ(Read(l.form, b.name), *b.text) << l.form.Name << ": " << b.name;
    }
    if (b.label) Expect(l, b.label->name, ControlKind::kLabel, b.label->caption);
  }
}

void ExpectCaptions(Listing& l, ControlKind kind, const std::vector<Captioned>& controls) {
  for (const Captioned& c : controls) Expect(l, c.name, kind, c.caption);
}

// Each frame's choices share one frame of their own, which carries the known name and
// caption; the starting choice reads "1" and the others "0".
void ExpectOptionFrames(Listing& l, const std::vector<OptionFrame>& frames) {
  for (const OptionFrame& f : frames) {
    Expect(l, f.frameName, ControlKind::kFrame, f.frameCaption);
    for (const Captioned& c : f.choices) {
      const ControlEntry* e = Expect(l, c.name, ControlKind::kOption, c.caption);
      if (e == nullptr) continue;
      EXPECT_EQ(e->FrameName, f.frameName) << l.form.Name << ": " << c.name << " is not in " << f.frameName;
      if (f.chosen) {
        EXPECT_EQ(Read(l.form, c.name), c.caption == *f.chosen ? "1" : "0") << l.form.Name << ": " << c.name;
      }
    }
  }
}

void ExpectChecks(Listing& l, const std::vector<Captioned>& checks, std::optional<std::string> state) {
  ExpectCaptions(l, ControlKind::kCheck, checks);
  if (!state) return;
  for (const Captioned& c : checks) {
    if (l.form.Find(c.name) != nullptr) {
      EXPECT_EQ(Read(l.form, c.name), *state) << l.form.Name << ": " << c.name;
    }
  }
}

void ExpectKinds(Listing& l, ControlKind kind, const std::vector<std::string>& names) {
  for (const std::string& n : names) Expect(l, n, kind);
}

// The last controls of windows 2 and 3: the progress bar, the plot, the list box
// "эфемериды" of the JPL ephemerides found (`label` names its label) and the status line
// (`status`, empty at start); nothing else is left.
void ExpectProgressPlotAndEphemerides(Listing& l, const std::string& label, const std::string& status) {
  Expect(l, status, ControlKind::kLabel);
  ExpectKinds(l, ControlKind::kProgress, {"ProgressBar1"});
  ExpectKinds(l, ControlKind::kPicture, {"Picture1"});
  Expect(l, label, ControlKind::kLabel, "эфемериды");
  Expect(l, "Combo1", ControlKind::kCombo);
  ExpectNothingElse(l);
}

TEST(Captions, Window1) {
  RecordingPlatform ui(test::FreshFolder("captions_window1"));
  Application app(ui);
  const Window1Model& f = app.window1;
  Listing l{f, {}};
  EXPECT_EQ(f.Caption, "Преобразование формата данных Planova - форма 1");

  std::vector<Box> boxes = {
      {"Text3", {{"Label1", "Имя обсерватории"}}, "PARI"},
      {"Text8", {{"Label2", "объект наблюдения №"}}, "11"},
      {"Text10", std::nullopt, "3200"},  // beside the button "Создать массивы с N="
      {"Text18", {{"Label3", "№"}}, "1"},
      {"Text11", {{"Label4", "всего данных"}}, "0"},
      {"Text12", {{"Label5", "хороших"}}, "0"},
      {"Text13", {{"Label6", "плохих "}}, "0"},
      {"Text9", {{"Label9", "в файл"}}, "RDGT_0"},
      {"Text2", {{"Label7", "время"}}, "UT"},
      {"Text4", {{"Label8", "эпоха"}}, "App"},
      {"Text5", {{"Label10", "Instrument"}}, "USNO Transit 6"},
      {"Text6", {{"Label11", "Focal length in cm."}}, "198.0"},
      {"Text7", {{"Label12", "observation Type Trans, Micro, Photo, CCD"}}, "Trans"},
      {"Text14", {{"Label13", "Limb observed C, N, S, E, W"}}, "C"},
      {"Text15", {{"Label14", "Clamp Used E or W"}}, "E"},
      {"Text16", {{"Label15", "obsvr's Initials"}}, ""},
      {"Text17", {{"Label16", "Reference"}}, ""},
      {"Text32", {{"Label17", "DMY"}}, "1,5"},
      {"Text33", std::nullopt, "1"},
      {"Text34", std::nullopt, "1601"},
      {"Text24", {{"Label18", "JD"}}, "2305814"},
  };
  // The row of column letters, "A" to "Q", each under the name of its table field.
  const char* const fields[17] = {"Planet", "год", "месяц", "день", "часы", "мин.", "сек.", "L_H", "L_M",
                                  "L_S",    "B_D", "B_M",   "B_S",  "Day",  "JD",   "L_D",  "B_D"};
  for (int k = 0; k < 17; ++k) {
    const std::string index = "(" + std::to_string(k) + ")";
    boxes.push_back({"Text1" + index, {{"Label20" + index, fields[k]}}, std::string(1, static_cast<char>('A' + k))});
  }
  ExpectBoxes(l, boxes);

  ExpectOptionFrames(l, {
      {"Frame1", "", {{"Option8", "table Excel"}, {"Option9", "File JPL"}, {"Option21", "File Dov"}, {"Option22", "File MPC"}, {"Option23", "File ADES"}}, "File Dov"},
      {"Frame2", "разделитель в таблицах", {{"Option19", "запятая"}, {"Option18", "точка"}}, "запятая"},
      {"Frame3", "Широта задана от", {{"Option17", "полюса"}, {"Option16", "экватора"}}, "экватора"},
      {"Frame4", "Широта B", {{"Option15", "D"}, {"Option14", "DMS"}}, "DMS"},
      {"Frame5", "Долгота L ", {{"Option2", "DMS"}, {"Option13", "D"}, {"Option12", "HMS"}}, "HMS"},
      {"Frame6", "Дата наблюдений в формате", {{"Option11", "JD"}, {"Option10", "YMDay"}, {"Option1", "YMDHMS"}}, "YMDHMS"},
      {"Frame7", "календарь", {{"Option20", "Григор"}, {"Option3", "Юлиан"}}, "Григор"},
      {"Frame8", "по параметру", {{"Option4", "RA"}, {"Option5", "Dec"}, {"Option6", "Geo"}}, "Geo"},
  });

  ExpectChecks(l, {{"Check1", "+long"}, {"Check2", "+FileBad"}, {"Check3", "+Topo"}, {"Check4", "+Hor"}}, "0");

  ExpectCaptions(l, ControlKind::kButton,
                 {{"Command2", "Создать массивы с N="},
                  {"Command3", "Загрузить исходные данные из"},
                  {"Command4", "Сохранить данные в формате BDL"},
                  {"Command5", "+/-"},
                  {"Command17", "G->J"},
                  {"Command18", "J->G"},
                  {"Command1", "К форме 2"},
                  {"Command8", "About*"},
                  {"Command9", "Выход"},
                  {"Command19", "Открыть…"},
                  {"Command20", "Недавние"},
                  {"Command21", "Выбрать…"},
                  {"Command22", "По умолчанию"}});

  // The three import logs before any import.
  const std::vector<Captioned> panes = {{"RichTextBox1", "исходная запись данных"},
                                        {"RichTextBox2", "прочитанные программой данные"},
                                        {"RichTextBox3", "не распознанные записи"}};
  for (const Captioned& p : panes) {
    if (Expect(l, p.name, ControlKind::kRichText) != nullptr) {
      EXPECT_EQ(Read(f, p.name), p.caption) << p.name;
    }
  }
  Expect(l, "Label30", ControlKind::kLabel);  // the status line, empty at start
  ExpectNothingElse(l);
}

TEST(Captions, Window2) {
  RecordingPlatform ui(test::FreshFolder("captions_window2"));
  Application app(ui);
  app.ShowForm("Form2");
  const Window2Model& f = app.window2;
  Listing l{f, {}};
  EXPECT_EQ(f.Caption, "Преобразование формата данных Planova - форма 2");

  ExpectBoxes(l, {
      {"Text10", std::nullopt, "4000"},  // beside the button "Создать массивы с N="
      {"Text3", {{"Label1", "Имя обсерватории"}}, "PARI"},
      {"Text8", {{"Label2", "№ объекта"}}, "11"},
      {"Text1", {{"Label3", "№ файла"}}, "110"},
      {"Text14", {{"Label4", "ObsL"}}, "2,337"},
      {"Text15", {{"Label5", "ObsB"}}, "48,836"},
      {"Text11", {{"Label6", "время"}}, "UT"},
      {"Text12", {{"Label7", "эпоха"}}, "App"},
      {"Text17", {{"Label8", "по №"}}, "1"},
      {"Text16", {{"Label10", "с №"}}, "1"},
      {"Text2", {{"Label9", "файл"}}, "RDGLBT_40"},
      {"Text5", {{"Label11", "при dT, сек= "}}, "1,5"},
      {"Text18", {{"Label12", "ET-UT,сек"}}, std::nullopt},
      {"Text23", {{"Label13", "год"}}, "1861"},
      {"Text22", {{"Label14", "месяц"}}, "1"},
      {"Text21", {{"Label15", "день"}}, "1,5"},
      {"Text27", {{"Label16", "JPL0 до"}}, "2000"},
      {"Text19", {{"Label17", "MT, лет/см"}}, "1"},
      {"Text20", {{"Label18", "MdP,  угл. сек / см    (сек / см)"}}, "1"},
      {"Text6", {{"Label19", "+dP, угл.сек(сек)"}}, "0"},
      {"Text24", {{"Label20", "цвет dL"}}, "2"},
      {"Text25", {{"Label21", "цвет dB"}}, "3"},
      {"Text26", {{"Label22", "цвет dT"}}, "4"},
      // The corrections of the theory, shown beside their check boxes.
      {"Text9", std::nullopt, std::nullopt},
      {"Text13", std::nullopt, std::nullopt},
      {"Text4", std::nullopt, std::nullopt},
      {"Text7", std::nullopt, std::nullopt},
      // The residual statistics: k beside "отбраковка k·σ", the records excluded by hand.
      {"Text28", std::nullopt, "3"},
      {"Text29", {{"Label24", "исключить №"}}, ""},
  });
  // "файл" until a load puts the prefix of the output file name there.
  EXPECT_EQ(Read(f, "Label9"), "файл");

  ExpectOptionFrames(l, {
      {"Frame1", "данные №", {{"Option1", "1 (Hor, Topo всегда №1)"}, {"Option2", "2"}}, std::nullopt},
      {"Frame3", "", {{"Option8", "RA"}, {"Option9", "Dec"}, {"Option10", "Geo "}, {"Option29", "Hor"}}, std::nullopt},
      {"Frame4", "Geo (Topo)", {{"Option11", "G"}, {"Option12", "GLB"}, {"Option13", "GT"}, {"Option14", "T"}}, std::nullopt},
      {"Frame8", "", {{"Option18", "с начала"}, {"Option19", "с конца"}}, std::nullopt},
      {"Frame11", "", {{"Option24", "12"}, {"Option25", "ET- UT"}, {"Option26", "LT- UT"}}, std::nullopt},
      {"Frame9", "", {{"Option20", "+"}, {"Option21", "-"}}, std::nullopt},
      {"Frame7", "", {{"Option16", "B1950"}, {"Option15", "JD"}, {"Option17", "Other"}}, std::nullopt},
      {"Frame10", "в эпоху", {{"Option23", "J2000"}, {"Option22", "JD"}}, std::nullopt},
      {"Frame5", "данные 1 (сравнение)", {{"Option6", "JPL0"}, {"Option5", "из файла"}}, std::nullopt},
      {"Frame6", "данные 2 (сравнение)", {{"Option3", "из файла"}, {"Option4", "JPL0"}, {"Option7", "JPL2 (DE405)"}},
       std::nullopt},
  });

  // The frame around the four corrections of the theory.
  Expect(l, "Frame2", ControlKind::kFrame, "к теоретическим, т.е. геометрическим, координатам JPL добавить ");

  ExpectChecks(l,
               {{"Check3", "с 1700"},
                {"Check8", "AberZ(L)="},
                {"Check9", "AberP(L)="},
                {"Check6", "Ref(B)="},
                {"Check7", "Nut(B)="},
                {"Check11", "+File"},
                {"Check1", "+Текст"},
                {"Check13", "+График"},
                {"Check14", "+ очистка рисунка"},
                {"Check21", "по данным"},
                {"Check2", "По шагам"},
                {"Check4", "dL"},
                {"Check5", "dB"},
                {"Check10", "dT"},
                {"Check12", "+№ в примечаниях"},
                {"Check15", "точно (IAU 2006)"},
                {"Check16", "астрометрическое (ICRS)"},
                {"Check17", "TT-UTC по таблице"},
                {"Check19", "топоцентр."},
                {"Check18", "отбраковка k·σ"},
                {"Check20", "совместно"}},
               std::nullopt);

  ExpectCaptions(l, ControlKind::kButton,
                 {{"Command6", "Создать массивы с N="},
                  {"Command5", "Загрузить в формате BDL"},
                  {"Command20", "Почистить"},
                  {"Command2", "Упорядочить данные"},
                  {"Command15", "Изменить время"},
                  {"Command4", "Объединить данные 1 и данные 2"},
                  {"Command10", "Перевести из эпохи"},
                  {"Command18", "Hor -> Topo"},
                  {"Command19", "Topo -> Hor"},
                  {"Command11", "Topo -> Geo"},
                  {"Command13", "Geo -> Topo"},
                  {"Command3", "Показать изменения"},
                  {"Command14", "Записать результат в"},
                  {"Command17", "Stop"},
                  {"Command12", "Сравнить данные 1 с данными 2"},
                  {"Command7", "Stop"},
                  {"Command16", "сделать 1 шаг"},
                  {"Command8", "DE405"},
                  {"Command1", "К форме 3"},
                  {"Command9", "Выход"},
                  {"Command21", "Открыть…"},
                  {"Command22", "Недавние"},
                  {"Command23", "По умолчанию"}});

  ExpectKinds(l, ControlKind::kRichText, {"RichTextBox1", "RichTextBox2", "RichTextBox3"});
  ExpectProgressPlotAndEphemerides(l, "Label23", "Label25");
}

TEST(Captions, Window3) {
  RecordingPlatform ui(test::FreshFolder("captions_window3"));
  Application app(ui);
  app.ShowForm("Form4");
  const Window3Model& f = app.window3;
  Listing l{f, {}};
  EXPECT_EQ(f.Caption, "Преобразование формата данных Planova - форма 3");

  ExpectBoxes(l, {
      {"Text10", std::nullopt, "4000"},  // beside the button "Создать массивы с N="
      {"Text3", {{"Label1", "Имя обсерватории"}}, "PARI"},
      {"Text8", {{"Label2", "№ объекта"}}, "11"},
      {"Text1", {{"Label3", "№ файла"}}, "40"},
      {"Text2", {{"Label4", "файл"}}, "41"},
      {"Text16", {{"Label5", "с №1"}}, "1"},
      {"Text17", {{"Label6", "по №2"}}, "1"},
      // Year, month and day of record №1, of record №2 and of the record being compared.
      {"Text23", {{"Label7", "№1: год, месяц, день"}}, "1861"},
      {"Text22", std::nullopt, "1"},
      {"Text21", std::nullopt, "1,5"},
      {"Text26", {{"Label8", "№2: год, месяц, день"}}, std::nullopt},
      {"Text25", std::nullopt, std::nullopt},
      {"Text24", std::nullopt, std::nullopt},
      {"Text29", {{"Label10", "сейчас: год, месяц, день"}}, std::nullopt},
      {"Text28", std::nullopt, std::nullopt},
      {"Text27", std::nullopt, std::nullopt},
      {"Text5", {{"Label11", "сравнено"}}, std::nullopt},  // records compared
      {"Text18", {{"Label12", "ET-UT,сек"}}, std::nullopt},
      {"Text30", {{"Label13", "dLn="}}, "0"},
      {"Text31", {{"Label14", "dLk="}}, "0"},
      {"Text11", {{"Label15", "dBn="}}, "0"},
      {"Text12", {{"Label16", "dBk="}}, "0"},
      {"Text41", {{"Label17", "+dL="}}, "20"},
      {"Text42", {{"Label18", "-dL="}}, "-20"},
      {"Text43", {{"Label19", "+dB="}}, "10"},
      {"Text44", {{"Label20", "-dB="}}, "-10"},
      {"Text45", std::nullopt, "3"},  // k of the check box "отбраковка k·σ" beside it
      // The current deviations and their running means.
      {"Text7", {{"Label21", "dL="}}, std::nullopt},
      {"Text9", {{"Label22", "dB="}}, std::nullopt},
      {"Text32", {{"Label23", "dLsr="}}, std::nullopt},
      {"Text33", {{"Label24", "dBsr="}}, std::nullopt},
      {"Text19", {{"Label25", "MT, лет/см"}}, "1"},
      {"Text20", {{"Label26", "MdP,  угл. сек / см  "}}, "1"},
      {"Text6", {{"Label27", "+dP, см"}}, "4"},
  });

  // "Сравнить данные наблюдений с" [JPL0 | JPL2] "данными".
  ExpectOptionFrames(l, {{"Frame5", "данными", {{"Option4", "JPL0"}, {"Option7", "JPL2"}}, std::nullopt}});

  ExpectChecks(l,
               {{"Check3", "с 1700"},
                {"Check6", "+dL"},
                {"Check2", "По шагам"},
                {"Check1", "+ скорректировать данные"},
                {"Check10", "+ учитывать для dLsr, dBsr"},
                {"Check4", "dL"},
                {"Check5", "dB"},
                {"Check9", "dLsr"},
                {"Check11", "dBsr"},
                {"Check7", "T0=T0"},
                {"Check18", "по данным"},
                {"Check12", "точно (IAU 2006)"},
                {"Check13", "астрометрическое (ICRS)"},
                {"Check14", "TT-UTC по таблице"},
                {"Check16", "топоцентр."},
                {"Check15", "отбраковка k·σ"},
                {"Check17", "совместно"}},
               std::nullopt);

  ExpectCaptions(l, ControlKind::kButton,
                 {{"Command6", "Создать массивы с N="},
                  {"Command5", "Загрузить в формате BDL"},
                  {"Command14", "Записать результат в файл"},
                  {"Command12", "Сравнить данные наблюдений с"},
                  {"Command16", "сделать 1 шаг"},
                  {"Command18", "Подобрать поправку (МНК)"},
                  {"Command7", "Остановить сравнение"},
                  {"Command17", "Stop"},
                  {"Command1", "Очистить рисунок"},
                  {"Command9", "Закрыть форму"},
                  {"Command19", "Открыть…"},
                  {"Command20", "Недавние"},
                  {"Command21", "По умолчанию"}});

  if (Expect(l, "RichTextBox1", ControlKind::kRichText) != nullptr) {
    EXPECT_EQ(Read(f, "RichTextBox1"), "первые данные");
  }
  ExpectProgressPlotAndEphemerides(l, "Label28", "Label40");
}

// The help window: its text and the button that closes it.
TEST(Captions, HelpWindow) {
  RecordingPlatform ui(test::FreshFolder("captions_help"));
  Application app(ui);
  app.ShowForm("Form3");
  Listing l{app.help, {}};
  Expect(l, "Text1", ControlKind::kText);
  Expect(l, "Command1", ControlKind::kButton, "Закрыть");
  ExpectNothingElse(l);
}

}  // namespace
}  // namespace planova
