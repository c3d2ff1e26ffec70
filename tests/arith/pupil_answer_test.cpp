#include "arith/pupil_answer.h"

#include <gtest/gtest.h>

namespace tavolen {
namespace {

struct ReadCase {
  const char* text;
  std::int64_t numerator;  // of the value in lowest terms
  std::int64_t denominator;
  WrittenShape shape;
};

const ReadCase kAccepted[] = {
    {"7", 7, 1, WrittenShape::Whole},
    {"-7", -7, 1, WrittenShape::Whole},
    {"23/6", 23, 6, WrittenShape::Fraction},
    {"3 5/6", 23, 6, WrittenShape::Mixed},
    {"-1 1/6", -7, 6, WrittenShape::Mixed},
    {"0 1/2", 1, 2, WrittenShape::Fraction},
    {"3   5/6", 23, 6, WrittenShape::Mixed},
    {"６分の５", 5, 6, WrittenShape::Fraction},
    {"3と6分の5", 23, 6, WrittenShape::Mixed},
    {"-3と6分の5", -23, 6, WrittenShape::Mixed},
    {"－１／６", -1, 6, WrittenShape::Fraction},
    {"−1/6", -1, 6, WrittenShape::Fraction},
    {"\u30003\u30005/6 ", 23, 6, WrittenShape::Mixed},
    {"000000003 000000005/000000006", 23, 6, WrittenShape::Mixed},
    {"999999999 999999999/999999998", 999999999LL * 999999998 + 999999999, 999999998,
     WrittenShape::Mixed},
};

TEST(ReadPupilAnswerTest, AcceptedForms) {
  for (const ReadCase& c : kAccepted) {
    const auto answer = ReadPupilAnswer(c.text);
    ASSERT_TRUE(answer.has_value()) << c.text;
    EXPECT_EQ(answer->Value(), Rational(c.numerator, c.denominator)) << c.text;
    EXPECT_EQ(answer->Shape(), c.shape) << c.text;
  }
}

TEST(ReadPupilAnswerTest, RefusedForms) {
  for (const char* text :
       {"",      "   ",   "-",     "3.5",    "3 5 / 6",    "3/0",          "1/-6",
        "- 1/6", "1/6-",  "3 5",   "3/4/5",  "1234567890", "1/1234567890", "3と5/6",
        "3と",   "6分の", "分の5", "3 -5/6", "3\t5/6",     "１ ２ ３/４",  "x"}) {
    EXPECT_FALSE(ReadPupilAnswer(text).has_value()) << text;
  }
}

TEST(ReadPupilAnswerTest, LowestTerms) {
  for (const auto& [text, lowest] : {std::pair{"5/6", true},
                                     {"7", true},
                                     {"10/12", false},
                                     {"4/1", false},
                                     {"3 0/5", false},
                                     {"1 7/6", true}}) {
    EXPECT_EQ(ReadPupilAnswer(text)->InLowestTerms(), lowest) << text;
  }
}

}  // namespace
}  // namespace tavolen
