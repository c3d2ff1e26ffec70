#include "window/accessible_text.h"

#include <gtest/gtest.h>

namespace tavolen {
namespace {

TEST(AnswerWords, ReadsTheLabelsAsTheyStand) {
  struct Row {
    const char* name;
    const char* denominator;
    const char* numerator;
    const char* whole;
    const char* sign;
    const char* words;
  };
  const Row rows[] = {
      {"NoAnswer", "", "", "", "", ""},
      {"WholeNumber", "", "", "12", "", "12"},
      {"NegativeWholeNumber", "", "", "2", "-", "マイナス2"},
      {"Fraction", "6", "23", "", "", "6分の23"},
      {"MixedNumber", "6", "5", "3", "", "3と6分の5"},
      {"NegativeMixedNumber", "6", "5", "3", "-", "マイナス3と6分の5"},
      // An overflow while writing a negative answer leaves only the sign.
      {"SignAlone", "", "", "", "-", "マイナス"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(AnswerWords(row.denominator, row.numerator, row.whole, row.sign), row.words)
        << row.name;
  }
}

}  // namespace
}  // namespace tavolen
