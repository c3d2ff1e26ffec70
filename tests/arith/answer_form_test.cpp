#include "arith/answer_form.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace tavolen {
namespace {

// "numerator|whole" as a conversion writes them, or "none" for no change.
std::string Written(const AnswerConversion& texts) {
  return texts ? texts->numerator + "|" + texts->whole : "none";
}

TEST(AnswerFormTest, ConvertsBetweenMixedAndImproper) {
  struct Row {
    const char* name;
    std::int64_t denominator, numerator, whole;
    const char* mixed;
    const char* improper;
  };
  const Row rows[] = {
      {"improper_to_mixed", 2, 7, 0, "1|3", "none"},
      {"mixed_to_improper", 2, 1, 3, "none", "7|"},
      {"proper_fraction", 3, 2, 0, "none", "none"},
      {"whole_number", 0, 0, 5, "none", "none"},
      {"empty", 0, 0, 0, "none", "none"},
      {"numerator_equal_to_denominator", 4, 4, 0, "0|1", "none"},
      {"negative_truncates_toward_zero", 2, -7, 0, "-1|-3", "none"},
      {"negative_zero_quotient", 2, -1, 0, "none", "none"},
      {"zero_numerator_with_whole", 1, 0, 1, "none", "1|"},
      {"largest_quotient", 1, 922337203685477, 0, "0|922337203685477", "none"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const AnswerParts parts{Currency::Whole(row.denominator), Currency::Whole(row.numerator),
                            Currency::Whole(row.whole)};
    EXPECT_EQ(Written(ConvertAnswer(parts, Integer{0})), row.mixed);
    EXPECT_EQ(Written(ConvertAnswer(parts, Integer{1})), row.improper);
    EXPECT_EQ(Written(ConvertAnswer(parts, Integer{2})), "none");
  }
}

TEST(AnswerFormTest, ImproperFractionOverflowsBeyondCurrencyRange) {
  const auto improper = [](std::int64_t denominator, std::int64_t numerator, std::int64_t whole) {
    return ToImproperFraction(
        {Currency::Whole(denominator), Currency::Whole(numerator), Currency::Whole(whole)});
  };
  EXPECT_THROW((void)improper(1000000, 0, 1000000000), Overflow);  // the product
  EXPECT_THROW((void)improper(1, 922337203685477, 1), Overflow);   // the sum
}

}  // namespace
}  // namespace tavolen
