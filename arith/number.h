// The five number types of the program and every operation it applies to them.
//
// Each type is distinct so that a conversion is always written out. Every
// operation either returns its exact (or stated rounded) result or throws a
// RuntimeError; nothing in this library catches one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tavolen {

// A run-time error ends the operation that raised it and the event handler
// running it. name() is the error's name as the user and the replay tool see it.
class RuntimeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
  [[nodiscard]] virtual std::string name() const = 0;
};

// A value left the range of its type.
class Overflow final : public RuntimeError {
 public:
  Overflow() : RuntimeError("Overflow") {}
  [[nodiscard]] std::string name() const override { return "Overflow"; }
};

// A Double step divided by zero.
class DivisionByZero final : public RuntimeError {
 public:
  DivisionByZero() : RuntimeError("Division by zero") {}
  [[nodiscard]] std::string name() const override { return "Division by zero"; }
};

struct Byte {
  std::uint8_t value = 0;
  friend constexpr bool operator==(Byte, Byte) = default;
  friend constexpr auto operator<=>(Byte, Byte) = default;
};

struct Integer {
  std::int16_t value = 0;
  friend constexpr bool operator==(Integer, Integer) = default;
};

struct Long {
  std::int32_t value = 0;
  friend constexpr bool operator==(Long, Long) = default;
};

// A count of ten-thousandths: the value is count / 10000.
struct Currency {
  std::int64_t count = 0;
  static constexpr std::int64_t kScale = 10000;
  // The whole number w as a Currency; w must lie within the range's whole numbers.
  [[nodiscard]] static constexpr Currency Whole(std::int64_t w) { return Currency{w * kScale}; }
  friend constexpr bool operator==(Currency, Currency) = default;
};

struct Double {
  double value = 0.0;
};

inline constexpr Integer kTrue{-1};
inline constexpr Integer kFalse{0};

// Conversions.
[[nodiscard]] Long LongOf(Double x);
[[nodiscard]] Long LongOf(Currency x);
[[nodiscard]] Currency CurrencyOf(Long x);
[[nodiscard]] Currency CurrencyOf(Double x);
[[nodiscard]] Double DoubleOf(Long x);
[[nodiscard]] Double DoubleOf(Currency x);
[[nodiscard]] Byte ByteOf(Integer x);
[[nodiscard]] Double Fix(Double x);
[[nodiscard]] Long Abs(Long x);
[[nodiscard]] Currency Abs(Currency x);

// Checked arithmetic.
[[nodiscard]] Long operator*(Long a, Long b);
[[nodiscard]] Long operator+(Long a, Long b);
[[nodiscard]] Byte operator+(Byte a, Byte b);
[[nodiscard]] Currency operator+(Currency a, Currency b);
[[nodiscard]] Currency operator-(Currency a, Currency b);
[[nodiscard]] Currency operator*(Currency a, Currency b);
[[nodiscard]] Currency operator*(Currency a, Integer b);

// IEEE double operations, each rounded to nearest. A non-finite result (an
// invalid operation or an overflow) raises Overflow and a zero divisor raises
// DivisionByZero, so a failed chain stops at its first failed step.
[[nodiscard]] Double operator+(Double a, Double b);
[[nodiscard]] Double operator-(Double a, Double b);
[[nodiscard]] Double operator*(Double a, Double b);
[[nodiscard]] Double operator/(Double a, Double b);

// Comparisons with zero; a negative zero Double counts as zero.
[[nodiscard]] constexpr bool IsZero(Currency x) {
  return x.count == 0;
}
[[nodiscard]] constexpr bool IsNegative(Currency x) {
  return x.count < 0;
}
[[nodiscard]] constexpr bool IsZero(Double x) {
  return x.value == 0.0;
}

// Text forms: plain decimal digits with a leading "-" when negative.
[[nodiscard]] std::string TextOf(Integer x);
[[nodiscard]] std::string TextOf(Long x);
[[nodiscard]] std::string TextOf(Currency x);
[[nodiscard]] std::string TextOf(Double x);

// The value of a text of ASCII decimal digits and nothing else, at most
// maxDigits of them (18 at most, which 64 bits hold); none for any other
// text. An empty text is 0.
[[nodiscard]] std::optional<std::int64_t> DigitsValue(std::string_view text, std::size_t maxDigits);

}  // namespace tavolen
