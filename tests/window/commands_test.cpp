#include <gtest/gtest.h>

#include <algorithm>

#include "tests/window/window_fixture.h"

namespace tavolen::testing {
namespace {

TEST(Command2Click, ClearsFieldsAndAnswerOnly) {
  Window w;
  w.Enter("5|||||");
  w.form.Click(Id("Option1(3)"));
  w.form.Click(Id("Option2(1)"));
  w.form.Click(Id("Command1"));  // division by zero hides the bar
  w.form.MoveFocus(Id("Text2(1)"));
  w.form.Type("7");
  w.form.Click(Id("Command2"));
  EXPECT_EQ(w.Answer(), "|||");
  for (const char* field :
       {"Text1(0)", "Text1(1)", "Text1(2)", "Text2(0)", "Text2(1)", "Text2(2)"}) {
    EXPECT_EQ(w.Field(field).Text, "") << field;
  }
  EXPECT_FALSE(w.form.Line3.Visible);
  EXPECT_EQ(w.form.Label3.Caption, "÷");
  EXPECT_EQ(w.form.Option1.Chosen(), 3);
  EXPECT_EQ(w.form.Option2.Chosen(), 1);
  EXPECT_EQ(w.form.Focus(), Id("Command2"));
}

TEST(FileBerClick, ShowsThreeLinesSplitBySingleCarriageReturns) {
  Window w;
  w.form.ChooseMenu(Id("FileBer"));
  ASSERT_EQ(w.runtime.events.size(), 1U);
  const std::string head = "msgbox 64 バージョン情報: TavolenVer2.4.2\r";
  ASSERT_TRUE(w.runtime.events.front().starts_with(head)) << w.runtime.events.front();
  const std::string rest = w.runtime.events.front().substr(head.size());
  EXPECT_EQ(std::count(rest.begin(), rest.end(), '\r'), 1);
  EXPECT_EQ(rest.find('\n'), std::string::npos);
  EXPECT_FALSE(rest.starts_with('\r') || rest.ends_with('\r'));
}

TEST(Exit, EveryRoadUnloadsOnceAndEndsInput) {
  const std::pair<const char*, bool (*)(Form1&)> kRoads[] = {
      {"Command3", [](Form1& f) { return f.Click(Id("Command3")); }},
      {"FileExit", [](Form1& f) { return f.ChooseMenu(Id("FileExit")); }},
      {"close", [](Form1& f) { return f.RequestClose(); }},
  };
  for (const auto& [name, road] : kRoads) {
    Window w;
    w.form.MoveFocus(Id("Text1(1)"));
    EXPECT_TRUE(road(w.form)) << name;
    EXPECT_TRUE(w.form.IsUnloaded());
    EXPECT_FALSE(w.form.RequestClose());
    EXPECT_FALSE(w.form.PressKey(Key::Tab));
    EXPECT_FALSE(w.form.Click(Id("Command1")));
    EXPECT_EQ(w.runtime.events, std::vector<std::string>{"unloaded"}) << name;
  }
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
