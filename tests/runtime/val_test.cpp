#include <gtest/gtest.h>

#include <string>

#include "runtime/services.h"

namespace tavolen {
namespace {

struct ValCase {
  const char* name;
  std::string text;
  double value;
};

// The golden cleanup script reads letters and doubled signs.
const ValCase kCases[] = {
    {"Empty", "", 0},
    {"PointFirst", "-.5", -0.5},
    {"PointLast", "5.", 5},
    {"PointAlone", ".", 0},
    {"PlusSign", "+8", 8},
    {"LoneMinus", "-", 0},
    {"StopsAtSecondPoint", "1.2.3", 1.2},
    {"NoExponent", "1e5", 1},
    {"NoRadixPrefix", "0x1F", 0},
    {"NoBlankInside", "- 5", 0},
    {"NoBlankBetweenDigits", "1 2", 1},
    {"LeadingBlanks", " \t\u30003", 3},
    {"FullWidthDigitsAndPoint", "１２．５", 12.5},
    {"FullWidthPlus", "＋4", 4},
    {"FullWidthMinus", "－4", -4},
    {"MinusSign", "\u22124", -4},
    {"MixedWidthDigits", "1２3", 123},
    {"InvalidBytes", std::string("\xff") + "5", 0},
    {"CutOffSequenceEndsNumber", "5\xef\xbc", 5},
    {"NulEndsNumber", std::string("7\08", 3), 7},
    {"CorrectlyRounded", "0.1", 0.1},
    {"LongestCurrencyWhole", "922337203685477", 922337203685477.0},
    {"BelowSmallestDouble", "0." + std::string(400, '0') + "1", 0},
    {"HundredsOfZeros", std::string(400, '0') + "9", 9},
};

TEST(Val, ReadsTheNumberAtTheStart) {
  for (const ValCase& c : kCases) {
    EXPECT_EQ(Val(c.text).value, c.value) << c.name;
  }
}

TEST(Val, NumbersBeyondDoubleOverflow) {
  EXPECT_THROW((void)Val("1" + std::string(400, '0')), Overflow);
  EXPECT_THROW((void)Val("-1" + std::string(309, '0') + ".5"), Overflow);
  EXPECT_EQ(Val("1" + std::string(308, '0')).value, 1e308);
}

}  // namespace
}  // namespace tavolen
