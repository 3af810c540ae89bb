// The program's windows and shared state: the astronomy module's state, the
// observation store, and windows 1, 2 and the help window.  The Qt front end and the
// batch runner both drive this object; it keeps which windows are open.
#pragma once

#include <functional>
#include <memory>
#include <set>
#include <string>

#include "astro/astronomy.h"
#include "common/form.h"
#include "common/obs_store.h"
#include "help/help_model.h"
#include "window1/window1_model.h"
#include "window2/window2_model.h"
#include "window3/window3_model.h"

namespace planova {

class Application : public FormHost {
 public:
  explicit Application(Platform& platform);

  Platform& Ui;
  Astronomy Astro;
  ObservationStore Store;
  Window1Model window1;
  Window2Model window2;
  HelpModel help;
  Window3Model window3;

  // A window by its name ("Form1" …), or null.
  FormModel* Form(const std::string& name);
  bool IsOpen(const std::string& name) const { return open_.count(name) > 0; }
  bool AnyOpen() const { return !open_.empty(); }

  // Opens a window (its load step runs the first time, its activation every time).
  void ShowForm(const std::string& name) override;
  void CloseForm(const std::string& name) override;
  // A window closed by the user: the last one ends the program, which asks first when
  // data of set 3 has not been written.
  void CloseByUser(const std::string& name);

  // Told whenever a window opens (true) or closes (false).
  std::function<void(const std::string&, bool)> OnVisibility;

 private:
  std::set<std::string> open_;
  std::set<std::string> loaded_;
};

}  // namespace planova
