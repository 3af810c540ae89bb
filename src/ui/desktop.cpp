#include "ui/desktop.h"

#include <QApplication>

#include "common/textfile.h"
#include "ui/layouts.h"
#include "ui/picture_render.h"

namespace planova::ui {

Desktop::Desktop(std::filesystem::path appFolder) : platform(std::move(appFolder)), app(platform) {
  app.OnVisibility = [this](const std::string& form, bool open) { OnVisibility(form, open); };
  platform.BeforeEvents = [this] {
    for (auto& [name, w] : windows_) {
      if (w->isVisible()) w->Refresh();
    }
  };
}

FormWindow& Desktop::Window(const std::string& form) {
  auto& slot = windows_[form];
  if (!slot) {
    FormModel* model = app.Form(form);
    slot = std::make_unique<FormWindow>(*model);
    slot->OnUserClose = [this, form] { app.CloseByUser(form); };
  }
  return *slot;
}

void Desktop::Start() {
  FormWindow& w = Window("Form1");
  platform.MessageParent = &w;
  w.show();
}

void Desktop::OnVisibility(const std::string& form, bool open) {
  if (!app.Form(form)) return;
  FormWindow& w = Window(form);
  if (open) {
    w.Refresh();
    w.show();
    w.raise();
    w.activateWindow();
  } else {
    w.closingFromModel = true;
    w.close();
    w.closingFromModel = false;
    if (!app.AnyOpen()) QCoreApplication::quit();
  }
}

bool SavePicturePng(Application& app, const std::string& form, const std::string& control,
                    const std::filesystem::path& file) {
  FormModel* model = app.Form(form);
  if (!model) return false;
  const ControlEntry* c = model->Find(control);
  if (!c || c->Kind != ControlKind::kPicture) return false;
  QSize size(800, 600);
  for (const auto& p : LayoutOf(form).places) {
    if (control == p.name) size = QSize(p.w, p.h);
  }
  // Encoded whole in memory, then written as a file that replaces an old picture only
  // when every byte is written.
  QByteArray png = EncodePicture(*static_cast<PictureBox*>(c->Target), size, "PNG");
  if (png.isEmpty()) return false;
  return WriteFileAtomically(file, std::string_view(png.constData(), static_cast<size_t>(png.size())));
}

}  // namespace planova::ui
