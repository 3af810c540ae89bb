#include "ui/remembered.h"

#include <QSettings>
#include <QStringList>

#include <vector>

#include "ui/form_window.h"

namespace planova::ui {

namespace {

QString Key(const std::string& form, const char* what) { return QString::fromStdString(form) + '/' + what; }

}  // namespace

Remembered::Remembered(const QString& file) {
  if (!file.isEmpty()) settings_ = std::make_unique<QSettings>(file, QSettings::IniFormat);
}

Remembered::~Remembered() = default;

void Remembered::Restore(FormWindow& window) {
  if (!settings_) return;
  FormModel& model = window.Model();
  const std::string& form = model.Name;
  settings_->beginGroup(Key(form, "boxes"));
  for (const QString& name : settings_->childKeys()) {
    const std::string control = name.toStdString();
    // An option is kept as "1" or "0": a "0" clears that option only, never its frame's choice.
    if (model.IsSetting(control)) model.WriteControl(control, settings_->value(name).toString().toStdString());
  }
  settings_->endGroup();
  std::vector<std::string> recent;
  for (const QString& name : settings_->value(Key(form, "recent")).toStringList()) recent.push_back(name.toStdString());
  model.Recent.Assign(recent);
  const QByteArray place = settings_->value(Key(form, "place")).toByteArray();
  if (!place.isEmpty()) window.RestorePlace(place);
  window.Refresh();
}

void Remembered::Keep(FormWindow& window) {
  if (!settings_) return;
  const FormModel& model = window.Model();
  const std::string& form = model.Name;
  settings_->remove(Key(form, "boxes"));
  settings_->beginGroup(Key(form, "boxes"));
  // Only what differs from the window's defaults: a default changed in a later version of
  // the program reaches the boxes the user left as they were.
  for (const auto& [name, value] : model.ChangedSettings()) {
    settings_->setValue(QString::fromStdString(name), QString::fromStdString(value));
  }
  settings_->endGroup();
  QStringList recent;
  for (const std::string& name : model.Recent.Names) recent << QString::fromStdString(name);
  settings_->setValue(Key(form, "recent"), recent);
  settings_->setValue(Key(form, "place"), window.saveGeometry());
  settings_->sync();
}

void Remembered::ForgetSettings(const std::string& form) {
  if (!settings_) return;
  settings_->remove(Key(form, "boxes"));
  settings_->sync();
}

QString UserSettingsFile() {
  return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Planova"), QStringLiteral("planova3")).fileName();
}

}  // namespace planova::ui
