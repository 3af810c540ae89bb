#include "common/form.h"

#include "common/name_part.h"
#include "common/obs_store.h"

#include <exception>
#include <new>

namespace planova {

void FormModel::AddButton(const std::string& name, const std::string& caption, std::function<void()> press) {
  auto run = [this, press = std::move(press)] {
    BusyPointer busy(ui_);
    try {
      press();
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

bool FormModel::RecreateArrays(ObservationStore& store, const TextBox& n) {
  if (store.RecreateFromText(n.Text)) return true;
  ui_.ShowMessage("Задайте правильно данные");
  return false;
}

bool FormModel::NamePartsAllowed(std::initializer_list<std::string_view> parts) {
  for (std::string_view part : parts) {
    if (!IsPlainNamePart(part)) {
      ui_.ShowMessage(kBadNamePartMessage + std::string(part));
      return false;
    }
  }
  return true;
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
    default: return false;
  }
}

}  // namespace planova
