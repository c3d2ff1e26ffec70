// The exact conversions against the standard library's std::to_chars and
// std::from_chars, which the browser's library lacks for doubles but the
// native one has: the two must agree on every double and every text.
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "arith/double_text.h"

namespace tavolen {
namespace {

constexpr double kMax = std::numeric_limits<double>::max();
constexpr double kMinNormal = std::numeric_limits<double>::min();
constexpr double kMinSubnormal = std::numeric_limits<double>::denorm_min();
constexpr double kLastSubnormal = kMinNormal - kMinSubnormal;
constexpr double kInf = std::numeric_limits<double>::infinity();

std::string LibraryText(const double x) {
  std::array<char, 64> buffer{};
  const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), x).ptr;
  return {buffer.data(), end};
}

// What the library reads, with an out-of-range result as infinity when there
// is a whole part and as zero otherwise.
double LibraryRead(const std::string& text) {
  double value = 0.0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  EXPECT_EQ(end, text.data() + text.size()) << text;
  if (error == std::errc::result_out_of_range) {
    const bool whole = text.find_first_of("123456789") < text.find('.');
    return whole ? kInf : 0.0;
  }
  return value;
}

// The exact value of x in fixed form (a long double holds every double and
// every point halfway between two).
std::string ExactText(const long double x) {
  std::vector<char> buffer(1600);
  const auto end =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), x, std::chars_format::fixed, 1100)
          .ptr;
  std::string text(buffer.data(), end);
  text.erase(text.find_last_not_of('0') + 1);
  return text;
}

// Texts at the edges of the search.
const std::string kEdgeTexts[] = {
    ".5", "5.", "0007.25", "000.000", "0.3333333333333333",
    // 2^53 + 1 lies halfway between 2^53 and 2^53 + 2 and goes to the even one.
    "9007199254740993", "9007199254740993.0000000000000000001",
    // The largest double, just below the halfway to overflow, and overflow.
    "179769313486231570" + std::string(291, '0'), "179769313486231580" + std::string(291, '0'),
    "1" + std::string(309, '0'),
    // Below the smallest normal double the spacing does not halve.
    "0." + std::string(307, '0') + "22250738585072011",
    "0." + std::string(307, '0') + "22250738585072012", "0." + std::string(323, '0') + "5",
    "0." + std::string(323, '0') + "2", "0." + std::string(400, '0') + "1",
    "1." + std::string(800, '0') + "1"};

// Doubles of every magnitude, with the boundaries of each range and of each
// text form first: each written and read back, and the points halfway to the
// next double read as the even neighbour. Then the edge texts and random
// digit strings.
TEST(DoubleText, AgreesWithTheLibrary) {
  std::mt19937_64 random(7);
  std::vector<double> doubles = {kMinSubnormal, kLastSubnormal, kMinNormal, 2 * kMinNormal,
                                 0.1,           1.0 / 3.0,      0.001,      0.0001,
                                 0.000123456,   -2.5e-7};
  doubles.insert(doubles.end(), {1e15, 1.5e15, 1e100, 123456789012345680.0, 9007199254740992.0,
                                 kMax / 2, kMax, -0.0, kInf, -kInf});
  for (int i = 0; i < 20000; ++i) {
    doubles.push_back(std::bit_cast<double>(random()));
  }
  for (const double x : doubles) {
    if (std::isnan(x)) {
      continue;
    }
    ASSERT_EQ(ShortestText(x), LibraryText(x)) << std::bit_cast<std::uint64_t>(x);
    const double low = std::abs(x);
    const double high = std::nextafter(low, std::numeric_limits<double>::infinity());
    if (!std::isfinite(high)) {
      continue;
    }
    const std::string digits = ExactText(static_cast<long double>(low));
    ASSERT_EQ(NearestDouble(digits), low) << digits;
    ASSERT_EQ(LibraryRead(digits), low) << digits;
    const long double halfway =
        (static_cast<long double>(low) + static_cast<long double>(high)) / 2;
    const double even = (std::bit_cast<std::uint64_t>(low) & 1U) == 0 ? low : high;
    const std::string text = ExactText(halfway);
    ASSERT_EQ(NearestDouble(text), even) << text;
    ASSERT_EQ(NearestDouble(text + "0001"), high) << text;
    ASSERT_EQ(NearestDouble(ExactText(std::nextafter(halfway, 0.0L))), low) << text;
    ASSERT_EQ(NearestDouble(text), LibraryRead(text)) << text;
  }
  for (const std::string& text : kEdgeTexts) {
    EXPECT_EQ(NearestDouble(text), LibraryRead(text)) << text;
  }
  std::uniform_int_distribution<int> length(1, 30);
  std::uniform_int_distribution<int> digit(0, 9);
  for (int i = 0; i < 20000; ++i) {
    std::string text(static_cast<std::size_t>(length(random)), '0');
    for (char& c : text) {
      c = static_cast<char>('0' + digit(random));
    }
    text.insert(random() % (text.size() + 1), ".");
    const double value = NearestDouble(text);
    ASSERT_EQ(value, LibraryRead(text)) << text;
    ASSERT_EQ(ShortestText(value), LibraryText(value)) << text;
  }
}

}  // namespace
}  // namespace tavolen
