#include "window/working.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

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

// "9＋14", "1×2": two whole numbers joined by the window's own sign.
std::string Term(const std::int64_t a, const CalcOperator op, const std::int64_t b) {
  std::string text = a < 0 ? "-" : "";
  text += Digits(Magnitude(a));
  text += OperatorSymbol(op);
  text += b < 0 ? "-" : "";
  text += Digits(Magnitude(b));
  return text;
}

WorkingNumber FractionOfTerms(const bool negative, std::string numerator, std::string denominator) {
  return {negative, "", std::move(numerator), std::move(denominator)};
}

// (W×D＋N)/D for an operand with a whole part, otherwise as the step writes it.
WorkingNumber ImproperDetail(const Operand& typed, const StepFraction& improper) {
  if (typed.Whole.value == 0 || typed.Denominator.value == 0) {
    return NumberOf(improper);
  }
  return FractionOfTerms(false,
                         Term(typed.Whole.value, CalcOperator::Multiply, typed.Denominator.value) +
                             std::string(OperatorSymbol(CalcOperator::Add)) +
                             Digits(Magnitude(typed.Numerator.value)),
                         Digits(Magnitude(typed.Denominator.value)));
}

// (N÷G)/(D÷G), G what the calculation divided both by, after the sign.
WorkingNumber ReducingDetail(const StepFraction& before, const StepFraction& after) {
  if (before == after) {
    return NumberOf(after);
  }
  const std::int64_t divisor = before.denominator / after.denominator;
  return FractionOfTerms(
      before.numerator < 0,
      Term(static_cast<std::int64_t>(Magnitude(before.numerator)), CalcOperator::Divide, divisor),
      Term(before.denominator, CalcOperator::Divide, divisor));
}

// (N×M)/(D×M), M what takes the denominator to the common one.
WorkingNumber WideningDetail(const StepFraction& before, const StepFraction& after) {
  if (before.denominator == after.denominator) {
    return NumberOf(after);
  }
  const std::int64_t multiplier = after.denominator / before.denominator;
  return FractionOfTerms(false, Term(before.numerator, CalcOperator::Multiply, multiplier),
                         Term(before.denominator, CalcOperator::Multiply, multiplier));
}

// Over a denominator of factors, the factors 1 left out; none left, a whole.
WorkingNumber OverFactors(std::string numerator, const std::int64_t d1, const std::int64_t d2) {
  if (d1 == 1 && d2 == 1) {
    return {false, std::move(numerator), "", ""};
  }
  std::string denominator = d1 == 1 || d2 == 1 ? Digits(Magnitude(d1 == 1 ? d2 : d1))
                                               : Term(d1, CalcOperator::Multiply, d2);
  return FractionOfTerms(false, std::move(numerator), std::move(denominator));
}

// The sum over the common denominator, or the product of numerators over the
// product of denominators; none where a factor is 0.
std::optional<WorkingNumber> CalculationDetail(const Step& step, const CalcOperator op) {
  const auto& [a, b] = step.from;
  switch (op) {
    case CalcOperator::Add:
    case CalcOperator::Subtract:
      return OverFactors(Term(a.numerator, op, b.numerator), a.denominator, 1);
    case CalcOperator::Multiply:
    case CalcOperator::Divide:
      if (a.numerator == 0 || b.numerator == 0) {
        return std::nullopt;
      }
      return OverFactors(Term(a.numerator, CalcOperator::Multiply, b.numerator), a.denominator,
                         b.denominator);
    case CalcOperator::NoOperator:
      break;
  }
  return std::nullopt;
}

std::optional<WorkingDetail> DetailOf(const Step& step, const Problem& problem) {
  const StepFraction right = step.right.value_or(StepFraction{});
  switch (step.name) {
    case StepName::ToImproperFraction:
      return WorkingDetail{ImproperDetail(problem.first, step.left), step.op,
                           ImproperDetail(problem.second, right)};
    case StepName::ReduceOperands:
      return WorkingDetail{ReducingDetail(step.from[0], step.left), step.op,
                           ReducingDetail(step.from[1], right)};
    case StepName::CommonDenominator:
      return WorkingDetail{WideningDetail(step.from[0], step.left), step.op,
                           WideningDetail(step.from[1], right)};
    case StepName::Calculate:
      if (std::optional<WorkingNumber> number = CalculationDetail(step, problem.op)) {
        return WorkingDetail{std::move(*number), std::nullopt, {}};
      }
      return std::nullopt;
    case StepName::ReduceResult:
      return WorkingDetail{ReducingDetail(step.from[0], step.left), std::nullopt, {}};
    case StepName::Reciprocal:
    case StepName::CancelBeforeMultiplying:
      break;
  }
  return std::nullopt;
}

// A term of whole numbers, "1×2＋1", takes parentheses inside a fraction.
bool IsCompound(const std::string& term) {
  return term.find_first_not_of("0123456789") != std::string::npos;
}

// Whether a detail reads, spaces aside, as a step: it can only where no part
// of a fraction stands in parentheses, as no step has any.
bool ReadsAs(const WorkingDetail& detail, const std::string_view step) {
  for (const WorkingNumber* number : {&detail.left, &detail.right}) {
    if (IsCompound(number->numerator) || IsCompound(number->denominator)) {
      return false;
    }
  }
  const std::string text = DetailText(detail);
  auto a = text.begin();
  auto b = step.begin();
  for (;; ++a, ++b) {
    a = std::find_if(a, text.end(), [](const char c) { return c != ' '; });
    b = std::find_if(b, step.end(), [](const char c) { return c != ' '; });
    if (a == text.end() || b == step.end() || *a != *b) {
      return a == text.end() && b == step.end();
    }
  }
}

// The working as it is written, each step's text kept beside it.
struct Written {
  std::vector<WorkingStep>& steps;
  std::vector<std::string> texts;

  // A step that reads as an earlier line takes the working back to that
  // line; a detail that reads as the line before it says nothing and goes.
  void Append(WorkingStep step) {
    std::string text = ExpressionText(step);
    const auto earlier = std::find(texts.begin(), texts.end(), text);
    if (earlier != texts.end()) {
      const auto kept = static_cast<std::size_t>(earlier - texts.begin()) + 1;
      steps.resize(kept);
      texts.resize(kept);
      return;
    }
    if (step.how && !texts.empty() && ReadsAs(*step.how, texts.back())) {
      step.how.reset();
    }
    steps.push_back(std::move(step));
    texts.push_back(std::move(text));
  }
};

}  // namespace

WorkingLines WorkingOf(const Form1& form) {
  const Working& working = form.working();
  WorkingLines lines;
  // The problem, each recorded step and the mixed number, moved only once.
  constexpr std::size_t kMostLines = 8;
  lines.steps.reserve(kMostLines);
  Written written{lines.steps, {}};
  written.texts.reserve(kMostLines);
  if (const std::optional<Problem>& problem = working.problem()) {
    written.Append(
        {"", TypedOf(problem->first), problem->op, TypedOf(problem->second), std::nullopt});
    for (const Step& step : working.steps()) {
      written.Append({NameOf(step.name), NumberOf(step.left),
                      step.right ? std::optional(step.op) : std::nullopt,
                      step.right ? NumberOf(*step.right) : WorkingNumber{},
                      DetailOf(step, *problem)});
    }
  }
  const std::optional<StepFraction>& answer = working.answer();
  if (answer && form.Option2.Chosen() == static_cast<std::int16_t>(AnswerForm::MixedNumber)) {
    if (std::optional<WorkingNumber> mixed = MixedNumberOf(*answer)) {
      written.Append({"帯分数に直す", std::move(*mixed), std::nullopt, {}, std::nullopt});
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

namespace {

// Appends a number; a part that is a compound term stands in parentheses
// when `bracketed`, as in a detail.
void AppendNumber(std::string& text, const WorkingNumber& number, const bool bracketed) {
  const auto part = [&text, bracketed](const std::string& term) {
    const bool compound = bracketed && IsCompound(term);
    text += compound ? "(" : "";
    text += term;
    text += compound ? ")" : "";
  };
  text += number.negative ? "-" : "";
  text += number.whole;
  if (!number.denominator.empty()) {
    text += number.whole.empty() ? "" : " ";
    part(number.numerator);
    text += '/';
    part(number.denominator);
  }
}

std::string ShapeText(const WorkingNumber& left, const std::optional<CalcOperator> op,
                      const WorkingNumber& right, const bool bracketed) {
  constexpr std::size_t kUsualLength = 40;
  std::string text;
  text.reserve(kUsualLength);
  AppendNumber(text, left, bracketed);
  if (op) {
    text += ' ';
    text += OperatorSymbol(*op);
    text += ' ';
    AppendNumber(text, right, bracketed);
  }
  return text;
}

}  // namespace

std::string NumberText(const WorkingNumber& number) {
  std::string text;
  AppendNumber(text, number, false);
  return text;
}

std::string ExpressionText(const WorkingStep& step) {
  return ShapeText(step.left, step.op, step.right, false);
}

std::string DetailText(const WorkingDetail& detail) {
  return ShapeText(detail.left, detail.op, detail.right, true);
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
