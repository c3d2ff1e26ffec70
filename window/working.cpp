#include "window/working.h"

#include <array>
#include <charconv>
#include <cstdint>

#include "arith/answer_form.h"
#include "arith/working.h"
#include "window/controls.h"
#include "window/form1.h"

namespace tavolen {
namespace {

std::string Digits(const std::uint64_t value) {
  std::array<char, 24> buffer{};
  const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value).ptr;
  return {buffer.data(), end};
}

std::uint64_t Magnitude(const std::int64_t value) {
  return value < 0 ? 0U - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
}

// A fraction whose numerator is 0 is written 0, one over 1 as its whole number.
WorkingNumber NumberOf(const StepFraction& f) {
  if (f.numerator == 0) {
    return {false, "0", "", ""};
  }
  const bool negative = (f.numerator < 0) != (f.denominator < 0);
  if (Magnitude(f.denominator) == 1) {
    return {negative, Digits(Magnitude(f.numerator)), "", ""};
  }
  return {negative, "", Digits(Magnitude(f.numerator)), Digits(Magnitude(f.denominator))};
}

// The problem stands as typed: a zero denominator under no positive numerator
// leaves the whole part alone (the calculation ignores that numerator).
WorkingNumber TypedOf(const Operand& operand) {
  const auto text = [](const Long x) { return TextOf(x); };
  if (operand.Denominator.value == 0 && operand.Numerator.value <= 0) {
    return {false, text(operand.Whole), "", ""};
  }
  return {false, operand.Whole.value == 0 ? "" : text(operand.Whole), text(operand.Numerator),
          text(operand.Denominator)};
}

std::string_view NameOf(const StepName name) {
  switch (name) {
    case StepName::ToImproperFraction:
      return "仮分数に直す";
    case StepName::ReduceOperands:
    case StepName::ReduceResult:
      return "約分する";
    case StepName::CommonDenominator:
      return "通分する";
    case StepName::Reciprocal:
      return "逆数をかける";
    case StepName::CancelBeforeMultiplying:
      return "かける前に約分する";
    case StepName::Calculate:
      return "計算する";
  }
  return "";
}

// The mixed number exactly as the answer-form handler writes it into the labels.
std::optional<WorkingNumber> MixedNumberOf(const StepFraction& answer) {
  const std::uint64_t numerator = Magnitude(answer.numerator);
  const std::uint64_t denominator = Magnitude(answer.denominator);
  if (denominator == 1 || numerator <= denominator) {
    return std::nullopt;
  }
  const AnswerConversion mixed =
      ToMixedNumber({Currency::Whole(static_cast<std::int64_t>(denominator)),
                     Currency::Whole(static_cast<std::int64_t>(numerator)), Currency{}});
  if (!mixed) {
    return std::nullopt;
  }
  return WorkingNumber{answer.numerator < 0, mixed->whole, mixed->numerator, Digits(denominator)};
}

}  // namespace

WorkingLines WorkingOf(const Form1& form) {
  const Working& working = form.working();
  WorkingLines lines;
  if (const std::optional<Problem>& problem = working.problem()) {
    lines.steps.push_back(
        {"", TypedOf(problem->first), problem->op, TypedOf(problem->second), std::nullopt});
  }
  for (const Step& step : working.steps()) {
    lines.steps.push_back({NameOf(step.name), NumberOf(step.left),
                           step.right ? std::optional(step.op) : std::nullopt,
                           step.right ? NumberOf(*step.right) : WorkingNumber{}, std::nullopt});
  }
  const std::optional<StepFraction>& answer = working.answer();
  if (answer && form.Option2.Chosen() == static_cast<std::int16_t>(AnswerForm::MixedNumber)) {
    if (std::optional<WorkingNumber> mixed = MixedNumberOf(*answer)) {
      lines.steps.push_back({"帯分数に直す", std::move(*mixed), std::nullopt, {}, std::nullopt});
    }
  }
  lines.stop = working.stop();
  lines.calculation = working.calculation();
  return lines;
}

std::string_view OperatorSymbol(const CalcOperator op) {
  if (op == CalcOperator::NoOperator) {
    return "";
  }
  return DefinitionOf({ControlName::Option1, static_cast<std::int16_t>(op)}).caption;
}

std::string NumberText(const WorkingNumber& number) {
  std::string text = number.negative ? "-" : "";
  text += number.whole;
  if (!number.denominator.empty()) {
    text += number.whole.empty() ? "" : " ";
    text += number.numerator + "/" + number.denominator;
  }
  return text;
}

std::string ExpressionText(const WorkingStep& step) {
  if (!step.op) {
    return NumberText(step.left);
  }
  return NumberText(step.left) + " " + std::string(OperatorSymbol(*step.op)) + " " +
         NumberText(step.right);
}

namespace {

// A term of whole numbers, "1×2＋1", takes parentheses inside a fraction.
bool IsCompound(const std::string& term) {
  return term.find_first_not_of("0123456789") != std::string::npos;
}

std::string Bracketed(const std::string& term) {
  return IsCompound(term) ? "(" + term + ")" : term;
}

std::string DetailNumberText(const WorkingNumber& number) {
  std::string text = number.negative ? "-" : "";
  text += number.whole;
  if (!number.denominator.empty()) {
    text += number.whole.empty() ? "" : " ";
    text += Bracketed(number.numerator) + "/" + Bracketed(number.denominator);
  }
  return text;
}

}  // namespace

std::string DetailText(const WorkingDetail& detail) {
  if (!detail.op) {
    return DetailNumberText(detail.left);
  }
  return DetailNumberText(detail.left) + " " + std::string(OperatorSymbol(*detail.op)) + " " +
         DetailNumberText(detail.right);
}

std::string StopText(const std::string_view prompt) {
  return "計算できません：" + std::string(prompt);
}

std::string PlainText(const WorkingLines& working, const bool withDetails) {
  std::string text;
  for (const WorkingStep& step : working.steps) {
    if (withDetails && step.how) {
      text += "= " + DetailText(*step.how) + '\n';
    }
    if (step.name.empty()) {
      text += ExpressionText(step);
    } else {
      text += "= " + ExpressionText(step) + "（" + std::string(step.name) + "）";
    }
    text += '\n';
  }
  if (working.stop) {
    text += StopText(*working.stop) + '\n';
  }
  return text;
}

bool TakesAnswerKeys(const ControlId focus) {
  return IsCommandButton(focus) || IsOptionButton(focus);
}

std::string AnswerText(const Form1& form) {
  const auto label = [&form](const std::int16_t i) { return form.Label1(Integer{i}).Caption; };
  return NumberText({label(3) == "-", label(2), label(1), label(0)});
}

}  // namespace tavolen
