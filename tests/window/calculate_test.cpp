#include <gtest/gtest.h>

#include "tests/window/window_fixture.h"

namespace tavolen::testing {
namespace {

const std::string kRejectBox = kErrorBox + "分母を１以上の整数にしてください。";
const std::string kZeroBox = kErrorBox + "0で割り算しようとしています。";

struct CalculateCase {
  const char* name;
  std::vector<std::string> fields;  // whole, numerator, denominator of each operand
  int op;                           // Option1 index
  int form;                         // Option2 index
  std::vector<std::string> labels;  // Label1(0..3)
  bool bar;
  std::vector<std::string> events;
};

// Expected answers checked with exact fractions by hand.
const CalculateCase kCases[] = {
    {"AllEmptyAddsToZero", {"", "", "", "", "", ""}, 0, 0, {"", "", "0", ""}, false, {}},
    {"ProperSum", {"", "1", "2", "", "1", "3"}, 0, 0, {"6", "5", "", ""}, true, {}},
    {"MixedSumShownMixed", {"1", "1", "2", "2", "1", "3"}, 0, 0, {"6", "5", "3", ""}, true, {}},
    {"MixedSumShownImproper", {"1", "1", "2", "2", "1", "3"}, 0, 1, {"6", "23", "", ""}, true, {}},
    {"OperandsReduceToWhole", {"", "2", "4", "", "3", "6"}, 0, 0, {"", "", "1", ""}, false, {}},
    {"NegativeFraction", {"", "1", "3", "", "1", "2"}, 1, 0, {"6", "1", "", "-"}, true, {}},
    {"NegativeWhole", {"", "1", "2", "", "5", "2"}, 1, 0, {"", "", "2", "-"}, false, {}},
    {"NegativeMixed", {"", "1", "7", "2", "", ""}, 1, 0, {"7", "6", "1", "-"}, true, {}},
    {"EqualOperandsSubtractToZero",
     {"", "3", "7", "", "3", "7"},
     1,
     0,
     {"", "", "0", ""},
     false,
     {}},
    {"CrossReducedProduct", {"", "2", "3", "", "3", "4"}, 2, 0, {"2", "1", "", ""}, true, {}},
    {"UnevenQuotient", {"2", "1", "3", "", "3", "5"}, 3, 0, {"9", "8", "3", ""}, true, {}},
    {"WholeQuotient", {"", "1", "2", "", "1", "4"}, 3, 0, {"", "", "2", ""}, false, {}},
    {"ZeroDividedIsZero", {"", "", "", "5", "", ""}, 3, 0, {"", "", "0", ""}, false, {}},
    {"DivisionByZero", {"5", "", "", "", "", ""}, 3, 0, {"", "", "0", ""}, false, {kZeroBox}},
    {"ZeroDenominatorRejected",
     {"", "", "", "", "3", ""},
     0,
     0,
     {"", "", "", ""},
     true,
     {kRejectBox}},
    {"NegativeNumeratorOverZeroAccepted",
     {"3", "-2", "0", "", "", ""},
     0,
     0,
     {"", "", "3", ""},
     false,
     {}},
    {"KeyboardReachableOverflow",
     {"999", "1", "9999", "", "1", "9998"},
     3,
     0,
     {"", "", "", ""},
     true,
     {"error Overflow in Command1_Click", kOverflowReport}},
    {"FieldBeyondLong",
     {"2147483648", "", "", "", "", ""},
     0,
     0,
     {"", "", "", ""},
     true,
     {"error Overflow in Command1_Click", kOverflowReport}},
    {"NormaliseOverflow",
     {"50000", "", "50000", "", "", ""},
     0,
     0,
     {"", "", "", ""},
     true,
     {"error Overflow in Command1_Click", kOverflowReport}},
    {"LcmOverflow",
     {"", "1", "30370005", "", "1", "30370005"},
     0,
     0,
     {"", "", "", ""},
     true,
     {"error Overflow in Command1_Click", kOverflowReport}},
    {"LargestSum",
     {"", "1", "30370005", "", "1", "30370004"},
     0,
     1,
     {"922337173330020", "60740009", "", ""},
     true,
     {}},
};

class Calculate : public ::testing::TestWithParam<CalculateCase> {};

TEST_P(Calculate, WritesTheOutcome) {
  const CalculateCase& c = GetParam();
  Window w;
  // A previous negative whole answer, so that every label and the bar change.
  w.Enter({"", "", "", "3", "", ""});
  w.form.Click(Id("Option1(1)"));
  w.form.Click(Id("Command1"));
  ASSERT_EQ(w.Answer(), (std::vector<std::string>{"", "", "3", "-"}));

  w.Enter(c.fields);
  w.form.Click(ControlId{ControlName::Option1, static_cast<std::int16_t>(c.op)});
  w.form.Click(ControlId{ControlName::Option2, static_cast<std::int16_t>(c.form)});
  w.runtime.events.clear();
  w.form.Click(Id("Command1"));
  EXPECT_EQ(w.Answer(), c.labels);
  EXPECT_EQ(w.form.Line3.Visible, c.bar);
  EXPECT_EQ(w.runtime.events, c.events);
}

INSTANTIATE_TEST_SUITE_P(Outcomes, Calculate, ::testing::ValuesIn(kCases),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace tavolen::testing
