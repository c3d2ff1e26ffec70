// Doubles to decimal text and back with exact arithmetic, so that the result
// never depends on the C locale, the platform's library or its rounding mode.
#pragma once

#include <string>
#include <string_view>

namespace tavolen {

// The shortest text that reads back as x, and of those the nearest to x (ties
// to an even last digit); in fixed form ("0.001", "123456789012345680") unless
// the scientific form ("1e-04", "1.5e+15") is shorter. "inf", "-inf", "nan".
[[nodiscard]] std::string ShortestText(double x);

// The double nearest to the ASCII digits with at most one point ("12.5", ".5",
// "007."), ties to even; +infinity when the number is too large for a double.
[[nodiscard]] double NearestDouble(std::string_view digits);

}  // namespace tavolen
