// The captions and starting texts of the program's three working windows as the users know them:
// every box with the label beside it and the text it shows at start, the caption of
// every option, check box, frame and button, the choice each option frame starts with,
// and the caption of each window.  Each window is held against one list, so that a
// mistyped caption or a default that drifted is reported by the control's name.
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

// A box, the caption of the label beside it and the text it shows at start (none: the
// users know no fixed label or text for it).
struct Box {
  std::string name;
  std::optional<std::string> label;
  std::optional<std::string> text;
};

// A control with a fixed caption.
struct Captioned {
  std::string name;
  std::string caption;
};

// The choices of one option frame; the frame's name and caption where the users know
// them, and the caption of the choice it starts with (none: not fixed).
struct OptionFrame {
  std::optional<std::string> frameName;
  std::optional<std::string> frameCaption;
  std::vector<Captioned> choices;
  std::optional<std::string> chosen;
};

std::string Read(const FormModel& form, const std::string& name) {
  std::string value;
  EXPECT_TRUE(form.ReadControl(name, value)) << name;
  return value;
}

const ControlEntry* Expect(const FormModel& form, const std::string& name, ControlKind kind) {
  const ControlEntry* e = form.Find(name);
  EXPECT_NE(e, nullptr) << form.Name << ": " << name << " is missing";
  if (e == nullptr) return nullptr;
  EXPECT_EQ(static_cast<int>(e->Kind), static_cast<int>(kind)) << form.Name << ": " << name << " has the wrong kind";
  return e;
}

// The boxes' starting texts and their labels; a label caption that stands beside two
// boxes ("JD", "B_D") has to be shown twice.
void ExpectBoxes(const FormModel& form, const std::vector<Box>& boxes) {
  std::multiset<std::string> labels;
  for (const ControlEntry& e : form.Controls()) {
    if (e.Kind == ControlKind::kLabel) labels.insert(Read(form, e.Name));
  }
  for (const Box& b : boxes) {
    const ControlEntry* e = Expect(form, b.name, ControlKind::kText);
    if (e != nullptr && b.text) {
      EXPECT_EQ(Read(form, b.name), *b.text) << form.Name << ": " << b.name;
    }
    if (b.label) {
      auto it = labels.find(*b.label);
      EXPECT_TRUE(it != labels.end()) << form.Name << ": no label \"" << *b.label << "\" beside " << b.name;
      if (it != labels.end()) labels.erase(it);
    }
  }
}

void ExpectCaptions(const FormModel& form, ControlKind kind, const std::vector<Captioned>& controls) {
  for (const Captioned& c : controls) {
    const ControlEntry* e = Expect(form, c.name, kind);
    if (e != nullptr) {
      EXPECT_EQ(e->Caption, c.caption) << form.Name << ": " << c.name;
    }
  }
}

// Each frame's choices share one frame of their own, which carries the known name and
// caption; the starting choice reads "1" and the others "0".
void ExpectOptionFrames(const FormModel& form, const std::vector<OptionFrame>& frames) {
  std::set<std::string> used;
  for (const OptionFrame& f : frames) {
    const std::string& first = f.choices.front().name;
    std::string frame;
    for (const Captioned& c : f.choices) {
      const ControlEntry* e = Expect(form, c.name, ControlKind::kOption);
      if (e == nullptr) continue;
      EXPECT_EQ(e->Caption, c.caption) << form.Name << ": " << c.name;
      if (frame.empty()) frame = e->FrameName;
      EXPECT_EQ(e->FrameName, frame) << form.Name << ": " << c.name << " is not in the frame of " << first;
      if (f.chosen) {
        EXPECT_EQ(Read(form, c.name), c.caption == *f.chosen ? "1" : "0") << form.Name << ": " << c.name;
      }
    }
    EXPECT_FALSE(frame.empty()) << form.Name << ": the choices of " << first << " have no frame";
    if (frame.empty()) continue;
    EXPECT_TRUE(used.insert(frame).second) << form.Name << ": " << frame << " holds two groups of choices";
    if (f.frameName) {
      EXPECT_EQ(frame, *f.frameName) << form.Name << ": frame of " << first;
    }
    if (f.frameCaption) {
      const ControlEntry* fe = Expect(form, frame, ControlKind::kFrame);
      if (fe != nullptr) {
        EXPECT_EQ(fe->Caption, *f.frameCaption) << form.Name << ": " << frame;
      }
    }
  }
}

void ExpectChecks(const FormModel& form, const std::vector<Captioned>& checks, std::optional<std::string> state) {
  ExpectCaptions(form, ControlKind::kCheck, checks);
  if (!state) return;
  for (const Captioned& c : checks) {
    if (form.Find(c.name) != nullptr) {
      EXPECT_EQ(Read(form, c.name), *state) << form.Name << ": " << c.name;
    }
  }
}

void ExpectKinds(const FormModel& form, ControlKind kind, const std::vector<std::string>& names) {
  for (const std::string& n : names) Expect(form, n, kind);
}

TEST(Captions, Window1) {
  RecordingPlatform ui(test::FreshFolder("captions_window1"));
  Application app(ui);
  const Window1Model& f = app.window1;
  EXPECT_EQ(f.Caption, "Преобразование формата данных Planova - форма 1");

  std::vector<Box> boxes = {
      {"Text3", "Имя обсерватории", "PARI"},
      {"Text8", "объект наблюдения №", "11"},
      {"Text10", std::nullopt, "3200"},  // beside the button "Создать массивы с N="
      {"Text18", "№", "1"},
      {"Text11", "всего данных", "0"},
      {"Text12", "хороших", "0"},
      {"Text13", "плохих ", "0"},
      {"Text9", "в файл", "RDGT_0"},
      {"Text2", "время", "UT"},
      {"Text4", "эпоха", "App"},
      {"Text5", "Instrument", "USNO Transit 6"},
      {"Text6", "Focal length in cm.", "198.0"},
      {"Text7", "observation Type Trans, Micro, Photo, CCD", "Trans"},
      {"Text14", "Limb observed C, N, S, E, W", "C"},
      {"Text15", "Clamp Used E or W", "E"},
      {"Text16", "obsvr's Initials", ""},
      {"Text17", "Reference", ""},
      {"Text32", "DMY", "1,5"},
      {"Text33", std::nullopt, "1"},
      {"Text34", std::nullopt, "1601"},
      {"Text24", "JD", "2305814"},
  };
  // The row of column letters, "A" to "Q", each under the name of its table field.
  const char* const fields[17] = {"Planet", "год", "месяц", "день", "часы", "мин.", "сек.", "L_H", "L_M",
                                  "L_S",    "B_D", "B_M",   "B_S",  "Day",  "JD",   "L_D",  "B_D"};
  for (int k = 0; k < 17; ++k) {
    boxes.push_back({"Text1(" + std::to_string(k) + ")", fields[k], std::string(1, static_cast<char>('A' + k))});
  }
  ExpectBoxes(f, boxes);

  ExpectOptionFrames(f, {
      {std::nullopt, "", {{"Option8", "table Excel"}, {"Option9", "File JPL"}, {"Option21", "File Dov"}}, "File Dov"},
      {std::nullopt, "разделитель в таблицах", {{"Option19", "запятая"}, {"Option18", "точка"}}, "запятая"},
      {std::nullopt, "Широта задана от", {{"Option17", "полюса"}, {"Option16", "экватора"}}, "экватора"},
      {std::nullopt, "Широта B", {{"Option15", "D"}, {"Option14", "DMS"}}, "DMS"},
      {std::nullopt, "Долгота L ", {{"Option2", "DMS"}, {"Option13", "D"}, {"Option12", "HMS"}}, "HMS"},
      {std::nullopt, "Дата наблюдений в формате", {{"Option11", "JD"}, {"Option10", "YMDay"}, {"Option1", "YMDHMS"}}, "YMDHMS"},
      {std::nullopt, "календарь", {{"Option20", "Григор"}, {"Option3", "Юлиан"}}, "Григор"},
      {std::nullopt, "по параметру", {{"Option4", "RA"}, {"Option5", "Dec"}, {"Option6", "Geo"}}, "Geo"},
  });

  ExpectChecks(f, {{"Check1", "+long"}, {"Check2", "+FileBad"}, {"Check3", "+Topo"}, {"Check4", "+Hor"}}, "0");

  ExpectCaptions(f, ControlKind::kButton,
                 {{"Command2", "Создать массивы с N="},
                  {"Command3", "Загрузить исходные данные из"},
                  {"Command4", "Сохранить данные в формате BDL"},
                  {"Command5", "+/-"},
                  {"Command17", "G->J"},
                  {"Command18", "J->G"},
                  {"Command1", "К форме 2"},
                  {"Command8", "About*"},
                  {"Command9", "Выход"}});

  // The three import logs before any import.
  const std::vector<Captioned> panes = {{"RichTextBox1", "исходная запись данных"},
                                        {"RichTextBox2", "прочитанные программой данные"},
                                        {"RichTextBox3", "не распознанные записи"}};
  for (const Captioned& p : panes) {
    if (Expect(f, p.name, ControlKind::kRichText) != nullptr) {
      EXPECT_EQ(Read(f, p.name), p.caption) << p.name;
    }
  }
}

TEST(Captions, Window2) {
  RecordingPlatform ui(test::FreshFolder("captions_window2"));
  Application app(ui);
  app.ShowForm("Form2");
  const Window2Model& f = app.window2;
  EXPECT_EQ(f.Caption, "Преобразование формата данных Planova - форма 2");

  ExpectBoxes(f, {
      {"Text10", std::nullopt, "4000"},  // beside the button "Создать массивы с N="
      {"Text3", "Имя обсерватории", "PARI"},
      {"Text8", "№ объекта", "11"},
      {"Text1", "№ файла", "110"},
      {"Text14", "ObsL", "2,337"},
      {"Text15", "ObsB", "48,836"},
      {"Text11", "время", "UT"},
      {"Text12", "эпоха", "App"},
      {"Text17", "по №", "1"},
      {"Text16", "с №", "1"},
      {"Text2", "файл", "RDGLBT_40"},
      {"Text5", "при dT, сек= ", "1,5"},
      {"Text18", "ET-UT,сек", std::nullopt},
      {"Text23", std::nullopt, "1861"},
      {"Text22", std::nullopt, "1"},
      {"Text21", std::nullopt, "1,5"},
      {"Text27", "JPL0 до", "2000"},
      {"Text19", "MT, лет/см", "1"},
      {"Text20", "MdP,  угл. сек / см    (сек / см)", "1"},
      {"Text6", "+dP, угл.сек(сек)", "0"},
      {"Text24", std::nullopt, "2"},
      {"Text25", std::nullopt, "3"},
      {"Text26", std::nullopt, "4"},
      // The corrections of the theory, shown beside their check boxes.
      {"Text9", std::nullopt, std::nullopt},
      {"Text13", std::nullopt, std::nullopt},
      {"Text4", std::nullopt, std::nullopt},
      {"Text7", std::nullopt, std::nullopt},
  });
  // "файл" until a load puts the prefix of the output file name there.
  if (Expect(f, "Label9", ControlKind::kLabel) != nullptr) {
    EXPECT_EQ(Read(f, "Label9"), "файл");
  }

  ExpectOptionFrames(f, {
      {"Frame1", "данные №", {{"Option1", "1 (Hor, Topo всегда №1)"}, {"Option2", "2"}}, std::nullopt},
      {"Frame3", std::nullopt, {{"Option8", "RA"}, {"Option9", "Dec"}, {"Option10", "Geo "}, {"Option29", "Hor"}}, std::nullopt},
      {"Frame4", "Geo (Topo)", {{"Option11", "G"}, {"Option12", "GLB"}, {"Option13", "GT"}, {"Option14", "T"}}, std::nullopt},
      {"Frame8", std::nullopt, {{"Option18", "с начала"}, {"Option19", "с конца"}}, std::nullopt},
      {"Frame11", std::nullopt, {{"Option24", "12"}, {"Option25", "ET- UT"}, {"Option26", "LT- UT"}}, std::nullopt},
      {"Frame9", std::nullopt, {{"Option20", "+"}, {"Option21", "-"}}, std::nullopt},
      {"Frame7", std::nullopt, {{"Option16", "B1950"}, {"Option15", "JD"}, {"Option17", "Other"}}, std::nullopt},
      {"Frame10", "в эпоху", {{"Option23", "J2000"}, {"Option22", "JD"}}, std::nullopt},
      {std::nullopt, "данные 1 (сравнение)", {{"Option6", "JPL0"}, {"Option5", "из файла"}}, std::nullopt},
      {std::nullopt, "данные 2 (сравнение)", {{"Option3", "из файла"}, {"Option4", "JPL0"}, {"Option7", "JPL2 (DE405)"}},
       std::nullopt},
  });

  // The frame around the four corrections of the theory.
  const std::string corrections = "к теоретическим, т.е. геометрическим, координатам JPL добавить ";
  bool found = false;
  for (const ControlEntry& e : f.Controls()) found = found || (e.Kind == ControlKind::kFrame && e.Caption == corrections);
  EXPECT_TRUE(found) << "no frame \"" << corrections << "\"";

  ExpectChecks(f,
               {{"Check3", "с 1700"},
                {"Check8", "AberZ(L)="},
                {"Check9", "AberP(L)="},
                {"Check6", "Ref(B)="},
                {"Check7", "Nut(B)="},
                {"Check11", "+File"},
                {"Check1", "+Текст"},
                {"Check13", "+График"},
                {"Check14", "+ очистка рисунка"},
                {"Check2", "По шагам"},
                {"Check4", "dL"},
                {"Check5", "dB"},
                {"Check10", "dT"},
                {"Check12", "+№ в примечаниях"}},
               std::nullopt);

  ExpectCaptions(f, ControlKind::kButton,
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
                  {"Command9", "Выход"}});

  ExpectKinds(f, ControlKind::kRichText, {"RichTextBox1", "RichTextBox2", "RichTextBox3"});
  ExpectKinds(f, ControlKind::kProgress, {"ProgressBar1"});
  ExpectKinds(f, ControlKind::kPicture, {"Picture1"});
}

TEST(Captions, Window3) {
  RecordingPlatform ui(test::FreshFolder("captions_window3"));
  Application app(ui);
  app.ShowForm("Form4");
  const Window3Model& f = app.window3;
  EXPECT_EQ(f.Caption, "Преобразование формата данных Planova - форма 3");

  ExpectBoxes(f, {
      {"Text10", std::nullopt, "4000"},  // beside the button "Создать массивы с N="
      {"Text3", "Имя обсерватории", "PARI"},
      {"Text8", "№ объекта", "11"},
      {"Text1", "№ файла", "40"},
      {"Text2", "файл", "41"},
      {"Text16", "с №1", "1"},
      {"Text17", "по №2", "1"},
      // Year, month and day of record №1, of record №2 and of the record being compared.
      {"Text23", std::nullopt, "1861"},
      {"Text22", std::nullopt, "1"},
      {"Text21", std::nullopt, "1,5"},
      {"Text26", std::nullopt, std::nullopt},
      {"Text25", std::nullopt, std::nullopt},
      {"Text24", std::nullopt, std::nullopt},
      {"Text29", std::nullopt, std::nullopt},
      {"Text28", std::nullopt, std::nullopt},
      {"Text27", std::nullopt, std::nullopt},
      {"Text5", std::nullopt, std::nullopt},
      {"Text18", "ET-UT,сек", std::nullopt},
      {"Text30", "dLn=", "0"},
      {"Text31", "dLk=", "0"},
      {"Text11", "dBn=", "0"},
      {"Text12", "dBk=", "0"},
      {"Text41", "+dL=", "20"},
      {"Text42", "-dL=", "-20"},
      {"Text43", "+dB=", "10"},
      {"Text44", "-dB=", "-10"},
      // The current deviations and their running means.
      {"Text7", std::nullopt, std::nullopt},
      {"Text9", std::nullopt, std::nullopt},
      {"Text32", std::nullopt, std::nullopt},
      {"Text33", std::nullopt, std::nullopt},
      {"Text19", "MT, лет/см", "1"},
      {"Text20", "MdP,  угл. сек / см  ", "1"},
      {"Text6", "+dP, см", "4"},
  });

  // "Сравнить данные наблюдений с" [JPL0 | JPL2] "данными".
  ExpectOptionFrames(f, {{"Frame5", "данными", {{"Option4", "JPL0"}, {"Option7", "JPL2"}}, std::nullopt}});

  ExpectChecks(f,
               {{"Check3", "с 1700"},
                {"Check6", "+dL"},
                {"Check2", "По шагам"},
                {"Check1", "+ скорректировать данные"},
                {"Check10", "+ учитывать для dLsr, dBsr"},
                {"Check4", "dL"},
                {"Check5", "dB"},
                {"Check9", "dLsr"},
                {"Check11", "dBsr"},
                {"Check7", "T0=T0"}},
               std::nullopt);

  ExpectCaptions(f, ControlKind::kButton,
                 {{"Command6", "Создать массивы с N="},
                  {"Command5", "Загрузить в формате BDL"},
                  {"Command14", "Записать результат в файл"},
                  {"Command12", "Сравнить данные наблюдений с"},
                  {"Command16", "сделать 1 шаг"},
                  {"Command7", "Остановить сравнение"},
                  {"Command17", "Stop"},
                  {"Command1", "Очистить рисунок"},
                  {"Command9", "Закрыть форму"}});

  if (Expect(f, "RichTextBox1", ControlKind::kRichText) != nullptr) {
    EXPECT_EQ(Read(f, "RichTextBox1"), "первые данные");
  }
  ExpectKinds(f, ControlKind::kProgress, {"ProgressBar1"});
  ExpectKinds(f, ControlKind::kPicture, {"Picture1"});
}

}  // namespace
}  // namespace planova
