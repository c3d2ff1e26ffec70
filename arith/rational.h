// An exact rational number for judging a pupil's answer. It is kept apart
// from the calculation's own number types, which round and overflow as the
// program always has; this one is always in lowest terms with a positive
// denominator, so two values are equal exactly when their parts are.
#pragma once

#include <cstdint>

namespace tavolen {

class Rational {
 public:
  constexpr Rational() = default;
  // numerator / denominator; denominator must not be 0.
  Rational(std::int64_t numerator, std::int64_t denominator);
  explicit Rational(std::int64_t whole) : Rational(whole, 1) {}

  [[nodiscard]] std::int64_t Numerator() const { return numerator_; }
  [[nodiscard]] std::int64_t Denominator() const { return denominator_; }
  [[nodiscard]] bool IsWhole() const { return denominator_ == 1; }
  [[nodiscard]] bool IsNegative() const { return numerator_ < 0; }
  [[nodiscard]] bool IsZero() const { return numerator_ == 0; }

  friend bool operator==(const Rational&, const Rational&) = default;
  // A result whose reduced parts leave 64 bits raises Overflow.
  friend Rational operator+(const Rational& a, const Rational& b);
  friend Rational operator-(const Rational& a, const Rational& b);
  friend Rational operator*(const Rational& a, const Rational& b);
  // b must not be 0.
  friend Rational operator/(const Rational& a, const Rational& b);
  friend Rational operator-(const Rational& a);
  friend bool operator<(const Rational& a, const Rational& b);

 private:
  __extension__ Rational(__int128 numerator, __int128 denominator);
  std::int64_t numerator_ = 0;
  std::int64_t denominator_ = 1;
};

}  // namespace tavolen
