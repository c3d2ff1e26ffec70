#include "window/accessible_text.h"

#include <gtest/gtest.h>

#include <string_view>
#include <tuple>
#include <utility>

namespace tavolen {
namespace {

TEST(AnswerWords, ReadsTheLabelsAsTheyStand) {
  // Denominator, numerator, whole part, sign and the words.
  const char* const rows[][5] = {
      {"", "", "", "", ""},
      {"", "", "12", "", "12"},
      {"", "", "2", "-", "マイナス2"},
      {"6", "5", "3", "-", "マイナス3と6分の5"},
      {"", "", "", "-", "マイナス"},  // an overflow writing a negative answer leaves the sign
  };
  for (const auto& [denominator, numerator, whole, sign, words] : rows) {
    EXPECT_EQ(AnswerWords(denominator, numerator, whole, sign), words);
  }
}

// Once an input differs from the last calculation, the working is said to be
// the previous one's, as the answer is.
TEST(WorkingReadOut, SaysTheWorkingIsThePreviousCalculationsWhileStale) {
  constexpr std::string_view kLine = "2分の3 たす 3分の7、仮分数に直す";
  const std::tuple<bool, std::string_view, std::string_view> rows[] = {
      {false, "", kLine},
      {true, "前の計算の途中式", "前の計算の途中式、2分の3 たす 3分の7、仮分数に直す"},
  };
  for (const auto& [stale, description, readOut] : rows) {
    EXPECT_EQ(WorkingDescription(stale), description);
    EXPECT_EQ(WorkingLineReadOut(kLine, stale), readOut);
  }
}

TEST(StepWords, ReadsTheNumbersAsTheAnswerAreaDoes) {
  const WorkingNumber threeHalves{false, "", "3", "2"};
  const std::pair<WorkingStep, const char*> rows[] = {
      {{"仮分数に直す", threeHalves, CalcOperator::Subtract, {false, "", "7", "3"}, std::nullopt},
       "2分の3 ひく 3分の7、仮分数に直す"},
      {{"逆数をかける", threeHalves, CalcOperator::Multiply, {false, "9998", "", ""}, std::nullopt},
       "2分の3 かける 9998、逆数をかける"},
      {{"約分する", {false, "", "1×1", "2×3"}, std::nullopt, {}, std::nullopt},
       "分母 2かける3、分子 1かける1、約分する"},
      {{"", {false, "5", "", ""}, CalcOperator::Divide, {false, "0", "", ""}, std::nullopt},
       "5 わる 0"},
  };
  for (const auto& [step, words] : rows) {
    EXPECT_EQ(StepWords(step), words);
  }
}

TEST(DetailWords, ReadsACompoundPartAsDenominatorAndNumerator) {
  const std::pair<WorkingDetail, const char*> rows[] = {
      {{{false, "", "1×2＋1", "2"}, CalcOperator::Add, {false, "", "7", "3"}},
       "分母 2、分子 1かける2たす1 たす 3分の7"},
      {{{true, "", "2÷2", "6÷2"}, std::nullopt, {}}, "マイナス分母 6わる2、分子 2わる2"},
      {{{false, "", "1－3", "6"}, std::nullopt, {}}, "分母 6、分子 1ひく3"},
      {{{false, "2×4", "", ""}, std::nullopt, {}}, "2かける4"},
      {{{false, "(1＋2)", "8＋9", "12"}, std::nullopt, {}}, "1たす2と分母 12、分子 8たす9"},
      {{{false, "", "(3÷3)×2", "4÷2"}, std::nullopt, {}}, "分母 4わる2、分子 3わる3かける2"},
  };
  for (const auto& [detail, words] : rows) {
    EXPECT_EQ(DetailWords(detail), words);
  }
}

}  // namespace
}  // namespace tavolen
