// The whole Calculate road on the window model: six field texts, an operator
// and an answer form. Whenever no run-time error was reported, every answer
// shown must be the exact rational result of the cleaned operands, worked out
// here independently with 128-bit integers. The working ends in that answer as
// shown, or stops with the prompt of the message the window showed.
//
// Input: a first line whose first byte picks the operator ("+-*/", otherwise
// the byte modulo 4) and whose second byte the answer form ('m' mixed, 'i'
// improper, otherwise the byte modulo 2); then one line per field, in the order
// Text1(0), Text1(1), Text1(2), Text2(0), Text2(1), Text2(2).
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz/support.h"
#include "tests/support/rational.h"
#include "window/answer_menu.h"
#include "window/form1.h"
#include "window/working.h"

namespace tavolen::fuzz {
namespace {

using Int = testing::Int128;

constexpr std::string_view kRejection = "分母を１以上の整数にしてください。";
constexpr std::string_view kDivisionByZero = "0で割り算しようとしています。";

struct Scenario {
  std::int16_t op = 0;    // Option1 index
  std::int16_t form = 0;  // Option2 index
  std::array<std::string, 6> fields;
};

std::int16_t Pick(std::string_view line, std::size_t at, std::string_view named) {
  if (at >= line.size()) {
    return 0;
  }
  const auto found = named.find(line[at]);
  const auto byte = static_cast<unsigned char>(line[at]);
  return static_cast<std::int16_t>(found != std::string_view::npos ? found : byte % named.size());
}

Scenario Parse(std::string_view input) {
  Scenario scenario;
  const auto firstEnd = input.find('\n');
  const std::string_view first = input.substr(0, firstEnd);
  scenario.op = Pick(first, 0, "+-*/");
  scenario.form = Pick(first, 1, "mi");
  std::string_view rest = firstEnd == std::string_view::npos ? "" : input.substr(firstEnd + 1);
  for (auto& field : scenario.fields) {
    const auto end = rest.find('\n');
    field = rest.substr(0, end);
    rest = end == std::string_view::npos ? "" : rest.substr(end + 1);
  }
  return scenario;
}

ControlId FieldId(std::size_t slot) {
  return {slot < 3 ? ControlName::Text1 : ControlName::Text2, static_cast<std::int16_t>(slot % 3)};
}

const std::string& FieldText(const Form1& form, std::size_t slot) {
  const Integer index{static_cast<std::int16_t>(slot % 3)};
  return slot < 3 ? form.Text1(index).Text : form.Text2(index).Text;
}

Int Digits(std::string_view text) {
  Int value = 0;
  for (const char c : text) {
    value = value * 10 + (c - '0');
  }
  return value;
}

using testing::Rational;
using testing::Reduced;

// The operand that the fields slot..slot+2 (denominator, numerator, whole)
// enter, or nothing when a zero denominator stands under a positive numerator.
std::optional<Rational> OperandOf(const Form1& form, std::size_t slot) {
  const Int den = Digits(FieldText(form, slot));
  const Int num = Digits(FieldText(form, slot + 1));
  const Int whole = Digits(FieldText(form, slot + 2));
  if (den == 0) {
    return num > 0 ? std::nullopt : std::optional<Rational>(Rational{whole, 1});
  }
  return Reduced(whole * den + num, den);
}

std::string Text(Int value) {
  if (value == 0) {
    return "0";
  }
  std::string text;
  for (; value > 0; value /= 10) {
    text.insert(text.begin(), static_cast<char>('0' + static_cast<int>(value % 10)));
  }
  return text;
}

struct Shown {
  std::string denominator, numerator, whole, sign;
  bool bar = true;
  friend bool operator==(const Shown&, const Shown&) = default;
};

Shown ShownBy(const Form1& form) {
  return {form.Label1(Integer{0}).Caption, form.Label1(Integer{1}).Caption,
          form.Label1(Integer{2}).Caption, form.Label1(Integer{3}).Caption, form.Line3.Visible};
}

Shown Expected(Rational r, std::int16_t answerForm) {
  const Int magnitude = r.num < 0 ? -r.num : r.num;
  Shown shown{.sign = r.num < 0 ? "-" : ""};
  if (r.den == 1) {
    shown.whole = Text(magnitude);
    shown.bar = false;
  } else if (answerForm == 0 && magnitude > r.den) {
    shown = {Text(r.den), Text(magnitude % r.den), Text(magnitude / r.den), shown.sign, true};
  } else {
    shown = {Text(r.den), Text(magnitude), "", shown.sign, true};
  }
  return shown;
}

std::string Describe(const Shown& s) {
  return s.sign + "[" + s.whole + "] " + s.numerator + "/" + s.denominator +
         (s.bar ? " bar" : " no bar");
}

void CheckMagnitudes(const Form1& form) {
  for (std::int16_t i = 0; i < 3; ++i) {
    const std::string& caption = form.Label1(Integer{i}).Caption;
    Check(IsCleanEntry(caption), "an answer label holds a magnitude", caption);
  }
  const std::string& sign = form.Label1(Integer{3}).Caption;
  Check(sign.empty() || sign == "-", "the sign label holds a minus sign or nothing", sign);
}

// The message boxes of one calculation: the refusal, the division by zero, or none.
void CheckMessages(const Form1& form, const RecordingRuntime& runtime, std::int16_t op) {
  const auto first = OperandOf(form, 0);
  const auto second = OperandOf(form, 3);
  const bool byZero = first && second && op == 3 && second->num == 0;
  const std::string_view expected = !first || !second ? kRejection : byZero ? kDivisionByZero : "";
  const bool one = runtime.prompts.size() == 1 && runtime.prompts[0] == expected;
  Check(expected.empty() ? runtime.prompts.empty() : one, "the right message box, if any",
        expected);
}

void CheckAnswer(const Form1& form, std::int16_t op, std::int16_t answerForm) {
  const auto first = OperandOf(form, 0);
  const auto second = OperandOf(form, 3);
  const Shown shown = ShownBy(form);
  // A refusal and a division by zero leave the answer area empty.
  const bool byZero = first && second && op == 3 && second->num == 0;
  const Shown expected = first && second && !byZero
                             ? Expected(testing::Combine(*first, *second, op), answerForm)
                             : Shown{};
  Check(shown == expected, "the answer is the exact result",
        Describe(shown) + " instead of " + Describe(expected));
}

void CheckWorking(const Form1& form, const RecordingRuntime& runtime) {
  const WorkingLines working = WorkingOf(form);
  Check(!working.steps.empty() || working.stop.has_value(), "a calculation leaves a working");
  if (runtime.prompts.empty()) {
    Check(!working.stop && ExpressionText(working.steps.back()) == AnswerText(form),
          "the working ends in the answer as shown", AnswerText(form));
  } else {
    Check(working.stop == runtime.prompts.back(), "the working stops with the message's prompt",
          runtime.prompts.back());
  }
}

void Run(const Scenario& scenario) {
  RecordingRuntime runtime;
  Form1 form(runtime);
  for (std::size_t slot = 0; slot < scenario.fields.size(); ++slot) {
    const ControlId field = FieldId(slot);
    Check(form.MoveFocus(field) && form.EditText(field, scenario.fields[slot]),
          "a field takes its text");
  }
  form.Click({ControlName::Option1, scenario.op});
  form.Click({ControlName::Option2, scenario.form});
  const bool cleaned = runtime.errorsLeft == 0;
  for (std::size_t slot = 0; cleaned && slot < scenario.fields.size(); ++slot) {
    Check(IsCleanEntry(FieldText(form, slot)), "a left field holds a whole number",
          FieldText(form, slot));
  }
  Check(form.Click({ControlName::Command1}), "Calculate runs");
  CheckMagnitudes(form);
  CheckWorking(form, runtime);
  if (runtime.errorsLeft != 0) {
    return;
  }
  CheckMessages(form, runtime, scenario.op);
  CheckAnswer(form, scenario.op, scenario.form);

  const auto other = static_cast<std::int16_t>(1 - scenario.form);
  for (const std::int16_t answerForm : {other, scenario.form}) {
    form.Click({ControlName::Option2, answerForm});
    CheckMagnitudes(form);
    if (runtime.errorsLeft != 0) {
      return;
    }
    CheckAnswer(form, scenario.op, answerForm);
    CheckWorking(form, runtime);
  }
}

}  // namespace
}  // namespace tavolen::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  tavolen::fuzz::Run(tavolen::fuzz::Parse(input));
  return 0;
}
