#include "app/application.h"

namespace planova {

Application::Application(Platform& platform)
    : Ui(platform),
      form1(platform, this, Astro, Store),
      form2(platform, this, Astro, Store),
      form3(platform, this),
      form4(platform, this, Astro, Store) {
  Astro.AppFolder = [&platform] { return platform.AppFolder(); };
  open_.insert("Form1");
  loaded_.insert("Form1");
}

FormModel* Application::Form(const std::string& name) {
  if (name == "Form1") return &form1;
  if (name == "Form2") return &form2;
  if (name == "Form3") return &form3;
  if (name == "Form4") return &form4;
  return nullptr;
}

void Application::ShowForm(const std::string& name) {
  if (!Form(name)) return;
  if (loaded_.insert(name).second) {
    if (name == "Form2") form2.Load();
    if (name == "Form3") form3.Load();
    if (name == "Form4") form4.Load();
  }
  if (name == "Form2") form2.Activate();
  if (name == "Form4") form4.Activate();
  bool opened = open_.insert(name).second;
  if (OnVisibility) OnVisibility(name, true);
  (void)opened;
}

void Application::CloseForm(const std::string& name) {
  if (open_.erase(name) == 0) return;
  if (OnVisibility) OnVisibility(name, false);
}

}  // namespace planova
