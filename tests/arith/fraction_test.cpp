#include "arith/fraction.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <variant>

#include "arith/working.h"
#include "tests/support/rational.h"

namespace tavolen {
namespace {

using testing::Gcd;
using testing::Int128;
using testing::Rational;

struct Case {
  Operand first;  // ImproperNumerator still 0, as read from the fields
  CalcOperator op;
  Operand second;
};

std::string Describe(const Case& c) {
  std::ostringstream text;
  for (const Operand& e : {c.first, c.second}) {
    text << e.Whole.value << " " << e.Numerator.value << "/" << e.Denominator.value << " ";
  }
  return text.str() + "op" + std::to_string(static_cast<int>(c.op));
}

// The steps in the order the Calculate command runs them once it has accepted
// the operands; returns the answer as text.
std::string RunSteps(Case c) {
  NormaliseOperand(c.first);
  NormaliseOperand(c.second);
  ReduceOperand(c.first);
  ReduceOperand(c.second);
  CalcResult result{};
  Working working;
  const bool byZero = CombineOperands(c.first, c.second, c.op, result, working);
  const std::string text = std::string(byZero ? "by zero, " : "") + (SplitSign(result) ? "-" : "");
  const Answer answer = FinishAnswer(result);
  if (const auto* whole = std::get_if<WholeAnswer>(&answer)) {
    return text + TextOf(whole->value);
  }
  if (const auto* fraction = std::get_if<FractionAnswer>(&answer)) {
    return text + TextOf(fraction->numerator) + "/" + TextOf(fraction->denominator);
  }
  return text + "0";
}

using enum CalcOperator;

constexpr Int128 kDoubleExactMax = Int128{1} << 53;
// The magnitudes here are never negative, so only the upper limits matter.
constexpr Int128 kLongMax = INT32_MAX;
constexpr Int128 kCurrencyMax = 922337203685477;

Rational ValueOf(const Operand& e) {
  const Int128 d = e.Denominator.value;
  return d == 0 ? Rational{e.Whole.value, 1}
                : testing::Reduced(e.Whole.value * d + e.Numerator.value, d);
}

// The answer text in exact rational arithmetic, as RunSteps writes it.
std::string ExactText(const Case& c) {
  const Rational x = ValueOf(c.first);
  const Rational y = ValueOf(c.second);
  if (c.op == Divide && y.num == 0) {
    return "by zero, 0";
  }
  const Rational r = testing::Combine(x, y, static_cast<int>(c.op));
  const std::string text = std::to_string(static_cast<std::int64_t>(r.num));
  return r.den == 1 ? text : text + "/" + std::to_string(static_cast<std::int64_t>(r.den));
}

enum class Outcome { Fits, Overflows, Inexact };

// Cancels a and b as the steps do; false when the divisor leaves Long.
bool Cancel(Int128& a, Int128& b) {
  const Int128 g = Gcd(a, b);
  a /= g;
  b /= g;
  return g <= kLongMax;
}

// Follows the steps' intermediates on exact integers (operands are never
// negative here): Overflows when one leaves its type, Inexact when a Double
// product of Add or Subtract may round.
Outcome PredictSteps(const Case& c) {
  Int128 d[2];
  Int128 n[2];
  const Operand operands[2] = {c.first, c.second};
  for (int i = 0; i < 2; ++i) {
    const Int128 denominator = operands[i].Denominator.value;
    const Int128 product = operands[i].Whole.value * denominator;
    d[i] = denominator == 0 ? 1 : denominator;
    n[i] = denominator == 0 ? operands[i].Whole.value : product + operands[i].Numerator.value;
    if (product > kLongMax || n[i] > kLongMax || !Cancel(d[i], n[i])) {
      return Outcome::Overflows;
    }
  }
  Int128 num = 0;
  Int128 den = 0;
  if (c.op == Add || c.op == Subtract) {
    if (d[0] * d[1] > kCurrencyMax) {
      return Outcome::Overflows;
    }
    den = d[0] * d[1] / Gcd(d[0], d[1]);
    const Int128 a = den / d[0] * n[0];
    const Int128 b = den / d[1] * n[1];
    if (a > kDoubleExactMax || b > kDoubleExactMax) {
      return Outcome::Inexact;
    }
    num = c.op == Add ? a + b : (a > b ? a - b : b - a);
    if (num > kCurrencyMax) {
      return Outcome::Overflows;
    }
  } else if (c.op == Multiply) {
    if (!Cancel(d[0], n[1]) || !Cancel(n[0], d[1]) || n[0] * n[1] > kCurrencyMax ||
        d[0] * d[1] > kLongMax) {
      return Outcome::Overflows;
    }
    num = n[0] * n[1];
    den = d[0] * d[1];
  } else {
    if (n[1] == 0) {
      return Outcome::Fits;
    }
    if (!Cancel(d[0], d[1]) || !Cancel(n[0], n[1]) || n[0] * d[1] > kLongMax ||
        n[1] * d[0] > kLongMax) {
      return Outcome::Overflows;
    }
    num = n[0] * d[1];
    den = n[1] * d[0];
  }
  const bool fraction = num != 0 && num % den != 0;
  return !fraction || Gcd(num, den) <= kLongMax ? Outcome::Fits : Outcome::Overflows;
}

struct Tally {
  int rejected = 0;
  int agreed = 0;
  int overflowed = 0;
  bool overflowed_outside_divide = false;
};

void CheckCase(const Case& c, Tally& tally) {
  if (!OperandsAcceptable(c.first, c.second)) {
    ++tally.rejected;
    return;
  }
  const Outcome predicted = PredictSteps(c);
  if (predicted == Outcome::Overflows) {
    ++tally.overflowed;
    tally.overflowed_outside_divide |= c.op != Divide;
    EXPECT_THROW((void)RunSteps(c), Overflow) << Describe(c);
  } else if (predicted == Outcome::Fits) {
    ++tally.agreed;
    std::string text;
    ASSERT_NO_THROW(text = RunSteps(c)) << Describe(c);
    ASSERT_EQ(text, ExactText(c)) << Describe(c);
  }
}

// Each operand pair is calculated with all four operators.
template <typename Field>
Tally CheckRandomCases(const int pairs, Field field) {
  Tally tally;
  for (int i = 0; i < pairs && !::testing::Test::HasFailure(); ++i) {
    // Denominator, numerator and whole part, as the fields are read.
    const Operand first{Long{field(9999)}, Long{field(9999)}, Long{field(999)}, Long{0}};
    const Operand second{Long{field(9999)}, Long{field(9999)}, Long{field(999)}, Long{0}};
    for (const CalcOperator op : {Add, Subtract, Multiply, Divide}) {
      CheckCase({first, op, second}, tally);
    }
  }
  return tally;
}

TEST(FractionTest, KeyboardOperandsMatchExactArithmetic) {
  std::mt19937 random(42);
  // A quarter of the fields are left empty so that zero denominators and rejections come up.
  const Tally tally = CheckRandomCases(200000, [&random](const std::int32_t largest) {
    return random() % 4 == 0 ? 0 : std::uniform_int_distribution<std::int32_t>(0, largest)(random);
  });
  // Only the two Long products of Divide are within reach of the keyboard.
  EXPECT_FALSE(tally.overflowed_outside_divide);
  EXPECT_GT(tally.overflowed, 100);
  EXPECT_GT(tally.rejected, 1000);
}

TEST(FractionTest, WideOperandsOverflowExactlyWherePredicted) {
  std::mt19937 random(4242);
  const Tally tally = CheckRandomCases(10000, [&random](std::int32_t) {
    const std::int32_t limits[] = {0, 9, 9999, 65535, INT32_MAX};
    return std::uniform_int_distribution<std::int32_t>(0, limits[random() % 5])(random);
  });
  EXPECT_GT(tally.overflowed, 1000);
  EXPECT_GT(tally.agreed, 1000);
}

}  // namespace
}  // namespace tavolen
