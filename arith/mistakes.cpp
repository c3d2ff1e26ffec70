#include "arith/mistakes.h"

#include <array>
#include <numeric>

namespace tavolen {

namespace {

using Maybe = std::optional<Rational>;

bool IsPlusOrMinus(CalcOperator op) {
  return op == CalcOperator::Add || op == CalcOperator::Subtract;
}

// W1 + W2 or W1 − W2, and the like for numerators, as the operator says.
Rational Combined(CalcOperator op, std::int64_t x, std::int64_t y) {
  return Rational(op == CalcOperator::Add ? x + y : x - y);
}

bool BothFractions(const ExactProblem& p) {
  return p.first.HasFraction() && p.second.HasFraction();
}

// The fraction parts over their least common denominator L: a, b and L.
struct CommonParts {
  std::int64_t a = 0;
  std::int64_t b = 0;
  std::int64_t L = 1;
};

CommonParts OverCommonDenominator(const ExactProblem& p) {
  const std::int64_t D1 = p.first.HasFraction() ? p.first.denominator : 1;
  const std::int64_t D2 = p.second.HasFraction() ? p.second.denominator : 1;
  const std::int64_t L = std::lcm(D1, D2);
  return {p.first.HasFraction() ? p.first.numerator * (L / D1) : 0,
          p.second.HasFraction() ? p.second.numerator * (L / D2) : 0, L};
}

// Subtracting with the first whole part larger and the fraction parts the wrong way round.
bool NeedsBorrow(const ExactProblem& p) {
  const CommonParts parts = OverCommonDenominator(p);
  return p.op == CalcOperator::Subtract && p.second.HasFraction() && parts.a < parts.b &&
         p.first.whole > p.second.whole;
}

Maybe Swap(const ExactProblem& p) {
  const Rational right = p.RightAnswer();
  return p.op == CalcOperator::Subtract && right.IsNegative() ? Maybe(-right) : std::nullopt;
}

Maybe DenominatorsAdded(const ExactProblem& p) {
  if (p.op != CalcOperator::Add || !BothFractions(p)) {
    return std::nullopt;
  }
  return Rational(p.first.whole + p.second.whole) +
         Rational(p.first.numerator + p.second.numerator,
                  p.first.denominator + p.second.denominator);
}

Maybe DenominatorsSubtracted(const ExactProblem& p) {
  if (p.op != CalcOperator::Subtract || !BothFractions(p) ||
      p.first.denominator <= p.second.denominator || p.first.numerator <= p.second.numerator) {
    return std::nullopt;
  }
  return Rational(p.first.whole - p.second.whole) +
         Rational(p.first.numerator - p.second.numerator,
                  p.first.denominator - p.second.denominator);
}

Maybe Numerators(const ExactProblem& p) {
  if (!IsPlusOrMinus(p.op) || !BothFractions(p) || p.first.denominator == p.second.denominator) {
    return std::nullopt;
  }
  const Rational numerators = Combined(p.op, p.first.numerator, p.second.numerator);
  return Combined(p.op, p.first.whole, p.second.whole) +
         numerators / Rational(OverCommonDenominator(p).L);
}

Maybe Wholes(const ExactProblem& p) {
  if (!IsPlusOrMinus(p.op)) {
    return std::nullopt;
  }
  const Rational wholes = Combined(p.op, p.first.whole, p.second.whole);
  return wholes.IsZero() ? std::nullopt : Maybe(p.RightAnswer() - wholes);
}

Maybe Carry(const ExactProblem& p) {
  const CommonParts parts = OverCommonDenominator(p);
  if (p.op != CalcOperator::Add || !BothFractions(p) || parts.a + parts.b < parts.L) {
    return std::nullopt;
  }
  return p.RightAnswer() - Rational(1);
}

Maybe WholeMinus(const ExactProblem& p) {
  if (p.op != CalcOperator::Subtract || p.first.HasFraction() || !p.second.HasFraction() ||
      p.first.whole <= p.second.whole) {
    return std::nullopt;
  }
  return Rational(p.first.whole - p.second.whole) + p.second.FractionPart();
}

Maybe ReversedParts(const ExactProblem& p) {
  if (!BothFractions(p) || !NeedsBorrow(p)) {
    return std::nullopt;
  }
  const CommonParts parts = OverCommonDenominator(p);
  return Rational(p.first.whole - p.second.whole) + Rational(parts.b - parts.a, parts.L);
}

Maybe Borrow(const ExactProblem& p) {
  return NeedsBorrow(p) ? Maybe(p.RightAnswer() + Rational(1)) : std::nullopt;
}

Maybe Parts(const ExactProblem& p) {
  const auto mixed = [](const OperandParts& o) { return o.whole != 0 && o.HasFraction(); };
  if (p.op != CalcOperator::Multiply || !mixed(p.first) || !mixed(p.second)) {
    return std::nullopt;
  }
  return Rational(p.first.whole * p.second.whole) +
         p.first.FractionPart() * p.second.FractionPart();
}

Maybe WholeTimes(const ExactProblem& p) {
  const auto whole = [](const OperandParts& o) { return !o.HasFraction() && o.whole != 0; };
  const auto fraction = [](const OperandParts& o) { return o.HasFraction() && o.whole == 0; };
  if (p.op != CalcOperator::Multiply) {
    return std::nullopt;
  }
  if (whole(p.first) && fraction(p.second)) {
    return p.second.Value();
  }
  if (fraction(p.first) && whole(p.second)) {
    return p.first.Value();
  }
  return std::nullopt;
}

Maybe NoReciprocal(const ExactProblem& p) {
  if (p.op != CalcOperator::Divide || p.second.Value().IsZero()) {
    return std::nullopt;
  }
  return p.first.Value() * p.second.Value();
}

Maybe WrongReciprocal(const ExactProblem& p) {
  if (p.op != CalcOperator::Divide || p.first.Value().IsZero() || p.second.Value().IsZero()) {
    return std::nullopt;
  }
  return p.second.Value() / p.first.Value();
}

using Rule = Maybe (*)(const ExactProblem&);
constexpr std::array<Rule, kMistakeCount> kRules{
    Swap,       DenominatorsAdded, DenominatorsSubtracted, Numerators, Wholes,
    Carry,      WholeMinus,        ReversedParts,          Borrow,     Parts,
    WholeTimes, NoReciprocal,      WrongReciprocal,
};

}  // namespace

Rational OperandParts::FractionPart() const {
  return HasFraction() ? Rational(numerator, denominator) : Rational();
}

Rational OperandParts::Value() const {
  return Rational(whole) + FractionPart();
}

Rational ExactProblem::RightAnswer() const {
  const Rational a = first.Value();
  const Rational b = second.Value();
  switch (op) {
    case CalcOperator::Subtract:
      return a - b;
    case CalcOperator::Multiply:
      return a * b;
    case CalcOperator::Divide:
      return a / b;
    default:
      return a + b;
  }
}

std::string_view MistakeKey(Mistake mistake) {
  constexpr std::array<std::string_view, kMistakeCount> kKeys{
      "swap",        "denominators",  "denominators",     "numerators", "wholes",
      "carry",       "whole-minus",   "reversed-parts",   "borrow",     "parts",
      "whole-times", "no-reciprocal", "wrong-reciprocal",
  };
  return kKeys.at(static_cast<std::size_t>(mistake));
}

Maybe MistakeValue(const ExactProblem& problem, Mistake mistake) {
  return kRules.at(static_cast<std::size_t>(mistake))(problem);
}

std::optional<Mistake> FindMistake(const ExactProblem& problem, const Rational& value) {
  if (value == problem.RightAnswer()) {
    return std::nullopt;
  }
  for (int i = 0; i < kMistakeCount; ++i) {
    const auto mistake = static_cast<Mistake>(i);
    if (MistakeValue(problem, mistake) == value) {
      return mistake;
    }
  }
  return std::nullopt;
}

}  // namespace tavolen
