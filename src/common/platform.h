// The few services the window models ask of the desktop: a message box, a yes/no question, the focus of a
// control, the busy pointer, processing of pending window events and the application folder.
// The Qt front end and the batch runner each provide one; tests provide a recorder.
#pragma once

#include <filesystem>
#include <string>

namespace planova {

class Platform {
 public:
  virtual ~Platform() = default;

  // A modal message box with one OK button.  Texts are UTF-8.
  virtual void ShowMessage(const std::string& text, const std::string& title) = 0;
  void ShowMessage(const std::string& text) { ShowMessage(text, "Planova"); }

  // A modal question with the buttons Yes and No (title "Planova"); true for Yes.  Asked
  // before an operation that would lose data (a file replaced, merged data not written).
  virtual bool Ask(const std::string& text) = 0;

  // Puts the keyboard focus into a control of a window (a box whose text was refused),
  // so that the user can correct it at once.  Platforms without windows ignore it.
  virtual void FocusControl(const std::string& form, const std::string& control) {
    (void)form;
    (void)control;
  }

  // The hourglass pointer while a button works; false restores the normal pointer.
  virtual void SetBusyPointer(bool busy) = 0;

  // Lets the window handle pending events (a "Stop" button) inside long loops.
  virtual void ProcessEvents() = 0;

  // The folder below which Obs…, Tab…, FileJPL, FileDov, Dat and JPL lie.
  virtual std::filesystem::path AppFolder() const = 0;
};

// Shows the busy pointer for the life of the object and restores the normal one at
// every exit of a button's operation, also after a message or an exception.
class BusyPointer {
 public:
  explicit BusyPointer(Platform& platform) : platform_(platform) { platform_.SetBusyPointer(true); }
  ~BusyPointer() { platform_.SetBusyPointer(false); }
  BusyPointer(const BusyPointer&) = delete;
  BusyPointer& operator=(const BusyPointer&) = delete;

 private:
  Platform& platform_;
};

}  // namespace planova
