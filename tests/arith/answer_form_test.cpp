#include "arith/answer_form.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

namespace tavolen {
namespace {

// An empty text pair means no change.
struct FormCase {
  const char* name;
  std::int64_t denominator;
  std::int64_t numerator;
  std::int64_t whole;
  std::optional<AnswerTexts> mixed;
  std::optional<AnswerTexts> improper;
};

void ExpectTexts(const AnswerConversion& actual, const std::optional<AnswerTexts>& expected) {
  ASSERT_EQ(actual.has_value(), expected.has_value());
  if (expected) {
    EXPECT_EQ(actual->numerator, expected->numerator);
    EXPECT_EQ(actual->whole, expected->whole);
  }
}

TEST(AnswerFormTest, ConvertsBetweenMixedAndImproper) {
  const FormCase cases[] = {
      {"improper_to_mixed", 2, 7, 0, AnswerTexts{"1", "3"}, std::nullopt},
      {"mixed_to_improper", 2, 1, 3, std::nullopt, AnswerTexts{"7", ""}},
      {"proper_fraction", 3, 2, 0, std::nullopt, std::nullopt},
      {"whole_number", 0, 0, 5, std::nullopt, std::nullopt},
      {"empty", 0, 0, 0, std::nullopt, std::nullopt},
      {"numerator_equal_to_denominator", 4, 4, 0, AnswerTexts{"0", "1"}, std::nullopt},
      {"negative_truncates_toward_zero", 2, -7, 0, AnswerTexts{"-1", "-3"}, std::nullopt},
      {"negative_zero_quotient", 2, -1, 0, std::nullopt, std::nullopt},
      {"zero_numerator_with_whole", 1, 0, 1, std::nullopt, AnswerTexts{"1", ""}},
      {"largest_quotient", 1, 922337203685477, 0, AnswerTexts{"0", "922337203685477"},
       std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const AnswerParts parts{Currency::Whole(c.denominator), Currency::Whole(c.numerator),
                            Currency::Whole(c.whole)};
    ExpectTexts(ConvertAnswer(parts, Integer{0}), c.mixed);
    ExpectTexts(ConvertAnswer(parts, Integer{1}), c.improper);
    ExpectTexts(ConvertAnswer(parts, Integer{2}), std::nullopt);
    ExpectTexts(ConvertAnswer(parts, Integer{-1}), std::nullopt);
  }
}

TEST(AnswerFormTest, ImproperFractionOverflowsBeyondCurrencyRange) {
  const AnswerParts productTooLarge{Currency::Whole(1000000), Currency::Whole(0),
                                    Currency::Whole(1000000000)};
  EXPECT_THROW((void)ToImproperFraction(productTooLarge), Overflow);
  const AnswerParts sumTooLarge{Currency::Whole(1), Currency::Whole(922337203685477),
                                Currency::Whole(1)};
  EXPECT_THROW((void)ToImproperFraction(sumTooLarge), Overflow);
}

}  // namespace
}  // namespace tavolen
