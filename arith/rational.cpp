#include "arith/rational.h"

#include <numeric>

#include "arith/number.h"

namespace tavolen {

namespace {

std::int64_t Times(std::int64_t a, std::int64_t b) {
  std::int64_t product = 0;
  if (__builtin_mul_overflow(a, b, &product)) {
    throw Overflow();
  }
  return product;
}

std::int64_t Plus(std::int64_t a, std::int64_t b) {
  std::int64_t sum = 0;
  if (__builtin_add_overflow(a, b, &sum)) {
    throw Overflow();
  }
  return sum;
}

}  // namespace

Rational::Rational(std::int64_t numerator, std::int64_t denominator) {
  if (denominator < 0) {
    numerator = Times(numerator, -1);
    denominator = Times(denominator, -1);
  }
  const std::int64_t divisor = std::gcd(numerator, denominator);
  numerator_ = numerator / divisor;
  denominator_ = denominator / divisor;
}

// Each operation first cancels what the denominators share, so that the
// intermediate products stay as small as the result allows.
Rational operator+(const Rational& a, const Rational& b) {
  const std::int64_t shared = std::gcd(a.denominator_, b.denominator_);
  const std::int64_t aScale = b.denominator_ / shared;
  const std::int64_t bScale = a.denominator_ / shared;
  return {Plus(Times(a.numerator_, aScale), Times(b.numerator_, bScale)),
          Times(a.denominator_, aScale)};
}

Rational operator-(const Rational& a) {
  return {Times(a.numerator_, -1), a.denominator_};
}

Rational operator-(const Rational& a, const Rational& b) {
  return a + -b;
}

Rational operator*(const Rational& a, const Rational& b) {
  // Never 0: each pairs a numerator with a denominator of at least 1.
  const std::int64_t ab = std::gcd(a.numerator_, b.denominator_);
  const std::int64_t ba = std::gcd(b.numerator_, a.denominator_);
  return {Times(a.numerator_ / ab, b.numerator_ / ba),
          Times(a.denominator_ / ba, b.denominator_ / ab)};
}

Rational operator/(const Rational& a, const Rational& b) {
  return a * Rational(b.denominator_, b.numerator_);
}

bool operator<(const Rational& a, const Rational& b) {
  return (a - b).IsNegative();
}

}  // namespace tavolen
