// The common mistakes of working a fraction problem by hand, each as the
// wrong value it gives, so that a pupil's wrong answer can be traced to one.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "arith/fraction.h"
#include "arith/rational.h"

namespace tavolen {

// One operand as the fields give it: whole part W, numerator N, denominator D,
// each 0 or more. It has a fraction part N/D when D and N are both non-zero;
// otherwise it is the whole number W.
struct OperandParts {
  std::int64_t whole = 0;
  std::int64_t numerator = 0;
  std::int64_t denominator = 0;

  [[nodiscard]] bool HasFraction() const { return denominator != 0 && numerator != 0; }
  [[nodiscard]] Rational FractionPart() const;
  [[nodiscard]] Rational Value() const;
};

// A problem that the calculation can finish: no zero denominator under a
// numerator, no division by 0, and an operator chosen.
struct ExactProblem {
  OperandParts first;
  OperandParts second;
  CalcOperator op = CalcOperator::Add;

  [[nodiscard]] Rational RightAnswer() const;
};

// In the order they are tried: where two give the same value, the earlier is named.
enum class Mistake : std::uint8_t {
  Swap,
  DenominatorsAdded,
  DenominatorsSubtracted,
  Numerators,
  Wholes,
  Carry,
  WholeMinus,
  ReversedParts,
  Borrow,
  Parts,
  WholeTimes,
  NoReciprocal,
  WrongReciprocal,
};
inline constexpr int kMistakeCount = 13;

// The key that names the mistake to other programs: "swap", "denominators", ….
[[nodiscard]] std::string_view MistakeKey(Mistake mistake);

// The value the mistake gives for this problem, or nullopt where the mistake
// does not apply to the problem's operator and operands.
[[nodiscard]] std::optional<Rational> MistakeValue(const ExactProblem& problem, Mistake mistake);

// The first mistake whose value is this wrong value; nullopt when none is, or
// when the value is the right answer.
[[nodiscard]] std::optional<Mistake> FindMistake(const ExactProblem& problem,
                                                 const Rational& value);

}  // namespace tavolen
