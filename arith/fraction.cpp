#include "arith/fraction.h"

#include "arith/euclid.h"
#include "arith/working.h"

namespace tavolen {
namespace {

bool HasBareNumerator(const Operand& operand) {
  return operand.Denominator.value == 0 && operand.Numerator.value > 0;
}

Long CommonDivisor(const Long a, const Long b) {
  return LongOf(GCD(CurrencyOf(a), CurrencyOf(b)));
}

Long DividedBy(const Long x, const Long divisor) {
  return LongOf(DoubleOf(x) / DoubleOf(divisor));
}

// Cuts a and b by their common divisor, writing both back.
void CancelCommonDivisor(Long& a, Long& b) {
  const Long divisor = CommonDivisor(a, b);
  a = DividedBy(a, divisor);
  b = DividedBy(b, divisor);
}

void AddOrSubtract(const Operand& first, const Operand& second, const CalcOperator op,
                   CalcResult& result, Working& working) {
  const Currency common = LCM(CurrencyOf(first.Denominator), CurrencyOf(second.Denominator));
  result.ResultDenominator = common;
  const Double a =
      (DoubleOf(common) / DoubleOf(first.Denominator)) * DoubleOf(first.ImproperNumerator);
  const Double b =
      (DoubleOf(common) / DoubleOf(second.Denominator)) * DoubleOf(second.ImproperNumerator);
  working.CommonDenominator(a, b, common);
  result.ResultNumerator = CurrencyOf(op == CalcOperator::Add ? b + a : a - b);
}

void Multiply(Operand& first, Operand& second, CalcResult& result, Working& working) {
  CancelCommonDivisor(first.Denominator, second.ImproperNumerator);
  CancelCommonDivisor(first.ImproperNumerator, second.Denominator);
  working.Cancelled(first, second);
  // Two Long factors can multiply past the Currency range, so the product is
  // first taken in ten-thousandths (each factor over 100), where it always
  // fits, and then scaled back. The Double rounding stays below half a
  // ten-thousandth wherever the whole product fits, so that product is exact.
  constexpr Double kHundred{100.0};
  constexpr Integer kTenThousand{10000};
  const Double scaled = (DoubleOf(second.ImproperNumerator) / kHundred) *
                        (DoubleOf(first.ImproperNumerator) / kHundred);
  result.ResultNumerator = CurrencyOf(scaled) * kTenThousand;
  result.ResultDenominator = CurrencyOf(second.Denominator * first.Denominator);
}

// Returns true, touching nothing, when the divisor is zero.
bool Divide(Operand& first, Operand& second, CalcResult& result, Working& working) {
  if (second.ImproperNumerator.value == 0) {
    return true;
  }
  working.Reciprocal();
  CancelCommonDivisor(first.Denominator, second.Denominator);
  CancelCommonDivisor(first.ImproperNumerator, second.ImproperNumerator);
  working.Cancelled(first, second);
  result.ResultNumerator = CurrencyOf(first.ImproperNumerator * second.Denominator);
  result.ResultDenominator = CurrencyOf(second.ImproperNumerator * first.Denominator);
  return false;
}

}  // namespace

bool OperandsAcceptable(const Operand& first, const Operand& second) {
  return !HasBareNumerator(first) && !HasBareNumerator(second);
}

void NormaliseOperand(Operand& operand) {
  if (operand.Denominator.value == 0) {
    operand.Denominator = Long{1};
    operand.ImproperNumerator = operand.Whole;
    return;
  }
  operand.ImproperNumerator = operand.Whole * operand.Denominator + operand.Numerator;
}

void ReduceOperand(Operand& operand) {
  CancelCommonDivisor(operand.Denominator, operand.ImproperNumerator);
}

bool CombineOperands(Operand& first, Operand& second, const CalcOperator op, CalcResult& result,
                     Working& working) {
  bool byZero = false;
  switch (op) {
    case CalcOperator::Add:
    case CalcOperator::Subtract:
      AddOrSubtract(first, second, op, result, working);
      break;
    case CalcOperator::Multiply:
      Multiply(first, second, result, working);
      break;
    case CalcOperator::Divide:
      byZero = Divide(first, second, result, working);
      break;
    case CalcOperator::NoOperator:
      break;
  }
  if (!byZero) {
    working.Calculated(result);
  }
  return byZero;
}

bool SplitSign(CalcResult& result) {
  if (!IsNegative(result.ResultNumerator)) {
    return false;
  }
  result.ResultNumerator = Abs(result.ResultNumerator);
  return true;
}

Answer FinishAnswer(CalcResult& result) {
  Currency& numerator = result.ResultNumerator;
  Currency& denominator = result.ResultDenominator;
  if (IsZero(numerator) || IsZero(denominator)) {
    return ZeroAnswer{};
  }
  if (IsZero(Remainder(numerator, denominator))) {
    return WholeAnswer{DoubleOf(numerator) / DoubleOf(denominator)};
  }
  const Double divisor = DoubleOf(LongOf(GCD(numerator, denominator)));
  numerator = CurrencyOf(DoubleOf(numerator) / divisor);
  denominator = CurrencyOf(DoubleOf(denominator) / divisor);
  return FractionAnswer{numerator, denominator};
}

}  // namespace tavolen
