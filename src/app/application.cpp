#include "app/application.h"

#include "models/messages.h"

namespace planova {

Application::Application(Platform& platform)
    : Ui(platform),
      window1(platform, this, Astro, Store),
      window2(platform, this, Astro, Store),
      help(platform, this),
      window3(platform, this, Astro, Store) {
  Astro.SetAppFolder([&platform] { return platform.AppFolder(); });
  open_.insert("Form1");
  loaded_.insert("Form1");
  window1.NoteDefaults();
}

FormModel* Application::Form(const std::string& name) {
  if (name == "Form1") return &window1;
  if (name == "Form2") return &window2;
  if (name == "Form3") return &help;
  if (name == "Form4") return &window3;
  return nullptr;
}

void Application::ShowForm(const std::string& name) {
  if (!Form(name)) return;
  if (loaded_.insert(name).second) {
    if (name == "Form2") window2.Load();
    if (name == "Form3") help.Load();
    if (name == "Form4") window3.Load();
    // What the start-up put in is what "По умолчанию" puts back.
    Form(name)->NoteDefaults();
  }
  if (name == "Form2") window2.Activate();
  if (name == "Form4") window3.Activate();
  bool opened = open_.insert(name).second;
  if (OnVisibility) OnVisibility(name, true);
  (void)opened;
}

void Application::CloseForm(const std::string& name) {
  if (open_.erase(name) == 0) return;
  if (OnVisibility) OnVisibility(name, false);
}

void Application::CloseByUser(const std::string& name) {
  if (open_.size() == 1 && open_.count(name) && !ConfirmUnsavedExit(Ui, Store)) return;
  CloseForm(name);
}

}  // namespace planova
