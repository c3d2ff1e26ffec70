#include <gtest/gtest.h>

#include "tests/window/window_fixture.h"

namespace tavolen::testing {
namespace {

// Each stop with the hint it shows: an entry field names its part.
TEST(Focus, TabVisitsEveryStopAndWrapsToTheChosenOperator) {
  const std::string kOrder[] = {"Option2(1) ",   "Text1(2) 整数", "Text1(1) 分子", "Text1(0) 分母",
                                "Text2(2) 整数", "Text2(1) 分子", "Text2(0) 分母", "Command1 ",
                                "Command2 ",     "Command3 ",     "Option1(2) "};
  Window w;
  const auto seen = [&w] { return DisplayName(w.form.Focus()) + " " + w.form.Label7.Caption; };
  w.form.Click(Id("Option2(1)"));
  w.form.Click(Id("Option1(2)"));
  for (const std::string& stop : kOrder) {
    EXPECT_TRUE(w.form.PressKey(Key::Tab));
    EXPECT_EQ(seen(), stop);
    EXPECT_EQ(w.form.WrapsOn(Key::Tab), stop == "Command3 ") << stop;
    EXPECT_EQ(w.form.WrapsOn(Key::ShiftTab), stop == "Option1(2) ") << stop;
  }
  for (auto it = std::rbegin(kOrder) + 1; it != std::rend(kOrder); ++it) {
    w.form.PressKey(Key::ShiftTab);
    EXPECT_EQ(seen(), *it);
  }
  w.form.PressKey(Key::ShiftTab);
  EXPECT_EQ(seen(), "Option1(2) ");
  // A press chooses nothing, and Tab leaves the pressed button by its frame's stop.
  w.form.Press(Id("Option1(1)"));
  w.form.PressKey(Key::Tab);
  EXPECT_EQ(seen() + w.form.Label3.Caption, "Option2(1) ×");
}

// Refusals that the golden refuse_* scripts cannot reach.
TEST(Refusal, ActionThatDoesNotApplyChangesNothing) {
  const std::pair<const char*, bool (*)(Form1&)> kRefusals[] = {
      {"ClickOnEntryField", [](Form1& f) { return f.Click(Id("Text1(0)")); }},
      {"PressOnEntryField", [](Form1& f) { return f.Press(Id("Text1(0)")); }},
      {"ClickOnMenuCommand", [](Form1& f) { return f.Click(Id("FileBer")); }},
      {"EditLabel", [](Form1& f) { return f.EditText(Id("Label7"), "x"); }},
  };
  for (const auto& [name, action] : kRefusals) {
    Window w;
    EXPECT_FALSE(action(w.form)) << name;
    EXPECT_EQ(w.form.Focus(), Id("Option1(0)")) << name;
    EXPECT_EQ(w.form.Label7.Caption + w.form.Text1(Integer{0}).Text, "") << name;
    EXPECT_EQ(w.runtime.events, std::vector<std::string>{}) << name;
  }
}

}  // namespace
}  // namespace tavolen::testing
