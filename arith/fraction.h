// The calculation behind the Calculate command, split into the steps that the
// window's handler interleaves with its own writes.
#pragma once

#include <variant>

#include "arith/number.h"

namespace tavolen {

// One entered fraction. The first three slots come from the entry fields; the
// fourth is computed by NormaliseOperand.
struct Operand {
  Long Denominator;
  Long Numerator;
  Long Whole;
  Long ImproperNumerator;
};

enum class CalcOperator { Add, Subtract, Multiply, Divide, NoOperator };

class Working;

// The running result of one calculation; both parts start at 0.
struct CalcResult {
  Currency ResultNumerator;
  Currency ResultDenominator;
};

struct ZeroAnswer {};
struct WholeAnswer {
  Double value;  // the exact quotient of the result's parts
};
struct FractionAnswer {
  Currency numerator;  // reduced, possibly larger than the denominator
  Currency denominator;
};
using Answer = std::variant<ZeroAnswer, WholeAnswer, FractionAnswer>;

// False when either operand has a zero denominator under a positive numerator.
[[nodiscard]] bool OperandsAcceptable(const Operand& first, const Operand& second);

// Fills ImproperNumerator (a zero denominator becomes 1, the operand its whole part).
void NormaliseOperand(Operand& operand);

// Brings Denominator and ImproperNumerator to lowest terms.
void ReduceOperand(Operand& operand);

// Sets the result from the two operands. Multiply and Divide cross-reduce, and
// store the reduced slots back into the operands. Returns true when it met a
// division by zero; the result then stays 0. Each step done goes into working.
[[nodiscard]] bool CombineOperands(Operand& first, Operand& second, CalcOperator op,
                                   CalcResult& result, Working& working);

// Returns whether the result is negative and leaves its numerator non-negative.
[[nodiscard]] bool SplitSign(CalcResult& result);

// Reduces the result and says how the answer area shows it.
[[nodiscard]] Answer FinishAnswer(CalcResult& result);

}  // namespace tavolen
