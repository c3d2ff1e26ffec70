#include "window/answer_words.h"

namespace tavolen {
namespace {

// Japanese reads the denominator first: 5/6 is "6分の5".
std::string FractionWords(std::string_view denominator, std::string_view numerator) {
  if (denominator.empty()) {
    return std::string(numerator);
  }
  return std::string(denominator) + "分の" + std::string(numerator);
}

}  // namespace

std::string AnswerWords(std::string_view denominator, std::string_view numerator,
                        std::string_view whole, std::string_view sign) {
  std::string words = sign.empty() ? "" : "マイナス";
  words += whole;
  const bool hasFraction = !denominator.empty() || !numerator.empty();
  if (hasFraction && !whole.empty()) {
    words += "と";
  }
  if (hasFraction) {
    words += FractionWords(denominator, numerator);
  }
  return words;
}

}  // namespace tavolen
