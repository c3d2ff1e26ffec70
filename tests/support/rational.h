// Exact rationals on 128-bit integers, apart from the program's own
// arithmetic: what the arithmetic tests and the fuzz targets check it against.
#pragma once

namespace tavolen::testing {

__extension__ using Int128 = __int128;

// The greatest common divisor of the magnitudes; 0 for two zeros.
inline Int128 Gcd(Int128 a, Int128 b) {
  while (b != 0) {
    const Int128 r = a % b;
    a = b;
    b = r;
  }
  return a < 0 ? -a : a;
}

struct Rational {
  Int128 num = 0;
  Int128 den = 1;  // positive; num/den in lowest terms
};

inline Rational Reduced(Int128 num, Int128 den) {
  if (den < 0) {
    num = -num;
    den = -den;
  }
  const Int128 g = Gcd(num, den);
  return g == 0 ? Rational{} : Rational{num / g, den / g};
}

// a ＋ b, a － b, a × b or a ÷ b, the operators in the window's order (0 to 3);
// 0 for a division by zero.
inline Rational Combine(Rational a, Rational b, int op) {
  switch (op) {
    case 0:
      return Reduced(a.num * b.den + b.num * a.den, a.den * b.den);
    case 1:
      return Reduced(a.num * b.den - b.num * a.den, a.den * b.den);
    case 2:
      return Reduced(a.num * b.num, a.den * b.den);
    default:
      return b.num == 0 ? Rational{} : Reduced(a.num * b.den, a.den * b.num);
  }
}

}  // namespace tavolen::testing
