#include <gtest/gtest.h>

#include "tests/window/window_fixture.h"

namespace tavolen::testing {
namespace {

// The golden session script switches a positive mixed number back and forth.
TEST(AnswerForm, SwitchesBackAndForth) {
  const struct {
    const char* name;
    const char* fields;  // as Window::Enter takes them
    std::int16_t op;
    const char* mixed;  // Window::Answer with 帯分数 chosen
    const char* improper;
  } kForms[] = {
      {"NegativeKeepsItsSign", "|||3|1|2", 1, "2|1|3|-", "2|7||-"},
      {"WholeUnchanged", "4|||||", 0, "||4|", "||4|"},
  };
  for (const auto& c : kForms) {
    SCOPED_TRACE(c.name);
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
}

TEST(Option2Click, LabelBeyondCurrencyIsAnOverflowOfThatClick) {
  Window w;
  w.form.Label1(Integer{1}).Caption = "1" + std::string(16, '0');
  w.form.Click(Id("Option2(1)"));
  EXPECT_EQ(w.runtime.events, OverflowIn("Option2_Click"));
  EXPECT_EQ(w.form.Option2.Chosen(), 1);
}

}  // namespace
}  // namespace tavolen::testing
