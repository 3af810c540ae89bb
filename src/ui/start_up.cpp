#include "ui/start_up.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>

#include "astro/jpl.h"
#include "common/app_folder.h"
#include "models/messages.h"
#include "ui/translation.h"

namespace planova::ui {

void SetProgramIcon() {
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/planova3.svg")));
}

void CheckAppFolderAtStart(const std::filesystem::path& folder, const std::filesystem::path& sample) {
  const AppFolderCheck check = CheckAppFolder(folder, FindEphemerides);
  const QString text = Tr(AppFolderMissingText(folder, check));
  if (text.isEmpty()) return;
  if (check.FoldersComplete()) {
    QMessageBox::information(nullptr, QStringLiteral("Planova"), text);
    return;
  }
  const QString question = text + QStringLiteral("\r\n\r\n") + Tr(kAppFolderOffer);
  if (QMessageBox::question(nullptr, QStringLiteral("Planova"), question) != QMessageBox::Yes) return;
  std::filesystem::path failed;
  MakeAppFolder(folder, sample, false, failed);
  if (!failed.empty()) {
    QMessageBox::warning(nullptr, QStringLiteral("Planova"), Tr(FolderNotMadeMessage(failed)));
  }
}

}  // namespace planova::ui
