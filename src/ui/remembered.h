// What the desktop remembers of its windows between starts, in an INI file of the user's
// (QSettings): each window's place and size, the values of the boxes the user sets (text
// boxes, options and check boxes: FormModel::IsSetting, never the boxes the window fills)
// and the files it read or wrote last ("Недавние").  Only the desktop reads and writes
// it: batch mode has no desktop, so that a script runs the same on every machine.
#pragma once

#include <QString>

#include <memory>
#include <string>

class QSettings;

namespace planova::ui {

class FormWindow;

class Remembered {
 public:
  // `file`: the INI file; empty: nothing is remembered (the windows start as the models
  // start them).
  explicit Remembered(const QString& file);
  ~Remembered();
  Remembered(const Remembered&) = delete;
  Remembered& operator=(const Remembered&) = delete;

  // Puts what is kept for the window into its model and onto the window: called once,
  // after the window's start-up and before it is first shown.  A kept value that a box no
  // longer takes, or a control that no longer exists, is passed over.
  void Restore(FormWindow& window);
  // Keeps the window's place and size, the values of its boxes that differ from the
  // window's defaults, and its recent files.
  void Keep(FormWindow& window);
  // Forgets the boxes' values kept for a window ("По умолчанию"); its place, size and
  // recent files stay.
  void ForgetSettings(const std::string& form);

 private:
  std::unique_ptr<QSettings> settings_;
};

// The user's settings file: Planova/planova3.ini in the user's configuration folder
// ($XDG_CONFIG_HOME, ~/.config).
QString UserSettingsFile();

}  // namespace planova::ui
