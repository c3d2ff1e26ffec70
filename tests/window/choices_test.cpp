#include <gtest/gtest.h>

#include "tests/window/window_fixture.h"

namespace tavolen::testing {
namespace {

struct FormCase {
  const char* name;
  const char* fields;  // as Window::Enter takes them
  std::int16_t op;
  const char* mixed;  // Window::Answer with 帯分数 chosen
  const char* improper;
};

const FormCase kForms[] = {
    {"SevenHalves", "3|1|2|||", 0, "2|1|3|", "2|7||"},
    {"NegativeKeepsItsSign", "|||3|1|2", 1, "2|1|3|-", "2|7||-"},
    {"ProperUnchanged", "|1|2|||", 0, "2|1||", "2|1||"},
    {"WholeUnchanged", "4|||||", 0, "||4|", "||4|"},
    {"ZeroUnchanged", "|||||", 0, "||0|", "||0|"},
};

class AnswerForm : public ::testing::TestWithParam<FormCase> {};

TEST_P(AnswerForm, SwitchesBackAndForth) {
  const FormCase& c = GetParam();
  Window w;
  w.Enter(c.fields);
  w.form.Click(ControlId{ControlName::Option1, c.op});
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

INSTANTIATE_TEST_SUITE_P(Answers, AnswerForm, ::testing::ValuesIn(kForms), kRowName);

TEST(Option2Click, LabelBeyondCurrencyIsAnOverflowOfThatClick) {
  Window w;
  w.form.Label1(Integer{1}).Caption = "1" + std::string(16, '0');
  w.form.Click(Id("Option2(1)"));
  EXPECT_EQ(w.runtime.events, OverflowIn("Option2_Click"));
  EXPECT_EQ(w.form.Option2.Chosen(), 1);
}

}  // namespace
}  // namespace tavolen::testing
