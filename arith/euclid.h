// Remainder, greatest common divisor and least common multiple on Currency
// values, computed through the same Double steps as the rest of the program so
// that every result matches digit for digit.
#pragma once

#include "arith/number.h"

namespace tavolen {

// a minus b times the truncated Double quotient a / b: the remainder of a
// truncating division, with the sign of a. b must not be zero.
[[nodiscard]] Currency Remainder(Currency a, Currency b);

// Euclid's algorithm on Remainder. The sign of the result is that of the last
// non-zero value of the sequence; GCD(m, 0) is m unchanged.
[[nodiscard]] Currency GCD(Currency m, Currency n);

// |m * n| / GCD(m, n). The product is taken as Currency, so it overflows even
// where the multiple itself would fit. m and n must not both be zero.
[[nodiscard]] Currency LCM(Currency m, Currency n);

}  // namespace tavolen
