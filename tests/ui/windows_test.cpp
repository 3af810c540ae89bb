// The real windows on Qt's offscreen platform: every control of a window is placed,
// visible and wide enough for its caption, and screenshots are saved under the build
// tree (screenshots/).
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "test_support.h"
#include "ui/desktop.h"

namespace planova::ui {
namespace {

std::filesystem::path ScreenshotFolder() {
  auto dir = std::filesystem::path(PLANOVA_BINARY_DIR) / "screenshots";
  std::filesystem::create_directories(dir);
  return dir;
}

// Text a widget shows as its caption or content.
QString ShownText(QWidget* w) {
  if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
  if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
  if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title();
  if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
  return {};
}

// Every control is on the window, inside it, and its caption fits its width.
void ExpectReadable(FormWindow& window) {
  for (const auto& c : window.Model().Controls()) {
    QWidget* w = window.Widget(c.Name);
    ASSERT_NE(w, nullptr) << c.Name;
    EXPECT_TRUE(w->isVisible()) << c.Name << " is not placed on " << window.Model().Name;
    EXPECT_TRUE(window.rect().contains(w->geometry())) << c.Name << " lies outside the window";
    QString text = ShownText(w);
    if (text.isEmpty()) continue;
    int need = w->fontMetrics().horizontalAdvance(text);
    if (qobject_cast<QAbstractButton*>(w) && !qobject_cast<QLineEdit*>(w)) need += 16;  // indicator or bevel
    if (qobject_cast<QLineEdit*>(w)) need += 6;
    EXPECT_LE(need, w->width()) << c.Name << " \"" << text.toStdString() << "\" does not fit";
  }
}

TEST(Windows, Window1ShowsEveryControlReadably) {
  auto folder = test::FreshFolder("ui-window1", true);
  Desktop desktop(folder);
  desktop.Start();
  FormWindow& w1 = desktop.Window("Form1");
  QApplication::processEvents();
  EXPECT_EQ(w1.windowTitle().toStdString(), "Преобразование формата данных Planova - форма 1");
  ExpectReadable(w1);

  // Defaults as the user sees them.
  auto text = [&](const char* name) { return ShownText(w1.Widget(name)).toStdString(); };
  EXPECT_EQ(text("Text3"), "PARI");
  EXPECT_EQ(text("Text10"), "3200");
  EXPECT_EQ(text("Text32"), "1,5");
  EXPECT_EQ(text("Text24"), "2305814");
  EXPECT_EQ(text("Text1(16)"), "Q");
  EXPECT_EQ(text("Command3"), "Загрузить исходные данные из");
  EXPECT_TRUE(qobject_cast<QAbstractButton*>(w1.Widget("Option21"))->isChecked());
  EXPECT_FALSE(qobject_cast<QAbstractButton*>(w1.Widget("Option8"))->isChecked());
  auto* pane = qobject_cast<QPlainTextEdit*>(w1.Widget("RichTextBox2"));
  ASSERT_NE(pane, nullptr);
  EXPECT_EQ(pane->toPlainText().toStdString(), "прочитанные программой данные");

  ASSERT_TRUE(w1.grab().save(QString::fromStdString((ScreenshotFolder() / "window1.png").string())));
}

TEST(Windows, Window2ShowsEveryControlReadably) {
  auto folder = test::FreshFolder("ui-window2", true);
  Desktop desktop(folder);
  desktop.Start();
  qobject_cast<QAbstractButton*>(desktop.Window("Form1").Widget("Command1"))->click();
  FormWindow& w2 = desktop.Window("Form2");
  QApplication::processEvents();
  EXPECT_EQ(w2.windowTitle().toStdString(), "Преобразование формата данных Planova - форма 2");
  ExpectReadable(w2);
  EXPECT_EQ(ShownText(w2.Widget("Text14")).toStdString(), "2,337");
  EXPECT_EQ(ShownText(w2.Widget("Text15")).toStdString(), "48,836");
  EXPECT_EQ(ShownText(w2.Widget("Text2")).toStdString(), "RDGLBT_40");
  ASSERT_TRUE(w2.grab().save(QString::fromStdString((ScreenshotFolder() / "window2.png").string())));
}

// Clicks the button of `window` that has `caption`.
void Click(FormWindow& window, const std::string& caption) {
  const ControlEntry* b = window.Model().FindButton(caption);
  ASSERT_NE(b, nullptr) << caption;
  qobject_cast<QAbstractButton*>(window.Widget(b->Name))->click();
}

void Type(FormWindow& window, const char* name, const char* text) {
  auto* box = qobject_cast<QLineEdit*>(window.Widget(name));
  box->setText(text);
  emit box->textEdited(box->text());
}

// Window 1 imports the Dov sample and writes it as a BDL file; window 3, opened through
// window 2, loads it and compares it with the two-body theory.
TEST(Windows, Window3LoadsAndComparesFromItsButtons) {
  auto folder = test::FreshFolder("ui-window3", true);
  Desktop desktop(folder);
  std::vector<std::string> messages;
  desktop.platform.MessageHook = [&](const std::string& t, const std::string&) { messages.push_back(t); };
  desktop.Start();
  FormWindow& w1 = desktop.Window("Form1");
  Click(w1, "Создать массивы с N=");
  Click(w1, "Загрузить исходные данные из");
  Type(w1, "Text9", "G_40");
  Click(w1, "Сохранить данные в формате BDL");
  Click(w1, "К форме 2");
  Click(desktop.Window("Form2"), "К форме 3");
  FormWindow& w4 = desktop.Window("Form4");
  QApplication::processEvents();
  EXPECT_EQ(w4.windowTitle().toStdString(), "Преобразование формата данных Planova - форма 3");
  ExpectReadable(w4);
  EXPECT_EQ(ShownText(w4.Widget("Text10")).toStdString(), "4000");
  EXPECT_EQ(ShownText(w4.Widget("Text21")).toStdString(), "1,5");
  Click(w4, "Создать массивы с N=");
  Click(w4, "Загрузить в формате BDL");
  EXPECT_EQ(ShownText(w4.Widget("Text17")).toStdString(), "300");
  Type(w4, "Text19", "0,5");  // half a year per division: the ten years fill the plot
  Type(w4, "Text20", "200");
  Click(w4, "Сравнить данные наблюдений с");
  ASSERT_TRUE(messages.empty()) << messages[0];
  EXPECT_EQ(ShownText(w4.Widget("Text5")).toStdString(), "300");
  EXPECT_FALSE(desktop.platform.Busy());
  QApplication::processEvents();
  ASSERT_TRUE(w4.grab().save(QString::fromStdString((ScreenshotFolder() / "window3.png").string())));
}

// Window 2 loads window 1's file and compares it with the two-body theory, plotting.
TEST(Windows, Window2ComparesAndPlotsFromItsButtons) {
  auto folder = test::FreshFolder("ui-window2-compare", true);
  Desktop desktop(folder);
  std::vector<std::string> messages;
  desktop.platform.MessageHook = [&](const std::string& t, const std::string&) { messages.push_back(t); };
  desktop.Start();
  FormWindow& w1 = desktop.Window("Form1");
  Click(w1, "Создать массивы с N=");
  Click(w1, "Загрузить исходные данные из");
  Type(w1, "Text9", "G_110");
  Click(w1, "Сохранить данные в формате BDL");
  Click(w1, "К форме 2");
  FormWindow& w2 = desktop.Window("Form2");
  Click(w2, "Создать массивы с N=");
  Click(w2, "Загрузить в формате BDL");
  for (const char* name : {"Option4", "Check8", "Check9", "Check7", "Check13", "Check14", "Check4", "Check5", "Check1"}) {
    qobject_cast<QAbstractButton*>(w2.Widget(name))->click();
  }
  Type(w2, "Text20", "600");
  Click(w2, "Сравнить данные 1 с данными 2");
  ASSERT_TRUE(messages.empty()) << messages[0];
  EXPECT_EQ(desktop.app.form2.ComparedCount, 300);
  EXPECT_FALSE(desktop.platform.Busy());
  QApplication::processEvents();
  ASSERT_TRUE(w2.grab().save(QString::fromStdString((ScreenshotFolder() / "window2_comparison.png").string())));
}

TEST(Windows, TypingAndClickingGoThroughTheModel) {
  auto folder = test::FreshFolder("ui-typing", true);
  Desktop desktop(folder);
  std::vector<std::string> messages;
  desktop.platform.MessageHook = [&](const std::string& t, const std::string&) { messages.push_back(t); };
  desktop.Start();
  FormWindow& w1 = desktop.Window("Form1");
  auto* year = qobject_cast<QLineEdit*>(w1.Widget("Text34"));
  year->selectAll();
  year->insert("2000");
  emit year->textEdited(year->text());
  qobject_cast<QAbstractButton*>(w1.Widget("Command17"))->click();
  EXPECT_EQ(qobject_cast<QLineEdit*>(w1.Widget("Text24"))->text().toStdString(), "2451545");
  EXPECT_FALSE(desktop.platform.Busy());

  // Choosing "Юлиан" clears "Григор" in the window as in the model.
  qobject_cast<QAbstractButton*>(w1.Widget("Option3"))->click();
  EXPECT_FALSE(qobject_cast<QAbstractButton*>(w1.Widget("Option20"))->isChecked());
  EXPECT_TRUE(desktop.app.form1.Option3.Value);

  // A bad number: the message, and the pointer is normal again.
  auto* day = qobject_cast<QLineEdit*>(w1.Widget("Text32"));
  day->setText("1.5");
  emit day->textEdited(day->text());
  qobject_cast<QAbstractButton*>(w1.Widget("Command17"))->click();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "Задайте правильно данные");
  EXPECT_FALSE(desktop.platform.Busy());
}

TEST(Windows, HelpWindowOpensOnceAndShowsItsText) {
  auto folder = test::FreshFolder("ui-help", true);
  Desktop desktop(folder);
  desktop.Start();
  FormWindow& w1 = desktop.Window("Form1");
  qobject_cast<QAbstractButton*>(w1.Widget("Command8"))->click();
  qobject_cast<QAbstractButton*>(w1.Widget("Command8"))->click();
  FormWindow& help = desktop.Window("Form3");
  QApplication::processEvents();
  EXPECT_TRUE(help.isVisible());
  EXPECT_EQ(help.windowTitle().toStdString(), "Справка по работе программы Planova3");
  int helpWindows = 0;
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (top->objectName() == "Form3" && top->isVisible()) ++helpWindows;
  }
  EXPECT_EQ(helpWindows, 1);
  auto* text = qobject_cast<QPlainTextEdit*>(help.Widget("Text1"));
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->toPlainText().split('\n').size(), 42);
  ExpectReadable(help);
  ASSERT_TRUE(help.grab().save(QString::fromStdString((ScreenshotFolder() / "help.png").string())));

  qobject_cast<QAbstractButton*>(help.Widget("Command1"))->click();
  EXPECT_FALSE(help.isVisible());
  EXPECT_TRUE(w1.isVisible());
}

TEST(Windows, ExitClosesEveryWindow) {
  auto folder = test::FreshFolder("ui-exit", true);
  Desktop desktop(folder);
  desktop.Start();
  FormWindow& w1 = desktop.Window("Form1");
  qobject_cast<QAbstractButton*>(w1.Widget("Command1"))->click();  // "К форме 2"
  qobject_cast<QAbstractButton*>(w1.Widget("Command8"))->click();  // "About*"
  EXPECT_TRUE(desktop.Window("Form2").isVisible());
  EXPECT_EQ(desktop.Window("Form2").windowTitle().toStdString(), "Преобразование формата данных Planova - форма 2");
  qobject_cast<QAbstractButton*>(w1.Widget("Command9"))->click();  // "Выход"
  EXPECT_FALSE(w1.isVisible());
  EXPECT_FALSE(desktop.Window("Form2").isVisible());
  EXPECT_FALSE(desktop.Window("Form3").isVisible());
  EXPECT_FALSE(desktop.app.AnyOpen());
}

}  // namespace
}  // namespace planova::ui

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
