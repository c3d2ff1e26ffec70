#include "arith/number.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace tavolen {
namespace {

__extension__ using Int128 = __int128;

constexpr std::int64_t kCurrencyMin = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kCurrencyMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int32_t kLongMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kLongMax = std::numeric_limits<std::int32_t>::max();

// n / d rounded to the nearest integer, an exact tie going to the even one; d > 0.
Int128 RoundedQuotient(const Int128 n, const Int128 d) {
  Int128 quotient = n / d;
  Int128 remainder = n % d;
  if (remainder < 0) {
    remainder += d;
    --quotient;
  }
  const Int128 twice = 2 * remainder;
  if (twice > d || (twice == d && (quotient & 1) != 0)) {
    ++quotient;
  }
  return quotient;
}

Currency CheckedCurrency(const Int128 count) {
  if (count < kCurrencyMin || count > kCurrencyMax) {
    throw Overflow();
  }
  return Currency{static_cast<std::int64_t>(count)};
}

Long CheckedLong(const Int128 value) {
  if (value < kLongMin || value > kLongMax) {
    throw Overflow();
  }
  return Long{static_cast<std::int32_t>(value)};
}

// Works on the magnitude so that the tie rule is symmetric; for a magnitude of
// at least 1, subtracting its floor is exact (the two lie within a factor of 2).
double RoundedToEven(const double x) {
  const double magnitude = std::fabs(x);
  const double floor = std::floor(magnitude);
  const double fraction = magnitude - floor;
  const bool up = fraction > 0.5 || (fraction == 0.5 && std::fmod(floor, 2.0) != 0.0);
  return std::copysign(up ? floor + 1.0 : floor, x);
}

Double CheckedDouble(const double x) {
  if (!std::isfinite(x)) {
    throw Overflow();
  }
  return Double{x};
}

}  // namespace

Long LongOf(const Double x) {
  if (!std::isfinite(x.value)) {
    throw Overflow();
  }
  const double rounded = RoundedToEven(x.value);
  if (rounded < static_cast<double>(kLongMin) || rounded > static_cast<double>(kLongMax)) {
    throw Overflow();
  }
  return Long{static_cast<std::int32_t>(rounded)};
}

Long LongOf(const Currency x) {
  return CheckedLong(RoundedQuotient(x.count, Currency::kScale));
}

Currency CurrencyOf(const Long x) {
  return Currency{std::int64_t{x.value} * Currency::kScale};
}

// Rounds the exact binary value of x, mantissa times a power of two, so that
// no rounding of x * 10000 in Double can shift a tie or a half-way case.
Currency CurrencyOf(const Double x) {
  if (!std::isfinite(x.value)) {
    throw Overflow();
  }
  if (x.value == 0.0) {
    return Currency{0};
  }
  // A whole number of the range needs no rounding: the common case, and cheap.
  constexpr double kLargestWhole = 922337203685477.0;
  if (std::fabs(x.value) <= kLargestWhole && std::trunc(x.value) == x.value) {
    return Currency::Whole(static_cast<std::int64_t>(x.value));
  }
  int exponent = 0;
  const double fraction = std::frexp(std::fabs(x.value), &exponent);
  const auto mantissa = static_cast<std::int64_t>(std::ldexp(fraction, 53));
  const int shift = 53 - exponent;
  // The mantissa is at least 2^52, so with no fractional bits the count is
  // beyond 2^52 * 10000, far outside the range.
  if (shift <= 0) {
    throw Overflow();
  }
  const Int128 scaled = Int128{mantissa} * Currency::kScale;
  // scaled is below 2^67, so a larger shift leaves less than a quarter.
  const Int128 magnitude = shift > 100 ? 0 : RoundedQuotient(scaled, Int128{1} << shift);
  return CheckedCurrency(x.value < 0.0 ? -magnitude : magnitude);
}

Double DoubleOf(const Long x) {
  return Double{static_cast<double>(x.value)};
}

// Up to 2^53 both operands of the division are exact, so the one IEEE division
// is correctly rounded. Beyond, the quotient is formed to 53 bits in integers.
Double DoubleOf(const Currency x) {
  constexpr std::int64_t kExactLimit = std::int64_t{1} << 53;
  if (x.count >= -kExactLimit && x.count <= kExactLimit) {
    return Double{static_cast<double>(x.count) / static_cast<double>(Currency::kScale)};
  }
  const Int128 magnitude = x.count < 0 ? -Int128{x.count} : Int128{x.count};
  constexpr Int128 kLowest53Bit = Int128{1} << 52;
  int shift = 0;
  while ((magnitude << shift) / Currency::kScale < kLowest53Bit) {
    ++shift;
  }
  const Int128 significand = RoundedQuotient(magnitude << shift, Currency::kScale);
  const double value = std::ldexp(static_cast<double>(significand), -shift);
  return Double{x.count < 0 ? -value : value};
}

Byte ByteOf(const Integer x) {
  if (x.value < 0 || x.value > std::numeric_limits<std::uint8_t>::max()) {
    throw Overflow();
  }
  return Byte{static_cast<std::uint8_t>(x.value)};
}

Double Fix(const Double x) {
  return Double{std::trunc(x.value)};
}

Long Abs(const Long x) {
  if (x.value == kLongMin) {
    throw Overflow();
  }
  return Long{x.value < 0 ? -x.value : x.value};
}

Currency Abs(const Currency x) {
  if (x.count == kCurrencyMin) {
    throw Overflow();
  }
  return Currency{x.count < 0 ? -x.count : x.count};
}

Long operator*(const Long a, const Long b) {
  std::int32_t product = 0;
  if (__builtin_mul_overflow(a.value, b.value, &product)) {
    throw Overflow();
  }
  return Long{product};
}

Long operator+(const Long a, const Long b) {
  std::int32_t sum = 0;
  if (__builtin_add_overflow(a.value, b.value, &sum)) {
    throw Overflow();
  }
  return Long{sum};
}

Byte operator+(const Byte a, const Byte b) {
  std::uint8_t sum = 0;
  if (__builtin_add_overflow(a.value, b.value, &sum)) {
    throw Overflow();
  }
  return Byte{sum};
}

Currency operator+(const Currency a, const Currency b) {
  std::int64_t sum = 0;
  if (__builtin_add_overflow(a.count, b.count, &sum)) {
    throw Overflow();
  }
  return Currency{sum};
}

Currency operator-(const Currency a, const Currency b) {
  std::int64_t difference = 0;
  if (__builtin_sub_overflow(a.count, b.count, &difference)) {
    throw Overflow();
  }
  return Currency{difference};
}

// Two counts carry 10000^2 between them; the product of two int64 fits in 127 bits.
Currency operator*(const Currency a, const Currency b) {
  return CheckedCurrency(RoundedQuotient(Int128{a.count} * b.count, Currency::kScale));
}

Currency operator*(const Currency a, const Integer b) {
  std::int64_t product = 0;
  if (__builtin_mul_overflow(a.count, std::int64_t{b.value}, &product)) {
    throw Overflow();
  }
  return Currency{product};
}

Double operator+(const Double a, const Double b) {
  return CheckedDouble(a.value + b.value);
}

Double operator-(const Double a, const Double b) {
  return CheckedDouble(a.value - b.value);
}

Double operator*(const Double a, const Double b) {
  return CheckedDouble(a.value * b.value);
}

Double operator/(const Double a, const Double b) {
  if (b.value == 0.0) {
    throw DivisionByZero();
  }
  return CheckedDouble(a.value / b.value);
}

}  // namespace tavolen
