#include "arith/working.h"

#include <variant>

namespace tavolen {
namespace {

// The slots the calculation keeps in Currency hold whole numbers.
std::int64_t WholeOf(const Currency x) {
  return x.count / Currency::kScale;
}

StepFraction FractionOf(const Operand& operand) {
  return {operand.ImproperNumerator.value, operand.Denominator.value};
}

bool HasWholePart(const Operand& operand) {
  return operand.Whole.value != 0 && operand.Denominator.value != 0;
}

}  // namespace

void Working::Clear() {
  const std::uint64_t next = calculation_ + 1;
  *this = Working{};
  calculation_ = next;
}

void Working::Start() {
  Clear();
  open_ = true;
}

void Working::Add(const Step& step) {
  // The steps of one calculation never repeat, so there is always room.
  steps_.at(count_) = step;
  ++count_;
}

StepFraction Working::Shown(const std::size_t operand) const {
  return operands_.at(operand);
}

void Working::Read(const Problem& problem) {
  if (open_) {
    problem_ = problem;
  }
}

void Working::Normalised(const Operand& first, const Operand& second) {
  if (!open_ || !problem_) {
    return;
  }
  operands_ = {FractionOf(first), FractionOf(second)};
  if (HasWholePart(problem_->first) || HasWholePart(problem_->second)) {
    Add({StepName::ToImproperFraction, Shown(0), Shown(1), problem_->op, {}});
  }
}

void Working::Reduced(const Operand& first, const Operand& second) {
  if (!open_ || !problem_) {
    return;
  }
  const std::array<StepFraction, 2> reduced{FractionOf(first), FractionOf(second)};
  if (reduced != operands_) {
    const std::array<StepFraction, 2> before = operands_;
    operands_ = reduced;
    Add({StepName::ReduceOperands, Shown(0), Shown(1), problem_->op, before});
  }
}

void Working::CommonDenominator(const Double first, const Double second, const Currency common) {
  if (!open_ || !problem_) {
    return;
  }
  // Both products are whole numbers: the common multiple divides by each
  // denominator exactly, and a Double beyond 2^53 is whole.
  const std::int64_t denominator = WholeOf(common);
  overCommon_ = {StepFraction{static_cast<std::int64_t>(first.value), denominator},
                 StepFraction{static_cast<std::int64_t>(second.value), denominator}};
  if (Shown(0).denominator != Shown(1).denominator) {
    Add({StepName::CommonDenominator, overCommon_[0], overCommon_[1], problem_->op, operands_});
  }
}

void Working::Reciprocal() {
  if (!open_) {
    return;
  }
  const StepFraction divisor = Shown(1);
  Add({StepName::Reciprocal,
       Shown(0),
       StepFraction{divisor.denominator, divisor.numerator},
       CalcOperator::Multiply,
       {}});
}

void Working::Cancelled(const Operand& first, const Operand& second) {
  if (!open_ || !problem_) {
    return;
  }
  const std::array<StepFraction, 2> before{Shown(0), Multiplier()};
  operands_ = {FractionOf(first), FractionOf(second)};
  const std::array<StepFraction, 2> after{Shown(0), Multiplier()};
  // Nothing is multiplied out or cancelled against a zero, though the
  // calculation goes on with the numbers it cancelled; with no denominator
  // but 1 there is nothing to write as one fraction, nor to cancel.
  const bool againstZero = before[0].numerator == 0 || before[1].numerator == 0;
  if (againstZero || (before[0].denominator == 1 && before[1].denominator == 1)) {
    return;
  }
  Add({StepName::Multiplied, before[0], before[1], CalcOperator::Multiply, {}});
  if (after != before) {
    Add({StepName::CancelledInProduct, after[0], after[1], CalcOperator::Multiply, before});
  }
}

// The right-hand factor of the product: after the reciprocal the divisor
// stands upside down.
StepFraction Working::Multiplier() const {
  return problem_ && problem_->op == CalcOperator::Divide
             ? StepFraction{Shown(1).denominator, Shown(1).numerator}
             : Shown(1);
}

void Working::Calculated(const CalcResult& result) {
  if (!open_) {
    return;
  }
  calculated_ = {WholeOf(result.ResultNumerator), WholeOf(result.ResultDenominator)};
  const bool sum =
      problem_ && (problem_->op == CalcOperator::Add || problem_->op == CalcOperator::Subtract);
  const std::array<StepFraction, 2> from =
      sum ? overCommon_ : std::array<StepFraction, 2>{Shown(0), Multiplier()};
  Add({StepName::Calculate, calculated_, std::nullopt, CalcOperator::NoOperator, from});
}

void Working::Finished(const bool negative, const Answer& answer) {
  if (!open_) {
    return;
  }
  StepFraction reduced{};
  if (const auto* fraction = std::get_if<FractionAnswer>(&answer)) {
    reduced = {WholeOf(fraction->numerator), WholeOf(fraction->denominator)};
  } else if (const auto* whole = std::get_if<WholeAnswer>(&answer)) {
    reduced = {static_cast<std::int64_t>(whole->value.value), 1};
  }
  if (negative) {
    reduced.numerator = -reduced.numerator;
  }
  // A zero denominator (no operator) has no lowest terms to reach.
  if (calculated_.denominator != 0 && reduced.denominator != calculated_.denominator) {
    Add({StepName::ReduceResult,
         reduced,
         std::nullopt,
         CalcOperator::NoOperator,
         {calculated_, StepFraction{}}});
  }
  answer_ = reduced;
  open_ = false;
}

void Working::Stop(const std::string_view prompt) {
  if (!open_) {
    return;
  }
  stop_ = std::string(prompt);
  open_ = false;
}

}  // namespace tavolen
