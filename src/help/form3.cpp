#include "help/form3.h"

#include "help/help_text.h"

namespace planova {

Form3::Form3(Platform& platform, FormHost* host)
    : FormModel("Form3", "Справка по работе программы Planova3", platform, host) {
  AddText("Text1", Text1);
  AddButton("Command1", "Закрыть", [this] { CloseButton(); });
}

void Form3::Load() {
  std::string text;
  for (size_t i = 0; i < kHelpLines.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += kHelpLines[i];
  }
  Text1.Text = text;
}

void Form3::CloseButton() { CloseForms({Name}); }

}  // namespace planova
