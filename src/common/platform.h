// The few services the window models ask of the desktop: a message box, a yes/no question, a file to
// choose, the focus of a control, the busy pointer, processing of pending window events and the application folder.
// The Qt front end and the batch runner each provide one; tests provide a recorder.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace planova {

// What a button asks the user to choose: a file through a file dialog that starts in a
// folder of the application folder, or one of a list of files (the recent ones).
struct FileRequest {
  std::string Title;              // the dialog's or the list's title
  std::filesystem::path Folder;   // where the dialog starts
  std::string Name;               // the file the boxes name now (selected when it is there)
  std::string Filter;             // "Файлы BDL (*.txt)"
  bool ForWriting = false;        // a file to write: a name not yet there may be given
  bool FromList = false;          // a choice among `Listed` (perhaps none) instead of a dialog
  std::vector<std::string> Listed;  // names relative to the application folder
  std::string NoneListed;           // what the list says when it lists none
};

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

  // The file the user chose (absolute, or relative to the application folder), or nothing
  // when the choice was cancelled.  Platforms without windows answer with the file a
  // script named, or nothing.
  virtual std::optional<std::filesystem::path> ChooseFile(const FileRequest& request) {
    (void)request;
    return std::nullopt;
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
