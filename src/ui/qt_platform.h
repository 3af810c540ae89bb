// The desktop platform: Qt message boxes, the wait cursor and event processing.
#pragma once

#include <QElapsedTimer>
#include <QWidget>
#include <functional>

#include "common/platform.h"

namespace planova::ui {

class QtPlatform : public Platform {
 public:
  explicit QtPlatform(std::filesystem::path appFolder) : folder_(std::move(appFolder)) {}

  // The message in the chosen language (translation.h).
  void ShowMessage(const std::string& text, const std::string& title) override;
  // A Yes/No box in the chosen language; the hook, when set, answers Yes.
  bool Ask(const std::string& text) override;
  // A file dialog (open, or save without the question of replacing: the writer asks
  // that), or for a list a menu under the button pressed (saying so when the list is
  // empty).
  std::optional<std::filesystem::path> ChooseFile(const FileRequest& request) override;
  // Focuses the control's widget in the form's window, when that window is shown.
  void FocusControl(const std::string& form, const std::string& control) override;
  void SetBusyPointer(bool busy) override;
  void ProcessEvents() override;
  std::filesystem::path AppFolder() const override { return folder_; }

  bool Busy() const { return busy_; }
  // Called inside ProcessEvents before events are handled (the windows refresh their
  // widgets from the models so that progress shows during long loops).
  std::function<void()> BeforeEvents;
  // When set, messages go here, as the box would show them, instead of a modal box (GUI tests).
  std::function<void(const std::string&, const std::string&)> MessageHook;
  // The window a message box belongs to.
  QWidget* MessageParent = nullptr;

 private:
  std::filesystem::path folder_;
  bool busy_ = false;
  QElapsedTimer sinceRefresh_;
};

}  // namespace planova::ui
