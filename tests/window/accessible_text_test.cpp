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

TEST(StepWords, ReadsTheNumbersAsTheAnswerAreaDoes) {
  struct Row {
    const char* name;
    WorkingStep step;
    const char* words;
  };
  const WorkingNumber threeHalves{false, "", "3", "2"};
  const Row rows[] = {
      {"ProblemHasNoName",
       {"", {false, "1", "1", "2"}, CalcOperator::Add, {false, "2", "1", "3"}},
       "1と2分の1 たす 2と3分の1"},
      {"NameAfterTheExpression",
       {"仮分数に直す", threeHalves, CalcOperator::Subtract, {false, "", "7", "3"}},
       "2分の3 ひく 3分の7、仮分数に直す"},
      {"WholeNumbers",
       {"逆数をかける", threeHalves, CalcOperator::Multiply, {false, "9998", "", ""}},
       "2分の3 かける 9998、逆数をかける"},
      {"Divide",
       {"", {false, "5", "", ""}, CalcOperator::Divide, {false, "0", "", ""}},
       "5 わる 0"},
      {"NegativeSingleNumber",
       {"帯分数に直す", {true, "1", "1", "6"}, std::nullopt, {}},
       "マイナス1と6分の1、帯分数に直す"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(StepWords(row.step), row.words) << row.name;
  }
}

}  // namespace
}  // namespace tavolen
