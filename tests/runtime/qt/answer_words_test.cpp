#include "runtime/qt/answer_words.h"

#include <gtest/gtest.h>

#include <string>

namespace tavolen {
namespace {

struct Row {
  const char* name;
  const char* denominator;
  const char* numerator;
  const char* whole;
  const char* sign;
  const char* words;
};

constexpr Row kRows[] = {
    {"NoAnswer", "", "", "", "", ""},
    {"Zero", "", "", "0", "", "0"},
    {"WholeNumber", "", "", "12", "", "12"},
    {"NegativeWholeNumber", "", "", "2", "-", "マイナス2"},
    {"ProperFraction", "6", "5", "", "", "6分の5"},
    {"ImproperFraction", "6", "23", "", "", "6分の23"},
    {"MixedNumber", "6", "5", "3", "", "3と6分の5"},
    {"NegativeMixedNumber", "6", "5", "3", "-", "マイナス3と6分の5"},
    {"NegativeFraction", "6", "1", "", "-", "マイナス6分の1"},
    // An overflow while writing a negative answer leaves only the sign.
    {"SignAlone", "", "", "", "-", "マイナス"},
};

class AnswerWordsTest : public testing::TestWithParam<Row> {};

TEST_P(AnswerWordsTest, ReadsTheLabelsAsTheyStand) {
  const Row& row = GetParam();
  EXPECT_EQ(AnswerWords(row.denominator, row.numerator, row.whole, row.sign), row.words);
}

INSTANTIATE_TEST_SUITE_P(Answers, AnswerWordsTest, testing::ValuesIn(kRows),
                         [](const testing::TestParamInfo<Row>& row) {
                           return std::string(row.param.name);
                         });

}  // namespace
}  // namespace tavolen
