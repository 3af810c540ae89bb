#include "help/help_model.h"

#include "help/help_text.h"

namespace planova {

HelpModel::HelpModel(Platform& platform, FormHost* host)
    : FormModel("Form3", "Справка по работе программы Planova3", platform, host) {
  AddText("Text1", Text1);
  AddButton("Command1", "Закрыть", [this] { CloseButton(); });
}

void HelpModel::Load() {
  std::string text;
  for (size_t i = 0; i < kHelpLines.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += kHelpLines[i];
  }
  Text1.Text = text;
}

void HelpModel::CloseButton() { CloseForms({Name}); }

}  // namespace planova
