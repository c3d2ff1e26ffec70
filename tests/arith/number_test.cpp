#include "arith/number.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <utility>

namespace tavolen {
namespace {

__extension__ using Int128 = __int128;
using Pair = std::pair<std::int64_t, std::int64_t>;

constexpr std::int64_t kMaxCount = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMinCount = std::numeric_limits<std::int64_t>::min();

template <typename In>
struct Row {
  const char* name;
  In in;
  std::optional<std::int64_t> expected;  // none: Overflow
};

template <typename In, typename F>
void Check(std::initializer_list<Row<In>> rows, F f) {
  for (const Row<In>& row : rows) {
    SCOPED_TRACE(row.name);
    if (row.expected) {
      EXPECT_EQ(f(row.in), *row.expected);
    } else {
      EXPECT_THROW((void)f(row.in), Overflow);
    }
  }
}

TEST(NumberTest, LongOfDoubleRoundsToEvenWithinRange) {
  // The golden cleanup script rounds 2.5, 3.5 and -0.5.
  Check<double>({{"negative_tie", -2.5, -2},
                 {"just_below_half", 0.49999999999999994, 0},
                 {"near_negative_half", -0.5 + 0x1p-55, 0},
                 {"top_below_tie", 2147483647.4, 2147483647},
                 {"top_tie_goes_out", 2147483647.5, std::nullopt},
                 {"bottom_tie_goes_even", -2147483648.5, -2147483648},
                 {"below_bottom", -2147483649.0, std::nullopt},
                 {"infinity", HUGE_VAL, std::nullopt},
                 {"not_a_number", std::nan(""), std::nullopt}},
                [](double x) { return LongOf(Double{x}).value; });
}

TEST(NumberTest, LongOfCurrencyRoundsToEvenWithinRange) {
  Check<std::int64_t>({{"tie_down", 25000, 2},
                       {"tie_up", 35000, 4},
                       {"negative_tie", -25000, -2},
                       {"above_tie", 25001, 3},
                       {"negative_below_tie", -24999, -2},
                       {"top", 21474836474000, 2147483647},
                       {"top_tie_out", 21474836475000, std::nullopt},
                       {"bottom_tie_even", -21474836485000, -2147483648},
                       {"most_negative", kMinCount, std::nullopt}},
                      [](std::int64_t count) { return LongOf(Currency{count}).value; });
}

TEST(NumberTest, CurrencyOfDoubleRoundsTheExactValue) {
  // Checked with exact fractions: x * 10000.0 would land on a tie and round the other way.
  Check<double>({{"stored_above_half", 0.00005, 1},
                 {"stored_below_three_and_a_half", 0.00035, 3},
                 {"exact_tie_down_to_even", 0.03125, 312},
                 {"exact_tie_up_to_even", 0.09375, 938},
                 {"negative_half", -0.5, -5000},
                 {"subnormal", 5e-324, 0},
                 {"largest_whole", 922337203685477.0, 9223372036854770000},
                 {"top_fraction", 922337203685477.5, 9223372036854775000},
                 {"first_double_past_top", 922337203685477.625, std::nullopt},
                 {"first_whole_past_top", 922337203685478.0, std::nullopt},
                 {"first_whole_past_bottom", -922337203685478.0, std::nullopt},
                 {"bottom_fraction", -922337203685477.5, -9223372036854775000},
                 {"first_double_past_bottom", -922337203685477.625, std::nullopt},
                 {"whole_beyond_range", 1e15, std::nullopt},
                 {"infinity", -HUGE_VAL, std::nullopt},
                 {"not_a_number", std::nan(""), std::nullopt}},
                [](double x) { return CurrencyOf(Double{x}).count; });
}

// count / 10000 as a decimal text, parsed by from_chars, which rounds correctly.
double NearestDouble(const std::int64_t count) {
  const Int128 magnitude = count < 0 ? -Int128{count} : Int128{count};
  const std::string text = (count < 0 ? "-" : "") +
                           std::to_string(static_cast<std::uint64_t>(magnitude / 10000)) + "." +
                           std::to_string(static_cast<int>(magnitude % 10000) + 10000).substr(1);
  double value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

TEST(NumberTest, DoubleOfCurrencyIsTheNearestDouble) {
  constexpr std::int64_t k2To52 = std::int64_t{1} << 52;
  constexpr std::int64_t k2To53 = std::int64_t{1} << 53;
  for (const std::int64_t count :
       {k2To52 + 1, k2To52 + 3, -k2To52 - 1, k2To53 - 1, k2To53 + 1, k2To53 + 3, 2 * k2To53 - 1,
        2 * k2To53 + 1, k2To53 + 5000, kMaxCount, kMinCount, std::int64_t{9223372036854770000},
        std::int64_t{15000}}) {
    EXPECT_EQ(DoubleOf(Currency{count}).value, NearestDouble(count)) << count;
  }
  std::mt19937_64 random(20261206);
  std::uniform_int_distribution<int> shifts(0, 62);
  for (int i = 0; i < 20000; ++i) {
    const auto count = static_cast<std::int64_t>(random() >> shifts(random)) | 1;
    for (const std::int64_t signedCount : {count, -count}) {
      ASSERT_EQ(DoubleOf(Currency{signedCount}).value, NearestDouble(signedCount)) << signedCount;
    }
  }
}

TEST(NumberTest, CheckedStepsFailOnlyPastTheirLimits) {
  using LongPair = std::pair<std::int32_t, std::int32_t>;
  Check<LongPair>({{"largest_square", {46340, 46340}, 2147395600},
                   {"square_past_top", {46341, 46341}, std::nullopt},
                   {"reaches_bottom", {-65536, 32768}, -2147483648},
                   {"negated_bottom", {-2147483647 - 1, -1}, std::nullopt}},
                  [](LongPair p) { return (Long{p.first} * Long{p.second}).value; });
  // The whole products at the limit are euclid_test's common multiples.
  Check<Pair>({{"fraction_tie_down_to_even", {5000, 1}, 0},  // 0.5 * 0.0001
               {"fraction_tie_up_to_even", {15000, 1}, 2},   // 1.5 * 0.0001
               {"negative_fraction_tie", {-15000, 1}, -2},
               {"fraction_below_tie", {4999, 1}, 0},
               {"most_negative_times_one", {kMinCount, 10000}, kMinCount},
               {"most_negative_times_minus_one", {kMinCount, -10000}, std::nullopt}},
              [](Pair p) { return (Currency{p.first} * Currency{p.second}).count; });
  EXPECT_EQ((Long{2147483646} + Long{1}).value, 2147483647);
  EXPECT_THROW((void)(Long{2147483647} + Long{1}), Overflow);
  EXPECT_THROW((void)(Long{-2147483647} + Long{-2}), Overflow);
  EXPECT_EQ((Currency::Whole(92233720368547) * Integer{10}).count, 9223372036854700000);
  EXPECT_THROW((void)(Currency::Whole(92233720368548) * Integer{10}), Overflow);
  EXPECT_THROW((void)(Currency{kMaxCount} + Currency{1}), Overflow);
  EXPECT_THROW((void)(Currency{kMinCount} - Currency{1}), Overflow);
  EXPECT_EQ((Currency{kMinCount} - Currency{-1}).count, kMinCount + 1);
  EXPECT_EQ(Abs(Long{-2147483647}).value, 2147483647);
  EXPECT_THROW((void)Abs(Long{-2147483647 - 1}), Overflow);
  EXPECT_EQ(Abs(Currency{kMinCount + 1}).count, kMaxCount);
  EXPECT_THROW((void)Abs(Currency{kMinCount}), Overflow);
  EXPECT_EQ(ByteOf(Integer{255}).value, 255);
  EXPECT_THROW((void)ByteOf(Integer{256}), Overflow);
  EXPECT_THROW((void)ByteOf(Integer{-1}), Overflow);
  EXPECT_EQ((Byte{200} + Byte{55}).value, 255);
  EXPECT_THROW((void)(Byte{200} + Byte{56}), Overflow);
  EXPECT_EQ((Double{1.0} / Double{4.0}).value, 0.25);
  EXPECT_THROW((void)(Double{1.0} / Double{-0.0}), DivisionByZero);
  EXPECT_THROW((void)(Double{1e308} * Double{10.0}), Overflow);
  EXPECT_THROW((void)(Double{1e308} + Double{1e308}), Overflow);
  EXPECT_EQ(Fix(Double{-2.7}).value, -2.0);
}

// Small whole numbers and short decimals show in every golden script.
TEST(NumberTest, TextForms) {
  EXPECT_EQ(TextOf(Integer{-32768}), "-32768");
  EXPECT_EQ(TextOf(Currency::Whole(922337203685477)), "922337203685477");
  EXPECT_EQ(TextOf(Currency{15000}), "1.5");
  EXPECT_EQ(TextOf(Currency{-5}), "-0.0005");
  EXPECT_EQ(TextOf(Currency{kMinCount}), "-922337203685477.5808");
  EXPECT_EQ(TextOf(Double{-0.0}), "0");
  EXPECT_EQ(TextOf(Double{-999999999999999.0}), "-999999999999999");
  EXPECT_EQ(TextOf(Double{1e15}), "1e+15");
}

}  // namespace
}  // namespace tavolen
