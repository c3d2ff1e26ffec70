#include "arith/euclid.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>

namespace tavolen {
namespace {

constexpr std::int64_t W(const std::int64_t whole) {
  return whole * Currency::kScale;
}

// Whole numbers are left to the gcd identities below.
TEST(EuclidTest, SignsFractionsAndLimits) {
  struct Row {
    const char* name;
    Currency (*f)(Currency, Currency);
    std::int64_t a;  // counts of ten-thousandths
    std::int64_t b;
    std::int64_t expected;
  };
  const Row rows[] = {
      {"remainder_of_fraction", Remainder, 175000, W(5), 25000},
      {"remainder_of_smallest_counts", Remainder, 3, 2, 1},
      {"remainder_of_negative_fraction", Remainder, -175000, W(5), -25000},
      {"gcd_zero_second", GCD, W(7), 0, W(7)},
      {"gcd_both_zero", GCD, 0, 0, 0},
      {"gcd_zero_first", GCD, 0, W(7), W(7)},
      {"gcd_sign_of_negative_second", GCD, W(4), W(-6), W(-2)},
      {"gcd_sign_of_second_not_first", GCD, W(-4), W(6), W(2)},
      {"gcd_negative_with_zero", GCD, W(-6), 0, W(-6)},
      {"gcd_of_fractions", GCD, 15000, 25000, 5000},
      {"lcm_small", LCM, W(4), W(6), W(12)},
      {"lcm_sign_of_gcd", LCM, W(4), W(-6), W(-12)},
      {"lcm_zero", LCM, 0, W(5), 0},
      {"lcm_product_at_limit", LCM, W(30370004), W(30370005), W(922337173330020)},
      {"lcm_of_fractions", LCM, 15000, 25000, 75000},  // 1.5 and 2.5: 3.75 / 0.5
  };
  for (const Row& row : rows) {
    EXPECT_EQ(row.f(Currency{row.a}, Currency{row.b}).count, row.expected) << row.name;
  }
  EXPECT_THROW((void)Remainder(Currency{W(1)}, Currency{0}), DivisionByZero);
  EXPECT_THROW((void)LCM(Currency::Whole(30370005), Currency::Whole(30370005)), Overflow);
  EXPECT_THROW((void)LCM(Currency{0}, Currency{0}), DivisionByZero);
}

TEST(EuclidTest, WholeNumbersSatisfyGcdIdentities) {
  std::mt19937_64 random(7);
  std::uniform_int_distribution<std::int64_t> wholes(-922337203685477, 922337203685477);
  std::uniform_int_distribution<int> shifts(0, 49);
  for (int i = 0; i < 20000; ++i) {
    const std::int64_t a = wholes(random) >> shifts(random);
    const std::int64_t b = (wholes(random) >> shifts(random)) | 1;
    const std::int64_t g = GCD(Currency::Whole(a), Currency::Whole(b)).count / Currency::kScale;
    ASSERT_EQ(a % g, 0) << a << " " << b;
    ASSERT_EQ(b % g, 0) << a << " " << b;
    ASSERT_EQ(GCD(Currency::Whole(a / g), Currency::Whole(b / g)).count, W(1)) << a << " " << b;
  }
}

}  // namespace
}  // namespace tavolen
