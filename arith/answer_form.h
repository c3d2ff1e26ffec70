// Converting a shown answer between a mixed number and an improper fraction.
#pragma once

#include <optional>
#include <string>

#include "arith/number.h"

namespace tavolen {

// The three magnitudes read back from the answer labels; 0 stands for an empty label.
struct AnswerParts {
  Currency denominator;
  Currency numerator;
  Currency whole;
};

// The two label texts a conversion writes; no value means no change.
struct AnswerTexts {
  std::string numerator;
  std::string whole;
};
using AnswerConversion = std::optional<AnswerTexts>;

enum class AnswerForm : std::int16_t { MixedNumber = 0, ImproperFraction = 1 };

[[nodiscard]] AnswerConversion ToMixedNumber(const AnswerParts& parts);
[[nodiscard]] AnswerConversion ToImproperFraction(const AnswerParts& parts);

// 0 converts to a mixed number, 1 to an improper fraction; any other index changes nothing.
[[nodiscard]] AnswerConversion ConvertAnswer(const AnswerParts& parts, Integer form);

}  // namespace tavolen
