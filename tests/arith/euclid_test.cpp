#include "arith/euclid.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>

namespace tavolen {
namespace {

struct EuclidCase {
  const char* name;
  std::int64_t a;  // counts of ten-thousandths
  std::int64_t b;
  std::int64_t expected;
};

constexpr std::int64_t W(const std::int64_t whole) {
  return whole * Currency::kScale;
}

TEST(EuclidTest, RemainderTruncatesTowardZero) {
  const EuclidCase cases[] = {
      {"positive", W(17), W(5), W(2)},
      {"negative_dividend_keeps_its_sign", W(-7), W(2), W(-1)},
      {"negative_divisor_drops_its_sign", W(7), W(-2), W(1)},
      {"smaller_dividend_is_kept", W(12), W(18), W(12)},
      {"zero_dividend", 0, W(5), 0},
      {"largest_whole", W(922337203685477), W(2), W(1)},
      {"fractional_dividend", 175000, W(5), 25000},
      {"smallest_counts", 3, 2, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Remainder(Currency{c.a}, Currency{c.b}).count, c.expected);
  }
  EXPECT_THROW((void)Remainder(Currency{W(1)}, Currency{0}), DivisionByZero);
}

TEST(EuclidTest, GcdTakesTheSignOfTheLastNonZeroValue) {
  const EuclidCase cases[] = {
      {"swaps_through_remainder", W(12), W(18), W(6)},
      {"zero_second", W(7), 0, W(7)},
      {"both_zero", 0, 0, 0},
      {"zero_first", 0, W(7), W(7)},
      {"negative_second", W(4), W(-6), W(-2)},
      {"negative_first", W(-4), W(6), W(2)},
      {"negative_with_zero", W(-6), 0, W(-6)},
      {"consecutive_fibonacci", W(498454011879264), W(806515533049393), W(1)},
      {"fractional", 15000, 25000, 5000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(GCD(Currency{c.a}, Currency{c.b}).count, c.expected);
  }
}

TEST(EuclidTest, LcmOverflowsOnTheProductAlone) {
  const EuclidCase cases[] = {
      {"small", W(4), W(6), W(12)},
      {"sign_of_gcd", W(4), W(-6), W(-12)},
      {"zero", 0, W(5), 0},
      {"product_at_limit", W(30370004), W(30370005), W(922337173330020)},
      {"fractional", 15000, 25000, 75000},  // 1.5 and 2.5: 3.75 / 0.5
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(LCM(Currency{c.a}, Currency{c.b}).count, c.expected);
  }
  EXPECT_THROW((void)LCM(Currency::Whole(30370005), Currency::Whole(30370005)), Overflow);
  EXPECT_THROW((void)LCM(Currency{0}, Currency{0}), DivisionByZero);
}

TEST(EuclidTest, WholeNumbersSatisfyDivisionAndGcdIdentities) {
  std::mt19937_64 random(7);
  std::uniform_int_distribution<std::int64_t> wholes(-922337203685477, 922337203685477);
  std::uniform_int_distribution<int> shifts(0, 49);
  for (int i = 0; i < 20000; ++i) {
    const std::int64_t a = wholes(random) >> shifts(random);
    const std::int64_t b = (wholes(random) >> shifts(random)) | 1;
    const std::int64_t r =
        Remainder(Currency::Whole(a), Currency::Whole(b)).count / Currency::kScale;
    ASSERT_EQ(r, a % b) << a << " " << b;
    const std::int64_t g = GCD(Currency::Whole(a), Currency::Whole(b)).count / Currency::kScale;
    ASSERT_EQ(a % g, 0) << a << " " << b;
    ASSERT_EQ(b % g, 0) << a << " " << b;
    ASSERT_EQ(GCD(Currency::Whole(a / g), Currency::Whole(b / g)).count, W(1)) << a << " " << b;
  }
}

}  // namespace
}  // namespace tavolen
