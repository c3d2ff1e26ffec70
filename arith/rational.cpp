#include "arith/rational.h"

#include <cstdint>
#include <utility>

#include "arith/number.h"

namespace tavolen {

namespace {

// Products and sums are taken twice as wide, so a result that reduces back
// into 64 bits is exact even where its unreduced parts are not.
__extension__ using Wide = __int128;

std::int64_t Narrow(Wide x) {
  if (x < INT64_MIN || x > INT64_MAX) {
    throw Overflow();
  }
  return static_cast<std::int64_t>(x);
}

Wide WideGcd(Wide a, Wide b) {
  a = a < 0 ? -a : a;
  b = b < 0 ? -b : b;
  while (b != 0) {
    a = std::exchange(b, a % b);
  }
  return a;
}

}  // namespace

Rational::Rational(std::int64_t numerator, std::int64_t denominator)
    : Rational(Wide{numerator}, Wide{denominator}) {}

Rational::Rational(Wide numerator, Wide denominator) {
  if (denominator < 0) {
    numerator = -numerator;
    denominator = -denominator;
  }
  const Wide divisor = WideGcd(numerator, denominator);
  numerator_ = Narrow(numerator / divisor);
  denominator_ = Narrow(denominator / divisor);
}

Rational operator+(const Rational& a, const Rational& b) {
  return {Wide{a.numerator_} * b.denominator_ + Wide{b.numerator_} * a.denominator_,
          Wide{a.denominator_} * b.denominator_};
}

Rational operator-(const Rational& a) {
  return {-Wide{a.numerator_}, Wide{a.denominator_}};
}

Rational operator-(const Rational& a, const Rational& b) {
  return a + -b;
}

Rational operator*(const Rational& a, const Rational& b) {
  return {Wide{a.numerator_} * b.numerator_, Wide{a.denominator_} * b.denominator_};
}

Rational operator/(const Rational& a, const Rational& b) {
  return a * Rational(b.denominator_, b.numerator_);
}

bool operator<(const Rational& a, const Rational& b) {
  return Wide{a.numerator_} * b.denominator_ < Wide{b.numerator_} * a.denominator_;
}

}  // namespace tavolen
