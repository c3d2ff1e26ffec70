#include "replay/replay.h"

#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "runtime/services.h"
#include "runtime/utf8.h"
#include "window/answer_check.h"
#include "window/form1.h"
#include "window/json.h"
#include "window/state_json.h"
#include "window/working.h"

namespace tavolen {

namespace {

// Output is gathered here, one JSON object a line, and handed to the stream in
// large pieces.
class JsonLines {
 public:
  explicit JsonLines(std::ostream& out) : out_(out) {}
  JsonLines(const JsonLines&) = delete;
  JsonLines& operator=(const JsonLines&) = delete;
  ~JsonLines() { Flush(); }

  // {"<key>":<value>} on a line of its own.
  void Line(const std::string_view key, const std::string_view value) {
    buffer_ += Json::Object().Raw(key, value).Close();
    buffer_ += '\n';
    if (buffer_.size() >= kFlushSize) {
      Flush();
    }
  }

  void Flush() {
    out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    buffer_.clear();
  }

 private:
  static constexpr std::size_t kFlushSize = 1 << 16;
  std::ostream& out_;
  std::string buffer_;
};

class ReplayRuntime final : public Runtime {
 public:
  explicit ReplayRuntime(JsonLines& json) : json_(json) {}

  void MsgBox(const std::string& prompt, Integer style, const std::string& title) override {
    json_.Line("msgbox", Json::Object()
                             .Text("prompt", prompt)
                             .Text("title", title)
                             .Raw("style", TextOf(style))
                             .Close());
  }

  void Unloaded() override { json_.Line("unloaded", "true"); }

  void ErrorLeftHandler(const RuntimeError& error, std::string_view handler) override {
    json_.Line("error", Json::Object().Text("name", error.name()).Text("handler", handler).Close());
  }

 private:
  JsonLines& json_;
};

void WriteState(const Form1& form, JsonLines& json) {
  json.Line("state", StateJson(form).Close());
}

void WriteWorking(const Form1& form, const bool keepMixed, JsonLines& json) {
  const WorkingLines working = WorkingOf(form);
  Json lines = Json::Array();
  for (const WorkingStep& step : StepsOf(working, keepMixed)) {
    Json line = Json::Object();
    line.Text("step", step.name);
    if (step.how) {
      line.Text("how", DetailText(*step.how));
    }
    lines.Element(line.Text("expr", ExpressionText(step)).Close());
  }
  if (working.stop) {
    lines.Element(Json::Object().Text("stop", *working.stop).Close());
  }
  json.Line("working", lines.Close());
}

void WriteCheck(const CheckResult& result, JsonLines& json) {
  Json check = Json::Object();
  check.Text("verdict", VerdictKey(result.verdict));
  if (result.mistake) {
    check.Text("mistake", MistakeKey(*result.mistake));
  }
  json.Line("check", check.Text("message", result.message).Close());
}

// A script word for a refusal message: valid UTF-8, control characters as
// "?", and not too long to read.
std::string Quoted(std::string_view text) {
  constexpr std::size_t kShown = 40;
  std::string shown = ValidUtf8Prefix(text, kShown);
  std::string quoted = "\"";
  for (const char c : shown) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
      quoted += '?';
    } else {
      quoted += c;
    }
  }
  quoted += CountCodePoints(text) > kShown ? "...\"" : "\"";
  return quoted;
}

bool IsBlankLine(std::string_view line) {
  return line.find_first_not_of(" \t") == std::string_view::npos;
}

class Replay {
 public:
  Replay(std::ostream& out, std::ostream& err)
      : json_(out), err_(err), runtime_(json_), form_(runtime_) {}

  // Performs one script line; returns a refusal message when it cannot.
  std::optional<std::string> Perform(std::string_view line) {
    if (IsBlankLine(line) || line.front() == '#') {
      return std::nullopt;
    }
    const std::size_t space = line.find(' ');
    const std::string_view action = line.substr(0, space);
    const bool hasArgument = space != std::string_view::npos;
    const std::string_view text = hasArgument ? line.substr(space + 1) : std::string_view{};
    if (action == "working") {
      if (hasArgument && text != kKeepMixedCaption) {
        return "an argument where the action \"working\" takes none or " +
               Quoted(kKeepMixedCaption);
      }
      WriteWorking(form_, hasArgument, json_);
      return std::nullopt;
    }
    if (action == "state" || action == "erase" || action == "close") {
      if (hasArgument) {
        return "an argument where the action " + Quoted(action) + " takes none";
      }
      return PerformBare(action);
    }
    if (action == "type") {
      return Refused(form_.Type(text), "type without an entry field that has the focus");
    }
    if (action == "check") {
      WriteCheck(CheckAnswer(form_, text), json_);
      return std::nullopt;
    }
    if (action == "key") {
      const std::optional<Key> key = ParseKey(text);
      if (!key) {
        return "unknown key " + Quoted(text);
      }
      form_.PressKey(*key);
      return std::nullopt;
    }
    if (action == "focus" || action == "click" || action == "menu") {
      return PerformOnControl(action, text);
    }
    return "unknown action " + Quoted(action);
  }

  [[nodiscard]] bool Ended() const { return form_.IsUnloaded(); }

  void Refuse(std::size_t lineNumber, const std::string& message) {
    json_.Flush();
    err_ << "line " << lineNumber << ": " << message << '\n';
  }

 private:
  static std::optional<std::string> Refused(bool performed, const char* message) {
    if (performed) {
      return std::nullopt;
    }
    return std::string(message);
  }

  std::optional<std::string> PerformBare(std::string_view action) {
    if (action == "state") {
      WriteState(form_, json_);
      return std::nullopt;
    }
    if (action == "erase") {
      return Refused(form_.Erase(), "erase without an entry field that has the focus");
    }
    form_.RequestClose();
    return std::nullopt;
  }

  std::optional<std::string> PerformOnControl(std::string_view action, std::string_view name) {
    const std::optional<ControlId> control = ParseControlName(name);
    if (!control) {
      return "unknown control " + Quoted(name);
    }
    if (action == "focus") {
      if (form_.MoveFocus(*control)) {
        return std::nullopt;
      }
      return "focus on " + Quoted(name) + ", which is not an entry field or command button";
    }
    if (action == "click") {
      if (form_.Click(*control)) {
        return std::nullopt;
      }
      return "click on " + Quoted(name) + ", which is not a command or option button";
    }
    if (form_.ChooseMenu(*control)) {
      return std::nullopt;
    }
    return "menu " + Quoted(name) + ", which is not a menu command";
  }

  JsonLines json_;
  std::ostream& err_;
  ReplayRuntime runtime_;
  Form1 form_;
};

}  // namespace

int RunReplay(std::istream& script, std::ostream& out, std::ostream& err) {
  Replay replay(out, err);
  std::string line;
  for (std::size_t number = 1; !replay.Ended() && std::getline(script, line); ++number) {
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
    }
    if (const std::optional<std::string> refusal = replay.Perform(line)) {
      replay.Refuse(number, *refusal);
      return 2;
    }
  }
  return 0;
}

}  // namespace tavolen
