#include <gtest/gtest.h>

#include "tests/window/window_fixture.h"

namespace tavolen::testing {
namespace {

TEST(Focus, TabVisitsEveryStopAndWrapsToTheChosenOperator) {
  const char* const kOrder[] = {"Option2(1)", "Text1(2)", "Text1(1)",  "Text1(0)",
                                "Text2(2)",   "Text2(1)", "Text2(0)",  "Command1",
                                "Command2",   "Command3", "Option1(2)"};
  Window w;
  w.form.Click(Id("Option2(1)"));
  w.form.Click(Id("Option1(2)"));
  for (const char* stop : kOrder) {
    EXPECT_TRUE(w.form.PressKey(Key::Tab));
    EXPECT_EQ(DisplayName(w.form.Focus()), stop);
  }
  for (auto it = std::rbegin(kOrder) + 1; it != std::rend(kOrder); ++it) {
    w.form.PressKey(Key::ShiftTab);
    EXPECT_EQ(DisplayName(w.form.Focus()), *it);
  }
  w.form.PressKey(Key::ShiftTab);
  EXPECT_EQ(DisplayName(w.form.Focus()), "Option1(2)");
}

struct KeyCase {
  const char* name;
  const char* focus;  // clicked first
  Key key;
  const char* focusAfter;
  const char* symbol;  // Label3 afterwards
};

const KeyCase kKeys[] = {
    {"RightChoosesNext", "Option1(0)", Key::Right, "Option1(1)", "－"},
    {"DownChoosesNext", "Option1(2)", Key::Down, "Option1(3)", "÷"},
    {"RightWraps", "Option1(3)", Key::Right, "Option1(0)", "＋"},
    {"LeftWrapsBack", "Option1(0)", Key::Left, "Option1(3)", "÷"},
    {"UpChoosesPrevious", "Option1(2)", Key::Up, "Option1(1)", "－"},
    {"ArrowStaysInItsFrame", "Option2(1)", Key::Right, "Option2(0)", "＋"},
    {"ArrowOnButtonDoesNothing", "Command2", Key::Left, "Command2", "＋"},
    {"SpaceOnOptionDoesNothing", "Option1(1)", Key::Space, "Option1(1)", "－"},
};

class ArrowKeys : public ::testing::TestWithParam<KeyCase> {};

TEST_P(ArrowKeys, MoveTheChoiceWithinAFrame) {
  const KeyCase& c = GetParam();
  Window w;
  w.form.Click(Id(c.focus));
  EXPECT_TRUE(w.form.PressKey(c.key));
  EXPECT_EQ(DisplayName(w.form.Focus()), c.focusAfter);
  EXPECT_EQ(w.form.Label3.Caption, c.symbol);
  const ControlId focus = w.form.Focus();
  if (focus.name == ControlName::Option1 || focus.name == ControlName::Option2) {
    const OptionGroup& group = focus.name == ControlName::Option1 ? w.form.Option1 : w.form.Option2;
    EXPECT_EQ(group.Chosen(), focus.index);
  }
}

INSTANTIATE_TEST_SUITE_P(Keys, ArrowKeys, ::testing::ValuesIn(kKeys),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(Focus, MenuLeavesFocusAndHint) {
  Window w;
  w.form.MoveFocus(Id("Text2(0)"));
  w.form.ChooseMenu(Id("FileBer"));
  EXPECT_EQ(w.form.Focus(), Id("Text2(0)"));
  EXPECT_EQ(w.form.Label7.Caption, "分母");
}

TEST(Focus, LostFocusErrorLetsTheClickGoOn) {
  Window w;
  w.form.MoveFocus(Id("Text1(2)"));
  w.form.Text1(Integer{2}).Text = "9999999999";
  w.form.Click(Id("Option1(3)"));
  EXPECT_EQ(w.runtime.events,
            (std::vector<std::string>{"error Overflow in Text1_LostFocus", kOverflowReport}));
  EXPECT_EQ(w.form.Focus(), Id("Option1(3)"));
  EXPECT_EQ(w.form.Label3.Caption, "÷");
}

TEST(Focus, SpaceOnAButtonClicksIt) {
  Window w;
  w.form.MoveFocus(Id("Command1"));
  w.form.PressKey(Key::Space);
  EXPECT_EQ(w.Answer(), (std::vector<std::string>{"", "", "0", ""}));
}

struct RefusalCase {
  const char* name;
  bool (*action)(Form1&);
};

const RefusalCase kRefusals[] = {
    {"FocusOnOptionButton", [](Form1& f) { return f.MoveFocus(Id("Option1(1)")); }},
    {"ClickOnEntryField", [](Form1& f) { return f.Click(Id("Text1(0)")); }},
    {"ClickOnMenuCommand", [](Form1& f) { return f.Click(Id("FileBer")); }},
    {"MenuOnButton", [](Form1& f) { return f.ChooseMenu(Id("Command3")); }},
    {"TypeWithoutField", [](Form1& f) { return f.Type("1"); }},
    {"EditLabel", [](Form1& f) { return f.EditText(Id("Label7"), "x"); }},
};

class Refusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(Refusal, ChangesNothing) {
  Window w;
  EXPECT_FALSE(GetParam().action(w.form));
  EXPECT_EQ(w.form.Focus(), Id("Option1(0)"));
  EXPECT_EQ(w.form.Label7.Caption, "");
  EXPECT_EQ(w.runtime.events, std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Actions, Refusal, ::testing::ValuesIn(kRefusals),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace tavolen::testing
