#include "ui/translation.h"

#include <QCoreApplication>
#include <QFile>
#include <QTranslator>
#include <QXmlStreamReader>
#include <algorithm>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

namespace planova::ui {

namespace {

constexpr const char* kContext = "Planova";

// The program's own phrases that its panes show beside the lines of files: placeholders,
// the counts of loads, writes and operations, the headings of the import's and the
// merge's logs, the labels of the stage logs and of the ephemeris calculator, the report of
// a BDL load on its observatory, the fitted correction of window 3.  Each is, byte for
// byte, a text the windows write (the test pane_phrases_written checks it).
constexpr const char* kPanePhrases[] = {
    "исходная запись данных", "прочитанные программой данные", "не распознанные записи", "первые данные",
    "распознанные программой записи", "ЗАБРАКОВАННЫЕ ПРОГРАММОЙ ЗАПИСИ",
    "всего прочитано  ", "  записей", "... показаны первые ", " записей из ", "записано  ", "  записей в ",
    "данные забракованные по времени наблюдения", "удалено  ", "  записей с этими датами", "упорядочена  ",
    "  запись", "координаты преобразованы в  ", "  записях", "изменено время в  ",
    "РЕЗУЛЬТАТ КОМПИЛЯЦИИ", "совпадений в датах ", "целиком вошли в объединение данные ", "2 - исходные данные   1 и 3 - преобразованные  ",
    "(если показываются изменения после сравнения, ", "то 1 и 3- это 1-е данные, а 2- это 2-е данные)",
    "(если показываются изменения после сравнения теорий, ", "то 1 - это 1-е данные, а 3- это 2-е данные)",
    "(если показываются изменения после объединения, ",
    "то 1 - это 1-е данные, 2- это 2-е данные, а 3- это суммарные)",
    "ГЕО ЭКЛ J2000         GeoL  GeoB = ", "ГЕО ЭКЛ J2000 Azv  GeoL  GeoB = ", "ГЕО ЭКЛ J2000 Apl   GeoL  GeoB = ",
    "ГЕО ЭКЛ JD              GeoL  GeoB = ", "ГЕО ЭКВ JD              GeoL  GeoB = ",
    "ГЕО ЭКВ JD  Ref      GeoL  GeoB = ", "ГЕО ЭКВ JD  Nut      GeoL  GeoB = ",
    "ГЕО ICRS геометрич.       RA  Dec = ", "ГЕО ICRS световое время   RA  Dec = ",
    "ГЕО ICRS отклонение света RA  Dec = ", "GCRS аберрация            RA  Dec = ",
    "ГЕО ЭКВ JD ср. (B+P)      RA  Dec = ", "ГЕО ЭКВ JD ист. (Nut)     RA  Dec = ",
    "    свет. время ", "    откл. ", "    аберр. ", "    смещ.+прец. ", "    нутация ",
    "\r\nТОЧНО (IAU 2006/2000A)  TT= ", "ТОЧНО (IAU 2006/2000A)   TT=  ", " сек  свет= ", " сек   свет=  ", " сек",
    "\r\nГЕО ЭКВ JD  Ref           RA  Dec = ", "\r\nрезультат ", "ГЕО астрометр. ICRS        RA=  ",
    "ГЕО GCRS (J2000)            RA=  ", "ГЕО видимое ист. JD        RA=  ", "ГЕЛИО ЭКВ   J2000         L=  ",
    "    тыс.км", "  тыс.км", "     км/с", "ГЕО   ЭКВ   J2000           L=  ", "ГЕО   ЭКВ    JD               L=  ",
    "точно (IAU 2006) — только для JPL2 и эпох App, J2000: ", " — классическая редукция", "эфемериды: ",
    ", строка ", "обсерватория ", ": нет координат (космический или подвижный наблюдатель)", "строка короче 30 знаков",
    "неверный код MPC", "неверный код", "не число", "долгота вне допустимых пределов", "расстояние от центра Земли вне 0..1,01",
    "широта вне -90..90", "высота вне -500..9000 м", "код уже был выше",
    // Window 3's fitted correction.
    "Поправка по МНК, записи №", ": O-C = a + b·(t - t0), t в годах", "не подобрана: меньше 2 записей с разными датами",
    " \"/год, t0 = ", ", ковариация a, b = ", ", корреляция ", "\", записей ", "веса 1/σ², χ²/ст. св. = ",
    "равные веса, ошибки по разбросу",
    "Поправка к загруженным данным, снимающая их O-C по прямой, записана в dLn, dLk, dBn, dBk: отметьте ",
    "\"+ скорректировать данные\" и сравните снова", "Записи, отбракованные по k·σ, в подборе не участвуют",
    // The summary of O-C (windows 2 and 3, after a run) and the refused lines of Weights.txt.
    // "все записи" stays: its English is shorter and would shift the table's columns.
    "сводка O-C: ", "отбраковка k*сигма, k = ", ", по RA и Dec совместно", ", по RA и Dec раздельно", ", итераций: ",
    " (предел: набор еще меняется)", "MAD - медиана абсолютных отклонений от медианы, без множителя 1,4826",
    "RA*cos(Dec), угловые секунды", "Dec, угловые секунды", "время, секунды",
    "группа           n   отбр.   среднее      ±ош.     сигма       rms   медиана       MAD", " хи2/ст.св.",
    "по станциям", "по годам", "отбраковано: ", "    запись    O-C RA   O-C Dec  флаг",
    "не шесть полей", "неверная дата", "последняя дата раньше первой", "сигма не число", "сигма не больше нуля",
};

using Fragments = std::vector<std::pair<QString, QString>>;

bool HasCyrillic(const QString& s) {
  return std::any_of(s.begin(), s.end(), [](QChar c) { return c.unicode() >= 0x0400 && c.unicode() <= 0x04FF; });
}

// Every fragment of `table` found in `text` replaced, the longest first.
QString Replace(QString text, const Fragments& table) {
  if (!HasCyrillic(text)) return text;
  for (const auto& [from, to] : table) {
    if (text.contains(from)) text.replace(from, to);
  }
  return text;
}

struct English {
  QTranslator translator;
  Fragments all;    // every source text of the translation, the longest first
  Fragments panes;  // the pane phrases, the longest first
  std::unordered_map<std::string, QString> cache;  // captions and messages already translated

  bool Load() {
    if (!translator.load(QStringLiteral(":/i18n/planova3_en.qm"))) return false;
    // The source texts are those of the .ts file the .qm was built from.
    QFile ts(QStringLiteral(":/i18n/planova3_en.ts"));
    if (!ts.open(QIODevice::ReadOnly)) return false;
    QXmlStreamReader xml(&ts);
    while (!xml.atEnd()) {
      if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QStringLiteral("source")) {
        QString source = xml.readElementText();
        QString english = translator.translate(kContext, source.toUtf8().constData());
        if (!english.isEmpty()) all.emplace_back(source, english);
      }
    }
    if (xml.hasError() || all.empty()) return false;
    auto longestFirst = [](const auto& a, const auto& b) { return a.first.size() > b.first.size(); };
    std::stable_sort(all.begin(), all.end(), longestFirst);
    for (const char* phrase : kPanePhrases) {
      QString russian = QString::fromUtf8(phrase);
      QString english = translator.translate(kContext, phrase);
      if (!english.isEmpty()) panes.emplace_back(russian, english);
    }
    std::stable_sort(panes.begin(), panes.end(), longestFirst);
    return true;
  }
};

std::unique_ptr<English>& Current() {
  static std::unique_ptr<English> english;
  return english;
}

}  // namespace

bool LanguageFromName(const std::string& name, Language& language) {
  if (name == "ru") {
    language = Language::kRussian;
  } else if (name == "en") {
    language = Language::kEnglish;
  } else {
    return false;
  }
  return true;
}

Language LanguageOfLocale(const QLocale& locale) {
  if (locale.language() == QLocale::Russian || locale.language() == QLocale::C) return Language::kRussian;
  return Language::kEnglish;
}

bool UseLanguage(Language language) {
  auto& current = Current();
  if (current) QCoreApplication::removeTranslator(&current->translator);
  current.reset();
  if (language == Language::kRussian) return true;
  auto english = std::make_unique<English>();
  if (!english->Load()) return false;
  QCoreApplication::installTranslator(&english->translator);
  current = std::move(english);
  return true;
}

Language CurrentLanguage() { return Current() ? Language::kEnglish : Language::kRussian; }

QString Tr(const std::string& text) {
  English* english = Current().get();
  if (!english) return QString::fromStdString(text);
  auto it = english->cache.find(text);
  if (it != english->cache.end()) return it->second;
  QString translated = Replace(QString::fromStdString(text), english->all);
  // Captions come back again and again; messages built from paths and numbers seldom do.
  if (english->cache.size() > 4096) english->cache.clear();
  english->cache.emplace(text, translated);
  return translated;
}

QString TrPane(const std::string& text) {
  English* english = Current().get();
  if (!english) return QString::fromStdString(text);
  return Replace(QString::fromStdString(text), english->panes);
}

}  // namespace planova::ui
