#include <gtest/gtest.h>

#include "tests/window/window_fixture.h"

namespace tavolen::testing {
namespace {

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

// The golden overflow scripts show an overflow's report.
TEST(ReportRuntimeError, NamesTheErrorThenShowsACriticalBox) {
  const DivisionByZero byZero;
  const OtherError other;
  const std::pair<const RuntimeError*, std::string> kPrompts[] = {
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
