#include <gtest/gtest.h>

#include "tests/window/window_fixture.h"
#include "window/handlers.h"

namespace tavolen::testing {
namespace {

TEST(Option1Click, ShowsTheSymbolOfTheChosenOperator) {
  const std::pair<const char*, const char*> kSymbols[] = {
      {"Option1(3)", "÷"}, {"Option1(2)", "×"}, {"Option1(1)", "－"}, {"Option1(0)", "＋"}};
  Window w;
  for (const auto& [button, symbol] : kSymbols) {
    w.form.Click(Id(button));
    EXPECT_EQ(w.form.Label3.Caption, symbol);
    EXPECT_EQ(w.form.Option1.Value(Integer{Id(button).index}), kTrue);
    EXPECT_EQ(w.form.Option2.Chosen(), 0) << "the answer form is another group";
  }
  Option1_Click(w.form, Integer{4});
  EXPECT_EQ(w.form.Label3.Caption, "＋");
}

struct FormCase {
  const char* name;
  std::vector<std::string> fields;
  int op;
  std::vector<std::string> mixed;  // Label1(0..3) with 帯分数 chosen
  std::vector<std::string> improper;
};

const FormCase kForms[] = {
    {"SevenHalves", {"3", "1", "2", "", "", ""}, 0, {"2", "1", "3", ""}, {"2", "7", "", ""}},
    {"NegativeKeepsItsSign",
     {"", "", "", "3", "1", "2"},
     1,
     {"2", "1", "3", "-"},
     {"2", "7", "", "-"}},
    {"ProperUnchanged", {"", "1", "2", "", "", ""}, 0, {"2", "1", "", ""}, {"2", "1", "", ""}},
    {"WholeUnchanged", {"4", "", "", "", "", ""}, 0, {"", "", "4", ""}, {"", "", "4", ""}},
    {"ZeroUnchanged", {"", "", "", "", "", ""}, 0, {"", "", "0", ""}, {"", "", "0", ""}},
};

class AnswerForm : public ::testing::TestWithParam<FormCase> {};

TEST_P(AnswerForm, SwitchesBackAndForth) {
  const FormCase& c = GetParam();
  Window w;
  w.Enter(c.fields);
  w.form.Click(ControlId{ControlName::Option1, static_cast<std::int16_t>(c.op)});
  w.form.Click(Id("Command1"));
  EXPECT_EQ(w.Answer(), c.mixed);
  w.form.Click(Id("Option2(1)"));
  EXPECT_EQ(w.Answer(), c.improper);
  w.form.Click(Id("Option2(0)"));
  EXPECT_EQ(w.Answer(), c.mixed);
  w.form.Click(Id("Option1(2)"));
  EXPECT_EQ(w.Answer(), c.mixed) << "choosing an operator leaves the answer";
  EXPECT_EQ(w.runtime.events, std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Answers, AnswerForm, ::testing::ValuesIn(kForms),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(Option2Click, LabelBeyondCurrencyIsAnOverflowOfThatClick) {
  Window w;
  w.form.Label1(Integer{1}).Caption = "1" + std::string(16, '0');
  w.form.Click(Id("Option2(1)"));
  EXPECT_EQ(w.runtime.events,
            (std::vector<std::string>{"error Overflow in Option2_Click", kOverflowReport}));
  EXPECT_EQ(w.form.Option2.Chosen(), 1);
}

}  // namespace
}  // namespace tavolen::testing
