#include <gtest/gtest.h>

#include "tests/window/window_fixture.h"

namespace tavolen::testing {
namespace {

TEST(Command2Click, ClearsFieldsAndAnswerOnly) {
  const struct {
    const char* name;
    const char* fields;
    std::int16_t op;
    const char* answer;  // before 消す
  } kAnswers[] = {
      {"DivisionByZeroHidesTheBar", "5|||||", 3, "||0|"},
      {"NegativeLeavesNoSign", "|1|3||1|2", 1, "6|1||-"},
  };
  for (const auto& c : kAnswers) {
    SCOPED_TRACE(c.name);
    Window w;
    w.Enter(c.fields);
    w.form.Click(ControlId{ControlName::Option1, c.op});
    w.form.Click(Id("Option2(1)"));
    w.form.Click(Id("Command1"));
    ASSERT_EQ(w.Answer(), c.answer);
    const bool bar = w.form.Line3.Visible;
    const std::string operatorShown = w.form.Label3.Caption;
    w.form.MoveFocus(Id("Text2(1)"));
    w.form.Type("7");
    w.form.Click(Id("Command2"));
    EXPECT_EQ(w.Answer(), "|||");
    for (const char* field :
         {"Text1(0)", "Text1(1)", "Text1(2)", "Text2(0)", "Text2(1)", "Text2(2)"}) {
      EXPECT_EQ(w.Field(field).Text, "") << field;
    }
    EXPECT_EQ(w.form.Line3.Visible, bar);
    EXPECT_EQ(w.form.Label3.Caption, operatorShown);
    EXPECT_EQ(w.form.Option1.Chosen(), c.op);
    EXPECT_EQ(w.form.Option2.Chosen(), 1);
    EXPECT_EQ(w.form.Focus(), Id("Command2"));
  }
}

// Each road to the exit shows in the golden unload scripts; after it the
// model takes no more input.
TEST(Exit, UnloadsOnceAndEndsInput) {
  Window w;
  w.form.MoveFocus(Id("Text1(1)"));
  EXPECT_TRUE(w.form.Click(Id("Command3")));
  EXPECT_TRUE(w.form.IsUnloaded());
  EXPECT_FALSE(w.form.RequestClose());
  EXPECT_FALSE(w.form.PressKey(Key::Tab));
  EXPECT_FALSE(w.form.Click(Id("Command1")));
  EXPECT_EQ(w.runtime.events, std::vector<std::string>{"unloaded"});
}

class OtherError final : public RuntimeError {
 public:
  OtherError() : RuntimeError("other") {}
  [[nodiscard]] std::string name() const override { return "Other"; }
};

TEST(ReportRuntimeError, NamesTheErrorThenShowsACriticalBox) {
  const Overflow overflow;
  const DivisionByZero byZero;
  const OtherError other;
  const std::pair<const RuntimeError*, std::string> kPrompts[] = {
      {&overflow, "数が大きすぎて計算できません。"},
      {&byZero, "計算の途中で0で割り算が起きたため、計算できません。"},
      {&other, "エラーが起きたため、この操作を続けられません。"}};
  for (const auto& [error, prompt] : kPrompts) {
    RecordingRuntime runtime;
    ReportRuntimeError(runtime, *error, "Text2_LostFocus");
    EXPECT_EQ(runtime.events,
              (std::vector<std::string>{"error " + error->name() + " in Text2_LostFocus",
                                        kErrorBox + prompt}));
  }
}

}  // namespace
}  // namespace tavolen::testing
