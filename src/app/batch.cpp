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
  out_ << "MESSAGE " << title << ": " << OneLine(text) << "\n";
  out_.flush();
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
  Runner(Application& app, std::ostream& out, const PictureActions& pictures) : app_(app), out_(out), pictures_(pictures) {
    usable_.insert("Form1");
    app_.OnVisibility = [this, prev = app_.OnVisibility](const std::string& name, bool open) {
      if (open) usable_.insert(name);
      if (prev) prev(name, open);
    };
  }

  // Runs one script line; false when the program has ended.
  bool Run(const std::string& line) {
    std::istringstream words(line);
    std::string verb, target;
    words >> verb >> target;
    if (verb == "set") {
      if (target.empty()) throw ScriptError{"set needs FORM.CONTROL"};
      FormModel& form = UsableForm(target, true);
      std::string value = RestAfterBlank(line, line.find(target) + target.size());
      if (!form.Find(control_)) throw ScriptError{"unknown control " + target};
      if (!form.WriteControl(control_, value)) throw ScriptError{"cannot set " + target + " to '" + value + "'"};
    } else if (verb == "print") {
      FormModel& form = UsableForm(target, true);
      std::string value;
      if (!form.ReadControl(control_, value)) throw ScriptError{"unknown control " + target};
      out_ << value << "\n";
      out_.flush();
    } else if (verb == "press") {
      FormModel& form = UsableForm(target, false);
      std::string button = RestAfterBlank(line, line.find(target) + target.size());
      const ControlEntry* b = form.FindButton(button);
      if (!b) throw ScriptError{"unknown button '" + button + "' on " + target};
      b->Press();
      if (!app_.AnyOpen()) return false;
    } else if (verb == "click") {
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
    } else if (verb == "save") {
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
    } else {
      throw ScriptError{"unknown command '" + verb + "'"};
    }
    return true;
  }

 private:
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
  std::set<std::string> usable_;
  std::string control_;
};

}  // namespace

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
