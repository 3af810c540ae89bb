#include "ui/desktop.h"

#include <QApplication>

#include "common/textfile.h"
#include "ui/layouts.h"
#include "ui/picture_render.h"

namespace planova::ui {

Desktop::Desktop(std::filesystem::path appFolder, const QString& settingsFile)
    : platform(std::move(appFolder)), app(platform), remembered_(settingsFile) {
  app.OnVisibility = [this](const std::string& form, bool open) { OnVisibility(form, open); };
  platform.BeforeEvents = [this] {
    for (auto& [name, w] : windows_) {
      if (w->isVisible()) w->Refresh();
    }
  };
}

Desktop::~Desktop() {
  for (const std::string& form : shown_) remembered_.Keep(*windows_[form]);
  for (auto& [form, w] : windows_) w->Model().DefaultsRestored = nullptr;
}

FormWindow& Desktop::Window(const std::string& form) {
  auto& slot = windows_[form];
  if (!slot) {
    FormModel* model = app.Form(form);
    slot = std::make_unique<FormWindow>(*model);
    slot->OnUserClose = [this, form] { app.CloseByUser(form); };
    model->DefaultsRestored = [this, form] { remembered_.ForgetSettings(form); };
  }
  return *slot;
}

void Desktop::FirstShowing(FormWindow& window) {
  if (shown_.insert(window.Model().Name).second) remembered_.Restore(window);
}

void Desktop::Start() {
  FormWindow& w = Window("Form1");
  platform.MessageParent = &w;
  FirstShowing(w);
  w.show();
}

void Desktop::OnVisibility(const std::string& form, bool open) {
  if (!app.Form(form)) return;
  FormWindow& w = Window(form);
  if (open) {
    FirstShowing(w);
    w.Refresh();
    w.show();
    w.raise();
    w.activateWindow();
  } else {
    if (shown_.count(form)) remembered_.Keep(w);
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
