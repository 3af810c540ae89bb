#include "ui/qt_platform.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>

#include "common/register_state.h"
#include "ui/translation.h"

namespace planova::ui {

void QtPlatform::ShowMessage(const std::string& text, const std::string& title) {
  const QString shownText = Tr(text), shownTitle = Tr(title);
  if (MessageHook) {
    MessageHook(shownText.toStdString(), shownTitle.toStdString());
    return;
  }
  // The normal pointer while the user reads the message; the busy one comes back after.
  bool wasBusy = busy_;
  if (wasBusy) QGuiApplication::restoreOverrideCursor();
  QMessageBox box(QMessageBox::NoIcon, shownTitle, shownText, QMessageBox::Ok, MessageParent);
  box.exec();
  if (wasBusy) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

bool QtPlatform::Ask(const std::string& text) {
  const QString shownText = Tr(text), shownTitle = Tr("Planova");
  if (MessageHook) {
    MessageHook(shownText.toStdString(), shownTitle.toStdString());
    return true;
  }
  bool wasBusy = busy_;
  if (wasBusy) QGuiApplication::restoreOverrideCursor();
  QMessageBox box(QMessageBox::Question, shownTitle, shownText, QMessageBox::Yes | QMessageBox::No, MessageParent);
  box.setDefaultButton(QMessageBox::No);
  const bool yes = box.exec() == QMessageBox::Yes;
  if (wasBusy) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  return yes;
}

void QtPlatform::FocusControl(const std::string& form, const std::string& control) {
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (!top->isVisible() || top->objectName() != QString::fromStdString(form)) continue;
    QWidget* w = top->findChild<QWidget*>(QString::fromStdString(control));
    if (!w) continue;
    top->activateWindow();
    w->setFocus(Qt::OtherFocusReason);
    if (auto* e = qobject_cast<QLineEdit*>(w)) e->selectAll();  // typing replaces the refused text
    return;
  }
}

void QtPlatform::SetBusyPointer(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (busy) {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QGuiApplication::restoreOverrideCursor();
  }
}

void QtPlatform::ProcessEvents() {
  // Long loops call this after every record: refresh the windows a few times a second
  // only, so that the loops keep their speed.
  if (!sinceRefresh_.isValid() || sinceRefresh_.elapsed() > 100) {
    if (BeforeEvents) BeforeEvents();
    sinceRefresh_.start();
  }
  QCoreApplication::processEvents();
  // The events handled (a window's first paint, for one) may leave the AVX upper state in
  // use in the middle of a run: cleared again for the loop's next records.
  ClearUpperRegisterState();
}

}  // namespace planova::ui
