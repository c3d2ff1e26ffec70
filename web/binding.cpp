// The window model for the page: its definition, one Window per run of the
// program, and a plain snapshot of what the page draws. A handler cannot wait
// for the user here, so each message box is queued with the window as it
// stood when the box opened, and the page plays them back in order.
//
// Everything crosses into the page as JSON text through a few C functions, and
// load.js gives them back their methods: values built one at a time through a
// binding library cost the page's start more than the model itself.
#include <emscripten/emscripten.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "runtime/services.h"
#include "web/panel.h"
#include "window/accessible_text.h"
#include "window/controls.h"
#include "window/form1.h"
#include "window/json.h"
#include "window/state_json.h"

namespace tavolen {
namespace {

// What the page draws of the window: the window's state, with what only the
// page needs.
std::string StateOf(const Form1& form) {
  return StateJson(form)
      .Flag("unloaded", form.IsUnloaded())
      .Text("answerWords", AnswerWordsOf(form))
      .Flag("stale", form.AnswerIsStale())
      .Close();
}

class WebRuntime final : public Runtime {
 public:
  void Watch(const Form1& form) { form_ = &form; }

  void MsgBox(const std::string& prompt, Integer style, const std::string& title) override {
    boxes_.Element(Json::Object()
                       .Text("prompt", prompt)
                       .Text("title", title)
                       .Number("style", style.value)
                       .Raw("window", StateOf(*form_))
                       .Close());
  }
  // The form reports itself unloaded; the page asks it through the snapshot.
  void Unloaded() override {}
  // The user sees the error through the message box that follows.

  std::string TakeBoxes() { return std::exchange(boxes_, Json::Array()).Close(); }

 private:
  const Form1* form_ = nullptr;
  Json boxes_ = Json::Array();
};

class Window {
 public:
  // Not trivial: the runtime watches the form it serves.
  Window() { runtime_.Watch(form_); }  // NOLINT(modernize-use-equals-default)

  Form1& Form() { return form_; }
  WebRuntime& Messages() { return runtime_; }

  // The last text handed to the page, kept until the next.
  const char* Reply(std::string text) {
    reply_ = std::move(text);
    return reply_.c_str();
  }

 private:
  WebRuntime runtime_;
  Form1 form_{runtime_};
  std::string reply_;
};

// An entry point that names its control; an unknown name changes nothing.
template <bool (Form1::*Action)(ControlId)>
int On(Window& window, const char* name) {
  const std::optional<ControlId> id = ParseControlName(name);
  return id && (window.Form().*Action)(*id) ? 1 : 0;
}

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
      .Text("key", DisplayName({def.id.name}))
      .Number("index", def.id.index)
      .Text("type", TypeName(def.type))
      .Text("container", def.container ? DisplayName({*def.container}) : "")
      .Flag("inAnswerArea", InAnswerArea(def.id))
      .Text("caption", def.caption)
      .Number("left", def.left)
      .Number("top", def.top)
      .Number("width", def.width)
      .Number("height", def.height)
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
                      .Flag("inAnswerArea", InAnswerArea(def.id))
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
  const TwipsRect area = AnswerAreaTwips();
  return Json::Object()
      .Text("caption", kFormCaption)
      .Number("clientWidth", kClientWidthTwips)
      .Number("clientHeight", kClientHeightTwips)
      .Raw("controls", controls.Close())
      .Raw("lines", lines.Close())
      .Raw("menus", menus.Close())
      .Raw("answerArea", Json::Object()
                             .Number("left", area.left)
                             .Number("top", area.top)
                             .Number("width", area.right - area.left)
                             .Number("height", area.bottom - area.top)
                             .Close())
      .Text("answerAreaName", kAnswerAreaName)
      .Text("previousAnswer", kPreviousAnswerDescription)
      .Raw("working", PanelTextsJson())
      .Close();
}

}  // namespace
}  // namespace tavolen

// The page's entry points. Texts are UTF-8 with a terminating zero, in memory
// the page asks for with tavolen_alloc and gives back with tavolen_free.
// The page calls these by their C names.
// NOLINTBEGIN(readability-identifier-naming)
extern "C" {

EMSCRIPTEN_KEEPALIVE char* tavolen_alloc(const std::size_t size) {
  return static_cast<char*>(std::malloc(size));
}
EMSCRIPTEN_KEEPALIVE void tavolen_free(char* text) {
  std::free(text);
}

EMSCRIPTEN_KEEPALIVE const char* tavolen_definition() {
  static const std::string definition = tavolen::DefinitionJson();
  return definition.c_str();
}

// The page owns each window from here until it hands it back to be deleted.
EMSCRIPTEN_KEEPALIVE tavolen::Window* tavolen_window_new() {
  return std::make_unique<tavolen::Window>().release();
}
EMSCRIPTEN_KEEPALIVE void tavolen_window_delete(tavolen::Window* window) {
  const std::unique_ptr<tavolen::Window> owned(window);
}

EMSCRIPTEN_KEEPALIVE int tavolen_focus(tavolen::Window* window, const char* name) {
  return tavolen::On<&tavolen::Form1::MoveFocus>(*window, name);
}
EMSCRIPTEN_KEEPALIVE int tavolen_press(tavolen::Window* window, const char* name) {
  return tavolen::On<&tavolen::Form1::Press>(*window, name);
}
EMSCRIPTEN_KEEPALIVE int tavolen_click(tavolen::Window* window, const char* name) {
  return tavolen::On<&tavolen::Form1::Click>(*window, name);
}
EMSCRIPTEN_KEEPALIVE int tavolen_menu(tavolen::Window* window, const char* name) {
  return tavolen::On<&tavolen::Form1::ChooseMenu>(*window, name);
}
EMSCRIPTEN_KEEPALIVE int tavolen_type(tavolen::Window* window, const char* text) {
  return window->Form().Type(text) ? 1 : 0;
}
EMSCRIPTEN_KEEPALIVE int tavolen_erase(tavolen::Window* window) {
  return window->Form().Erase() ? 1 : 0;
}
EMSCRIPTEN_KEEPALIVE int tavolen_edit_text(tavolen::Window* window, const char* name,
                                           const char* text) {
  const std::optional<tavolen::ControlId> id = tavolen::ParseControlName(name);
  return id && window->Form().EditText(*id, text) ? 1 : 0;
}
EMSCRIPTEN_KEEPALIVE int tavolen_key(tavolen::Window* window, const char* name) {
  const std::optional<tavolen::Key> key = tavolen::ParseKey(name);
  return key && window->Form().PressKey(*key) ? 1 : 0;
}
EMSCRIPTEN_KEEPALIVE int tavolen_wraps_on(tavolen::Window* window, const char* name) {
  const std::optional<tavolen::Key> key = tavolen::ParseKey(name);
  return key && window->Form().WrapsOn(*key) ? 1 : 0;
}
EMSCRIPTEN_KEEPALIVE int tavolen_close(tavolen::Window* window) {
  return window->Form().RequestClose() ? 1 : 0;
}
EMSCRIPTEN_KEEPALIVE const char* tavolen_snapshot(tavolen::Window* window) {
  return window->Reply(tavolen::StateOf(window->Form()));
}
EMSCRIPTEN_KEEPALIVE const char* tavolen_take_message_boxes(tavolen::Window* window) {
  return window->Reply(window->Messages().TakeBoxes());
}

// The panel's entry points that take the window; the rest are with the panel.
EMSCRIPTEN_KEEPALIVE const char* tavolen_panel_follow(tavolen::Panel* panel,
                                                      tavolen::Window* window) {
  panel->Follow(window->Form());
  return panel->Reply();
}
EMSCRIPTEN_KEEPALIVE const char* tavolen_panel_check(tavolen::Panel* panel,
                                                     tavolen::Window* window) {
  panel->Check().Check(window->Form());
  return panel->Reply();
}

}  // extern "C"
// NOLINTEND(readability-identifier-naming)
