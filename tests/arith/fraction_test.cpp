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

__extension__ typedef __int128 Int128;

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

constexpr Int128 kLongMin = INT32_MIN;
constexpr Int128 kLongMax = INT32_MAX;
constexpr Int128 kCurrencyWholeMax = 922337203685477;
constexpr Int128 kDoubleExactMax = Int128{1} << 53;

Int128 Magnitude(const Int128 v) {
  return v < 0 ? -v : v;
}
bool FitsLong(const Int128 v) {
  return v >= kLongMin && v <= kLongMax;
}
bool FitsCurrency(const Int128 v) {
  return Magnitude(v) <= kCurrencyWholeMax;
}

Int128 PlainGcd(Int128 a, Int128 b) {
  a = Magnitude(a);
  b = Magnitude(b);
  while (b != 0) {
    a = std::exchange(b, a % b);
  }
  return a;
}

// Euclid with truncating remainders: the sign is that of the last non-zero value.
Int128 SignedGcd(Int128 m, Int128 n) {
  while (n != 0) {
    m = std::exchange(n, m % n);
  }
  return m;
}

struct Rational {
  Int128 num;
  Int128 den;
  friend bool operator==(const Rational&, const Rational&) = default;
};

Rational Lowest(Int128 num, Int128 den) {
  if (den < 0) {
    num = -num;
    den = -den;
  }
  const Int128 g = PlainGcd(num, den);
  return {num / g, den / g};
}

Rational ValueOf(const Entry& e) {
  if (e.denominator == 0) {
    return {e.whole, 1};
  }
  return Lowest(Int128{e.whole} * e.denominator + e.numerator, e.denominator);
}

// The answer in exact rational arithmetic; no value for a division by zero.
std::optional<Rational> ExactAnswer(const Case& c) {
  const Rational x = ValueOf(c.first);
  const Rational y = ValueOf(c.second);
  switch (c.op) {
    case CalcOperator::Add:
      return Lowest(x.num * y.den + y.num * x.den, x.den * y.den);
    case CalcOperator::Subtract:
      return Lowest(x.num * y.den - y.num * x.den, x.den * y.den);
    case CalcOperator::Multiply:
      return Lowest(x.num * y.num, x.den * y.den);
    case CalcOperator::Divide:
      if (y.num == 0) {
        return std::nullopt;
      }
      return Lowest(x.num * y.den, x.den * y.num);
    case CalcOperator::NoOperator:
      return Rational{0, 1};
  }
  return std::nullopt;
}

enum class Outcome { Fits, Overflows, Inexact };

// Cancels a and b by their signed gcd as the steps do; false when a value leaves Long.
bool Cancel(Int128& a, Int128& b) {
  const Int128 g = SignedGcd(a, b);
  a /= g;
  b /= g;
  return FitsLong(g) && FitsLong(a) && FitsLong(b);
}

// Follows the intermediates of the steps on exact integers: Overflows when one
// leaves its type, Inexact when a Double step of Add or Subtract may round.
Outcome PredictSteps(const Case& c) {
  Int128 d[2];
  Int128 n[2];
  const Entry entries[2] = {c.first, c.second};
  for (int i = 0; i < 2; ++i) {
    const Entry& e = entries[i];
    d[i] = e.denominator == 0 ? 1 : e.denominator;
    const Int128 product = Int128{e.whole} * e.denominator;
    n[i] = e.denominator == 0 ? e.whole : product + e.numerator;
    if (!FitsLong(product) || !FitsLong(n[i])) {
      return Outcome::Overflows;
    }
  }
  if (!Cancel(d[0], n[0]) || !Cancel(d[1], n[1])) {
    return Outcome::Overflows;
  }
  Int128 num = 0;
  Int128 den = 0;
  switch (c.op) {
    case CalcOperator::Add:
    case CalcOperator::Subtract: {
      const Int128 product = d[0] * d[1];
      if (!FitsCurrency(product)) {
        return Outcome::Overflows;
      }
      den = Magnitude(product) / SignedGcd(d[0], d[1]);
      const Int128 a = den / d[0] * n[0];
      const Int128 b = den / d[1] * n[1];
      if (Magnitude(a) > kDoubleExactMax || Magnitude(b) > kDoubleExactMax) {
        return Outcome::Inexact;
      }
      num = c.op == CalcOperator::Add ? a + b : a - b;
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
  num = Magnitude(num);
  if (num == 0 || den == 0 || num % den == 0) {
    return Outcome::Fits;
  }
  return FitsLong(SignedGcd(num, den)) ? Outcome::Fits : Outcome::Overflows;
}

Int128 WholeOf(const Currency x) {
  return x.count / Currency::kScale;
}

// The value the answer area shows, sign label included.
Rational ShownValue(const Run& run) {
  Rational shown{0, 1};
  if (const auto* whole = std::get_if<WholeAnswer>(&run.answer)) {
    shown.num = static_cast<std::int64_t>(whole->value.value);
  } else if (const auto* fraction = std::get_if<FractionAnswer>(&run.answer)) {
    shown = {WholeOf(fraction->numerator), WholeOf(fraction->denominator)};
  }
  return {run.negative ? -shown.num : shown.num, shown.den};
}

void ExpectAgrees(const Case& c, const Run& run, const std::optional<Rational>& exact) {
  ASSERT_TRUE(run.accepted) << Describe(c);
  ASSERT_EQ(run.division_by_zero, !exact.has_value()) << Describe(c);
  const Rational expected = exact.value_or(Rational{0, 1});
  ASSERT_EQ(Lowest(ShownValue(run).num, ShownValue(run).den), expected) << Describe(c);
  ASSERT_EQ(std::holds_alternative<ZeroAnswer>(run.answer), expected.num == 0) << Describe(c);
  ASSERT_EQ(std::holds_alternative<WholeAnswer>(run.answer), expected.num != 0 && expected.den == 1)
      << Describe(c);
  if (const auto* whole = std::get_if<WholeAnswer>(&run.answer)) {
    ASSERT_EQ(std::trunc(whole->value.value), whole->value.value) << Describe(c);
  }
  if (const auto* fraction = std::get_if<FractionAnswer>(&run.answer)) {
    ASSERT_EQ(fraction->numerator.count % Currency::kScale, 0) << Describe(c);
    ASSERT_EQ(fraction->denominator.count % Currency::kScale, 0) << Describe(c);
    ASSERT_EQ(PlainGcd(WholeOf(fraction->numerator), WholeOf(fraction->denominator)), 1)
        << Describe(c);
  }
}

// Applies ToMixedNumber and ToImproperFraction to the answer as shown and checks that
// each undoes the other and that a second application changes nothing.
void ExpectFormsRoundTrip(const Case& c, const Run& run) {
  const auto* fraction = std::get_if<FractionAnswer>(&run.answer);
  const auto* whole = std::get_if<WholeAnswer>(&run.answer);
  const AnswerParts improper{
      fraction ? fraction->denominator : Currency{}, fraction ? fraction->numerator : Currency{},
      whole ? Currency::Whole(static_cast<std::int64_t>(whole->value.value)) : Currency{}};
  ASSERT_FALSE(ToImproperFraction(improper)) << Describe(c);
  const AnswerConversion mixed = ToMixedNumber(improper);
  if (!mixed) {
    return;
  }
  const AnswerParts mixed_parts{improper.denominator, Currency::Whole(std::stoll(mixed->numerator)),
                                Currency::Whole(std::stoll(mixed->whole))};
  ASSERT_FALSE(ToMixedNumber(mixed_parts)) << Describe(c);
  const AnswerConversion back = ToImproperFraction(mixed_parts);
  ASSERT_TRUE(back) << Describe(c);
  ASSERT_EQ(back->numerator, TextOf(improper.numerator)) << Describe(c);
  ASSERT_EQ(back->whole, "") << Describe(c);
}

struct Tally {
  int rejected = 0;
  int agreed = 0;
  int overflowed = 0;
  int inexact = 0;
};

Tally CheckCase(const Case& c, Tally tally) {
  if (!OperandsAcceptable(OperandOf(c.first), OperandOf(c.second))) {
    ++tally.rejected;
    return tally;
  }
  switch (PredictSteps(c)) {
    case Outcome::Inexact:
      ++tally.inexact;
      break;
    case Outcome::Overflows:
      EXPECT_THROW((void)RunSteps(c), Overflow) << Describe(c);
      ++tally.overflowed;
      break;
    case Outcome::Fits: {
      Run run;
      EXPECT_NO_THROW(run = RunSteps(c)) << Describe(c);
      ExpectAgrees(c, run, ExactAnswer(c));
      ExpectFormsRoundTrip(c, run);
      ++tally.agreed;
      break;
    }
  }
  return tally;
}

constexpr CalcOperator kOperators[] = {kAdd, kSub, kMul, kDiv};

TEST(FractionTest, KeyboardOperandsMatchExactArithmetic) {
  std::mt19937 random(42);
  // A quarter of the fields are left empty so that zero denominators and rejections come up.
  const auto field = [&random](const std::int32_t largest) {
    return random() % 4 == 0 ? 0 : std::uniform_int_distribution<std::int32_t>(0, largest)(random);
  };
  Tally tally;
  for (int i = 0; i < 200000; ++i) {
    const Case c{{field(999), field(9999), field(9999)},
                 kOperators[random() % 4],
                 {field(999), field(9999), field(9999)}};
    const int overflowed = tally.overflowed;
    tally = CheckCase(c, tally);
    if (tally.overflowed != overflowed) {
      ASSERT_EQ(c.op, kDiv) << "only the Long products of Divide are in reach: " << Describe(c);
    }
    if (::testing::Test::HasFatalFailure()) {
      return;
    }
  }
  EXPECT_EQ(tally.inexact, 0);
  EXPECT_GT(tally.overflowed, 100);
  EXPECT_GT(tally.rejected, 1000);
}

TEST(FractionTest, WideOperandsOverflowExactlyWherePredicted) {
  std::mt19937 random(4242);
  const auto field = [&random]() -> std::int32_t {
    const std::int32_t limits[] = {0, 9, 9999, 65535, INT32_MAX};
    const std::int32_t largest = limits[random() % 5];
    const std::int32_t magnitude = std::uniform_int_distribution<std::int32_t>(0, largest)(random);
    if (random() % 4 != 0) {
      return magnitude;
    }
    return random() % 16 == 0 ? INT32_MIN : -magnitude;
  };
  Tally tally;
  for (int i = 0; i < 40000; ++i) {
    const Case c{
        {field(), field(), field()}, kOperators[random() % 4], {field(), field(), field()}};
    tally = CheckCase(c, tally);
    if (::testing::Test::HasFatalFailure()) {
      return;
    }
  }
  EXPECT_GT(tally.overflowed, 1000);
  EXPECT_GT(tally.agreed, 1000);
}

}  // namespace
}  // namespace tavolen
