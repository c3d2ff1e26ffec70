#include "window/working_steps.h"

#include <array>
#include <optional>
#include <string>
#include <utility>

#include "arith/answer_form.h"
#include "window/working_terms.h"

namespace tavolen {
namespace {

using namespace working_terms;

std::string_view NameOf(const Step& step, const CalcOperator op) {
  switch (step.name) {
    case StepName::ToImproperFraction:
      return "仮分数に直す";
    case StepName::ReduceOperands:
    case StepName::CancelledInProduct:
    case StepName::ReduceResult:
      return "約分する";
    case StepName::CommonDenominator:
      return "通分する";
    case StepName::Reciprocal:
      return "逆数をかける";
    case StepName::Multiplied:
      return "分母どうし、分子どうしをかける";
    case StepName::Calculate:
      if (step.from[0].denominator != 1 && op == CalcOperator::Add) {
        return "分子どうしをたす";
      }
      if (step.from[0].denominator != 1 && op == CalcOperator::Subtract) {
        return "分子どうしをひく";
      }
      return "計算する";
  }
  return "";
}

// (W×D＋N)/D for an operand with a whole part, otherwise as the step writes it.
WorkingNumber ImproperDetail(const Operand& typed, const StepFraction& improper) {
  if (typed.Whole.value == 0 || typed.Denominator.value == 0) {
    return NumberOf(improper);
  }
  return ImproperTerms(false, typed.Whole.value, typed.Numerator.value, typed.Denominator.value);
}

// (N÷G)/(D÷G), G what the calculation divided both by, after the sign.
WorkingNumber ReducingDetail(const StepFraction& before, const StepFraction& after) {
  if (before == after) {
    return NumberOf(after);
  }
  const std::int64_t divisor = before.denominator / after.denominator;
  return {
      before.numerator < 0, "",
      Term(static_cast<std::int64_t>(Magnitude(before.numerator)), CalcOperator::Divide, divisor),
      Term(before.denominator, CalcOperator::Divide, divisor)};
}

// (N×M)/(D×M), M what takes the denominator to the common one; a whole
// number W is (W×L)/L.
WorkingNumber WideningDetail(const StepFraction& before, const StepFraction& after) {
  if (before.denominator == after.denominator) {
    return NumberOf(after);
  }
  const std::int64_t multiplier = after.denominator / before.denominator;
  return {false, "", Term(before.numerator, CalcOperator::Multiply, multiplier),
          before.denominator == 1 ? Digits(after.denominator)
                                  : Term(before.denominator, CalcOperator::Multiply, multiplier)};
}

// A factor of a product as the step writes it: "(12÷3)" where the calculation
// divided it, "12" where not.
struct Factor {
  std::int64_t before;
  std::int64_t after;
};

std::string FactorText(const Factor& f, const bool alone) {
  if (f.before == f.after) {
    return Digits(f.before);
  }
  std::string text = Term(f.before, CalcOperator::Divide, f.before / f.after);
  return alone ? text : "(" + text + ")";
}

// The factors joined by ×, those that were 1 left out when `dropOnes`.
std::string ProductTerm(const std::array<Factor, 2>& factors, const bool dropOnes) {
  std::array<const Factor*, 2> kept{};
  std::size_t count = 0;
  for (const Factor& f : factors) {
    if (!dropOnes || f.before != 1) {
      kept.at(count++) = &f;
    }
  }
  if (count == 2) {
    return FactorText(*kept[0], false) + std::string(OperatorSymbol(CalcOperator::Multiply)) +
           FactorText(*kept[1], false);
  }
  return count == 1 ? FactorText(*kept[0], true) : "";
}

// The product of two factors as one fraction, the numerators over the
// denominators; no fraction when no denominator is left.
WorkingNumber ProductOf(const std::array<StepFraction, 2>& before,
                        const std::array<StepFraction, 2>& after) {
  std::string numerator = ProductTerm({Factor{before[0].numerator, after[0].numerator},
                                       Factor{before[1].numerator, after[1].numerator}},
                                      false);
  std::string denominator = ProductTerm({Factor{before[0].denominator, after[0].denominator},
                                         Factor{before[1].denominator, after[1].denominator}},
                                        true);
  if (denominator.empty()) {
    return WithTerms(false, std::move(numerator), "", "");
  }
  return {false, "", std::move(numerator), std::move(denominator)};
}

// ＋ －: (A＋B)/L or (A－B)/L over the common denominator, -(B－A)/L where
// A < B. × ÷: the product a×b when no step wrote it as one fraction.
std::optional<WorkingNumber> CalculationDetail(const Step& step, const CalcOperator op) {
  const auto& [a, b] = step.from;
  const std::string denominator = a.denominator == 1 ? "" : Digits(a.denominator);
  switch (op) {
    case CalcOperator::Add:
    case CalcOperator::Subtract: {
      const bool negative = op == CalcOperator::Subtract && a.numerator < b.numerator;
      std::string term =
          negative ? Term(b.numerator, op, a.numerator) : Term(a.numerator, op, b.numerator);
      return denominator.empty() ? WithTerms(negative, std::move(term), "", "")
                                 : WithTerms(negative, "", std::move(term), denominator);
    }
    case CalcOperator::Multiply:
    case CalcOperator::Divide:
      if (a.numerator == 0 || b.numerator == 0 || a.denominator != 1 || b.denominator != 1) {
        return std::nullopt;
      }
      return WithTerms(false, Term(a.numerator, CalcOperator::Multiply, b.numerator), "", "");
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
    case StepName::CancelledInProduct:
      return WorkingDetail{ProductOf(step.from, {step.left, right}), std::nullopt, {}};
    case StepName::Calculate:
      if (std::optional<WorkingNumber> number = CalculationDetail(step, problem.op)) {
        return WorkingDetail{std::move(*number), std::nullopt, {}};
      }
      return std::nullopt;
    case StepName::ReduceResult:
      return WorkingDetail{ReducingDetail(step.from[0], step.left), std::nullopt, {}};
    case StepName::Reciprocal:
    case StepName::Multiplied:
      break;
  }
  return std::nullopt;
}

}  // namespace

WorkingStep LineOf(const Step& step, const Problem& problem) {
  const std::string_view name = NameOf(step, problem.op);
  std::optional<WorkingDetail> how = DetailOf(step, problem);
  const StepFraction right = step.right.value_or(StepFraction{});
  switch (step.name) {
    case StepName::Multiplied:
    case StepName::CancelledInProduct:
      return {name,
              ProductOf({step.left, right}, {step.left, right}),
              std::nullopt,
              {},
              std::move(how)};
    default:
      return {name, NumberOf(step.left), step.right ? std::optional(step.op) : std::nullopt,
              step.right ? NumberOf(right) : WorkingNumber{}, std::move(how)};
  }
}

std::optional<WorkingStep> MixedAnswerLine(const StepFraction& answer) {
  const std::uint64_t numerator = Magnitude(answer.numerator);
  const std::uint64_t denominator = Magnitude(answer.denominator);
  if (denominator == 1 || numerator <= denominator) {
    return std::nullopt;
  }
  const auto whole = [](const std::uint64_t x) {
    return Currency::Whole(static_cast<std::int64_t>(x));
  };
  const AnswerConversion mixed = ToMixedNumber({whole(denominator), whole(numerator), Currency{}});
  if (!mixed) {
    return std::nullopt;
  }
  const bool negative = answer.numerator < 0;
  const auto d = static_cast<std::int64_t>(denominator);
  const auto n = static_cast<std::int64_t>(numerator);
  WorkingDetail how{ImproperTerms(negative, n / d, n % d, d), std::nullopt, {}};
  return WorkingStep{"帯分数に直す",
                     {negative, mixed->whole, mixed->numerator, Digits(denominator)},
                     std::nullopt,
                     {},
                     std::move(how)};
}

}  // namespace tavolen
