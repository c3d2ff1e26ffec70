// The window model for the page: its definition, one Window per run of the
// program, and a plain snapshot of what the page draws. A handler cannot wait
// for the user here, so each message box is queued with the window as it
// stood when the box opened, and the page plays them back in order.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "runtime/services.h"
#include "runtime/utf8.h"
#include "window/accessible_text.h"
#include "window/controls.h"
#include "window/form1.h"
#include "window/working.h"

namespace tavolen {
namespace {

using emscripten::val;

struct State {
  std::array<std::string, 3> text1;
  std::array<std::string, 3> text2;
  std::array<std::string, 4> label1;
  std::string label3;
  std::string label7;
  bool line3 = true;
  int option1 = 0;
  int option2 = 0;
  std::string focus;
  bool unloaded = false;
  std::string answerWords;
};

// One step of the working: its name, the expression as copied, the words a
// screen reader reads instead of the math, and the numbers for MathML.
struct StepRow {
  std::string name;
  std::string expr;
  std::string words;
  WorkingNumber left;
  std::string op;  // empty when the step is one number
  WorkingNumber right;
};

// The steps, the stop's prompt (null when none) and sentence, and the copy text.
val WorkingValue(const Form1& form) {
  const WorkingLines working = WorkingOf(form);
  val steps = val::array();
  for (const WorkingStep& step : working.steps) {
    steps.call<void>(
        "push",
        val(StepRow{std::string(step.name), ExpressionText(step), StepWords(step), step.left,
                    step.op ? std::string(OperatorSymbol(*step.op)) : "", step.right}));
  }
  val object = val::object();
  object.set("steps", steps);
  object.set("stop", working.stop ? val(*working.stop) : val::null());
  object.set("stopText", working.stop ? StopText(*working.stop) : "");
  object.set("text", PlainText(working));
  return object;
}

struct MessageBox {
  std::string prompt;
  std::string title;
  int style = 0;
  State window;
};

State StateOf(const Form1& form) {
  State state;
  for (std::int16_t i = 0; i < 3; ++i) {
    state.text1.at(static_cast<std::size_t>(i)) = form.Text1(Integer{i}).Text;
    state.text2.at(static_cast<std::size_t>(i)) = form.Text2(Integer{i}).Text;
  }
  for (std::int16_t i = 0; i < 4; ++i) {
    state.label1.at(static_cast<std::size_t>(i)) = form.Label1(Integer{i}).Caption;
  }
  state.label3 = form.Label3.Caption;
  state.label7 = form.Label7.Caption;
  state.line3 = form.Line3.Visible;
  state.option1 = form.Option1.Chosen();
  state.option2 = form.Option2.Chosen();
  state.focus = DisplayName(form.Focus());
  state.unloaded = form.IsUnloaded();
  state.answerWords =
      AnswerWords(state.label1[0], state.label1[1], state.label1[2], state.label1[3]);
  return state;
}

class WebRuntime final : public Runtime {
 public:
  void Watch(const Form1& form) { form_ = &form; }

  void MsgBox(const std::string& prompt, Integer style, const std::string& title) override {
    boxes_.push_back({prompt, title, style.value, StateOf(*form_)});
  }
  // The form reports itself unloaded; the page asks it through the snapshot.
  void Unloaded() override {}
  // The user sees the error through the message box that follows.
  void ErrorLeftHandler(const RuntimeError& /*error*/, std::string_view /*handler*/) override {}

  std::vector<MessageBox> TakeBoxes() { return std::exchange(boxes_, {}); }

 private:
  const Form1* form_ = nullptr;
  std::vector<MessageBox> boxes_;
};

class Window {
 public:
  Window() { runtime_.Watch(form_); }

  // An entry point that names its control; an unknown name changes nothing.
  template <bool (Form1::*Action)(ControlId)>
  bool On(const std::string& name) {
    const std::optional<ControlId> id = ParseControlName(name);
    return id && (form_.*Action)(*id);
  }
  bool Type(const std::string& text) { return form_.Type(text); }
  bool Erase() { return form_.Erase(); }
  bool EditText(const std::string& name, const std::string& text) {
    const std::optional<ControlId> id = ParseControlName(name);
    return id && form_.EditText(*id, text);
  }
  bool PressKey(const std::string& name) {
    const std::optional<Key> key = ParseKey(name);
    return key && form_.PressKey(*key);
  }
  [[nodiscard]] bool WrapsOn(const std::string& name) const {
    const std::optional<Key> key = ParseKey(name);
    return key && form_.WrapsOn(*key);
  }
  bool Close() { return form_.RequestClose(); }
  [[nodiscard]] State Snapshot() const { return StateOf(form_); }
  [[nodiscard]] val Working() const { return WorkingValue(form_); }

  val TakeMessageBoxes() {
    val boxes = val::array();
    for (MessageBox& box : runtime_.TakeBoxes()) {
      boxes.call<void>("push", val(std::move(box)));
    }
    return boxes;
  }

 private:
  WebRuntime runtime_;
  Form1 form_{runtime_};
};

std::string TypeName(const ControlType type) {
  switch (type) {
    case ControlType::Frame:
      return "Frame";
    case ControlType::OptionButton:
      return "OptionButton";
    case ControlType::Label:
      return "Label";
    case ControlType::TextBox:
      return "TextBox";
    case ControlType::CommandButton:
      return "CommandButton";
    case ControlType::Line:
      return "Line";
    case ControlType::MenuCommand:
      return "MenuCommand";
  }
  return "";
}

std::string AlignName(const TextAlign align) {
  switch (align) {
    case TextAlign::Left:
      return "left";
    case TextAlign::Centre:
      return "centre";
    case TextAlign::Right:
      return "right";
    case TextAlign::Default:
      break;
  }
  return "";
}

// The definition crosses into the page as one JSON text, parsed there at once: built a value at a
// time it cost the page's start more than the rest of the model together.
std::string Quoted(const std::string_view text) {
  std::string quoted;
  AppendJsonString(quoted, text);
  return quoted;
}

// One JSON object or array, written member by member.
class Json {
 public:
  static Json Object() { return Json('{', '}'); }
  static Json Array() { return Json('[', ']'); }

  Json& Text(const std::string_view key, const std::string_view value) {
    return Raw(key, Quoted(value));
  }
  Json& Number(const std::string_view key, const int value) {
    return Raw(key, std::to_string(value));
  }
  Json& Flag(const std::string_view key, const bool value) {
    return Raw(key, value ? "true" : "false");
  }
  Json& Raw(const std::string_view key, const std::string_view json) {
    Separate();
    text_ += Quoted(key) + ':';
    text_ += json;
    return *this;
  }
  Json& Element(const std::string_view json) {
    Separate();
    text_ += json;
    return *this;
  }
  [[nodiscard]] std::string Close() const { return text_ + close_; }

 private:
  Json(const char open, const char close) : text_(1, open), close_(close) {}
  void Separate() {
    if (text_.size() > 1) {
      text_ += ',';
    }
  }

  std::string text_;
  char close_;
};

std::string FontOf(const FontDef& font) {
  return Json::Object()
      .Text("face", font.face == kGothicFace   ? "gothic"
                    : font.face == kMinchoFace ? "mincho"
                                               : "")
      .Number("pixels", font.Pixels())
      .Flag("bold", font.bold)
      .Close();
}

std::string ColourOf(const std::uint32_t colour) {
  if (colour == kDefaultColour) {
    return "";
  }
  static constexpr std::string_view kHex = "0123456789abcdef";
  std::string text = "#";
  for (int shift = 20; shift >= 0; shift -= 4) {
    text += kHex[(colour >> static_cast<unsigned>(shift)) & 0xFU];
  }
  return text;
}

std::string ControlOf(const ControlDef& def) {
  return Json::Object()
      .Text("name", DisplayName(def.id))
      .Text("type", TypeName(def.type))
      .Text("container", def.container ? DisplayName({*def.container}) : "")
      .Text("caption", def.caption)
      .Number("left", def.left)
      .Number("top", def.top)
      .Number("width", def.width)
      .Number("height", def.height)
      .Number("tabIndex", def.tabIndex)
      .Raw("font", FontOf(def.font))
      .Text("align", AlignName(def.align))
      .Number("maxLength", def.maxLength)
      .Text("colour", ColourOf(def.colour))
      .Text("accessibleName", def.type == ControlType::Label ? "" : AccessibleNameOf(def.id))
      .Close();
}

std::string DefinitionJson() {
  Json controls = Json::Array();
  for (const ControlDef& def : ControlDefinitions()) {
    controls.Element(ControlOf(def));
  }
  Json lines = Json::Array();
  for (const LineDef& def : LineDefinitions()) {
    lines.Element(Json::Object()
                      .Text("name", DisplayName(def.id))
                      .Number("x1", def.x1)
                      .Number("y1", def.y1)
                      .Number("x2", def.x2)
                      .Number("y2", def.y2)
                      .Close());
  }
  Json menus = Json::Array();
  for (const MenuDef& def : MenuDefinitions()) {
    menus.Element(
        Json::Object().Text("name", DisplayName(def.id)).Text("caption", def.caption).Close());
  }
  return Json::Object()
      .Text("caption", kFormCaption)
      .Number("clientWidth", kClientWidthTwips)
      .Number("clientHeight", kClientHeightTwips)
      .Raw("controls", controls.Close())
      .Raw("lines", lines.Close())
      .Raw("menus", menus.Close())
      .Text("answerAreaName", kAnswerAreaName)
      .Raw("working", Json::Object()
                          .Text("heading", kWorkingHeading)
                          .Text("copy", kCopyCaption)
                          .Text("copied", kCopiedCaption)
                          .Text("empty", kNoWorkingYet)
                          .Close())
      .Close();
}

val Definition() {
  return val::global("JSON").call<val>("parse", DefinitionJson());
}

}  // namespace
}  // namespace tavolen

EMSCRIPTEN_BINDINGS(tavolen) {
  using emscripten::class_;
  using emscripten::function;
  using emscripten::value_array;
  using emscripten::value_object;
  using tavolen::MessageBox;
  using tavolen::State;
  using tavolen::Window;

  value_array<std::array<std::string, 3>>("Texts3")
      .element(emscripten::index<0>())
      .element(emscripten::index<1>())
      .element(emscripten::index<2>());
  value_array<std::array<std::string, 4>>("Texts4")
      .element(emscripten::index<0>())
      .element(emscripten::index<1>())
      .element(emscripten::index<2>())
      .element(emscripten::index<3>());
  value_object<State>("State")
      .field("text1", &State::text1)
      .field("text2", &State::text2)
      .field("label1", &State::label1)
      .field("label3", &State::label3)
      .field("label7", &State::label7)
      .field("line3", &State::line3)
      .field("option1", &State::option1)
      .field("option2", &State::option2)
      .field("focus", &State::focus)
      .field("unloaded", &State::unloaded)
      .field("answerWords", &State::answerWords);
  value_object<tavolen::WorkingNumber>("WorkingNumber")
      .field("negative", &tavolen::WorkingNumber::negative)
      .field("whole", &tavolen::WorkingNumber::whole)
      .field("numerator", &tavolen::WorkingNumber::numerator)
      .field("denominator", &tavolen::WorkingNumber::denominator);
  value_object<tavolen::StepRow>("StepRow")
      .field("name", &tavolen::StepRow::name)
      .field("expr", &tavolen::StepRow::expr)
      .field("words", &tavolen::StepRow::words)
      .field("left", &tavolen::StepRow::left)
      .field("op", &tavolen::StepRow::op)
      .field("right", &tavolen::StepRow::right);
  value_object<MessageBox>("MessageBox")
      .field("prompt", &MessageBox::prompt)
      .field("title", &MessageBox::title)
      .field("style", &MessageBox::style)
      .field("window", &MessageBox::window);

  function("definition", &tavolen::Definition);
  class_<Window>("Window")
      .constructor<>()
      .function("focus", &Window::On<&tavolen::Form1::MoveFocus>)
      .function("type", &Window::Type)
      .function("erase", &Window::Erase)
      .function("editText", &Window::EditText)
      .function("press", &Window::On<&tavolen::Form1::Press>)
      .function("click", &Window::On<&tavolen::Form1::Click>)
      .function("key", &Window::PressKey)
      .function("wrapsOn", &Window::WrapsOn)
      .function("menu", &Window::On<&tavolen::Form1::ChooseMenu>)
      .function("close", &Window::Close)
      .function("snapshot", &Window::Snapshot)
      .function("working", &Window::Working)
      .function("takeMessageBoxes", &Window::TakeMessageBoxes);
}
