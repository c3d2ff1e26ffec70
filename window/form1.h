// Form1 as a model with no toolkit: the controls' properties, the keyboard
// focus, the chosen button of each frame, and the entry points through which
// every view (the Qt and Windows windows, the page, the replay tool, the
// tests) hands it the user's actions. Focus, tab order and option choice are
// decided here and nowhere else.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "arith/number.h"
#include "arith/working.h"
#include "runtime/services.h"
#include "window/controls.h"

namespace tavolen {

struct TextBox {
  std::string Text;
};

struct Label {
  std::string Caption;
};

struct Line {
  bool Visible = true;
};

// The option buttons of one frame; exactly one is chosen.
class OptionGroup {
 public:
  OptionGroup(ControlName name, std::int16_t count) : name_(name), count_(count) {}
  // True (-1) for the chosen button, False (0) for the others.
  [[nodiscard]] Integer Value(Integer index) const;
  [[nodiscard]] std::int16_t Chosen() const { return chosen_; }
  [[nodiscard]] std::int16_t Count() const { return count_; }
  [[nodiscard]] ControlName Name() const { return name_; }
  void Choose(std::int16_t index);

 private:
  ControlName name_;
  std::int16_t count_;
  std::int16_t chosen_ = 0;
};

enum class Key : std::uint8_t { Tab, ShiftTab, Left, Right, Up, Down, Space, Enter };

// "Tab", "Shift+Tab", "Left", "Right", "Up", "Down", "Space", "Enter"; nullopt for any other.
[[nodiscard]] std::optional<Key> ParseKey(std::string_view text);

class Form1 {
 public:
  explicit Form1(Runtime& runtime);
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  // Properties, as the handlers reach them. A bad index raises a RuntimeError.
  TextBox& Text1(Integer index);
  TextBox& Text2(Integer index);
  Label& Label1(Integer index);
  [[nodiscard]] const TextBox& Text1(Integer index) const;
  [[nodiscard]] const TextBox& Text2(Integer index) const;
  [[nodiscard]] const Label& Label1(Integer index) const;
  Label Label3;
  Label Label4;
  Label Label7;
  Line Line1;
  Line Line2;
  Line Line3;
  OptionGroup Option1;
  OptionGroup Option2;

  // The entry field or button that has the keyboard focus.
  [[nodiscard]] ControlId Focus() const { return focus_; }
  [[nodiscard]] bool IsUnloaded() const { return unloaded_; }
  [[nodiscard]] Runtime& runtime() const { return runtime_; }
  // Whether Tab (or Shift+Tab) from the focus wraps around to the other end of
  // the tab order: where the window sits inside a larger surface, such as a
  // web page, that key hands the focus on to the surface instead.
  [[nodiscard]] bool WrapsOn(Key key) const;
  // Whether an entry field's text or the operator now differs from what the
  // last 計算 read (until 消す): the answer and working on show are then the
  // previous calculation's, not an equation of what stands in the fields.
  [[nodiscard]] bool AnswerIsStale() const;
  // The working of the last calculation, as its steps left it.
  [[nodiscard]] const Working& working() const { return working_; }
  Working& working() { return working_; }

  // Entry points. Each raises Click, GotFocus and LostFocus in the form
  // engine's order and returns false, changing nothing, when the action does
  // not apply (an entry point that needs an entry field without one focused,
  // a control that cannot take that action, or a window already unloaded).

  // The focus moves to an entry field or command button, as a mouse press into
  // a field or a program's focus change does. Nothing happens if it has it.
  bool MoveFocus(ControlId target);
  // Types text (UTF-8) at the end of the focused field, one code point at a
  // time; a character beyond the field's limit is refused.
  bool Type(std::string_view text);
  // Empties the focused field.
  bool Erase();
  // The user edited an entry field to this text (a paste, a deletion in the
  // middle); text beyond the field's limit is cut off.
  bool EditText(ControlId field, std::string_view text);
  // A mouse press on a command button or option button: the focus moves to it
  // and nothing is clicked or chosen yet; Click follows if the release is
  // over the same control.
  bool Press(ControlId target);
  // A mouse click on a command button or option button; focus moves first.
  bool Click(ControlId target);
  bool PressKey(Key key);
  // A menu command; the focus does not move.
  bool ChooseMenu(ControlId command);
  // The window system asks the window to close; it cannot refuse.
  bool RequestClose();

  // The Unload service: the window is gone and the program ends.
  void Unload();

 private:
  void LoseFocus();
  void GainFocus();
  void ShiftFocus(ControlId target);
  void RaiseClick(ControlId control);
  void ChooseOption(ControlId button);
  template <typename Handler>
  void Raise(std::string_view handlerName, Handler&& handler);

  // What a calculation reads: the six entry fields and the chosen operator.
  struct Inputs {
    std::array<std::string, 3> text1;
    std::array<std::string, 3> text2;
    std::int16_t op = 0;
    bool operator==(const Inputs&) const = default;
  };
  [[nodiscard]] Inputs CurrentInputs() const;

  Runtime& runtime_;
  std::array<TextBox, 3> text1_;
  std::array<TextBox, 3> text2_;
  std::array<Label, 4> label1_;
  Working working_;
  // What the last 計算 read; none before the first and after 消す.
  std::optional<Inputs> calculated_;
  ControlId focus_;
  bool unloaded_ = false;
};

// Characters the user may type into an entry field (3 or 4).
[[nodiscard]] int FieldLimit(ControlId field);

// The model's text, bar or option group behind a control, as a front end
// draws it; nullptr for a control of another kind.
[[nodiscard]] const std::string* ModelText(const Form1& form, ControlId id);
[[nodiscard]] const Line* ModelLine(const Form1& form, ControlId id);
[[nodiscard]] const OptionGroup* ModelGroup(const Form1& form, ControlId id);

}  // namespace tavolen
