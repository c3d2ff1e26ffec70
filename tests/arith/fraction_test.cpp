#include "arith/fraction.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <variant>

#include "arith/answer_form.h"

namespace tavolen {
namespace {

__extension__ using Int128 = __int128;

struct Entry {
  std::int32_t whole;
  std::int32_t numerator;
  std::int32_t denominator;
};

struct Case {
  Entry first;
  CalcOperator op;
  Entry second;
};

std::string Describe(const Case& c) {
  std::ostringstream text;
  text << c.first.whole << " " << c.first.numerator << "/" << c.first.denominator << " op"
       << static_cast<int>(c.op) << " " << c.second.whole << " " << c.second.numerator << "/"
       << c.second.denominator;
  return text.str();
}

struct Run {
  bool accepted = false;
  bool division_by_zero = false;
  bool negative = false;
  Answer answer;
};

Operand OperandOf(const Entry& e) {
  return Operand{Long{e.denominator}, Long{e.numerator}, Long{e.whole}, Long{0}};
}

// The steps in the order the Calculate command runs them.
Run RunSteps(const Case& c) {
  Operand first = OperandOf(c.first);
  Operand second = OperandOf(c.second);
  Run run;
  run.accepted = OperandsAcceptable(first, second);
  if (!run.accepted) {
    return run;
  }
  NormaliseOperand(first);
  NormaliseOperand(second);
  ReduceOperand(first);
  ReduceOperand(second);
  CalcResult result{};
  run.division_by_zero = CombineOperands(first, second, c.op, result);
  run.negative = SplitSign(result);
  run.answer = FinishAnswer(result);
  return run;
}

std::string Render(const Run& run) {
  if (!run.accepted) {
    return "rejected";
  }
  std::string text = run.division_by_zero ? "by zero, " : "";
  text += run.negative ? "-" : "";
  if (const auto* whole = std::get_if<WholeAnswer>(&run.answer)) {
    return text + TextOf(whole->value);
  }
  if (const auto* fraction = std::get_if<FractionAnswer>(&run.answer)) {
    return text + TextOf(fraction->numerator) + "/" + TextOf(fraction->denominator);
  }
  return text + "0";
}

constexpr CalcOperator kAdd = CalcOperator::Add;
constexpr CalcOperator kSub = CalcOperator::Subtract;
constexpr CalcOperator kMul = CalcOperator::Multiply;
constexpr CalcOperator kDiv = CalcOperator::Divide;

struct ExampleCase {
  const char* name;
  Case calculation;
  const char* expected;  // nullptr: Overflow
};

TEST(FractionTest, Examples) {
  const ExampleCase cases[] = {
      {"halves_and_thirds", {{0, 1, 2}, kAdd, {0, 1, 3}}, "5/6"},
      {"mixed_sum_stays_improper", {{1, 1, 2}, kAdd, {2, 1, 3}}, "23/6"},
      {"operands_reduce_first", {{0, 2, 4}, kAdd, {0, 3, 6}}, "1"},
      {"negative_difference", {{0, 1, 3}, kSub, {0, 1, 2}}, "-1/6"},
      {"equal_difference", {{0, 3, 7}, kSub, {0, 3, 7}}, "0"},
      {"negative_whole_difference", {{0, 1, 2}, kSub, {0, 5, 2}}, "-2"},
      {"cross_reduced_product", {{0, 2, 3}, kMul, {0, 3, 4}}, "1/2"},
      {"whole_quotient", {{0, 1, 2}, kDiv, {0, 1, 4}}, "2"},
      {"zero_dividend", {{0, 0, 0}, kDiv, {5, 0, 0}}, "0"},
      {"division_by_zero", {{5, 0, 0}, kDiv, {0, 0, 0}}, "by zero, 0"},
      {"whole_parts_only", {{3, 0, 0}, kAdd, {4, 0, 0}}, "7"},
      {"bare_numerator_first", {{0, 3, 0}, kAdd, {1, 0, 0}}, "rejected"},
      {"bare_numerator_second", {{1, 0, 0}, kMul, {0, 3, 0}}, "rejected"},
      {"negative_numerator_without_denominator", {{3, -2, 0}, kAdd, {0, 0, 0}}, "3"},
      {"negative_denominator_moves_sign_to_label", {{0, 1, -2}, kAdd, {0, 0, 0}}, "-1/2"},
      {"large_cross_reduction", {{0, 1, 40000000}, kMul, {0, 40000000, 40000001}}, "1/40000001"},
      {"denominators_at_product_limit",
       {{0, 1, 30370005}, kAdd, {0, 1, 30370004}},
       "60740009/922337173330020"},
      {"no_operator", {{1, 1, 2}, CalcOperator::NoOperator, {0, 1, 3}}, "0"},
      {"whole_part_times_denominator", {{50000, 0, 50000}, kAdd, {0, 0, 0}}, nullptr},
      {"divide_products_beyond_long", {{999, 1, 9999}, kDiv, {0, 1, 9998}}, nullptr},
      {"lcm_product_beyond_currency", {{0, 1, 30370005}, kAdd, {0, 1, 30370005}}, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.expected != nullptr) {
      EXPECT_EQ(Render(RunSteps(c.calculation)), c.expected);
    } else {
      EXPECT_THROW((void)RunSteps(c.calculation), Overflow);
    }
  }
}

TEST(FractionTest, CrossReductionIsStoredBackIntoTheOperands) {
  Operand first{Long{3}, Long{0}, Long{0}, Long{2}};
  Operand second{Long{4}, Long{0}, Long{0}, Long{3}};
  CalcResult result{};
  EXPECT_FALSE(CombineOperands(first, second, kMul, result));
  EXPECT_EQ(first.Denominator.value * 10 + first.ImproperNumerator.value, 11);
  EXPECT_EQ(second.Denominator.value * 10 + second.ImproperNumerator.value, 21);
}

// Operands within Long never get here: their common divisors stay within Long.
TEST(FractionTest, FinishAnswerOverflowsOnACommonDivisorBeyondLong) {
  CalcResult result{Currency::Whole(std::int64_t{3} << 32), Currency::Whole(std::int64_t{5} << 32)};
  EXPECT_THROW((void)FinishAnswer(result), Overflow);
}

constexpr Int128 kCurrencyWholeMax = 922337203685477;
constexpr Int128 kDoubleExactMax = Int128{1} << 53;

bool FitsLong(const Int128 v) {
  return v <= INT32_MAX;
}
bool FitsCurrency(const Int128 v) {
  return v <= kCurrencyWholeMax;
}

Int128 Gcd(Int128 a, Int128 b) {
  while (b != 0) {
    a = std::exchange(b, a % b);
  }
  return a;
}

struct Rational {
  Int128 num;  // may be negative
  Int128 den;  // positive
};

Rational Lowest(const Int128 num, const Int128 den) {
  const Int128 g = Gcd(num < 0 ? -num : num, den);
  return {num / g, den / g};
}

Rational ValueOf(const Entry& e) {
  if (e.denominator == 0) {
    return {e.whole, 1};
  }
  return Lowest(Int128{e.whole} * e.denominator + e.numerator, e.denominator);
}

// The answer text in exact rational arithmetic, as Render writes it.
std::string ExactText(const Case& c) {
  const Rational x = ValueOf(c.first);
  const Rational y = ValueOf(c.second);
  Rational r{0, 1};
  switch (c.op) {
    case CalcOperator::Add:
      r = Lowest(x.num * y.den + y.num * x.den, x.den * y.den);
      break;
    case CalcOperator::Subtract:
      r = Lowest(x.num * y.den - y.num * x.den, x.den * y.den);
      break;
    case CalcOperator::Multiply:
      r = Lowest(x.num * y.num, x.den * y.den);
      break;
    case CalcOperator::Divide:
      if (y.num == 0) {
        return "by zero, 0";
      }
      r = Lowest(x.num * y.den, x.den * y.num);
      break;
    case CalcOperator::NoOperator:
      break;
  }
  std::string text = std::to_string(static_cast<std::int64_t>(r.num));
  return r.den == 1 ? text : text + "/" + std::to_string(static_cast<std::int64_t>(r.den));
}

enum class Outcome { Fits, Overflows, Inexact };

// Cancels a and b as the steps do; false when the divisor leaves Long.
bool Cancel(Int128& a, Int128& b) {
  const Int128 g = Gcd(a, b);
  a /= g;
  b /= g;
  return FitsLong(g);
}

// Follows the steps' intermediates on exact integers (operands are never
// negative here): Overflows when one leaves its type, Inexact when a Double
// product of Add or Subtract may round.
Outcome PredictSteps(const Case& c) {
  Int128 d[2];
  Int128 n[2];
  const Entry entries[2] = {c.first, c.second};
  for (int i = 0; i < 2; ++i) {
    const Entry& e = entries[i];
    const Int128 product = Int128{e.whole} * e.denominator;
    d[i] = e.denominator == 0 ? 1 : e.denominator;
    n[i] = e.denominator == 0 ? e.whole : product + e.numerator;
    if (!FitsLong(product) || !FitsLong(n[i]) || !Cancel(d[i], n[i])) {
      return Outcome::Overflows;
    }
  }
  Int128 num = 0;
  Int128 den = 0;
  switch (c.op) {
    case CalcOperator::Add:
    case CalcOperator::Subtract: {
      if (!FitsCurrency(d[0] * d[1])) {
        return Outcome::Overflows;
      }
      den = d[0] * d[1] / Gcd(d[0], d[1]);
      const Int128 a = den / d[0] * n[0];
      const Int128 b = den / d[1] * n[1];
      if (a > kDoubleExactMax || b > kDoubleExactMax) {
        return Outcome::Inexact;
      }
      num = c.op == CalcOperator::Add ? a + b : (a > b ? a - b : b - a);
      if (!FitsCurrency(num)) {
        return Outcome::Overflows;
      }
      break;
    }
    case CalcOperator::Multiply:
      if (!Cancel(d[0], n[1]) || !Cancel(n[0], d[1]) || !FitsCurrency(n[0] * n[1]) ||
          !FitsLong(d[0] * d[1])) {
        return Outcome::Overflows;
      }
      num = n[0] * n[1];
      den = d[0] * d[1];
      break;
    case CalcOperator::Divide:
      if (n[1] == 0) {
        return Outcome::Fits;
      }
      if (!Cancel(d[0], d[1]) || !Cancel(n[0], n[1]) || !FitsLong(n[0] * d[1]) ||
          !FitsLong(n[1] * d[0])) {
        return Outcome::Overflows;
      }
      num = n[0] * d[1];
      den = n[1] * d[0];
      break;
    case CalcOperator::NoOperator:
      return Outcome::Fits;
  }
  const bool fraction = num != 0 && num % den != 0;
  return !fraction || FitsLong(Gcd(num, den)) ? Outcome::Fits : Outcome::Overflows;
}

// Turns the answer as shown into the other form and back, and applies each
// conversion a second time, which must change nothing.
void ExpectFormsRoundTrip(const Case& c, const Run& run) {
  const auto* fraction = std::get_if<FractionAnswer>(&run.answer);
  const auto* whole = std::get_if<WholeAnswer>(&run.answer);
  const AnswerParts improper{fraction ? fraction->denominator : Currency{},
                             fraction ? fraction->numerator : Currency{},
                             whole ? CurrencyOf(whole->value) : Currency{}};
  ASSERT_FALSE(ToImproperFraction(improper)) << Describe(c);
  const AnswerConversion mixed = ToMixedNumber(improper);
  if (!mixed) {
    return;
  }
  const AnswerParts mixedParts{improper.denominator, Currency::Whole(std::stoll(mixed->numerator)),
                               Currency::Whole(std::stoll(mixed->whole))};
  ASSERT_FALSE(ToMixedNumber(mixedParts)) << Describe(c);
  const AnswerConversion back = ToImproperFraction(mixedParts);
  ASSERT_TRUE(back) << Describe(c);
  ASSERT_EQ(back->numerator + "/" + back->whole, TextOf(improper.numerator) + "/") << Describe(c);
}

struct Tally {
  int rejected = 0;
  int agreed = 0;
  int overflowed = 0;
  bool overflowed_outside_divide = false;
};

void CheckCase(const Case& c, Tally& tally) {
  if (!OperandsAcceptable(OperandOf(c.first), OperandOf(c.second))) {
    ++tally.rejected;
    return;
  }
  const Outcome predicted = PredictSteps(c);
  if (predicted == Outcome::Overflows) {
    ++tally.overflowed;
    tally.overflowed_outside_divide |= c.op != kDiv;
    EXPECT_THROW((void)RunSteps(c), Overflow) << Describe(c);
  } else if (predicted == Outcome::Fits) {
    ++tally.agreed;
    Run run;
    ASSERT_NO_THROW(run = RunSteps(c)) << Describe(c);
    ASSERT_EQ(Render(run), ExactText(c)) << Describe(c);
    ExpectFormsRoundTrip(c, run);
  }
}

constexpr CalcOperator kOperators[] = {kAdd, kSub, kMul, kDiv};

template <typename Field>
Tally CheckRandomCases(const int count, std::mt19937& random, Field field) {
  Tally tally;
  for (int i = 0; i < count && !::testing::Test::HasFailure(); ++i) {
    const Entry first{field(999), field(9999), field(9999)};
    const CalcOperator op = kOperators[random() % 4];
    CheckCase({first, op, {field(999), field(9999), field(9999)}}, tally);
  }
  return tally;
}

TEST(FractionTest, KeyboardOperandsMatchExactArithmetic) {
  std::mt19937 random(42);
  // A quarter of the fields are left empty so that zero denominators and rejections come up.
  const Tally tally = CheckRandomCases(200000, random, [&random](const std::int32_t largest) {
    return random() % 4 == 0 ? 0 : std::uniform_int_distribution<std::int32_t>(0, largest)(random);
  });
  // Only the two Long products of Divide are within reach of the keyboard.
  EXPECT_FALSE(tally.overflowed_outside_divide);
  EXPECT_GT(tally.overflowed, 100);
  EXPECT_GT(tally.rejected, 1000);
}

TEST(FractionTest, WideOperandsOverflowExactlyWherePredicted) {
  std::mt19937 random(4242);
  const Tally tally = CheckRandomCases(40000, random, [&random](std::int32_t) {
    const std::int32_t limits[] = {0, 9, 9999, 65535, INT32_MAX};
    return std::uniform_int_distribution<std::int32_t>(0, limits[random() % 5])(random);
  });
  EXPECT_GT(tally.overflowed, 1000);
  EXPECT_GT(tally.agreed, 1000);
}

}  // namespace
}  // namespace tavolen
