// The real windows on Qt's offscreen platform (a 1920 x 1200 screen): every control of a
// window is placed, visible and wide enough for its caption, windows resize, plots carry
// their scales and save as PNG and SVG, and screenshots are saved under the build tree
// (screenshots/).
#include <gtest/gtest.h>

#include <algorithm>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScrollBar>
#include <QSettings>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTimer>
#include <QWheelEvent>

#include <fstream>
#include <unistd.h>
#include <cstdio>

#include "test_support.h"
#include "ui/desktop.h"
#include "ui/layouts.h"
#include "ui/picture_render.h"
#include "ui/remembered.h"
#include "window2/plot.h"
#include "help/help_text.h"
#include "models/messages.h"
#include "ui/translation.h"

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
  if (auto* b = qobject_cast<QAbstractButton*>(w)) return QString(b->text()).remove('&');  // the Alt letter's mark
  if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title();
  if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
  if (auto* c = qobject_cast<QComboBox*>(w)) return c->currentText();
  return {};
}

// Every control is on the window, inside it, and its caption fits its width.
void ExpectReadable(FormWindow& window) {
  for (const auto& c : window.Model().Controls()) {
    QWidget* w = window.Widget(c.Name);
    ASSERT_NE(w, nullptr) << c.Name;
    EXPECT_TRUE(w->isVisible()) << c.Name << " is not placed on " << window.Model().Name;
    EXPECT_TRUE(window.Canvas()->rect().contains(w->geometry())) << c.Name << " lies outside the window";
    QString text = ShownText(w);
    if (text.isEmpty()) continue;
    int need = w->fontMetrics().horizontalAdvance(text);
    if (qobject_cast<QAbstractButton*>(w) && !qobject_cast<QLineEdit*>(w)) need += 16;  // indicator or bevel
    if (qobject_cast<QLineEdit*>(w)) need += 6;
    if (qobject_cast<QComboBox*>(w)) need += 30;  // the drop-down arrow
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
  // Two ephemerides found: the list box shows the first and gives the user's choice to the window.
  desktop.app.window2.Ephemerides.Names = [] { return std::vector<std::string>{"DE405", "DE440"}; };
  qobject_cast<QAbstractButton*>(desktop.Window("Form1").Widget("Command1"))->click();
  FormWindow& w2 = desktop.Window("Form2");
  QApplication::processEvents();
  EXPECT_EQ(w2.windowTitle().toStdString(), "Преобразование формата данных Planova - форма 2");
  ExpectReadable(w2);
  EXPECT_EQ(ShownText(w2.Widget("Text14")).toStdString(), "2,337");
  EXPECT_EQ(ShownText(w2.Widget("Text15")).toStdString(), "48,836");
  EXPECT_EQ(ShownText(w2.Widget("Text2")).toStdString(), "RDGLBT_40");
  auto* ephemerides = qobject_cast<QComboBox*>(w2.Widget("Combo1"));
  ASSERT_NE(ephemerides, nullptr);
  ASSERT_EQ(ephemerides->count(), 2);
  EXPECT_EQ(ephemerides->currentText().toStdString(), "DE405");
  ephemerides->setCurrentIndex(1);
  emit ephemerides->activated(1);
  EXPECT_EQ(desktop.app.window2.ephemeris.Value, "DE440");
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

// Window 1 imports the Dov sample (its default source) and writes it as ObsPARI\PARI11_<name>.txt.
void ImportDovSampleAs(FormWindow& w1, const char* name) {
  Click(w1, "Создать массивы с N=");
  Click(w1, "Загрузить исходные данные из");
  Type(w1, "Text9", name);
  Click(w1, "Сохранить данные в формате BDL");
}

// Window 1 imports the Dov sample and writes it as a BDL file; window 3, opened through
// window 2, loads it and compares it with the two-body theory.
TEST(Windows, Window3LoadsAndComparesFromItsButtons) {
  auto folder = test::FreshFolder("ui-window3", true);
  Desktop desktop(folder);
  std::vector<std::string> messages;
  desktop.platform.MessageHook = [&](const std::string& t, const std::string&) { messages.push_back(t); };
  // The only ephemeris found is chosen without asking; its name must fit the list box.
  desktop.app.window3.Ephemerides.Names = [] { return std::vector<std::string>{"DE405"}; };
  desktop.Start();
  FormWindow& w1 = desktop.Window("Form1");
  ImportDovSampleAs(w1, "G_40");
  Click(w1, "К форме 2");
  Click(desktop.Window("Form2"), "К форме 3");
  FormWindow& w4 = desktop.Window("Form4");
  QApplication::processEvents();
  EXPECT_EQ(w4.windowTitle().toStdString(), "Преобразование формата данных Planova - форма 3");
  ExpectReadable(w4);
  EXPECT_EQ(ShownText(w4.Widget("Combo1")).toStdString(), "DE405");
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
  EXPECT_EQ(qobject_cast<QProgressBar*>(w4.Widget("ProgressBar1"))->value(), 100);
  EXPECT_FALSE(desktop.platform.Busy());
  QApplication::processEvents();
  ASSERT_TRUE(w4.grab().save(QString::fromStdString((ScreenshotFolder() / "window3.png").string())));

  // The plot's scales: the years of the sample (1990-1999, half a year a unit) under the
  // grid, 200" a unit from the zero line 4 units up, and the legend of the three colours.
  auto* plot = dynamic_cast<PictureWidget*>(w4.Widget("Picture1"));
  ASSERT_NE(plot, nullptr);
  std::map<PlotLabel::Kind, QStringList> labels;
  for (const auto& l : PlotLabels(desktop.app.window3.plot, plot->size(), QFontMetricsF(plot->font()))) {
    EXPECT_TRUE(QRectF(plot->rect()).contains(l.rect)) << l.text.toStdString();
    labels[l.kind] << l.text;
  }
  EXPECT_TRUE(labels[PlotLabel::Kind::kTime].contains("1990")) << labels[PlotLabel::Kind::kTime].join(' ').toStdString();
  EXPECT_TRUE(labels[PlotLabel::Kind::kTime].contains("1999"));
  for (const char* value : {"-800″", "0″", "2600″"}) {
    EXPECT_TRUE(labels[PlotLabel::Kind::kValue].contains(QString::fromUtf8(value))) << value;
  }
  EXPECT_EQ(labels[PlotLabel::Kind::kLegend],  // placed from the right
            QStringList({"dLsr, dBsr: средние × 10", "Δδ: склонение", "Δα: прямое восхождение"}));

  // The readout under the pointer names the record, its date and time (UT) and its O-C:
  // record 1 of the sample was observed on 3 January 1990 at 20:55:30.
  const PictureBox& box = desktop.app.window3.plot;
  const auto first = std::find_if(box.Items.begin(), box.Items.end(), [](const PictureItem& i) { return i.info >= 0; });
  ASSERT_NE(first, box.Items.end());
  const QFontMetricsF metrics(plot->font());
  const PictureItem* near = PointNear(box, plot->size(), metrics, PixelOf(box, plot->size(), metrics, first->x1, first->y1), 5);
  ASSERT_NE(near, nullptr);
  const QString readout = PointReadout(box, box.Infos[static_cast<size_t>(near->info)]);
  EXPECT_TRUE(readout.startsWith(QString::fromUtf8("№ 1   03.01.1990 20:55   Δα = "))) << readout.toStdString();

  // The context menu saves what the box shows as PNG and as SVG, at the size asked for,
  // a name typed without an extension getting the format's; the file dialog opens in Dat.
  EXPECT_EQ(plot->SaveFolder.toStdString(), (folder / "Dat").string());
  std::map<QString, QString> files{{"PNG", QString::fromStdString((folder / "plot").string())},
                                   {"SVG", QString::fromStdString((folder / "plot.svg").string())}};
  plot->AskFileName = [&](const QString& format) { return files[format]; };
  const QSize chosen(800, 450);
  plot->AskSize = [&](const QString&) { return chosen; };
  auto menu = plot->ContextMenu();
  for (const char* name : {"savePNG", "saveSVG"}) menu->findChild<QAction*>(name)->trigger();
  QImage png(QString::fromStdString((folder / "plot.png").string()), "PNG");
  EXPECT_EQ(png.size(), chosen);
  QSvgRenderer svg(files["SVG"]);
  EXPECT_TRUE(svg.isValid());
  EXPECT_EQ(svg.viewBox(), QRect(QPoint(0, 0), chosen));
  EXPECT_NE(test::ReadBytes(files["SVG"].toStdString()).find("1995"), std::string::npos) << "the SVG keeps its texts";
  EXPECT_FALSE(menu->findChild<QAction*>("wholePicture")->isEnabled()) << "nothing to show again unzoomed";
  EXPECT_TRUE(messages.empty());
  // A file that cannot be written: the window says so with its path.
  files["PNG"] = QString::fromStdString((folder / "no-such-folder" / "plot.png").string());
  menu->findChild<QAction*>("savePNG")->trigger();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].rfind("Ошибка записи в файл", 0), 0u);
}

// The rectangles of the placed controls of a window, by name.
std::map<std::string, QRect> Geometries(FormWindow& w) {
  std::map<std::string, QRect> g;
  for (const auto& p : LayoutOf(w.Model().Name).places) g[p.name] = w.Widget(p.name)->geometry();
  return g;
}

// Every window at its default size keeps its table's places; made larger, its plot and
// panes grow and the controls above and left of them stay; on a 1366 x 768 laptop it
// opens within the screen with every control on its canvas, nothing overlapping that did
// not overlap at the default size.
TEST(Windows, WindowsResizeTheirPlotsAndPanes) {
  auto folder = test::FreshFolder("ui-resize", true);
  Desktop desktop(folder);
  desktop.Start();
  FormWindow& w1 = desktop.Window("Form1");
  Click(w1, "К форме 2");
  Click(w1, "About*");
  Click(desktop.Window("Form2"), "К форме 3");
  const struct {
    const char* form;
    std::vector<std::string> growing;
    std::vector<std::string> staying;
  } cases[] = {
      {"Form1", {"RichTextBox1", "RichTextBox2", "RichTextBox3"}, {"Command2", "Text1(16)", "Command9", "Text17"}},
      {"Form2", {"Picture1", "RichTextBox1", "RichTextBox3"}, {"Command6", "Text2", "ProgressBar1", "Check10"}},
      {"Form4", {"Picture1", "RichTextBox1"}, {"Command6", "Check12", "Command9", "Text6"}},
      {"Form3", {"Text1"}, {}},
  };
  const QRect laptop(0, 0, 1366, 768 - 40);  // less a panel
  for (const auto& c : cases) {
    SCOPED_TRACE(c.form);
    FormWindow& w = desktop.Window(c.form);
    QApplication::processEvents();
    ASSERT_TRUE(w.isVisible());
    const WindowLayout& layout = LayoutOf(c.form);
    EXPECT_EQ(w.size(), QSize(layout.width, layout.height));
    const auto before = Geometries(w);
    for (const auto& p : layout.places) EXPECT_EQ(before.at(p.name), QRect(p.x, p.y, p.w, p.h)) << p.name;
    auto expectNoNewOverlaps = [&](const std::map<std::string, QRect>& now) {
      for (const auto& [a, ra] : now) {
        EXPECT_TRUE(w.Canvas()->rect().contains(ra)) << a;
        for (const auto& [b, rb] : now) {
          if (a < b && !before.at(a).intersects(before.at(b))) {
            EXPECT_FALSE(ra.intersects(rb)) << a << " meets " << b;
          }
        }
      }
    };

    w.resize(layout.width + 300, layout.height + 200);
    QApplication::processEvents();
    auto larger = Geometries(w);
    for (const auto& name : c.growing) {
      EXPECT_GT(larger[name].width() * larger[name].height(), before.at(name).width() * before.at(name).height()) << name;
    }
    for (const auto& name : c.staying) EXPECT_EQ(larger[name], before.at(name)) << name;
    expectNoNewOverlaps(larger);
    if (std::string(c.form) == "Form4") {
      w.grab().save(QString::fromStdString((ScreenshotFolder() / "window3_larger.png").string()));
    }

    w.FitInto(laptop);
    QApplication::processEvents();
    EXPECT_TRUE(laptop.contains(QRect(w.pos(), w.size() + QSize(16, 40))));
    const auto small = Geometries(w);
    expectNoNewOverlaps(small);
    // The canvas is shown whole, or the scroll bars reach the rest of it.
    const QSize view = w.Scroller()->viewport()->size();
    EXPECT_TRUE(w.Canvas()->width() <= view.width() || w.Scroller()->horizontalScrollBar()->maximum() > 0);
    EXPECT_TRUE(w.Canvas()->height() <= view.height() || w.Scroller()->verticalScrollBar()->maximum() > 0);
    for (const auto& name : c.growing) EXPECT_GE(small.at(name).height(), 90) << name;
    if (std::string(c.form) == "Form2") {
      // Window 2's plot keeps a usable height; the window scrolls down to it, not sideways.
      EXPECT_GE(small.at("Picture1").height(), 300);
      EXPECT_LE(w.Canvas()->width(), view.width());
    }
    w.resize(layout.width, layout.height);
  }
}

// The grid reaches the last column and row of the box, inside it; a picture that knows
// its axes leaves the margins of its labels.
TEST(Windows, PlotGridLiesInsideTheBox) {
  PictureBox box;
  DrawPlotFrame(box);
  const QSize size(250, 61);
  QImage image = RenderPicture(box, size);
  EXPECT_NE(image.pixel(size.width() - 1, 30), qRgb(255, 255, 255)) << "right grid line";
  EXPECT_NE(image.pixel(125, size.height() - 1), qRgb(255, 255, 255)) << "bottom grid line";
  box.Axes.Known = true;
  const QRectF area = PlotArea(box, size, QFontMetricsF(QFont()));
  EXPECT_GT(area.left(), 10);
  EXPECT_LT(area.bottom(), size.height() - 10);
  EXPECT_EQ(PlotArea(box, QSize(33, 4), QFontMetricsF(QFont())), QRectF(0, 0, 32, 3)) << "a box moved out of the way";
}

// Window 2 loads window 1's file and compares it with the two-body theory, plotting.
TEST(Windows, Window2ComparesAndPlotsFromItsButtons) {
  auto folder = test::FreshFolder("ui-window2-compare", true);
  Desktop desktop(folder);
  std::vector<std::string> messages;
  desktop.platform.MessageHook = [&](const std::string& t, const std::string&) { messages.push_back(t); };
  desktop.Start();
  FormWindow& w1 = desktop.Window("Form1");
  ImportDovSampleAs(w1, "G_110");
  Click(w1, "К форме 2");
  FormWindow& w2 = desktop.Window("Form2");
  Click(w2, "Создать массивы с N=");
  Click(w2, "Загрузить в формате BDL");
  // "+ очистка рисунка" is ticked from the start.
  EXPECT_TRUE(qobject_cast<QAbstractButton*>(w2.Widget("Check14"))->isChecked());
  for (const char* name : {"Option4", "Check8", "Check9", "Check7", "Check13", "Check4", "Check5", "Check1"}) {
    qobject_cast<QAbstractButton*>(w2.Widget(name))->click();
  }
  Type(w2, "Text20", "600");
  Click(w2, "Сравнить данные 1 с данными 2");
  ASSERT_TRUE(messages.empty()) << messages[0];
  EXPECT_EQ(desktop.app.window2.ComparedCount, 300);
  // The bar's in-run scale is the store's size plus 100; the finished run shows it full.
  EXPECT_EQ(qobject_cast<QProgressBar*>(w2.Widget("ProgressBar1"))->value(), 100);
  EXPECT_FALSE(desktop.platform.Busy());
  QApplication::processEvents();
  ASSERT_TRUE(w2.grab().save(QString::fromStdString((ScreenshotFolder() / "window2_comparison.png").string())));
}

// The whole processing path a person takes, by clicking and typing in the real windows:
// window 1 imports two sample catalogues and writes them as BDL files; window 2 loads,
// cleans, sorts, merges, shows the changes, writes the merged set, compares with DE405
// (stopped once, then stepped), and runs the DE405 calculator; window 3 loads the file, has its interval
// picked with the mouse, corrects and writes it; "Выход" closes everything.  After every
// button the pointer is normal again and no message has appeared.
TEST(Windows, WholePathThroughTheWindows) {
  namespace fs = std::filesystem;
  auto folder = test::FreshFolder("ui-whole-path", true);
  Desktop desktop(folder);
  desktop.app.Astro.SetJplFolder(test::De405BlockFolder());
  std::vector<std::string> messages;
  desktop.platform.MessageHook = [&](const std::string& t, const std::string&) { messages.push_back(t); };
  desktop.Start();
  auto press = [&](FormWindow& w, const std::string& caption) {
    Click(w, caption);
    EXPECT_FALSE(desktop.platform.Busy()) << caption;
    ASSERT_TRUE(messages.empty()) << caption << ": " << messages[0];
  };
  auto choose = [&](FormWindow& w, const char* name) {
    auto* b = qobject_cast<QAbstractButton*>(w.Widget(name));
    if (!b->isChecked()) b->click();
  };
  auto shown = [&](FormWindow& w, const char* name) { return ShownText(w.Widget(name)).toStdString(); };
  auto pane = [&](FormWindow& w, const char* name) {
    return qobject_cast<QPlainTextEdit*>(w.Widget(name))->toPlainText().toStdString();
  };

  // Window 1: the Dov sample as file 110, the spreadsheet sample as file 111.
  FormWindow& w1 = desktop.Window("Form1");
  press(w1, "Создать массивы с N=");
  choose(w1, "Option21");  // "File Dov"
  press(w1, "Загрузить исходные данные из");
  EXPECT_EQ(shown(w1, "Text11"), "303");
  EXPECT_EQ(shown(w1, "Text12"), "300");
  EXPECT_EQ(pane(w1, "RichTextBox2").rfind("распознанные программой записи", 0), 0u);
  Type(w1, "Text9", "G_110");
  press(w1, "Сохранить данные в формате BDL");
  EXPECT_TRUE(fs::exists(folder / "ObsPARI" / "PARI11_G_110.txt"));
  EXPECT_NE(pane(w1, "RichTextBox3").find("Moon      1990 03 Jan"), std::string::npos);
  choose(w1, "Option8");  // "table Excel"
  press(w1, "Загрузить исходные данные из");
  EXPECT_EQ(shown(w1, "Text12"), "120");
  Type(w1, "Text9", "G_111");
  press(w1, "Сохранить данные в формате BDL");
  w1.grab().save(QString::fromStdString((ScreenshotFolder() / "window1_import.png").string()));

  // Window 2: data set 1, clean, sort, write; data set 2, merge, report.
  press(w1, "К форме 2");
  FormWindow& w2 = desktop.Window("Form2");
  press(w2, "Создать массивы с N=");
  choose(w2, "Option1");
  press(w2, "Загрузить в формате BDL");
  EXPECT_EQ(shown(w2, "Text17"), "300");
  w2.grab().save(QString::fromStdString((ScreenshotFolder() / "window2_loaded.png").string()));
  press(w2, "Почистить");
  press(w2, "Упорядочить данные");
  choose(w2, "Option2");
  Type(w2, "Text1", "111");
  press(w2, "Загрузить в формате BDL");
  EXPECT_EQ(desktop.app.Store.Count2, 120);
  press(w2, "Объединить данные 1 и данные 2");
  EXPECT_EQ(shown(w2, "Text17"), "420");
  press(w2, "Показать изменения");
  press(w2, "Записать результат в");
  EXPECT_TRUE(fs::exists(folder / "ObsPARI" / "PARI11_RDGLBT_40.txt"));
  // The merge has used up data sets 1 and 2: load file 110 again to compare it.
  choose(w2, "Option1");
  Type(w2, "Text1", "110");
  press(w2, "Загрузить в формате BDL");

  // The comparison with DE405: stopped during the run, stepped, then run whole.
  for (const char* name : {"Option5", "Option7"}) choose(w2, name);
  // The plot "по данным", as the README shows it.
  for (const char* name : {"Check8", "Check9", "Check7", "Check1", "Check11", "Check13", "Check14", "Check21", "Check4", "Check5"}) {
    choose(w2, name);
  }
  Type(w2, "Text20", "2");
  Window2Model& f2 = desktop.app.window2;
  QTimer::singleShot(0, [&] { qobject_cast<QAbstractButton*>(w2.Widget("Command7"))->click(); });
  press(w2, "Сравнить данные 1 с данными 2");
  EXPECT_GE(f2.ComparedCount, 1);
  EXPECT_LT(f2.ComparedCount, f2.Count1) << "Stop must end the run after the row in progress";
  const int32_t afterStop = f2.ComparedCount;
  press(w2, "сделать 1 шаг");
  EXPECT_EQ(f2.ComparedCount, afterStop + 1);
  press(w2, "Сравнить данные 1 с данными 2");
  EXPECT_EQ(f2.ComparedCount, f2.Count1);
  EXPECT_TRUE(fs::exists(folder / "Dat" / "StatPARI11.txt"));
  EXPECT_NE(pane(w2, "RichTextBox3").find("L1-L2 (sec)="), std::string::npos);
  QApplication::processEvents();
  w2.grab().save(QString::fromStdString((ScreenshotFolder() / "window2_de405.png").string()));
  Type(w2, "Text8", "4");
  Type(w2, "Text23", "2000");
  press(w2, "DE405");
  EXPECT_EQ(pane(w2, "RichTextBox2").rfind("JDut=  ", 0), 0u);
  Type(w2, "Text8", "11");

  // Window 3: load file 110, run, pick the interval with the mouse, correct, write.
  press(w2, "К форме 3");
  FormWindow& w3 = desktop.Window("Form4");
  Type(w3, "Text1", "110");
  press(w3, "Создать массивы с N=");
  press(w3, "Загрузить в формате BDL");
  choose(w3, "Option7");
  choose(w3, "Check18");  // "по данным"
  press(w3, "Сравнить данные наблюдений с");
  Window3Model& f3 = desktop.app.window3;
  ASSERT_TRUE(f3.plot.Axes.Fitted);
  QWidget* plot = w3.Widget("Picture1");
  const QFontMetricsF metrics(plot->font());
  // A click is a press and a release in one place; a wheel notch zooms about the pointer.
  auto at = [&](double fraction) { return QPointF(plot->width() * fraction, plot->height() / 2.0); };
  auto mouse = [&](double fraction, Qt::MouseButton button) {
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
      QMouseEvent event(type, at(fraction), plot->mapToGlobal(at(fraction)), button,
                        type == QEvent::MouseButtonPress ? button : Qt::NoButton, Qt::NoModifier);
      QApplication::sendEvent(plot, &event);
    }
    EXPECT_FALSE(desktop.platform.Busy());
  };
  const QPointF before = UserAt(f3.plot, plot->size(), metrics, at(0.3));
  for (int notch = 0; notch < 3; ++notch) {
    QWheelEvent wheel(at(0.3), plot->mapToGlobal(at(0.3)), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(plot, &wheel);
  }
  ASSERT_TRUE(f3.plot.Zoomed());
  const QPointF after = PixelOf(f3.plot, plot->size(), metrics, before.x(), before.y());
  EXPECT_LE((after - at(0.3)).manhattanLength(), 1.0) << "the point under the pointer stays there";
  // Picked in the zoomed view, the records are those under the pointer: the last one
  // observed at or before the time there.
  auto recordAt = [&](double fraction) {
    const double jd = f3.plot.Axes.OriginJd +
                      UserAt(f3.plot, plot->size(), metrics, at(fraction)).x() * f3.plot.Axes.YearsPerUnit * 365.25;
    int32_t row = 0;
    for (int32_t r = 1; r <= f3.Count1; ++r) row = desktop.app.Store.ObsJd(r, kSet1) <= jd ? r : row;
    return row;
  };
  mouse(0.1, Qt::LeftButton);
  mouse(0.6, Qt::RightButton);
  ASSERT_TRUE(messages.empty()) << messages[0];
  int32_t first = std::stoi(shown(w3, "Text16")), last = std::stoi(shown(w3, "Text17"));
  EXPECT_EQ(first, recordAt(0.1));
  EXPECT_EQ(last, recordAt(0.6));
  EXPECT_GT(first, 1);
  EXPECT_GT(last, first);
  EXPECT_LT(last, 300);
  plot->grab().save(QString::fromStdString((ScreenshotFolder() / "window3_zoomed.png").string()));
  f3.plot.ResetView();
  choose(w3, "Check1");
  Type(w3, "Text30", "1");
  Type(w3, "Text31", "2");
  press(w3, "Сравнить данные наблюдений с");
  EXPECT_EQ(shown(w3, "Text5"), std::to_string(last - first + 1));
  press(w3, "Записать результат в файл");
  std::string written = test::ReadBytes(folder / "ObsPARI" / "PARI11_G_41.txt");
  EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 5 + last - first + 1);
  QApplication::processEvents();
  w3.grab().save(QString::fromStdString((ScreenshotFolder() / "window3_corrected.png").string()));

  press(w2, "Выход");
  EXPECT_FALSE(w1.isVisible());
  EXPECT_FALSE(w2.isVisible());
  EXPECT_FALSE(w3.isVisible());
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
  EXPECT_TRUE(desktop.app.window1.calendarJulian.Value);

  // A decimal point is read as the comma (2000 January 1.5 of the Julian calendar).
  Type(w1, "Text32", "1.5");
  emit qobject_cast<QLineEdit*>(w1.Widget("Text32"))->returnPressed();  // Enter presses "G->J"
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(qobject_cast<QLineEdit*>(w1.Widget("Text24"))->text().toStdString(), "2451558");
  // A bad number: the message names the box, which gets the focus; the pointer is normal again.
  Type(w1, "Text32", "1.5x");
  qobject_cast<QAbstractButton*>(w1.Widget("Command17"))->click();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "Задайте правильно данные: DMY");
  EXPECT_EQ(w1.focusWidget(), w1.Widget("Text32"));
  EXPECT_FALSE(desktop.platform.Busy());
}

bool HasCyrillic(const QString& s) {
  return std::any_of(s.begin(), s.end(), [](QChar c) { return c.unicode() >= 0x0400 && c.unicode() <= 0x04FF; });
}

// Every caption of a window (title, labels, frames, buttons, options, checks) in English.
void ExpectEnglish(FormWindow& window) {
  EXPECT_FALSE(HasCyrillic(window.windowTitle())) << window.windowTitle().toStdString();
  for (const auto& c : window.Model().Controls()) {
    const QString tip = window.Widget(c.Name)->toolTip();
    EXPECT_FALSE(HasCyrillic(tip)) << c.Name << " \"" << tip.toStdString() << "\"";
    if (c.Kind == ControlKind::kText) continue;  // what the user types stays as typed
    QString text = ShownText(window.Widget(c.Name));
    EXPECT_FALSE(HasCyrillic(text)) << c.Name << " \"" << text.toStdString() << "\"";
  }
}

// Russian again when the guard ends, whatever the test's end.
struct EnglishChosen {
  EnglishChosen() { ok = UseLanguage(Language::kEnglish); }
  ~EnglishChosen() { UseLanguage(Language::kRussian); }
  bool ok;
};

// With English chosen, every window's captions, the panes' own phrases, the help text and
// the messages are English (texts built at run time too, their names and numbers kept),
// while the models keep their Russian texts for files and batch scripts.  Russian again,
// the windows are as before.  Screenshots of the English windows go with the Russian.
TEST(Windows, EnglishWindowsAndMessages) {
  auto folder = test::FreshFolder("ui-english", true);
  {
    EnglishChosen english;
    ASSERT_TRUE(english.ok);
    Desktop desktop(folder);
    std::vector<std::string> messages;
    desktop.platform.MessageHook = [&](const std::string& t, const std::string&) { messages.push_back(t); };
    desktop.Start();
    FormWindow& w1 = desktop.Window("Form1");
    QApplication::processEvents();
    auto text = [&](FormWindow& w, const char* name) { return ShownText(w.Widget(name)).toStdString(); };
    auto pane = [&](FormWindow& w, const char* name) {
      return qobject_cast<QPlainTextEdit*>(w.Widget(name))->toPlainText().toStdString();
    };
    EXPECT_EQ(w1.windowTitle().toStdString(), "Planova data format conversion - form 1");
    EXPECT_EQ(text(w1, "Command2"), "Create arrays with N=");
    EXPECT_EQ(text(w1, "Frame6"), "Date of observation as");
    EXPECT_EQ(pane(w1, "RichTextBox2"), "data as read by the program");
    ExpectEnglish(w1);
    ExpectReadable(w1);

    Type(w1, "Text10", "many");
    Click(w1, "Создать массивы с N=");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Enter valid data: Create arrays with N=");
    Type(w1, "Text10", "3200");
    ImportDovSampleAs(w1, "G_110");
    const std::string written = pane(w1, "RichTextBox3");
    EXPECT_EQ(written.substr(written.rfind('\n') + 1), "written  300  records to ObsPARI/PARI11_G_110.txt");
    const std::string& model = desktop.app.window1.rejectedOrSavedLog.Text;  // the model keeps the Russian
    EXPECT_EQ(model.substr(model.rfind('\n') + 1), "записано  300  записей в ObsPARI/PARI11_G_110.txt");
    EXPECT_EQ(messages.size(), 1u);
    w1.grab().save(QString::fromStdString((ScreenshotFolder() / "window1_import_en.png").string()));

    Click(w1, "About*");
    FormWindow& help = desktop.Window("Form3");
    QApplication::processEvents();
    EXPECT_EQ(help.windowTitle().toStdString(), "Planova3 help");
    const QString helpText = qobject_cast<QPlainTextEdit*>(help.Widget("Text1"))->toPlainText();
    EXPECT_FALSE(HasCyrillic(helpText)) << helpText.toStdString();
    EXPECT_EQ(helpText.split('\n').size(), static_cast<int>(kHelpLines.size()));
    ExpectEnglish(help);
    help.grab().save(QString::fromStdString((ScreenshotFolder() / "help_en.png").string()));

    Click(w1, "К форме 2");
    FormWindow& w2 = desktop.Window("Form2");
    Click(w2, "Создать массивы с N=");
    Click(w2, "Загрузить в формате BDL");
    QApplication::processEvents();
    EXPECT_NE(pane(w2, "RichTextBox1").find("read in all  300  records"), std::string::npos);
    ExpectEnglish(w2);
    ExpectReadable(w2);
    auto* plot = static_cast<PictureWidget*>(w2.Widget("Picture1"));
    QStringList entries;
    const auto menu = plot->ContextMenu();
    for (QAction* action : menu->actions()) entries << action->text();
    EXPECT_EQ(entries, QStringList({"Save the plot as PNG…", "Save the plot as SVG…", "", "Show the whole plot"}));
    EXPECT_EQ(PictureWidget::SaveCaption("SVG").toStdString(), "Save the plot as SVG");  // the save dialog's title
    w2.grab().save(QString::fromStdString((ScreenshotFolder() / "window2_loaded_en.png").string()));
    Click(w2, "К форме 3");
    FormWindow& w3 = desktop.Window("Form4");
    QApplication::processEvents();
    ExpectEnglish(w3);
    ExpectReadable(w3);
    w3.grab().save(QString::fromStdString((ScreenshotFolder() / "window3_en.png").string()));
    EXPECT_EQ(messages.size(), 1u) << messages.back();

    // The start-up dialogs on an empty application folder.
    AppFolderCheck empty{true, {"Obs…", "Tab…", "FileJPL", "FileDov", "FileMPC", "Dat", "JPL"}, {}};
    for (const std::string& dialog : {AppFolderMissingText(folder, empty), AppFolderMissingText(folder / "none", {}),
                                      std::string(kAppFolderOffer), FolderNotMadeMessage(folder)}) {
      EXPECT_FALSE(HasCyrillic(Tr(dialog))) << Tr(dialog).toStdString();
    }
  }
  Desktop desktop(folder);
  desktop.Start();
  FormWindow& w1 = desktop.Window("Form1");
  EXPECT_EQ(w1.windowTitle().toStdString(), "Преобразование формата данных Planova - форма 1");
  EXPECT_EQ(ShownText(w1.Widget("Command2")).toStdString(), "Создать массивы с N=");
}

// The desktop remembers, in its settings file (here the test's own), each window's place
// and size, the boxes the user sets and the recent files, and takes them back at the next
// start, after the windows' start-up; the boxes a window fills are not remembered.
// "По умолчанию" puts the boxes back to the start-up's and forgets what was kept of them.
// The tests run with Qt's test paths, so that nothing reaches the user's own settings.
TEST(Windows, SettingsAreRememberedAndRestoreDefaultsForgetsThem) {
  EXPECT_NE(UserSettingsFile().indexOf("/.qttest/"), -1) << UserSettingsFile().toStdString();
  auto folder = test::FreshFolder("ui-settings", true);
  const QString file = QString::fromStdString((folder / "settings.ini").string());
  auto checked = [](FormWindow& w, const char* name) { return qobject_cast<QAbstractButton*>(w.Widget(name))->isChecked(); };
  {
    Desktop desktop(folder, file);
    desktop.Start();
    FormWindow& w1 = desktop.Window("Form1");
    QApplication::processEvents();
    // "Открыть…" through the window's dialog, started in the source's folder: the file
    // chosen fills the boxes shown.
    QString startedIn;
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      startedIn = dialog->directory().dirName();
      dialog->selectFile(QString::fromStdString((folder / "FileMPC" / "PARI4_2.txt").string()));
      static_cast<QDialog*>(dialog)->accept();  // QFileDialog::accept, as the Open button does
    });
    Click(w1, "Открыть…");
    EXPECT_EQ(startedIn, "FileDov");
    EXPECT_EQ(ShownText(w1.Widget("Text8")).toStdString(), "4");
    EXPECT_TRUE(checked(w1, "Option22"));
    Type(w1, "Text3", "USNO");
    Type(w1, "Text32", "2,25");
    qobject_cast<QAbstractButton*>(w1.Widget("Check2"))->click();
    Type(w1, "Text4", "J2000");  // "эпоха": the import's
    w1.resize(1000, 700);
    desktop.app.window1.Recent.Note("FileDov/PARI11_G_1.txt");
    Click(w1, "К форме 2");
    Type(desktop.Window("Form2"), "Text1", "77");
  }
  {
    Desktop desktop(folder, file);
    desktop.Start();
    FormWindow& w1 = desktop.Window("Form1");
    QApplication::processEvents();
    auto text = [&](FormWindow& w, const char* name) { return ShownText(w.Widget(name)).toStdString(); };
    EXPECT_EQ(text(w1, "Text3"), "USNO");
    EXPECT_EQ(text(w1, "Text32"), "2,25");
    EXPECT_EQ(text(w1, "Text18"), "2");
    EXPECT_TRUE(checked(w1, "Option22"));
    EXPECT_FALSE(checked(w1, "Option21"));
    EXPECT_TRUE(checked(w1, "Check2"));
    EXPECT_EQ(text(w1, "Text4"), "App");
    EXPECT_EQ(w1.size(), QSize(1000, 700));
    EXPECT_EQ(desktop.app.window1.Recent.Names, std::vector<std::string>{"FileDov/PARI11_G_1.txt"});
    // "Недавние" lists them under the button; the one chosen fills the boxes.
    QTimer::singleShot(0, [&] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      ASSERT_NE(menu, nullptr);
      menu->setActiveAction(menu->actions().back());
      QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
      QApplication::sendEvent(menu, &enter);
    });
    Click(w1, "Недавние");
    EXPECT_TRUE(checked(w1, "Option21"));
    EXPECT_EQ(text(w1, "Text3"), "PARI");
    EXPECT_EQ(text(w1, "Text18"), "1");
    Type(w1, "Text3", "USNO");
    // Window 2's start-up fills its boxes first; what the user set comes after.
    Click(w1, "К форме 2");
    FormWindow& w2 = desktop.Window("Form2");
    EXPECT_EQ(text(w2, "Text1"), "77");
    EXPECT_EQ(text(w2, "Text3"), "PARI");
    EXPECT_EQ(text(w2, "Text14"), "2,337");

    Click(w1, "По умолчанию");
    EXPECT_EQ(text(w1, "Text3"), "PARI");
    EXPECT_EQ(text(w1, "Text32"), "1,5");
    EXPECT_TRUE(checked(w1, "Option21"));
    EXPECT_FALSE(checked(w1, "Check2"));
    EXPECT_EQ(text(w2, "Text1"), "77");  // window 2 keeps its own
  }
  // Kept: what differs from the defaults only, none of window 1's boxes now.
  QSettings kept(file, QSettings::IniFormat);
  EXPECT_EQ(kept.value("Form2/boxes/Text1").toString(), "77");
  EXPECT_EQ(kept.value("Form2/boxes/Text3").toString(), "");
  kept.beginGroup("Form1");
  EXPECT_EQ(kept.childGroups(), QStringList());
  EXPECT_TRUE(kept.contains("place"));
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
  EXPECT_EQ(text->toPlainText().split('\n').size(), static_cast<int>(kHelpLines.size()));
  ExpectReadable(help);
  ASSERT_TRUE(help.grab().save(QString::fromStdString((ScreenshotFolder() / "help.png").string())));

  // Escape closes the help as "Закрыть" does, from its text too.
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(text, &escape);
  EXPECT_FALSE(help.isVisible());
  EXPECT_TRUE(w1.isVisible());
}

// Every box of the three working windows has a tip saying what it holds; the boxes and
// panes the program fills stay out of the Tab chain; the main buttons have Alt letters.
TEST(Windows, BoxesHaveTipsAndTheKeyboardSkipsOutputs) {
  auto folder = test::FreshFolder("ui-tips", true);
  Desktop desktop(folder);
  for (const char* form : {"Form1", "Form2", "Form4"}) {
    FormWindow& w = desktop.Window(form);
    for (const auto& c : w.Model().Controls()) {
      QWidget* widget = w.Widget(c.Name);
      if (c.Kind == ControlKind::kText) {
        EXPECT_FALSE(widget->toolTip().isEmpty()) << form << " " << c.Name;
      } else if (c.Kind == ControlKind::kRichText) {
        EXPECT_EQ(widget->focusPolicy(), Qt::ClickFocus) << form << " " << c.Name;
      }
    }
  }
  EXPECT_EQ(desktop.Window("Form1").Widget("Text11")->focusPolicy(), Qt::ClickFocus);  // "всего данных"
  EXPECT_EQ(desktop.Window("Form4").Widget("Text5")->focusPolicy(), Qt::ClickFocus);   // "сравнено"
  EXPECT_EQ(qobject_cast<QAbstractButton*>(desktop.Window("Form2").Widget("Command5"))->text().toStdString(),
            "&Загрузить в формате BDL");
  EXPECT_EQ(desktop.app.window2.FindButton("Загрузить в формате BDL")->Name, "Command5");  // the caption stays
  EXPECT_NE(desktop.Window("Form2").Widget("RichTextBox3")->toolTip().indexOf("T1-T2 (sec)"), -1);
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
  // A desktop screen, so that the windows open at their default size.  The file is this
  // process's own: the programs the tests start read it through QT_QPA_PLATFORM, and a
  // test process started beside this one must not rewrite it under them.
  const std::string screens =
      std::string(PLANOVA_BINARY_DIR) + "/offscreen-screens-" + std::to_string(::getpid()) + ".json";
  std::ofstream(screens) << R"({"screens": [{"name": "desktop", "x": 0, "y": 0, "width": 1920, "height": 1200,)"
                            R"( "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})";
  qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + screens.c_str());
  // Qt's test paths: no test reads or writes the user's own settings.
  QStandardPaths::setTestModeEnabled(true);
  int status = 0;
  {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    status = RUN_ALL_TESTS();
  }
  std::remove(screens.c_str());
  return status;
}
