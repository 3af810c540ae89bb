// What the windows read from their boxes before touching a file: name parts that would
// lead out of the application folder, and the message of a BDL file that ends within its
// heading lines, the same in windows 2 and 3.
#include <gtest/gtest.h>

#include <fstream>

#include "app/application.h"
#include "common/name_part.h"
#include "common/textfile.h"
#include "test_support.h"

namespace planova {
namespace {

namespace fs = std::filesystem;
using test::RecordingPlatform;

TEST(NamePart, OnlyPartsWithoutSeparatorsOrParentSteps) {
  for (const char* plain : {"", "PARI", "G_110", "RDGLBT_40", "USNO.1", "Обс"}) EXPECT_TRUE(IsPlainNamePart(plain)) << plain;
  for (const char* bad : {"../PARI", "..", "a/b", "/etc", "a\\b", "x..y", "110/"}) EXPECT_FALSE(IsPlainNamePart(bad)) << bad;
}

struct WindowInput : ::testing::Test {
  fs::path folder = test::FolderForThisTest("window_input_", true);
  RecordingPlatform ui{folder};
};

TEST_F(WindowInput, NamePartsLeadingOutOfTheFolderAreRefused) {
  struct Case {
    const char* form;
    const char* box;
    const char* value;
    const char* button;
  };
  for (const Case& c : {Case{"Form1", "Text3", "../PARI", "Загрузить исходные данные из"},
                        Case{"Form1", "Text18", "1/../../x", "Загрузить исходные данные из"},
                        Case{"Form1", "Text9", "..\\G_1", "Сохранить данные в формате BDL"},
                        Case{"Form2", "Text3", "PARI/..", "Загрузить в формате BDL"},
                        Case{"Form2", "Text1", "../110", "Загрузить в формате BDL"},
                        Case{"Form2", "Text2", "a\\b", "Записать результат в"},
                        Case{"Form2", "Text3", "x..y", "Сравнить данные 1 с данными 2"},
                        Case{"Form4", "Text3", "../../PARI", "Загрузить в формате BDL"},
                        Case{"Form4", "Text1", "40/..", "Загрузить в формате BDL"},
                        Case{"Form4", "Text2", "/tmp/x", "Записать результат в файл"}}) {
    ui.messages.clear();
    Application app{ui};
    app.ShowForm("Form2");
    app.ShowForm("Form4");
    for (FormModel* form : std::initializer_list<FormModel*>{&app.window1, &app.window2, &app.window3}) {
      test::PressButton(*form, "Создать массивы с N=", ui);
    }
    app.window2.ChooseOption(app.window2.generateSet1);  // data 1 "JPL0": files named by the observatory box
    app.window3.lastRecord.Text = "0";    // records 1..0: refused too, but the name is checked first
    FormModel& form = c.form == std::string("Form1") ? static_cast<FormModel&>(app.window1)
                      : c.form == std::string("Form2") ? static_cast<FormModel&>(app.window2)
                                                       : static_cast<FormModel&>(app.window3);
    ASSERT_TRUE(form.WriteControl(c.box, c.value));
    test::PressButton(form, c.button, ui);
    ASSERT_EQ(ui.messages.size(), 1u) << c.form << " " << c.box;
    EXPECT_EQ(ui.messages[0], std::string("Недопустимое имя файла или обсерватории: ") + c.value);
    EXPECT_EQ(app.Store.ObservatoryCode, "") << "the window keeps no refused code";
  }
}

TEST_F(WindowInput, AFileEndingInItsHeadingIsAReadErrorInWindowsTwoAndThree) {
  for (const char* name : {"PARI11_G_110.txt", "PARI11_G_40.txt"}) {
    test::WriteBytes(folder / "ObsPARI" / name, "only\r\nfour\r\nheading\r\nlines\r\n");
  }
  Application app{ui};
  app.ShowForm("Form2");
  app.ShowForm("Form4");
  for (FormModel* form : std::initializer_list<FormModel*>{&app.window2, &app.window3}) {
    test::PressButton(*form, "Создать массивы с N=", ui);
    test::PressButton(*form, "Загрузить в формате BDL", ui);
  }
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0], "Ошибка чтения данных из файла\r\n" + PathText(folder / "ObsPARI" / "PARI11_G_110.txt"));
  EXPECT_EQ(ui.messages[1], "Ошибка чтения данных из файла\r\n" + PathText(folder / "ObsPARI" / "PARI11_G_40.txt"));
}

}  // namespace
}  // namespace planova
