// The window models' controls and their registry.
//
// Each window is a model with one member per control, named by its role
// (`observatoryCode`, `theoryJpl2`, `writeParamFile` …), and one method per button.
// The registry lists every control under its historical control name ("Text3",
// "Option7", "Check11") with its kind, caption and option frame, so that the Qt front end
// and the batch runner can find a control by name in one place.  Texts are UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/picture.h"
#include "common/platform.h"

namespace planova {

struct TextBox { std::string Text; };
struct Label { std::string Caption; };
struct OptionButton { bool Value = false; };
struct CheckBox { bool Value = false; };
struct RichTextBox { std::string Text; };
struct ProgressBar { int Value = 0; };
struct Frame {};
// A list box: the names it lists and the one chosen (empty: nothing listed).
struct ComboBox {
  std::vector<std::string> Items;
  std::string Value;
};

enum class ControlKind { kText, kLabel, kOption, kCheck, kRichText, kProgress, kFrame, kButton, kPicture, kCombo };

struct ControlEntry {
  std::string Name;     // "Text3", "Option8", "Text1(4)", "Command2"
  ControlKind Kind;
  std::string Caption;  // fixed caption of labels, options, checks, frames and buttons
  std::string FrameName;  // option buttons: the frame whose choices exclude each other
  void* Target = nullptr;  // the member behind the control (null for buttons and frames)
  std::function<void()> Press;  // buttons only
};

class FormHost;
class ObservationStore;

// The files a window read or wrote last, most recent first, as the window names them
// (relative to the application folder, "ObsPARI/PARI11_G_110.txt"): its "Недавние".
struct RecentFiles {
  static constexpr std::size_t kMost = 8;
  std::vector<std::string> Names;
  // A file read or written goes to the head of the list, once; the oldest beyond kMost go.
  void Note(const std::string& name);
  // A list kept from an earlier start: empty names and repeats dropped, kMost at most.
  void Assign(const std::vector<std::string>& names);
};

// The one way a window's operation ends early: the message the window shows and, when a
// number box is the cause, that box (its control name), whose caption the message then
// names ("Введите правильно данные: MT, лет/см") and which gets the keyboard focus.
// Thrown anywhere below a button (the box readers of FormModel throw it) and caught once,
// where the button runs (AddButton).
inline constexpr const char* kWrongDataMessage = "Введите правильно данные";
inline constexpr const char* kSetDataRightMessage = "Задайте правильно данные";
// Ahead of the name of an ephemeris chosen in a list box that can no longer be used.
inline constexpr const char* kEphemerisGoneMessage = "Эфемериды недоступны: ";
struct Refusal {
  std::string Message = kWrongDataMessage;
  std::string Box;  // "Text19"; empty when no box is the cause
};

// A number box and the control whose caption the window shows beside it (a label, or the
// button the box belongs to, as "Создать массивы с N=" for its N).
struct BoxCaptionRow {
  const char* box;
  const char* captionedBy;
};

// Rows of the tables from which a window registers its controls, one table per kind.
// `Form` is the window model; a member pointer names the member behind each control.
struct LabelRow {
  const char* name;
  const char* caption;
};
struct FrameRow {
  const char* name;
  const char* caption;
};
template <class Form>
struct TextRow {
  const char* name;
  TextBox Form::*box;
  const char* text = nullptr;  // the text the window's start-up puts in; null: none
};
template <class Form>
struct OptionRow {
  const char* name;
  OptionButton Form::*option;
  const char* caption;
  const char* frame;  // the frame whose choices exclude each other
};
template <class Form>
struct CheckRow {
  const char* name;
  CheckBox Form::*check;
  const char* caption;
};
template <class Form>
struct ButtonRow {
  const char* name;
  const char* caption;
  void (Form::*press)();
};

class FormModel {
 public:
  FormModel(std::string name, std::string caption, Platform& platform, FormHost* host)
      : Name(std::move(name)), Caption(std::move(caption)), ui_(platform), host_(host) {}
  virtual ~FormModel() = default;
  FormModel(const FormModel&) = delete;
  FormModel& operator=(const FormModel&) = delete;

  const std::string Name;     // "Form1"
  std::string Caption;        // the window's caption

  // How many button operations have begun, in every window: a long run that lets
  // events in sees by it whether one ran meanwhile.
  static uint64_t OperationsBegun() { return operationsBegun_; }

  const std::vector<ControlEntry>& Controls() const { return controls_; }
  const ControlEntry* Find(const std::string& name) const;
  // A button by its control name or its exact caption.
  const ControlEntry* FindButton(const std::string& nameOrCaption) const;

  // Chooses an option button and clears the other options of its frame.
  void ChooseOption(const std::string& name);
  void ChooseOption(const OptionButton& option);

  // Text of a control as the batch runner prints it: the text of boxes and panes, the
  // caption of labels, "1"/"0" for options and checks, the value of a progress bar, the
  // name chosen in a list box.
  bool ReadControl(const std::string& name, std::string& value) const;
  // Sets a text box, a label or a pane; "1"/"0" for options (choosing one clears its
  // frame) and checks; one of the names a list box lists.  False for an unknown name, a
  // button or a bad value.
  bool WriteControl(const std::string& name, const std::string& value);

  Platform& Ui() { return ui_; }

  // A check box that the window's other choices hold on: shown ticked and not to be
  // changed while they do (its own value is kept for when they no longer do).
  virtual bool CheckHeld(const std::string& name) const {
    (void)name;
    return false;
  }

  // Number boxes.  Every button reads the numbers it needs through these: a decimal point
  // is taken as the decimal comma (BoxNumberText), and a box that does not hold a number
  // throws a Refusal naming it.  The Try forms answer false instead of throwing.
  double BoxReal(const TextBox& box) const;
  int32_t BoxInt32(const TextBox& box) const;
  int16_t BoxInt16(const TextBox& box) const;
  static bool TryBoxReal(const TextBox& box, double& value);
  static bool TryBoxInt32(const TextBox& box, int32_t& value);
  // Throws a Refusal for `box` (a value the operation cannot use, such as a zero scale),
  // with `message` ahead of the box's caption.
  [[noreturn]] void Refuse(const TextBox& box, const char* message = kWrongDataMessage) const;
  // Shows a refusal as the window shows it: its message, and for a box its caption and
  // the focus (what AddButton does with a Refusal that ends an operation).
  void ShowRefusal(const Refusal& refused);
  // The caption the window shows beside a box (trailing blanks dropped), or the box's
  // own name when the window has none.
  std::string BoxCaption(const std::string& box) const;
  // The table of which control captions each number box.
  void SetBoxCaptions(std::span<const BoxCaptionRow> rows) { boxCaptions_.assign(rows.begin(), rows.end()); }

  // The user's settings: the text boxes, options and check boxes, except the boxes the
  // window fills itself (SetFilledBoxes).  These are what "По умолчанию" puts back and
  // what the desktop remembers between starts.
  bool IsSetting(const std::string& name) const;
  std::vector<std::pair<std::string, std::string>> Settings() const;  // control name, value (ReadControl)
  // The settings that differ from the window's defaults (all before NoteDefaults).
  std::vector<std::pair<std::string, std::string>> ChangedSettings() const;
  // Keeps the settings as they are now as the window's defaults: called once, after the
  // window's start-up has put in its texts and choices.
  void NoteDefaults() { defaults_ = Settings(); }
  // "По умолчанию": every setting back to the window's default, then DefaultsRestored.
  void RestoreDefaults();
  // Told after RestoreDefaults (the desktop forgets the values it keeps for the window).
  std::function<void()> DefaultsRestored;

  // The files this window read or wrote last.
  RecentFiles Recent;

 protected:
  void AddText(const std::string& name, TextBox& box) { Add({name, ControlKind::kText, "", "", &box, {}}); }
  void AddLabel(const std::string& name, Label& label, const std::string& caption) {
    label.Caption = caption;
    Add({name, ControlKind::kLabel, caption, "", &label, {}});
  }
  void AddFrame(const std::string& name, const std::string& caption) { Add({name, ControlKind::kFrame, caption, "", nullptr, {}}); }
  void AddOption(const std::string& name, OptionButton& o, const std::string& caption, const std::string& frame) {
    Add({name, ControlKind::kOption, caption, frame, &o, {}});
  }
  void AddCheck(const std::string& name, CheckBox& c, const std::string& caption) { Add({name, ControlKind::kCheck, caption, "", &c, {}}); }
  void AddRichText(const std::string& name, RichTextBox& r) { Add({name, ControlKind::kRichText, "", "", &r, {}}); }
  void AddProgress(const std::string& name, ProgressBar& p) { Add({name, ControlKind::kProgress, "", "", &p, {}}); }
  void AddPicture(const std::string& name, PictureBox& p) { Add({name, ControlKind::kPicture, "", "", &p, {}}); }
  void AddCombo(const std::string& name, ComboBox& c) { Add({name, ControlKind::kCombo, "", "", &c, {}}); }
  // A button; its operation runs under the busy pointer, which is restored at every
  // exit, and an unexpected failure ends the operation with a message, never a crash.
  void AddButton(const std::string& name, const std::string& caption, std::function<void()> press);

  // Registration from tables, in the order of the table's rows.
  void AddLabels(std::span<Label> labels, std::span<const LabelRow> rows) {
    for (std::size_t k = 0; k < rows.size(); ++k) AddLabel(rows[k].name, labels[k], rows[k].caption);
  }
  template <class Form, std::size_t N>
  void AddTexts(const TextRow<Form> (&rows)[N]) {
    for (const auto& r : rows) AddText(r.name, static_cast<Form&>(*this).*r.box);
  }
  // Each frame, followed by the options of the table that lie in it (a frame may have none).
  template <class Form, std::size_t F, std::size_t N>
  void AddOptions(const FrameRow (&frames)[F], const OptionRow<Form> (&options)[N]) {
    for (const FrameRow& f : frames) {
      AddFrame(f.name, f.caption);
      for (const auto& o : options) {
        if (std::string_view(o.frame) == f.name) AddOption(o.name, static_cast<Form&>(*this).*o.option, o.caption, o.frame);
      }
    }
  }
  template <class Form, std::size_t N>
  void AddChecks(const CheckRow<Form> (&rows)[N]) {
    for (const auto& r : rows) AddCheck(r.name, static_cast<Form&>(*this).*r.check, r.caption);
  }
  template <class Form, std::size_t N>
  void AddButtons(const ButtonRow<Form> (&rows)[N]) {
    for (const auto& r : rows) {
      AddButton(r.name, r.caption, [form = &static_cast<Form&>(*this), press = r.press] { (form->*press)(); });
    }
  }
  // Puts the starting text of the table's rows that have one into their boxes.
  template <class Form, std::size_t N>
  void SetTexts(const TextRow<Form> (&rows)[N]) {
    for (const auto& r : rows) {
      if (r.text) (static_cast<Form&>(*this).*r.box).Text = r.text;
    }
  }

  FormHost* Host() { return host_; }

  // Opens a window, or closes windows in the order given, through the host (if any).
  void ShowForm(const std::string& name);
  void CloseForms(std::initializer_list<std::string> names);

  // "Создать массивы с N=": new observation arrays with the N of `n`; refuses the box
  // ("Задайте правильно данные") when it does not hold a valid N, keeping the old arrays.
  void RecreateArrays(ObservationStore& store, const TextBox& n);

  // The boxes the window fills itself, not the user: results, and what describes the data
  // loaded (the load puts them in).  They are no settings (IsSetting).
  void SetFilledBoxes(std::span<const char* const> names) { filled_.assign(names.begin(), names.end()); }

  // The name parts a button joins into a path of the application folder: refuses with
  // "Недопустимое имя файла или обсерватории: " + the part, for the first that is not
  // plain (IsPlainNamePart), before any file is touched.
  static void RequirePlainNameParts(std::initializer_list<std::string_view> parts);

 private:
  void Add(ControlEntry e) { controls_.push_back(std::move(e)); }

  // The control name of a box of this window.
  std::string BoxName(const TextBox& box) const;

  std::vector<ControlEntry> controls_;
  std::vector<BoxCaptionRow> boxCaptions_;
  std::vector<std::string> filled_;
  std::vector<std::pair<std::string, std::string>> defaults_;
  static inline uint64_t operationsBegun_ = 0;  // the desktop runs operations on one thread
  Platform& ui_;
  FormHost* host_;
};

// The ephemerides a window offers in its list box "эфемериды": the names of those found
// in the JPL folder (DE405 first when present) and the choice of the one the window's
// computations use.  Either may be empty: then nothing is found, the box stays empty and
// the ephemeris in use is left as it is.
struct EphemerisChoice {
  std::function<std::vector<std::string>()> Names;
  std::function<bool(const std::string& name)> Select;  // false: it cannot be used (its files are gone)

  // The box lists the names found; it keeps its choice while that is still listed, and
  // otherwise chooses the first (the only one found is chosen without asking).
  void Fill(ComboBox& box) const;
  // Makes the box's choice the ephemeris in use before a computation; throws a Refusal
  // naming it when it cannot be used.  An empty box selects nothing.
  void Use(const ComboBox& box) const;
};

// Opens and closes windows on behalf of a button ("К форме 2", "About*", "Выход").
class FormHost {
 public:
  virtual ~FormHost() = default;
  virtual void ShowForm(const std::string& name) = 0;
  virtual void CloseForm(const std::string& name) = 0;
};

}  // namespace planova
