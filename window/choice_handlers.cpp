#include <array>

#include "arith/answer_form.h"
#include "window/form1.h"
#include "window/handlers.h"

namespace tavolen {

void Option1_Click(Form1& form, Integer index) {
  static constexpr std::array<const char*, 4> kSymbols{"＋", "－", "×", "÷"};
  if (index.value >= 0 && static_cast<std::size_t>(index.value) < kSymbols.size()) {
    form.Label3.Caption = kSymbols.at(static_cast<std::size_t>(index.value));
  }
}

void Option2_Click(Form1& form, Integer index) {
  const auto read = [&form](std::int16_t slot) {
    return CurrencyOf(Val(form.Label1(Integer{slot}).Caption));
  };
  AnswerParts parts{};
  parts.denominator = read(0);
  parts.numerator = read(1);
  parts.whole = read(2);
  const AnswerConversion texts = ConvertAnswer(parts, index);
  if (texts) {
    form.Label1(Integer{1}).Caption = texts->numerator;
    form.Label1(Integer{2}).Caption = texts->whole;
  }
}

}  // namespace tavolen
