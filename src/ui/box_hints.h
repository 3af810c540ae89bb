// What the keyboard and the mouse pointer add to the windows, by the controls' registry
// names: a tip on every box saying what it holds and in which units, the button that Enter
// presses in a box, the boxes the program fills (outside the Tab chain), and the letters
// of the main buttons' Alt shortcuts.  The window models know nothing of these; the
// captions, the registry names and the batch scripts stay as they are.
#pragma once

#include <QString>

#include <span>
#include <string>

namespace planova::ui {

struct BoxHint {
  const char* form;  // "Form1", "Form2", "Form4" (window 3)
  const char* name;  // the box's registry name
  const char* tip;   // in Russian; the translation gives the English
};

struct EnterButton {
  const char* form;
  const char* box;
  const char* button;
};

struct Mnemonic {
  const char* form;
  const char* button;
  int russianAt;              // the place of the letter of the Russian caption marked with "&"
  const char* englishLetter;  // the letter of the English caption
};

std::span<const BoxHint> BoxHints();
// The tip of a box, or null.
const char* TipOf(const std::string& form, const std::string& name);
// The button Enter presses in a box, or null.
const char* EnterButtonOf(const std::string& form, const std::string& box);
// True for a box or pane the program fills: it takes focus on a click only.
bool FilledByProgram(const std::string& form, const std::string& name);
// A button's shown caption with its Alt letter marked ("&"), when it has one.
QString WithMnemonic(const std::string& form, const std::string& button, const QString& shown, bool english);

}  // namespace planova::ui
