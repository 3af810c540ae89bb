#include "ui/box_hints.h"

#include <algorithm>
#include <iterator>
#include <string_view>

namespace planova::ui {

namespace {

// Window 1's seventeen column boxes "Text1(0)" … "Text1(16)" share the tip of "Text1(*)".
constexpr BoxHint kHints[] = {
    // Window 1: import and the BDL file.
    {"Form1", "Text10", "Число строк массивов наблюдений, которые создает кнопка \"Создать массивы с N=\" (целое)"},
    {"Form1", "Text3", "Код обсерватории, с которого начинаются имена файлов (например PARI)"},
    {"Form1", "Text8", "Номер объекта наблюдения в именах файлов (например 11)"},
    {"Form1", "Text18", "Номер таблицы или файла, которые загружает кнопка \"Загрузить исходные данные из\"; Enter - загрузить"},
    {"Form1", "Text11", "Сколько записей прочитано при последней загрузке (заполняет программа)"},
    {"Form1", "Text12", "Сколько записей распознано при последней загрузке (заполняет программа)"},
    {"Form1", "Text13", "Сколько записей забраковано при последней загрузке (заполняет программа)"},
    {"Form1", "Text1(*)", "Буква столбца таблицы, в котором лежит поле, подписанное над окошком"},
    {"Form1", "Text9", "Часть имени файла BDL после кода обсерватории, номера объекта и \"_\""},
    {"Form1", "Text2", "Метка шкалы времени в записях BDL (UT, ET)"},
    {"Form1", "Text4", "Метка эпохи координат в записях BDL (App - видимые на дату, J2000, B1950)"},
    {"Form1", "Text5", "Инструмент, которым сделаны наблюдения (текст в записях BDL)"},
    {"Form1", "Text6", "Фокусное расстояние инструмента, сантиметры"},
    {"Form1", "Text7", "Вид наблюдений: Trans (меридианные), Micro (микрометр), Photo (фотография), CCD"},
    {"Form1", "Text14", "Наблюдавшийся край диска: C (центр), N, S, E или W"},
    {"Form1", "Text15", "Положение зажима инструмента: E или W"},
    {"Form1", "Text16", "Инициалы наблюдателя"},
    {"Form1", "Text17", "Ссылка на публикацию наблюдений"},
    {"Form1", "Text32", "День месяца с дробной частью (1,5 - полдень) для перевода в юлианскую дату кнопкой G->J"},
    {"Form1", "Text33", "Месяц (1-12) для перевода в юлианскую дату"},
    {"Form1", "Text34", "Год для перевода в юлианскую дату"},
    {"Form1", "Text24", "Юлианская дата, сутки, для перевода в календарную дату кнопкой J->G"},
    // Window 2: sets, conversions, comparison and plot.
    {"Form2", "Text10", "Число строк массивов данных, которые создает кнопка \"Создать массивы с N=\" (целое)"},
    {"Form2", "Text3", "Код обсерватории, с которого начинаются имена файлов (например PARI)"},
    {"Form2", "Text8", "Номер объекта наблюдения в именах файлов (например 11)"},
    {"Form2", "Text1", "Номер файла BDL, который загружает кнопка \"Загрузить в формате BDL\"; Enter - загрузить"},
    {"Form2", "Text14", "Долгота обсерватории, градусы"},
    {"Form2", "Text15", "Широта обсерватории, градусы"},
    {"Form2", "Text11", "Метка шкалы времени загруженных данных (UT, ET)"},
    {"Form2", "Text12", "Метка эпохи координат загруженных данных (App, J2000, B1950)"},
    {"Form2", "Text16", "Номер первой записи, которую пишет кнопка \"Записать результат в\""},
    {"Form2", "Text17", "Номер последней записи, которую пишет кнопка \"Записать результат в\""},
    {"Form2", "Text2", "Имя файла результата после приставки, показанной слева"},
    {"Form2", "Text5", "Допуск по времени, секунды: записи, которые ближе по времени, считаются одной датой (Почистить, Объединить, Сравнить)"},
    {"Form2", "Text18", "ET-UT, секунды, последнего изменения времени или теоретического места; после \"LT- UT\" - LT-UT, часы (заполняет программа)"},
    {"Form2", "Text23", "Год даты: эпохи Other, первой записи данных JPL0, кнопки DE405"},
    {"Form2", "Text22", "Месяц (1-12) той же даты"},
    {"Form2", "Text21", "День месяца с дробной частью (1,5 - полдень) той же даты"},
    {"Form2", "Text27", "Год последней записи данных 1, созданных по теории JPL0"},
    {"Form2", "Text9", "Годичная аберрация последней записи, угловые секунды (заполняет программа)"},
    {"Form2", "Text13", "Планетная аберрация (световое время) последней записи, угловые секунды (заполняет программа)"},
    {"Form2", "Text4", "Рефракция последней записи, угловые секунды (заполняет программа)"},
    {"Form2", "Text7", "Нутация последней записи, угловые секунды (заполняет программа)"},
    {"Form2", "Text19", "Масштаб рисунка по времени, лет на сантиметр"},
    {"Form2", "Text20", "Масштаб рисунка по разностям, угловых секунд на сантиметр (для dT - секунд времени)"},
    {"Form2", "Text6", "Сдвиг нулевой линии рисунка, угловые секунды (для dT - секунды времени)"},
    {"Form2", "Check21", "Масштабы рисунка по данным прогона: время и разности занимают весь рисунок (окошки MT, MdP и +dP не учитываются)"},
    {"Form2", "Text24", "Номер цвета точек dL на рисунке (0-13)"},
    {"Form2", "Text25", "Номер цвета точек dB на рисунке (0-13)"},
    {"Form2", "Text26", "Номер цвета точек dT на рисунке (0-13)"},
    {"Form2", "Text28", "k отбраковки: записи, чьи O-C дальше k сигм от среднего, не входят в сводку"},
    {"Form2", "Text29", "Номера записей, исключаемых из сводки вручную, и их диапазоны через точку с запятой (5; 12-14); +N - оставить запись N"},
    // One literal, so that the translation takes it whole.
    {"Form2", "RichTextBox3", "Что сделала последняя операция. В строках сравнения T1-T2 (sec) - время записи данных 1 минус время совпавшей с ней записи данных 2, секунды (с теорией - минус ET-UT, когда время теории переведено в ET); L1-L2 и B1-B2 (sec) - разности долгот и широт, угловые секунды"},
    // Window 3: the correction of one set.
    {"Form4", "Text10", "Число строк массивов данных, которые создает кнопка \"Создать массивы с N=\" (целое)"},
    {"Form4", "Text3", "Код обсерватории, с которого начинаются имена файлов (например PARI)"},
    {"Form4", "Text8", "Номер объекта наблюдения в именах файлов (например 11)"},
    {"Form4", "Text1", "Номер файла BDL, который загружает кнопка \"Загрузить в формате BDL\"; Enter - загрузить"},
    {"Form4", "Text2", "Номер файла, в который кнопка \"Записать результат в файл\" пишет записи с №1 по №2"},
    {"Form4", "Text16", "Номер записи №1, первой для сравнения и записи в файл (левый щелчок на рисунке)"},
    {"Form4", "Text17", "Номер записи №2, последней для сравнения и записи в файл (правый щелчок на рисунке)"},
    {"Form4", "Text23", "Год записи №1"},
    {"Form4", "Text22", "Месяц записи №1"},
    {"Form4", "Text21", "День записи №1 с дробной частью"},
    {"Form4", "Text26", "Год записи №2"},
    {"Form4", "Text25", "Месяц записи №2"},
    {"Form4", "Text24", "День записи №2 с дробной частью"},
    {"Form4", "Text29", "Год записи, которая сравнивается сейчас (заполняет программа)"},
    {"Form4", "Text28", "Месяц записи, которая сравнивается сейчас (заполняет программа)"},
    {"Form4", "Text27", "День записи, которая сравнивается сейчас (заполняет программа)"},
    {"Form4", "Text5", "Сколько записей сравнено (заполняет программа)"},
    {"Form4", "Text18", "ET-UT сравниваемой записи, секунды (заполняет программа)"},
    {"Form4", "Text30", "Поправка долготы на дату записи №1, угловые секунды (между №1 и №2 меняется линейно)"},
    {"Form4", "Text31", "Поправка долготы на дату записи №2, угловые секунды"},
    {"Form4", "Text11", "Поправка широты на дату записи №1, угловые секунды (между №1 и №2 меняется линейно)"},
    {"Form4", "Text12", "Поправка широты на дату записи №2, угловые секунды"},
    {"Form4", "Text41", "Верхний предел отклонения по долготе, угловые секунды, для средних dLsr, dBsr"},
    {"Form4", "Text42", "Нижний предел отклонения по долготе, угловые секунды, для средних dLsr, dBsr"},
    {"Form4", "Text43", "Верхний предел отклонения по широте, угловые секунды, для средних dLsr, dBsr"},
    {"Form4", "Text44", "Нижний предел отклонения по широте, угловые секунды, для средних dLsr, dBsr"},
    {"Form4", "Text45", "k отбраковки: записи, чьи O-C дальше k сигм от среднего, не входят в сводку и подбор поправки"},
    {"Form4", "Text7", "Отклонение по долготе сравниваемой записи, угловые секунды (заполняет программа)"},
    {"Form4", "Text9", "Отклонение по широте сравниваемой записи, угловые секунды (заполняет программа)"},
    {"Form4", "Text32", "Среднее отклонение по долготе, угловые секунды (заполняет программа)"},
    {"Form4", "Text33", "Среднее отклонение по широте, угловые секунды (заполняет программа)"},
    {"Form4", "Text19", "Масштаб рисунка по времени, лет на сантиметр"},
    {"Form4", "Text20", "Масштаб рисунка по отклонениям, угловых секунд на сантиметр"},
    {"Form4", "Text6", "Высота нулевой линии рисунка, сантиметры"},
    {"Form4", "Check18", "Масштабы рисунка по данным прогона: время и отклонения занимают весь рисунок (окошки MT, MdP и +dP не учитываются)"},
};

// Enter in a box presses the button the box belongs to: the count beside "Создать
// массивы", the file number of a load, the date of the converter and of the calculator.
// No box presses a button that writes a file.
constexpr EnterButton kEnterButtons[] = {
    {"Form1", "Text10", "Command2"}, {"Form1", "Text18", "Command3"}, {"Form1", "Text32", "Command17"},
    {"Form1", "Text33", "Command17"}, {"Form1", "Text34", "Command17"}, {"Form1", "Text24", "Command18"},
    {"Form2", "Text10", "Command6"}, {"Form2", "Text1", "Command5"}, {"Form2", "Text23", "Command8"},
    {"Form2", "Text22", "Command8"}, {"Form2", "Text21", "Command8"},
    {"Form4", "Text10", "Command6"}, {"Form4", "Text1", "Command5"},
};

// The boxes the program writes and the user only reads (panes included below).
constexpr std::pair<const char*, const char*> kFilled[] = {
    {"Form1", "Text11"}, {"Form1", "Text12"}, {"Form1", "Text13"},
    {"Form2", "Text18"}, {"Form2", "Text9"}, {"Form2", "Text13"}, {"Form2", "Text4"}, {"Form2", "Text7"},
    {"Form4", "Text29"}, {"Form4", "Text28"}, {"Form4", "Text27"}, {"Form4", "Text5"}, {"Form4", "Text18"},
    {"Form4", "Text7"}, {"Form4", "Text9"}, {"Form4", "Text32"}, {"Form4", "Text33"},
};

// The Russian letter is given by its place in the caption, so that no lone Cyrillic letter
// joins the translated texts.
constexpr Mnemonic kMnemonics[] = {
    {"Form1", "Command2", 0, "C"}, {"Form1", "Command3", 0, "L"}, {"Form1", "Command4", 27, "B"},
    {"Form2", "Command6", 0, "C"}, {"Form2", "Command5", 0, "L"}, {"Form2", "Command12", 1, "m"},
    {"Form4", "Command6", 0, "C"}, {"Form4", "Command5", 0, "L"}, {"Form4", "Command12", 1, "m"},
};

// "Text1(7)" is looked up as "Text1(*)".
std::string TableName(const std::string& name) {
  const size_t open = name.find('(');
  return open == std::string::npos ? name : name.substr(0, open) + "(*)";
}

}  // namespace

std::span<const BoxHint> BoxHints() { return kHints; }

const char* TipOf(const std::string& form, const std::string& name) {
  const std::string key = TableName(name);
  for (const BoxHint& h : kHints) {
    if (form == h.form && key == h.name) return h.tip;
  }
  return nullptr;
}

const char* EnterButtonOf(const std::string& form, const std::string& box) {
  for (const EnterButton& e : kEnterButtons) {
    if (form == e.form && box == e.box) return e.button;
  }
  return nullptr;
}

bool FilledByProgram(const std::string& form, const std::string& name) {
  if (name.rfind("RichTextBox", 0) == 0) return true;
  return std::any_of(std::begin(kFilled), std::end(kFilled),
                     [&](const auto& f) { return form == f.first && name == f.second; });
}

QString WithMnemonic(const std::string& form, const std::string& button, const QString& shown, bool english) {
  for (const Mnemonic& m : kMnemonics) {
    if (form != m.form || button != m.button) continue;
    const qsizetype at = english ? shown.indexOf(QLatin1String(m.englishLetter)) : m.russianAt;
    if (at < 0 || at >= shown.size() || shown.contains('&')) return shown;
    return shown.left(at) + '&' + shown.mid(at);
  }
  return shown;
}

}  // namespace planova::ui
