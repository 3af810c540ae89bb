// Batch mode: runs the window models from a script without showing windows, so that a
// whole processing path can be repeated on many catalogues.
//
// The script is UTF-8 text, one command a line; blank lines and lines starting with "#"
// are skipped:
//   set FORM.CONTROL VALUE     VALUE is the rest of the line (options and checks: 1 or 0)
//   press FORM BUTTON          BUTTON is the exact caption or the control name
//   print FORM.CONTROL         writes the control's text, then a line end
//   click FORM.CONTROL X Y left|right   a mouse press on a picture box (user scale)
//   save FORM.CONTROL FILE     writes what a picture box shows as a PNG file
//   answer yes|no              the answer to the questions that follow
//   open FORM.BUTTON FILE      presses a button that asks for a file ("Открыть…",
//                              "Недавние") and chooses FILE (relative to the
//                              application folder, or absolute)
// Every message box prints "MESSAGE TITLE: TEXT" (CR LF inside written as \n) and counts
// as answered with OK; every question prints "QUESTION TITLE: TEXT" and takes the answer
// of the last "answer" line read so far (yes before any).
#pragma once

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/platform.h"

namespace planova {

class Application;

// The platform of batch mode: messages and questions go to standard output, the pointer and pending
// events are no-ops.
class BatchPlatform : public Platform {
 public:
  BatchPlatform(std::ostream& out, std::filesystem::path appFolder) : out_(out), folder_(std::move(appFolder)) {}
  void ShowMessage(const std::string& text, const std::string& title) override;
  bool Ask(const std::string& text) override;
  // The answer the script gave last ("answer yes|no").
  void SetAnswer(bool yes) { answer_ = yes; }
  // The file of an "open" line for the button it presses; a button that asks for a file
  // with none given gets nothing (as a cancelled dialog) and is noted as unanswered.
  std::optional<std::filesystem::path> ChooseFile(const FileRequest& request) override;
  void SetChosenFile(std::optional<std::filesystem::path> file) { chosen_ = std::move(file); }
  // Whether a file was asked for since the last call (and whether it was given).
  bool TakeFileAsked() { return std::exchange(fileAsked_, false); }
  bool TakeFileUnanswered() { return std::exchange(fileUnanswered_, false); }
  // The messages shown so far (a button that refuses before it asks for a file shows one).
  long MessagesShown() const { return messages_; }
  void SetBusyPointer(bool busy) override { busy_ = busy; }
  void ProcessEvents() override {}
  std::filesystem::path AppFolder() const override { return folder_; }
  bool Busy() const { return busy_; }

 private:
  std::ostream& out_;
  std::filesystem::path folder_;
  bool busy_ = false;
  bool answer_ = true;
  std::optional<std::filesystem::path> chosen_;
  bool fileAsked_ = false, fileUnanswered_ = false;
  long messages_ = 0;
};

// Picture-box services that need a renderer (provided by the front end).
struct PictureActions {
  // Writes the picture box's image to a PNG file; false when it cannot.
  std::function<bool(const std::string& form, const std::string& control, const std::filesystem::path& file)> Save;
};

// A script command as --help lists it: its word, what follows it and what it does.
struct BatchCommandHelp {
  std::string verb, arguments, meaning;
};
// The commands the runner knows, from its own command table.
std::vector<BatchCommandHelp> BatchCommands();

// Runs the script; returns the exit status: 0 at the end of the script (or when the
// program ends by "Выход"), 2 after a bad line, which is reported on `err`.
int RunBatchScript(Application& app, std::istream& script, std::ostream& out, std::ostream& err,
                   const PictureActions& pictures = {});

}  // namespace planova
