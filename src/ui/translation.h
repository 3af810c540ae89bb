// The language of the windows: the program's own Russian texts, or their English
// translation (translations/planova3_en.ts, built into the program as a .qm file).
//
// The window models keep their Russian texts, and the files the program writes stay
// Russian; only what the windows show is translated, here in the front end.  Many texts
// are built at run time ("Ошибка записи в файл" + a path), so a text is translated whole
// when the translation knows it, and otherwise fragment by fragment: every known Russian
// text in it is replaced by its translation, the longest first, while paths, numbers and
// names pass through unchanged.
#pragma once

#include <QLocale>
#include <QString>
#include <string>

namespace planova::ui {

enum class Language { kRussian, kEnglish };

// "ru" or "en", as given to --lang; false for anything else.
bool LanguageFromName(const std::string& name, Language& language);
// The language for a system locale: Russian for a Russian locale and for the C (POSIX)
// locale of a machine that has chosen none, English for every other.
Language LanguageOfLocale(const QLocale& locale);

// Chooses the language of the windows made from now on and of the messages.  False when
// the English translation cannot be loaded (the windows then stay Russian).
bool UseLanguage(Language language);
Language CurrentLanguage();

// A caption or message of the program in the chosen language.
QString Tr(const std::string& text);

// A pane's text in the chosen language: the lines of files stay as they are, only the
// program's own phrases of the panes (placeholders, counts, headings of its logs) are
// translated.
QString TrPane(const std::string& text);

}  // namespace planova::ui
