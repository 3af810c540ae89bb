// A window built from a window model: one widget per control, named by the control's
// name, placed by the window's layout.  Widgets write what the user types or chooses
// straight into the model; after every button (and while a long loop processes events)
// the widgets are refreshed from the model.
#pragma once

#include <QRect>
#include <QWidget>
#include <functional>
#include <map>

#include "common/form.h"

namespace planova::ui {

class FormWindow : public QWidget {
 public:
  FormWindow(FormModel& model, QWidget* parent = nullptr);

  FormModel& Model() { return model_; }
  // Copies the model's texts and choices into the widgets.
  void Refresh();
  // The widget of a control, or null.
  QWidget* Widget(const std::string& name) const;

  // Called when the user closes the window with its title-bar button.
  std::function<void()> OnUserClose;
  // Set by the application while it hides the window itself.
  bool closingFromModel = false;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  FormModel& model_;
  std::map<std::string, QWidget*> widgets_;
  std::map<std::string, QRect> places_;  // the layout's rectangle of each control
  // The text a multi-line box or pane shows for its model text, in the chosen language.
  QString ShownText(const ControlEntry& c, const std::string& text);
  std::map<std::string, std::pair<std::string, QString>> shown_;  // by control: model text, shown text
};

}  // namespace planova::ui
