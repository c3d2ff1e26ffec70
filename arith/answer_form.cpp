#include "arith/answer_form.h"

#include "arith/euclid.h"

namespace tavolen {

AnswerConversion ToMixedNumber(const AnswerParts& parts) {
  if (IsZero(parts.denominator) || !IsZero(parts.whole)) {
    return std::nullopt;
  }
  const Double whole = Fix(DoubleOf(parts.numerator) / DoubleOf(parts.denominator));
  if (IsZero(whole)) {
    return std::nullopt;
  }
  return AnswerTexts{TextOf(Remainder(parts.numerator, parts.denominator)), TextOf(whole)};
}

AnswerConversion ToImproperFraction(const AnswerParts& parts) {
  if (IsZero(parts.whole) || IsZero(parts.denominator)) {
    return std::nullopt;
  }
  const Currency numerator = parts.denominator * parts.whole + parts.numerator;
  return AnswerTexts{TextOf(numerator), ""};
}

AnswerConversion ConvertAnswer(const AnswerParts& parts, const Integer form) {
  switch (form.value) {
    case static_cast<std::int16_t>(AnswerForm::MixedNumber):
      return ToMixedNumber(parts);
    case static_cast<std::int16_t>(AnswerForm::ImproperFraction):
      return ToImproperFraction(parts);
    default:
      return std::nullopt;
  }
}

}  // namespace tavolen
