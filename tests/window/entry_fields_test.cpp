#include <gtest/gtest.h>

#include "tests/window/window_fixture.h"

namespace tavolen::testing {
namespace {

struct CleanUpCase {
  const char* name;
  std::string text;
  std::string cleaned;
  bool overflow;
};

const CleanUpCase kCleanUps[] = {
    {"LoneMinusRemoved", "-", "", false},
    {"EmptyStaysEmpty", "", "", false},
    {"ZeroStays", "0", "0", false},
    {"MinusDropped", "-5", "5", false},
    {"RoundsUp", "3.7", "4", false},
    {"TieToEvenDown", "2.5", "2", false},
    {"TieToEvenUp", "3.5", "4", false},
    {"NegativeHalfIsZero", "-0.5", "0", false},
    {"NoNumberIsZero", "abc", "0", false},
    {"DoubleMinusIsZero", "--5", "0", false},
    {"TrailingLettersIgnored", "12abc", "12", false},
    {"LeadingZerosDropped", "007", "7", false},
    {"NinePointNineGrows", "9.9", "10", false},
    {"FullWidthDigits", "１２．５", "12", false},
    {"FullWidthMinusIsNotLone", "－", "0", false},
    {"LongestNegative", "-2147483647", "2147483647", false},
    {"BeyondLong", "2147483648", "2147483648", true},
    {"AbsOfMostNegative", "-2147483648", "-2147483648", true},
    {"InvalidBytes", "\xff\xfe", "0", false},
};

class CleanUp : public ::testing::TestWithParam<CleanUpCase> {};

TEST_P(CleanUp, LeavingTheFieldCleansIt) {
  const CleanUpCase& c = GetParam();
  for (const char* field : {"Text1(0)", "Text2(2)"}) {
    Window w;
    w.form.MoveFocus(Id(field));
    const ControlId id = Id(field);
    TextBox& box = id.name == ControlName::Text1 ? w.form.Text1(Integer{id.index})
                                                 : w.form.Text2(Integer{id.index});
    box.Text = c.text;
    w.form.MoveFocus(Id("Command2"));
    EXPECT_EQ(box.Text, c.cleaned) << field;
    if (c.overflow) {
      EXPECT_EQ(w.runtime.events,
                (std::vector<std::string>{
                    "error Overflow in " + std::string(field).substr(0, 5) + "_LostFocus",
                    kOverflowReport}));
      EXPECT_NE(w.form.Label7.Caption, "") << "the hint stays after a failed clean-up";
    } else {
      EXPECT_EQ(w.runtime.events, std::vector<std::string>{});
      EXPECT_EQ(w.form.Label7.Caption, "");
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Texts, CleanUp, ::testing::ValuesIn(kCleanUps),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(EntryFields, HintNamesTheFocusedField) {
  const std::pair<const char*, const char*> kHints[] = {
      {"Text1(0)", "分母"}, {"Text1(1)", "分子"}, {"Text1(2)", "整数"},
      {"Text2(0)", "分母"}, {"Text2(1)", "分子"}, {"Text2(2)", "整数"},
  };
  Window w;
  for (const auto& [field, hint] : kHints) {
    w.form.MoveFocus(Id(field));
    EXPECT_EQ(w.form.Label7.Caption, hint) << field;
  }
  w.form.Click(Id("Option1(2)"));
  EXPECT_EQ(w.form.Label7.Caption, "");
}

TEST(EntryFields, TypingStopsAtTheFieldLimitInCharacters) {
  Window w;
  w.form.MoveFocus(Id("Text1(2)"));
  EXPECT_TRUE(w.form.Type("１２34"));
  EXPECT_EQ(w.form.Text1(Integer{2}).Text, "１２3");
  w.form.MoveFocus(Id("Text2(1)"));
  EXPECT_TRUE(w.form.Type("\xe3\x81"));  // a cut-off sequence counts as one U+FFFD
  EXPECT_TRUE(
      w.form.Type("5\xC0\xAF"
                  "67"));
  EXPECT_EQ(w.form.Text2(Integer{1}).Text, "\uFFFD5\uFFFD\uFFFD");
  EXPECT_TRUE(w.form.EditText(Id("Text1(0)"), "12345"));
  EXPECT_EQ(w.form.Text1(Integer{0}).Text, "1234");
  EXPECT_TRUE(w.form.Erase());
  EXPECT_EQ(w.form.Text2(Integer{1}).Text, "");
}

}  // namespace
}  // namespace tavolen::testing
