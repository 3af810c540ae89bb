#include "app/batch.h"

#include <istream>
#include <ostream>
#include <set>
#include <sstream>

#include "app/application.h"
#include "common/numtext.h"
#include "models/messages.h"

namespace planova {

namespace {

// A message on one line: each CR LF as the two characters "\n".
std::string OneLine(const std::string& text) {
  std::string flat;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      flat += "\\n";
      ++i;
    } else {
      flat += text[i];
    }
  }
  return flat;
}

}  // namespace

void BatchPlatform::ShowMessage(const std::string& text, const std::string& title) {
  ++messages_;
  out_ << "MESSAGE " << title << ": " << OneLine(text) << "\n";
  out_.flush();
}

bool BatchPlatform::Ask(const std::string& text) {
  out_ << "QUESTION Planova: " << OneLine(text) << "\n";
  out_.flush();
  return answer_;
}

std::optional<std::filesystem::path> BatchPlatform::ChooseFile(const FileRequest&) {
  fileAsked_ = true;
  if (!chosen_) fileUnanswered_ = true;
  return std::exchange(chosen_, std::nullopt);
}

namespace {

struct ScriptError {
  std::string what;
};

// Splits "Form1.Text1(3)" into the form's and the control's name.
void SplitTarget(const std::string& target, std::string& form, std::string& control) {
  size_t dot = target.find('.');
  if (dot == std::string::npos || dot == 0 || dot + 1 == target.size()) throw ScriptError{"expected FORM.CONTROL, got '" + target + "'"};
  form = target.substr(0, dot);
  control = target.substr(dot + 1);
}

// The rest of the line after the first blank that follows position `from`.
std::string RestAfterBlank(const std::string& line, size_t from) {
  size_t blank = line.find(' ', from);
  return blank == std::string::npos ? std::string() : line.substr(blank + 1);
}

class Runner {
 public:
  Runner(Application& app, std::ostream& out, const PictureActions& pictures)
      : app_(app), out_(out), pictures_(pictures), platform_(dynamic_cast<BatchPlatform*>(&app.Ui)) {
    usable_.insert("Form1");
    app_.OnVisibility = [this, prev = app_.OnVisibility](const std::string& name, bool open) {
      if (open) usable_.insert(name);
      if (prev) prev(name, open);
    };
  }

  // Runs one script line through the command table; false when the program has ended.
  bool Run(const std::string& line) {
    std::istringstream words(line);
    std::string verb, target;
    words >> verb >> target;
    for (const Command& c : kCommands) {
      if (verb == c.verb) return (this->*c.run)(line, words, target);
    }
    throw ScriptError{"unknown command '" + verb + "'"};
  }

  // A command: its word, what follows it, what it does, and its handler (false: the
  // program has ended).  --help lists the commands from this table.
  struct Command {
    const char* verb;
    const char* arguments;
    const char* meaning;
    bool (Runner::*run)(const std::string& line, std::istringstream& words, const std::string& target);
  };
  static const Command kCommands[7];

 private:
  bool Set(const std::string& line, std::istringstream&, const std::string& target) {
    if (target.empty()) throw ScriptError{"set needs FORM.CONTROL"};
    FormModel& form = UsableForm(target, true);
    std::string value = RestAfterBlank(line, line.find(target) + target.size());
    if (!form.Find(control_)) throw ScriptError{"unknown control " + target};
    if (!form.WriteControl(control_, value)) throw ScriptError{"cannot set " + target + " to '" + value + "'"};
    return true;
  }

  bool Print(const std::string&, std::istringstream&, const std::string& target) {
    FormModel& form = UsableForm(target, true);
    std::string value;
    if (!form.ReadControl(control_, value)) throw ScriptError{"unknown control " + target};
    out_ << value << "\n";
    out_.flush();
    return true;
  }

  bool Press(const std::string& line, std::istringstream&, const std::string& target) {
    FormModel& form = UsableForm(target, false);
    std::string button = RestAfterBlank(line, line.find(target) + target.size());
    const ControlEntry* b = form.FindButton(button);
    if (!b) throw ScriptError{"unknown button '" + button + "' on " + target};
    b->Press();
    if (platform_ && platform_->TakeFileUnanswered()) {
      throw ScriptError{"'" + button + "' asks for a file: open " + target + "." + b->Name + " FILE"};
    }
    return app_.AnyOpen();
  }

  // A file relative to the application folder, as the windows name their files.
  bool Open(const std::string& line, std::istringstream&, const std::string& target) {
    FormModel& form = UsableForm(target, true);
    const ControlEntry* b = form.Find(control_);
    if (!b || b->Kind != ControlKind::kButton) throw ScriptError{"unknown button " + target};
    std::string file = RestAfterBlank(line, line.find(target) + target.size());
    if (file.empty()) throw ScriptError{"open needs a file name"};
    if (!platform_) throw ScriptError{"cannot choose " + file + " here"};
    platform_->SetChosenFile(std::filesystem::path(std::u8string(file.begin(), file.end())));
    platform_->TakeFileAsked();
    const long messages = platform_->MessagesShown();
    b->Press();
    const bool asked = platform_->TakeFileAsked();
    platform_->SetChosenFile(std::nullopt);
    // A button that refused before it asked (a bad box) has said why, as it would in a window.
    if (!asked && platform_->MessagesShown() == messages) throw ScriptError{target + " does not ask for a file"};
    return app_.AnyOpen();
  }

  bool Click(const std::string&, std::istringstream& words, const std::string& target) {
    FormModel& form = UsableForm(target, true);
    const ControlEntry* c = form.Find(control_);
    if (!c || c->Kind != ControlKind::kPicture) throw ScriptError{"unknown picture box " + target};
    std::string xs, ys, side, extra;
    words >> xs >> ys >> side >> extra;
    double x, y;
    if (!TryParseCoordinate(xs, x) || !TryParseCoordinate(ys, y) || (side != "left" && side != "right") || !extra.empty()) {
      throw ScriptError{"click needs X Y left|right"};
    }
    auto* box = static_cast<PictureBox*>(c->Target);
    box->Click(x, y, side == "left");
    return true;
  }

  bool Save(const std::string& line, std::istringstream&, const std::string& target) {
    FormModel& form = UsableForm(target, true);
    const ControlEntry* c = form.Find(control_);
    if (!c || c->Kind != ControlKind::kPicture) throw ScriptError{"unknown picture box " + target};
    std::string file = RestAfterBlank(line, line.find(target) + target.size());
    if (file.empty()) throw ScriptError{"save needs a file name"};
    if (!pictures_.Save) throw ScriptError{"cannot save " + target + " to " + file};
    // The picture box exists: a failure is the file's, said as the windows say it.
    if (!pictures_.Save(form.Name, control_, std::filesystem::path(file))) {
      throw ScriptError{OneLine(WriteFailureMessage(std::filesystem::path(file)))};
    }
    return true;
  }

  bool Answer(const std::string&, std::istringstream& words, const std::string& target) {
    std::string extra;
    words >> extra;
    if ((target != "yes" && target != "no") || !extra.empty()) throw ScriptError{"answer needs yes or no"};
    if (platform_) platform_->SetAnswer(target == "yes");
    return true;
  }

  // Coordinates may be typed with a point or a comma.
  static bool TryParseCoordinate(std::string text, double& v) {
    for (char& ch : text) {
      if (ch == '.') ch = ',';
    }
    return TryParseReal(text, v);
  }

  FormModel& UsableForm(const std::string& target, bool withControl) {
    std::string formName = target;
    control_.clear();
    if (withControl) SplitTarget(target, formName, control_);
    FormModel* form = app_.Form(formName);
    if (!form) throw ScriptError{"unknown form " + formName};
    if (!usable_.count(formName)) throw ScriptError{"form " + formName + " is not open"};
    return *form;
  }

  Application& app_;
  std::ostream& out_;
  const PictureActions& pictures_;
  BatchPlatform* platform_;  // null when the application runs on another platform (tests)
  std::set<std::string> usable_;
  std::string control_;
};

const Runner::Command Runner::kCommands[7] = {
    {"set", "FORM.CONTROL VALUE", "VALUE is the rest of the line (may be empty); 1/0 for options and checks; a list box takes one of the names it lists",
     &Runner::Set},
    {"press", "FORM BUTTON", "runs a button, named by its exact caption or its control name (Command17)", &Runner::Press},
    {"print", "FORM.CONTROL", "writes the control's text (1/0 for options and checks, a bar's value, a list box's choice)", &Runner::Print},
    {"click", "FORM.CONTROL X Y left|right", "a mouse press on a picture box, in the box's user coordinates", &Runner::Click},
    {"save", "FORM.CONTROL FILE", "writes what a picture box shows as a PNG file", &Runner::Save},
    {"answer", "yes|no", "the answer to the questions that follow (yes before any)", &Runner::Answer},
    {"open", "FORM.BUTTON FILE",
     "presses a button that asks for a file (Open…, Choose…, Recent) and chooses FILE, relative to the application folder or absolute",
     &Runner::Open},
};

}  // namespace

std::vector<BatchCommandHelp> BatchCommands() {
  std::vector<BatchCommandHelp> list;
  for (const Runner::Command& c : Runner::kCommands) list.push_back({c.verb, c.arguments, c.meaning});
  return list;
}

int RunBatchScript(Application& app, std::istream& script, std::ostream& out, std::ostream& err,
                   const PictureActions& pictures) {
  Runner runner(app, out, pictures);
  std::string line;
  int number = 0;
  while (std::getline(script, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '#') continue;
    try {
      if (!runner.Run(line.substr(first))) return 0;
    } catch (const ScriptError& e) {
      err << "script line " << number << ": " << e.what << "\n";
      return 2;
    }
  }
  return 0;
}

}  // namespace planova
