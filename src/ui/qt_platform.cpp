#include "ui/qt_platform.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>

namespace planova::ui {

void QtPlatform::ShowMessage(const std::string& text, const std::string& title) {
  if (MessageHook) {
    MessageHook(text, title);
    return;
  }
  // The normal pointer while the user reads the message; the busy one comes back after.
  bool wasBusy = busy_;
  if (wasBusy) QGuiApplication::restoreOverrideCursor();
  QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(title), QString::fromStdString(text), QMessageBox::Ok,
                  MessageParent);
  box.exec();
  if (wasBusy) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
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
}

}  // namespace planova::ui
