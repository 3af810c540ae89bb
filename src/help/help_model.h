// The help window: a fixed text that explains every button of the three working
// windows, and "Закрыть".
#pragma once

#include "common/form.h"

namespace planova {

class HelpModel : public FormModel {
 public:
  HelpModel(Platform& platform, FormHost* host);

  TextBox helpText;  // the help text, lines joined by CR LF, no line end after the last

  void Load();         // builds the text
  void CloseWindow();  // "Закрыть": closes this window only
};

}  // namespace planova
