#include "ui/qt_platform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
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

std::optional<std::filesystem::path> QtPlatform::ChooseFile(const FileRequest& request) {
  bool wasBusy = busy_;
  if (wasBusy) QGuiApplication::restoreOverrideCursor();
  QWidget* parent = QApplication::activeWindow() ? QApplication::activeWindow() : MessageParent;
  std::optional<std::filesystem::path> chosen;
  if (request.FromList) {
    // The list opens under the button that asks (it has the focus after a click or a key).
    QMenu menu(parent);
    menu.addSection(Tr(request.Title));
    if (request.Listed.empty()) menu.addAction(Tr(request.NoneListed))->setEnabled(false);
    for (const std::string& name : request.Listed) {
      const QString text = QString::fromStdString(name);
      menu.addAction(QString(text).replace('&', QLatin1String("&&")))->setData(text);  // "&" is no Alt letter here
    }
    QPoint at = QCursor::pos();
    if (auto* button = qobject_cast<QAbstractButton*>(QApplication::focusWidget())) {
      at = button->mapToGlobal(QPoint(0, button->height()));
    }
    if (QAction* action = menu.exec(at)) {
      const QByteArray name = action->data().toString().toUtf8();
      chosen = std::filesystem::path(std::u8string(name.begin(), name.end()));
    }
  } else {
    const std::u8string folder = request.Folder.u8string();
    QFileDialog dialog(parent, Tr(request.Title),
                       QString::fromUtf8(reinterpret_cast<const char*>(folder.data()), static_cast<qsizetype>(folder.size())),
                       Tr(request.Filter));
    dialog.setAcceptMode(request.ForWriting ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.ForWriting ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (request.ForWriting) {
      // A name typed without its extension gets the one of the file the boxes name now.
      dialog.setOption(QFileDialog::DontConfirmOverwrite);
      dialog.setDefaultSuffix(QFileInfo(QString::fromStdString(request.Name)).suffix());
    }
    if (!request.Name.empty()) dialog.selectFile(QString::fromStdString(request.Name));
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
      const QByteArray name = dialog.selectedFiles().front().toUtf8();
      chosen = std::filesystem::path(std::u8string(name.begin(), name.end()));
    }
  }
  if (wasBusy) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  return chosen;
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
