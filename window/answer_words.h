// The answer area read out as words, for assistive technology: the four answer
// labels as they stand, without a toolkit.
#pragma once

#include <string>
#include <string_view>

namespace tavolen {

// The captions of Label1(0) (denominator), Label1(1) (numerator), Label1(2)
// (whole part) and Label1(3) (minus sign) as one phrase: "マイナス3と6分の5",
// "6分の23", "0"; empty when the area shows nothing.
[[nodiscard]] std::string AnswerWords(std::string_view denominator, std::string_view numerator,
                                      std::string_view whole, std::string_view sign);

}  // namespace tavolen
