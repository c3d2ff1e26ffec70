#include "arith/pupil_answer.h"

#include <gtest/gtest.h>

namespace tavolen {
namespace {

// The ordinary writings are judged in the golden check_* replays and over
// random values in answer_property_test; these are the edges of the reading.
TEST(ReadPupilAnswerTest, AcceptedAtTheEdges) {
  struct Row {
    const char* text;
    std::int64_t numerator;  // of the value in lowest terms
    std::int64_t denominator;
    WrittenShape shape;
  };
  for (const Row& c : {
           Row{"0 1/2", 1, 2, WrittenShape::Fraction},
           Row{"000000003 000000005/000000006", 23, 6, WrittenShape::Mixed},
           Row{"999999999 999999999/999999998", 999999999LL * 999999998 + 999999999, 999999998,
               WrittenShape::Mixed},
       }) {
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

}  // namespace
}  // namespace tavolen
