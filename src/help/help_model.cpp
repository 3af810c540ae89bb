#include "help/help_model.h"

#include "help/help_text.h"

namespace planova {

HelpModel::HelpModel(Platform& platform, FormHost* host)
    : FormModel("Form3", "Справка по работе программы Planova3", platform, host) {
  AddText("Text1", helpText);
  AddButton("Command1", "Закрыть", [this] { CloseWindow(); });
  // The text is the window's own: no setting of the user.
  static constexpr const char* kFilled[] = {"Text1"};
  SetFilledBoxes(kFilled);
}

void HelpModel::Load() {
  std::string text;
  for (size_t i = 0; i < kHelpLines.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += kHelpLines[i];
  }
  helpText.Text = text;
}

void HelpModel::CloseWindow() { CloseForms({Name}); }

}  // namespace planova
