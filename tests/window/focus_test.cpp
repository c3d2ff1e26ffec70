#include <gtest/gtest.h>

#include "tests/window/window_fixture.h"

namespace tavolen::testing {
namespace {

// Only Tab from the last stop and Shift+Tab from the first wrap around, where a
// page hands the focus on instead.
TEST(Focus, WrapsOnlyAtTheEndsOfTheTabOrder) {
  Window w;
  w.form.Click(Id("Option1(2)"));
  for (int i = 0; i < 11; ++i) {
    const std::string at = DisplayName(w.form.Focus());
    EXPECT_EQ(w.form.WrapsOn(Key::Tab), at == "Command3") << at;
    EXPECT_EQ(w.form.WrapsOn(Key::ShiftTab), at == "Option1(2)") << at;
    w.form.PressKey(Key::Tab);
  }
  EXPECT_EQ(DisplayName(w.form.Focus()), "Option1(2)");
}

// The golden tab_order script holds the stops. A press chooses nothing, and
// Tab leaves the pressed button by its frame's stop.
TEST(Focus, PressChoosesNothingAndTabLeavesByTheFrameStop) {
  Window w;
  w.form.Click(Id("Option2(1)"));
  w.form.Click(Id("Option1(2)"));
  EXPECT_TRUE(w.form.Press(Id("Option1(1)")));
  w.form.PressKey(Key::Tab);
  EXPECT_EQ(DisplayName(w.form.Focus()) + " " + w.form.Label3.Caption, "Option2(1) ×");
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
