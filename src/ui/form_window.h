// A window built from a window model: one widget per control, named by the control's
// name, placed by the window's layout.  The window can be resized: the controls lie on a
// canvas inside a scroll area, placed by the layout's table and its rules of what grows
// (ui/layouts.h); below the layout's smallest useful size the canvas keeps that size and
// scrolls.  Widgets write what the user types or chooses
// straight into the model; after every button (and while a long loop processes events)
// the widgets are refreshed from the model.
#pragma once

#include <QRect>
#include <QScrollArea>
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
  // The widget the controls lie on, and the scroll area that shows it.
  QWidget* Canvas() const { return canvas_; }
  QScrollArea* Scroller() const { return scroller_; }
  // Sizes the window to open within a screen's available area (at most its default size).
  void FitInto(const QRect& available);
  // The place and size kept from an earlier start (QWidget::saveGeometry), taken instead
  // of the default size when the window is first shown.
  void RestorePlace(const QByteArray& place);

  // Called when the user closes the window with its title-bar button.
  std::function<void()> OnUserClose;
  // Set by the application while it hides the window itself.
  bool closingFromModel = false;

 protected:
  void closeEvent(QCloseEvent* event) override;
  // Escape closes the help window, as its "Закрыть" does.
  void keyPressEvent(QKeyEvent* event) override;
  void setVisible(bool visible) override;

 private:
  // Places every control for the canvas's present size.
  void PlaceControls();
  void PlacePicture(const ControlEntry& c, QWidget* w);
  // Tips, Enter, focus and the Tab order from ui/box_hints.h.
  void AddKeyboardAndTips();

  FormModel& model_;
  std::map<std::string, QWidget*> widgets_;
  std::map<std::string, QRect> places_;  // each control's rectangle at the canvas's present size
  QScrollArea* scroller_ = nullptr;
  QWidget* canvas_ = nullptr;
  bool fitted_ = false;  // sized for its screen when first shown
  // The text a multi-line box or pane shows for its model text, in the chosen language.
  QString ShownText(const ControlEntry& c, const std::string& text);
  std::map<std::string, std::pair<std::string, QString>> shown_;  // by control: model text, shown text
};

}  // namespace planova::ui
