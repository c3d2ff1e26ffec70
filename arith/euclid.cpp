#include "arith/euclid.h"

namespace tavolen {

Currency Remainder(const Currency a, const Currency b) {
  // For whole numbers every Double step below is exact (all values stay under
  // 2^53 and the quotient never rounds across a whole number), so the integer
  // remainder is the same result at a fraction of the cost.
  if (b.count != 0 && a.count % Currency::kScale == 0 && b.count % Currency::kScale == 0) {
    return Currency::Whole(a.count / Currency::kScale % (b.count / Currency::kScale));
  }
  const Double quotient = DoubleOf(a) / DoubleOf(b);
  const Double product = DoubleOf(b) * Fix(quotient);
  return a - CurrencyOf(product);
}

// A loop instead of recursion; each pass is one call of the recursive
// definition, so the results are the same.
Currency GCD(Currency m, Currency n) {
  while (!IsZero(n)) {
    const Currency remainder = Remainder(m, n);
    m = n;
    n = remainder;
  }
  return m;
}

Currency LCM(const Currency m, const Currency n) {
  const Currency divisor = GCD(m, n);
  const Currency product = Abs(m * n);
  return CurrencyOf(DoubleOf(product) / DoubleOf(divisor));
}

}  // namespace tavolen
