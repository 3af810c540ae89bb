#include "common/form.h"

#include "common/name_part.h"
#include "common/numtext.h"
#include "common/obs_store.h"
#include "common/register_state.h"

#include <algorithm>
#include <exception>
#include <new>

namespace planova {

void FormModel::AddButton(const std::string& name, const std::string& caption, std::function<void()> press) {
  auto run = [this, press = std::move(press)] {
    ++operationsBegun_;
    BusyPointer busy(ui_);
    // Whatever ran before (the desktop's event handling, the busy pointer itself) may
    // have left the AVX upper state in use; the operation's arithmetic would pay for it.
    ClearUpperRegisterState();
    try {
      press();
    } catch (const Refusal& refused) {
      ShowRefusal(refused);
    } catch (const std::bad_alloc&) {
      ui_.ShowMessage("Недостаточно памяти для этой операции");
    } catch (const std::exception&) {
      ui_.ShowMessage("Операция прервана из-за ошибки");
    }
  };
  Add({name, ControlKind::kButton, caption, "", nullptr, std::move(run)});
}

void FormModel::ShowForm(const std::string& name) {
  if (host_) host_->ShowForm(name);
}

void FormModel::CloseForms(std::initializer_list<std::string> names) {
  if (!host_) return;
  for (const std::string& name : names) host_->CloseForm(name);
}

void FormModel::RecreateArrays(ObservationStore& store, const TextBox& n) {
  if (!store.RecreateFromText(BoxNumberText(n.Text))) Refuse(n, kSetDataRightMessage);
}

std::string FormModel::BoxName(const TextBox& box) const {
  for (const auto& c : controls_) {
    if (c.Kind == ControlKind::kText && c.Target == &box) return c.Name;
  }
  return {};
}

bool FormModel::TryBoxReal(const TextBox& box, double& value) { return TryParseReal(BoxNumberText(box.Text), value); }

bool FormModel::TryBoxInt32(const TextBox& box, int32_t& value) { return TryParseInt32(BoxNumberText(box.Text), value); }

void FormModel::Refuse(const TextBox& box, const char* message) const { throw Refusal{message, BoxName(box)}; }

double FormModel::BoxReal(const TextBox& box) const {
  double v = 0;
  if (!TryBoxReal(box, v)) Refuse(box);
  return v;
}

int32_t FormModel::BoxInt32(const TextBox& box) const {
  int32_t v = 0;
  if (!TryBoxInt32(box, v)) Refuse(box);
  return v;
}

int16_t FormModel::BoxInt16(const TextBox& box) const {
  int16_t v = 0;
  if (!TryParseInt16(BoxNumberText(box.Text), v)) Refuse(box);
  return v;
}

std::string FormModel::BoxCaption(const std::string& box) const {
  for (const BoxCaptionRow& row : boxCaptions_) {
    if (box != row.box) continue;
    const ControlEntry* c = Find(row.captionedBy);
    if (!c) break;
    std::string caption = c->Kind == ControlKind::kLabel ? static_cast<const Label*>(c->Target)->Caption : c->Caption;
    while (!caption.empty() && caption.back() == ' ') caption.pop_back();
    return caption;
  }
  return box;
}

void FormModel::ShowRefusal(const Refusal& refused) {
  if (refused.Box.empty()) {
    ui_.ShowMessage(refused.Message);
    return;
  }
  ui_.ShowMessage(refused.Message + ": " + BoxCaption(refused.Box));
  ui_.FocusControl(Name, refused.Box);
}

void FormModel::RequirePlainNameParts(std::initializer_list<std::string_view> parts) {
  for (std::string_view part : parts) {
    if (!IsPlainNamePart(part)) throw Refusal{kBadNamePartMessage + std::string(part), {}};
  }
}

const ControlEntry* FormModel::Find(const std::string& name) const {
  for (const auto& c : controls_) {
    if (c.Name == name) return &c;
  }
  return nullptr;
}

const ControlEntry* FormModel::FindButton(const std::string& nameOrCaption) const {
  for (const auto& c : controls_) {
    if (c.Kind == ControlKind::kButton && c.Name == nameOrCaption) return &c;
  }
  for (const auto& c : controls_) {
    if (c.Kind == ControlKind::kButton && c.Caption == nameOrCaption) return &c;
  }
  return nullptr;
}

void FormModel::ChooseOption(const std::string& name) {
  const ControlEntry* chosen = Find(name);
  if (!chosen || chosen->Kind != ControlKind::kOption) return;
  for (auto& c : controls_) {
    if (c.Kind == ControlKind::kOption && c.FrameName == chosen->FrameName) {
      static_cast<OptionButton*>(c.Target)->Value = (&c == chosen);
    }
  }
}

void FormModel::ChooseOption(const OptionButton& option) {
  for (const auto& c : controls_) {
    if (c.Kind == ControlKind::kOption && c.Target == &option) {
      ChooseOption(c.Name);
      return;
    }
  }
}

bool FormModel::ReadControl(const std::string& name, std::string& value) const {
  const ControlEntry* c = Find(name);
  if (!c) return false;
  switch (c->Kind) {
    case ControlKind::kText: value = static_cast<TextBox*>(c->Target)->Text; return true;
    case ControlKind::kLabel: value = static_cast<Label*>(c->Target)->Caption; return true;
    case ControlKind::kRichText: value = static_cast<RichTextBox*>(c->Target)->Text; return true;
    case ControlKind::kOption: value = static_cast<OptionButton*>(c->Target)->Value ? "1" : "0"; return true;
    case ControlKind::kCheck: value = static_cast<CheckBox*>(c->Target)->Value ? "1" : "0"; return true;
    case ControlKind::kProgress: value = std::to_string(static_cast<ProgressBar*>(c->Target)->Value); return true;
    case ControlKind::kCombo: value = static_cast<ComboBox*>(c->Target)->Value; return true;
    default: return false;
  }
}

bool FormModel::WriteControl(const std::string& name, const std::string& value) {
  const ControlEntry* c = Find(name);
  if (!c) return false;
  switch (c->Kind) {
    case ControlKind::kText: static_cast<TextBox*>(c->Target)->Text = value; return true;
    case ControlKind::kLabel: static_cast<Label*>(c->Target)->Caption = value; return true;
    case ControlKind::kRichText: static_cast<RichTextBox*>(c->Target)->Text = value; return true;
    case ControlKind::kOption:
      if (value == "1") {
        ChooseOption(name);
      } else if (value == "0") {
        static_cast<OptionButton*>(c->Target)->Value = false;
      } else {
        return false;
      }
      return true;
    case ControlKind::kCheck:
      if (value != "1" && value != "0") return false;
      static_cast<CheckBox*>(c->Target)->Value = value == "1";
      return true;
    case ControlKind::kCombo: {
      auto* box = static_cast<ComboBox*>(c->Target);
      if (std::find(box->Items.begin(), box->Items.end(), value) == box->Items.end()) return false;
      box->Value = value;
      return true;
    }
    default: return false;
  }
}

bool FormModel::IsSetting(const std::string& name) const {
  const ControlEntry* c = Find(name);
  if (!c || (c->Kind != ControlKind::kText && c->Kind != ControlKind::kOption && c->Kind != ControlKind::kCheck)) {
    return false;
  }
  return std::find(filled_.begin(), filled_.end(), name) == filled_.end();
}

std::vector<std::pair<std::string, std::string>> FormModel::Settings() const {
  std::vector<std::pair<std::string, std::string>> settings;
  for (const ControlEntry& c : controls_) {
    std::string value;
    if (IsSetting(c.Name) && ReadControl(c.Name, value)) settings.emplace_back(c.Name, std::move(value));
  }
  return settings;
}

std::vector<std::pair<std::string, std::string>> FormModel::ChangedSettings() const {
  std::vector<std::pair<std::string, std::string>> changed = Settings();
  std::erase_if(changed, [this](const auto& setting) {
    return std::find(defaults_.begin(), defaults_.end(), setting) != defaults_.end();
  });
  return changed;
}

void FormModel::RestoreDefaults() {
  for (const auto& [name, value] : defaults_) WriteControl(name, value);
  if (DefaultsRestored) DefaultsRestored();
}

void RecentFiles::Note(const std::string& name) {
  if (name.empty()) return;
  std::erase(Names, name);
  Names.insert(Names.begin(), name);
  if (Names.size() > kMost) Names.resize(kMost);
}

void RecentFiles::Assign(const std::vector<std::string>& names) {
  Names.clear();
  for (const std::string& name : names) {
    if (Names.size() == kMost) break;
    if (!name.empty() && std::find(Names.begin(), Names.end(), name) == Names.end()) Names.push_back(name);
  }
}

void EphemerisChoice::Fill(ComboBox& box) const {
  box.Items = Names ? Names() : std::vector<std::string>{};
  if (std::find(box.Items.begin(), box.Items.end(), box.Value) != box.Items.end()) return;
  box.Value = box.Items.empty() ? std::string() : box.Items.front();
}

void EphemerisChoice::Use(const ComboBox& box) const {
  if (box.Value.empty() || !Select) return;
  if (!Select(box.Value)) throw Refusal{kEphemerisGoneMessage + box.Value, {}};
}

}  // namespace planova
