// Window 1's model: defaults, the store, the date converter and its messages.
#include <gtest/gtest.h>

#include "app/application.h"
#include "common/register_state.h"
#include "common/textfile.h"
#include "test_support.h"

namespace planova {
namespace {

using test::RecordingPlatform;

struct Window1Test : ::testing::Test {
  RecordingPlatform ui;
  Application app{ui};
  Window1Model& f = app.window1;

  void Press(const std::string& caption) {
    test::PressButton(f, caption, ui);
  }
  std::string Read(const std::string& control) {
    std::string v;
    EXPECT_TRUE(f.ReadControl(control, v)) << control;
    return v;
  }
};

TEST_F(Window1Test, StartsWithTheDefaults) {
  EXPECT_EQ(f.Caption, "Преобразование формата данных Planova - форма 1");
  const std::pair<const TextBox*, const char*> boxes[] = {
      {&f.timeScale, "UT"}, {&f.observatoryCode, "PARI"}, {&f.epoch, "App"}, {&f.instrument, "USNO Transit 6"},
      {&f.focalLengthCm, "198.0"}, {&f.observationType, "Trans"}, {&f.objectNumber, "11"}, {&f.bdlNamePart, "RDGT_0"},
      {&f.arraySize, "3200"}, {&f.readCount, "0"}, {&f.goodCount, "0"}, {&f.badCount, "0"}, {&f.limb, "C"},
      {&f.clamp, "E"}, {&f.observerInitials, ""}, {&f.reference, ""}, {&f.fileNumber, "1"},
      {&f.converterJd, "2305814"}, {&f.converterDay, "1,5"}, {&f.converterMonth, "1"}, {&f.converterYear, "1601"},
      {&f.columnLetters[0], "A"}, {&f.columnLetters[16], "Q"}};
  for (auto [box, value] : boxes) EXPECT_EQ(box->Text, value);
  // Each frame's choices, the one it starts with first.
  const std::vector<std::vector<const OptionButton*>> frames = {
      {&f.sourceDov, &f.sourceExcel, &f.sourceJpl, &f.sourceMpc},
      {&f.separatorComma, &f.separatorPoint},
      {&f.latitudeFromEquator, &f.latitudeFromPole},
      {&f.latitudeDms, &f.latitudeDegrees},
      {&f.longitudeHms, &f.longitudeDms, &f.longitudeDegrees},
      {&f.dateYmdhms, &f.dateJd, &f.dateYmday},
      {&f.calendarGregorian, &f.calendarJulian},
      {&f.parameterGeo, &f.parameterRa, &f.parameterDec}};
  for (size_t k = 0; k < frames.size(); ++k) {
    for (const OptionButton* option : frames[k]) EXPECT_EQ(option->Value, option == frames[k][0]) << "frame " << k + 1;
  }
  for (const CheckBox* check : {&f.dovLongVariant, &f.writeBadRecordsFile, &f.topocentricSource, &f.horizontalSource}) {
    EXPECT_FALSE(check->Value);
  }
  EXPECT_EQ(f.sourceLog.Text, "исходная запись данных");
  EXPECT_EQ(f.rejectedOrSavedLog.Text, "не распознанные записи");
  EXPECT_FALSE(app.Store.Exists());
}

TEST_F(Window1Test, OptionsOfAFrameExcludeEachOther) {
  ASSERT_TRUE(f.WriteControl("Option8", "1"));
  EXPECT_EQ(Read("Option8"), "1");
  EXPECT_EQ(Read("Option21"), "0");
  EXPECT_EQ(Read("Option20"), "1");  // another frame is untouched
  EXPECT_FALSE(f.WriteControl("Option8", "yes"));
  EXPECT_FALSE(f.WriteControl("Command2", "1"));
}

TEST_F(Window1Test, CreateArraysMakesAZeroStore) {
  f.arraySize.Text = "5";
  Press("Создать массивы с N=");
  ASSERT_TRUE(app.Store.Exists());
  EXPECT_EQ(app.Store.ObsCapacity, 5);
  EXPECT_EQ(app.Store.ObsJd.Rows(), 5);
  EXPECT_EQ(app.Store.ObsLat.Rows(), 5);
  for (int i = 0; i <= 5; ++i) {
    for (int k = 0; k < 4; ++k) EXPECT_EQ(app.Store.ObsLon(i, k), 0.0);
  }
  // A second press empties the store again.
  app.Store.ObsJd(3, kSet1) = 7;
  Press("Создать массивы с N=");
  EXPECT_EQ(app.Store.ObsJd(3, kSet1), 0.0);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Window1Test, UnusableNKeepsTheOldStore) {
  f.arraySize.Text = "4";
  Press("Создать массивы с N=");
  app.Store.ObsJd(2, kSet3) = 42;
  for (const char* bad : {"", "abc", "0", "-3", "1.2.5", "1E12", "99999999999"}) {
    f.arraySize.Text = bad;
    Press("Создать массивы с N=");
    EXPECT_EQ(ui.messages.back(), "Задайте правильно данные: Создать массивы с N=") << bad;
    EXPECT_EQ(ui.focused.back(), "Form1.Text10");
    EXPECT_EQ(ui.titles.back(), "Planova");
    EXPECT_EQ(app.Store.ObsCapacity, 4) << bad;
    EXPECT_EQ(app.Store.ObsJd(2, kSet3), 42.0) << bad;
  }
}

TEST_F(Window1Test, DateConverterRoundTrip) {
  f.converterDay.Text = "1.5";  // a decimal point is read as the comma
  Press("G->J");
  EXPECT_EQ(f.converterJd.Text, "2305814");
  f.converterJd.Text = "2451545.25";
  Press("J->G");
  EXPECT_EQ(f.converterYear.Text, "2000");
  EXPECT_EQ(f.converterMonth.Text, "1");
  EXPECT_EQ(f.converterDay.Text, "1,75");
  Press("G->J");
  EXPECT_EQ(f.converterJd.Text, "2451545,25");
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Window1Test, JulianCalendarChoice) {
  // 1601 January 1.5 in the Julian calendar is ten days later than in the Gregorian.
  f.ChooseOption(f.calendarJulian);
  Press("G->J");
  EXPECT_EQ(f.converterJd.Text, "2305824");
  EXPECT_EQ(app.Astro.Calendar(), CalendarRule::kJulian);
  f.converterJd.Text = "2451545";
  Press("J->G");
  EXPECT_EQ(f.converterYear.Text, "1999");
  EXPECT_EQ(f.converterMonth.Text, "12");
  EXPECT_EQ(f.converterDay.Text, "19,5");
}

TEST_F(Window1Test, BadDatesKeepTheBoxes) {
  f.converterDay.Text = "1,5.";  // a comma and a point
  Press("G->J");
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], "Задайте правильно данные: DMY");
  EXPECT_EQ(ui.focused, std::vector<std::string>{"Form1.Text32"});
  EXPECT_EQ(f.converterJd.Text, "2305814");
  EXPECT_EQ(f.converterDay.Text, "1,5.");

  f.converterDay.Text = "1";
  f.converterYear.Text = "40000";  // beyond the 16-bit year of the calendar routine
  Press("G->J");
  EXPECT_EQ(ui.messages.back(), "Введите правильно дату");
  EXPECT_EQ(f.converterJd.Text, "2305814");

  for (const char* bad : {"", "JD", "2451545..0"}) {
    f.converterJd.Text = bad;
    Press("J->G");
    EXPECT_EQ(ui.messages.back(), "Задайте правильно данные: JD") << bad;
  }
  f.converterJd.Text = "1E15";  // a day number beyond 32 bits
  Press("J->G");
  EXPECT_EQ(ui.messages.back(), "Введите правильно юлианскую дату");
  EXPECT_EQ(f.converterYear.Text, "40000");
  for (bool busy : ui.busyAtMessage) EXPECT_TRUE(busy);
}

TEST_F(Window1Test, NavigationButtons) {
  Press("К форме 2");
  EXPECT_TRUE(app.IsOpen("Form2"));
  EXPECT_TRUE(app.IsOpen("Form1"));
  Press("About*");
  EXPECT_TRUE(app.IsOpen("Form3"));
  Press("Выход");
  EXPECT_FALSE(app.AnyOpen());
}

#if defined(__x86_64__)
// Leaves the upper half of YMM0 in use, as code built for AVX without a vzeroupper after
// it does.  YMM0 is not named as clobbered, or the compiler would add a vzeroupper; a call
// clobbers it anyway, and the function is never inlined.
__attribute__((target("avx"), noinline)) void LeaveUpperStateInUse() {
  static const float kOne = 1;
  __asm__ volatile("vbroadcastss %0, %%ymm0" : : "m"(kOne));
}
#endif

// A platform whose busy pointer leaves the AVX upper state in use, as Qt can; it notes
// the state each message box finds.
struct UpperStateLeavingPlatform : RecordingPlatform {
  std::vector<int> stateAtMessage;
  void SetBusyPointer(bool b) override {
    RecordingPlatform::SetBusyPointer(b);
#if defined(__x86_64__)
    if (b) LeaveUpperStateInUse();
#endif
  }
  void ShowMessage(const std::string& text, const std::string& title) override {
    stateAtMessage.push_back(UpperRegisterStateInUse());
    RecordingPlatform::ShowMessage(text, title);
  }
};

// The AVX upper state is clear after the routine, and a button's operation starts with it
// clear whatever ran before it (else every SSE instruction of the run pays a merge).
TEST(RegisterState, ClearAfterTheRoutineAndInEveryButtonsOperation) {
#if defined(__x86_64__)
  if (!__builtin_cpu_supports("avx") || UpperRegisterStateInUse() < 0) GTEST_SKIP() << "no AVX, or no XGETBV 1";
  LeaveUpperStateInUse();
  const int left = UpperRegisterStateInUse();
  ClearUpperRegisterState();
  const int cleared = UpperRegisterStateInUse();
  if (left != 1) GTEST_SKIP() << "the processor does not report the state a 256-bit load leaves";
  EXPECT_EQ(cleared, 0);

  UpperStateLeavingPlatform ui;
  Application app{ui};
  app.window1.converterJd.Text = "JD";
  test::PressButton(app.window1, "J->G", ui);  // refused with a message
  EXPECT_EQ(ui.stateAtMessage, std::vector<int>{0});
#else
  GTEST_SKIP() << "not an x86-64 processor";
#endif
}

TEST(HelpWindow, TextIsTheFixedFiftyFiveLines) {
  RecordingPlatform ui;
  Application app(ui);
  app.ShowForm("Form3");
  const std::string& text = app.help.helpText.Text;
  EXPECT_EQ(app.help.Caption, "Справка по работе программы Planova3");
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t p; (p = text.find("\r\n", start)) != std::string::npos; start = p + 2) lines.push_back(text.substr(start, p - start));
  lines.push_back(text.substr(start));
  ASSERT_EQ(lines.size(), 55u);
  EXPECT_EQ(lines[0], "  ");
  EXPECT_EQ(lines[1].find_first_not_of(' '), 22u);
  EXPECT_EQ(lines[1].substr(22), "Справка по программе Planova3");
  for (int empty : {3, 5, 13, 15, 38, 40, 50}) EXPECT_EQ(lines[static_cast<size_t>(empty - 1)], "") << empty;
  EXPECT_EQ(lines[9], " - /К форме 2/ - перейти к форме 2.");
  EXPECT_EQ(lines[23], " - /Topo - > Hor/ - преобразовать топоцентрические экваториальные данные №1 в  горизонтальные.");
  EXPECT_EQ(lines[48].rfind(" - /Закрыть форму/ -", 0), 0u);
  EXPECT_NE(text.substr(text.size() - 2), "\r\n");
  // The text survives the round trip into the files' code page.
  EXPECT_EQ(Cp1251ToUtf8(Utf8ToCp1251(text)), text);

  const ControlEntry* close = app.help.FindButton("Закрыть");
  ASSERT_NE(close, nullptr);
  close->Press();
  EXPECT_FALSE(app.IsOpen("Form3"));
  EXPECT_TRUE(app.IsOpen("Form1"));
}

}  // namespace
}  // namespace planova
