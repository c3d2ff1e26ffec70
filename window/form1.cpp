#include "window/form1.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "runtime/utf8.h"
#include "window/handlers.h"

namespace tavolen {

namespace {

// A handler asked for a member of a control array that does not exist.
class NoSuchControl final : public RuntimeError {
 public:
  NoSuchControl() : RuntimeError("Control array element does not exist") {}
  [[nodiscard]] std::string name() const override { return "Control array element does not exist"; }
};

template <typename Array>
auto& Member(Array& members, Integer index) {
  if (index.value < 0 || static_cast<std::size_t>(index.value) >= members.size()) {
    throw NoSuchControl();
  }
  return members[static_cast<std::size_t>(index.value)];
}

TextBox& FieldOf(Form1& form, ControlId field) {
  const Integer index{field.index};
  return field.name == ControlName::Text1 ? form.Text1(index) : form.Text2(index);
}

OptionGroup& GroupOf(Form1& form, ControlName name) {
  return name == ControlName::Option1 ? form.Option1 : form.Option2;
}

}  // namespace

Integer OptionGroup::Value(Integer index) const {
  if (index.value < 0 || index.value >= count_) {
    throw NoSuchControl();
  }
  return index.value == chosen_ ? kTrue : kFalse;
}

void OptionGroup::Choose(std::int16_t index) {
  if (index < 0 || index >= count_) {
    throw NoSuchControl();
  }
  chosen_ = index;
}

Form1::Form1(Runtime& runtime)
    : Label3{std::string(DefinitionOf({ControlName::Label3}).caption)},
      Label4{std::string(DefinitionOf({ControlName::Label4}).caption)},
      Option1(ControlName::Option1, 4),
      Option2(ControlName::Option2, 2),
      runtime_(runtime),
      focus_{ControlName::Option1, 0} {}

TextBox& Form1::Text1(Integer index) {
  return Member(text1_, index);
}
TextBox& Form1::Text2(Integer index) {
  return Member(text2_, index);
}
Label& Form1::Label1(Integer index) {
  return Member(label1_, index);
}
const TextBox& Form1::Text1(Integer index) const {
  return Member(text1_, index);
}
const TextBox& Form1::Text2(Integer index) const {
  return Member(text2_, index);
}
const Label& Form1::Label1(Integer index) const {
  return Member(label1_, index);
}

// The event boundary: an error that leaves a handler goes to the runtime, and
// the window stays as the handler left it. A calculation's working stops
// where the error stopped it, with the prompt the user is shown.
template <typename Handler>
void Form1::Raise(std::string_view handlerName, Handler&& handler) {
  try {
    std::forward<Handler>(handler)();
  } catch (const RuntimeError& e) {
    working_.Stop(ErrorPrompt(e));
    ReportRuntimeError(runtime_, e, handlerName);
  }
}

void Form1::LoseFocus() {
  const ControlId field = focus_;
  const Integer index{field.index};
  if (field.name == ControlName::Text1) {
    Raise("Text1_LostFocus", [&] { Text1_LostFocus(*this, index); });
  } else if (field.name == ControlName::Text2) {
    Raise("Text2_LostFocus", [&] { Text2_LostFocus(*this, index); });
  }
}

void Form1::GainFocus() {
  const ControlId field = focus_;
  const Integer index{field.index};
  if (field.name == ControlName::Text1) {
    Raise("Text1_GotFocus", [&] { Text1_GotFocus(*this, index); });
  } else if (field.name == ControlName::Text2) {
    Raise("Text2_GotFocus", [&] { Text2_GotFocus(*this, index); });
  }
}

void Form1::ShiftFocus(ControlId target) {
  if (target == focus_) {
    return;
  }
  LoseFocus();
  focus_ = target;
  GainFocus();
}

void Form1::RaiseClick(ControlId control) {
  const Integer index{control.index};
  switch (control.name) {
    case ControlName::Command1:
      // Recorded first: a calculation refused or stopped part way still shows what it read.
      calculated_ = CurrentInputs();
      Raise("Command1_Click", [&] { Command1_Click(*this); });
      break;
    case ControlName::Command2:
      Raise("Command2_Click", [&] { Command2_Click(*this); });
      calculated_.reset();
      break;
    case ControlName::Command3:
      Raise("Command3_Click", [&] { Command3_Click(*this); });
      break;
    case ControlName::FileExit:
      Raise("FileExit_Click", [&] { FileExit_Click(*this); });
      break;
    case ControlName::FileBer:
      Raise("FileBer_Click", [&] { FileBer_Click(*this); });
      break;
    case ControlName::Option1:
      Raise("Option1_Click", [&] { Option1_Click(*this, index); });
      break;
    case ControlName::Option2:
      Raise("Option2_Click", [&] { Option2_Click(*this, index); });
      break;
    default:
      break;
  }
}

void Form1::ChooseOption(ControlId button) {
  OptionGroup& group = GroupOf(*this, button.name);
  if (group.Chosen() == button.index) {
    return;
  }
  group.Choose(button.index);
  RaiseClick(button);
}

bool Form1::MoveFocus(ControlId target) {
  if (unloaded_ || !(IsEntryField(target) || IsCommandButton(target))) {
    return false;
  }
  ShiftFocus(target);
  return true;
}

bool Form1::Type(const std::string_view text) {
  if (unloaded_ || !IsEntryField(focus_)) {
    return false;
  }
  std::string& field = FieldOf(*this, focus_).Text;
  const auto limit = static_cast<std::size_t>(FieldLimit(focus_));
  // Every character is one code point, so once the field is full the rest
  // would all be refused.
  const std::size_t room = limit - std::min(limit, CountCodePoints(field));
  field += ValidUtf8Prefix(text, room);
  return true;
}

bool Form1::Erase() {
  if (unloaded_ || !IsEntryField(focus_)) {
    return false;
  }
  FieldOf(*this, focus_).Text.clear();
  return true;
}

bool Form1::EditText(ControlId field, std::string_view text) {
  if (unloaded_ || !IsEntryField(field)) {
    return false;
  }
  FieldOf(*this, field).Text = ValidUtf8Prefix(text, static_cast<std::size_t>(FieldLimit(field)));
  return true;
}

bool Form1::Press(ControlId target) {
  if (unloaded_ || !(IsCommandButton(target) || IsOptionButton(target))) {
    return false;
  }
  ShiftFocus(target);
  return true;
}

bool Form1::Click(ControlId target) {
  if (unloaded_) {
    return false;
  }
  if (IsCommandButton(target)) {
    ShiftFocus(target);
    RaiseClick(target);
    return true;
  }
  if (IsOptionButton(target)) {
    ShiftFocus(target);
    ChooseOption(target);
    return true;
  }
  return false;
}

Form1::Inputs Form1::CurrentInputs() const {
  Inputs inputs;
  for (std::size_t i = 0; i < inputs.text1.size(); ++i) {
    inputs.text1.at(i) = text1_.at(i).Text;
    inputs.text2.at(i) = text2_.at(i).Text;
  }
  inputs.op = Option1.Chosen();
  return inputs;
}

bool Form1::AnswerIsStale() const {
  return calculated_ && *calculated_ != CurrentInputs();
}

bool Form1::ChooseMenu(ControlId command) {
  if (unloaded_ || command.index != -1 ||
      (command.name != ControlName::FileExit && command.name != ControlName::FileBer)) {
    return false;
  }
  RaiseClick(command);
  return true;
}

bool Form1::RequestClose() {
  if (unloaded_) {
    return false;
  }
  Unload();
  return true;
}

void Form1::Unload() {
  if (unloaded_) {
    return;
  }
  unloaded_ = true;
  runtime_.Unloaded();
}

int FieldLimit(ControlId field) {
  return DefinitionOf(field).maxLength;
}

}  // namespace tavolen
