#include "arith/double_text.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

namespace tavolen {
namespace {

// A non-negative decimal d1.d2d3... x 10^exponent, kept without leading or
// trailing zero digits so that two of them compare digit by digit; zero has
// no digits.
struct Decimal {
  std::string digits;
  int exponent = 0;
};

// digits (leading and trailing zeros allowed) with its first digit at 10^exponent.
Decimal Normalised(std::string digits, int exponent) {
  const std::size_t first = digits.find_first_not_of('0');
  if (first == std::string::npos) {
    return {};
  }
  digits.erase(0, first);
  digits.erase(digits.find_last_not_of('0') + 1);
  return {std::move(digits), exponent - static_cast<int>(first)};
}

int Compare(const Decimal& a, const Decimal& b) {
  if (a.digits.empty() || b.digits.empty()) {
    return static_cast<int>(!a.digits.empty()) - static_cast<int>(!b.digits.empty());
  }
  if (a.exponent != b.exponent) {
    return a.exponent < b.exponent ? -1 : 1;
  }
  // Equal leading positions: a missing digit counts as a trailing zero, and
  // the shorter text is the smaller one when it is a prefix of the other.
  const int order = a.digits.compare(b.digits);
  return (order > 0) - (order < 0);
}

// An unsigned integer in base 10^9, least significant limb first: wide enough
// for the exact value of any double (at most 767 significant digits).
using Limbs = std::vector<std::uint32_t>;
constexpr std::uint32_t kLimbBase = 1'000'000'000;

void MultiplyBy(Limbs& n, const std::uint32_t factor) {
  // limb * factor + carry < 10^9 * 2^31 + 2^31, well inside 64 bits.
  std::uint64_t carry = 0;
  for (std::uint32_t& limb : n) {
    const std::uint64_t product = std::uint64_t{limb} * factor + carry;
    limb = static_cast<std::uint32_t>(product % kLimbBase);
    carry = product / kLimbBase;
  }
  for (; carry != 0; carry /= kLimbBase) {
    n.push_back(static_cast<std::uint32_t>(carry % kLimbBase));
  }
}

// Nine digits a limb, written from the least significant end and then turned round.
std::string DigitsOf(const Limbs& n) {
  std::string text;
  for (std::uint32_t value : n) {
    for (int i = 0; i < 9; ++i, value /= 10) {
      text += static_cast<char>('0' + value % 10);
    }
  }
  std::reverse(text.begin(), text.end());
  return text;
}

// a x 2^b exactly; for negative b as a x 5^-b x 10^b.
Decimal DecimalOf(const std::uint64_t a, const int b) {
  Limbs n;
  for (std::uint64_t rest = a; rest != 0; rest /= kLimbBase) {
    n.push_back(static_cast<std::uint32_t>(rest % kLimbBase));
  }
  constexpr int kTwosPerStep = 30;
  constexpr int kFivesPerStep = 13;  // 5^13 < 2^31
  for (int left = b; left > 0; left -= kTwosPerStep) {
    MultiplyBy(n, std::uint32_t{1} << std::min(left, kTwosPerStep));
  }
  for (int left = -b; left > 0; left -= kFivesPerStep) {
    std::uint32_t power = 1;
    for (int i = 0; i < std::min(left, kFivesPerStep); ++i) {
      power *= 5;
    }
    MultiplyBy(n, power);
  }
  std::string digits = DigitsOf(n);
  const int length = static_cast<int>(digits.size());
  return Normalised(std::move(digits), length - 1 + std::min(b, 0));
}

// std::bit_cast is missing from the browser's library.
std::uint64_t BitsOf(const double x) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &x, sizeof bits);
  return bits;
}

// A finite non-negative double as m x 2^e.
struct Binary {
  std::uint64_t m;
  int e;
};

constexpr int kFractionBits = 52;
constexpr std::uint64_t kHiddenBit = std::uint64_t{1} << kFractionBits;
constexpr int kSubnormalExponent = -1074;

Binary BinaryOf(const double x) {
  const auto bits = BitsOf(x);
  const auto biased = static_cast<int>(bits >> kFractionBits);
  const std::uint64_t fraction = bits & (kHiddenBit - 1);
  if (biased == 0) {
    return {fraction, kSubnormalExponent};
  }
  return {fraction | kHiddenBit, biased + kSubnormalExponent - 1};
}

// Halfway between x and the next double up (2^1024 above the largest).
Decimal UpperHalfway(const double x) {
  const Binary b = BinaryOf(x);
  return DecimalOf(2 * b.m + 1, b.e - 1);
}

// Halfway between x > 0 and the next double down, which lies closer when x
// is a power of two with a smaller exponent below it.
Decimal LowerHalfway(const double x) {
  const Binary b = BinaryOf(x);
  if (b.m == kHiddenBit && b.e > kSubnormalExponent) {
    return DecimalOf(4 * b.m - 1, b.e - 2);
  }
  return DecimalOf(2 * b.m - 1, b.e - 1);
}

// A number exactly halfway between two doubles rounds to the one whose last bit is 0.
bool IsEven(const double x) {
  return (BitsOf(x) & 1U) == 0;
}

// The first p digits of exact plus one in their last place.
Decimal RoundedUp(const Decimal& exact, const std::size_t p) {
  std::string digits = exact.digits.substr(0, p);
  auto digit = digits.rbegin();
  for (; digit != digits.rend() && *digit == '9'; ++digit) {
    *digit = '0';
  }
  if (digit == digits.rend()) {
    return {"1", exact.exponent + 1};
  }
  ++*digit;
  return Normalised(std::move(digits), exact.exponent);
}

Decimal ExactDigits(const double x) {
  const Binary b = BinaryOf(x);
  return DecimalOf(b.m, b.e);
}

Decimal ShortestDigits(const double x, const Decimal& exact) {
  const Decimal lower = LowerHalfway(x);
  const Decimal upper = UpperHalfway(x);
  const bool halfwayReadsAsX = IsEven(x);
  for (std::size_t p = 1; p < exact.digits.size(); ++p) {
    const Decimal down = Normalised(exact.digits.substr(0, p), exact.exponent);
    const Decimal up = RoundedUp(exact, p);
    const int belowLower = Compare(down, lower);
    const int aboveUpper = Compare(up, upper);
    const bool downReads = belowLower > 0 || (belowLower == 0 && halfwayReadsAsX);
    const bool upReads = aboveUpper < 0 || (aboveUpper == 0 && halfwayReadsAsX);
    if (downReads && upReads) {
      const int rest = exact.digits.compare(p, std::string::npos, "5");
      const bool oddLast = (exact.digits[p - 1] - '0') % 2 == 1;
      return rest > 0 || (rest == 0 && oddLast) ? up : down;
    }
    if (downReads || upReads) {
      return downReads ? down : up;
    }
  }
  return exact;
}

std::string ExponentText(const int exponent) {
  std::string text = exponent < 0 ? "e-" : "e+";
  const int magnitude = std::abs(exponent);
  if (magnitude < 10) {
    text += '0';
  }
  std::string digits;
  for (int rest = magnitude; rest != 0 || digits.empty(); rest /= 10) {
    digits.insert(digits.begin(), static_cast<char>('0' + rest % 10));
  }
  return text + digits;
}

// The fixed form unless the scientific one is strictly shorter. A whole number
// in fixed form shows all of its exact digits rather than the shortest ones
// padded with zeros: both read back the same, and the exact ones are true.
std::string Layout(const Decimal& d, const Decimal& exact) {
  const auto n = static_cast<int>(d.digits.size());
  const int e = d.exponent;
  const std::string scientific =
      d.digits.substr(0, 1) + (n > 1 ? "." + d.digits.substr(1) : "") + ExponentText(e);
  std::string fixed;
  if (e >= n - 1) {
    const auto length = static_cast<std::size_t>(exact.exponent) + 1;
    fixed = exact.digits + std::string(length - exact.digits.size(), '0');
  } else if (e >= 0) {
    const auto whole = static_cast<std::size_t>(e) + 1;
    fixed = d.digits.substr(0, whole) + "." + d.digits.substr(whole);
  } else {
    fixed = "0." + std::string(static_cast<std::size_t>(-e - 1), '0') + d.digits;
  }
  return scientific.size() < fixed.size() ? scientific : fixed;
}

// value x 10^power in steps of at most 10^22, the largest power of ten that a
// double holds exactly, so each step rounds once and the result lands within a
// few units in the last place. A library pow() need not be that close: some
// are off by a hundred units and more, which leaves the search a long way to go.
double ScaledByPowerOfTen(double value, int power) {
  constexpr int kLargestExact = 22;
  constexpr auto kExact = [] {
    std::array<double, kLargestExact + 1> powers{};
    double p = 1.0;
    for (double& entry : powers) {
      entry = p;
      p *= 10.0;
    }
    return powers;
  }();
  for (int left = power; left != 0 && value != 0.0 && !std::isinf(value);) {
    const int step = std::clamp(left, -kLargestExact, kLargestExact);
    const double factor = kExact.at(static_cast<std::size_t>(std::abs(step)));
    value = step > 0 ? value * factor : value / factor;
    left -= step;
  }
  return value;
}

// Within a few units in the last place of the nearest double, from the first
// 17 digits.
double Estimate(const Decimal& target) {
  constexpr std::size_t kLeading = 17;
  const std::string leading = target.digits.substr(0, kLeading);
  double value = 0.0;
  for (const char digit : leading) {
    value = value * 10.0 + (digit - '0');
  }
  const int power = target.exponent - static_cast<int>(leading.size()) + 1;
  return std::clamp(ScaledByPowerOfTen(value, power), 0.0, std::numeric_limits<double>::max());
}

}  // namespace

std::string ShortestText(const double x) {
  const std::string sign = std::signbit(x) ? "-" : "";
  if (std::isnan(x)) {
    return sign + "nan";
  }
  if (std::isinf(x)) {
    return sign + "inf";
  }
  if (x == 0.0) {
    return sign + "0";
  }
  const Decimal exact = ExactDigits(std::fabs(x));
  return sign + Layout(ShortestDigits(std::fabs(x), exact), exact);
}

double NearestDouble(const std::string_view digits) {
  std::string plain;
  std::size_t point = std::string_view::npos;
  for (const char c : digits) {
    if (c == '.') {
      point = plain.size();
    } else {
      plain += c;
    }
  }
  const std::size_t whole = point == std::string_view::npos ? plain.size() : point;
  const Decimal target = Normalised(std::move(plain), static_cast<int>(whole) - 1);
  constexpr int kAboveLargest = 309;        // 10^309 > the largest double
  constexpr int kBelowHalfSmallest = -325;  // 10^-324 < half the smallest double
  if (target.digits.empty() || target.exponent < kBelowHalfSmallest) {
    return 0.0;
  }
  if (target.exponent >= kAboveLargest) {
    return std::numeric_limits<double>::infinity();
  }
  // Step from the estimate to the double whose halfway points enclose target.
  double x = Estimate(target);
  for (;;) {
    const double next = std::nextafter(x, std::numeric_limits<double>::infinity());
    const int aboveUpper = Compare(target, UpperHalfway(x));
    if (aboveUpper > 0) {
      x = next;
      if (std::isinf(x)) {
        return x;
      }
      continue;
    }
    if (aboveUpper == 0) {
      return IsEven(x) ? x : next;
    }
    if (x == 0.0) {
      return x;
    }
    const double previous = std::nextafter(x, 0.0);
    const int belowLower = Compare(target, LowerHalfway(x));
    if (belowLower < 0) {
      x = previous;
      continue;
    }
    if (belowLower == 0) {
      return IsEven(x) ? x : previous;
    }
    return x;
  }
}

}  // namespace tavolen
