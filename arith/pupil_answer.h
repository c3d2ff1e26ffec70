// Reading an answer as a pupil types it: 7, 23/6, 3 5/6, -1/6, 6分の5,
// 3と6分の5, with full-width digits, ／, －, − and the ideographic space as an
// input method gives them. How it is written matters as well as its value:
// 14/12 and 3 10/12 are right in value but not finished.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "arith/rational.h"

namespace tavolen {

enum class WrittenShape : std::uint8_t { Whole, Fraction, Mixed };

struct PupilAnswer {
  bool negative = false;
  std::int64_t whole = 0;
  // Both 0 for a whole number; the denominator is never 0 otherwise.
  std::int64_t numerator = 0;
  std::int64_t denominator = 0;

  [[nodiscard]] Rational Value() const;
  // A mixed number with whole part 0 is written as a fraction.
  [[nodiscard]] WrittenShape Shape() const;
  // Its fraction, if any, has no common divisor above 1 and a denominator above 1.
  [[nodiscard]] bool InLowestTerms() const;
};

// nullopt for anything but the forms above (at most 9 digits to a number).
[[nodiscard]] std::optional<PupilAnswer> ReadPupilAnswer(std::string_view text);

}  // namespace tavolen
