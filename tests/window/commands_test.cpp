#include <gtest/gtest.h>

#include "tests/window/window_fixture.h"
#include "window/answer_menu.h"
#include "window/working_view.h"

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

// Every front end builds the answer menu from this: the working's commands wait
// for a working, checking an answer never waits.
TEST(AnswerMenu, OffersWhatThereIsToCopyOrShow) {
  Window w;
  const auto enabled = [&w] {
    std::vector<bool> states;
    for (const AnswerMenuItem& item : AnswerMenu(w.form)) {
      states.push_back(item.enabled);
    }
    return states;
  };
  EXPECT_EQ(enabled(), (std::vector<bool>{false, false, false, true}));
  w.Enter("|1|0|1||");
  w.form.Click(Id("Command1"));  // a refused denominator: a working, no answer
  EXPECT_EQ(enabled(), (std::vector<bool>{false, true, true, true}));
  w.Enter("1|1|2|2|1|3");
  w.Choose(0, 1);
  w.form.Click(Id("Command1"));
  EXPECT_EQ(enabled(), (std::vector<bool>{true, true, true, true}));
  WorkingView view;
  view.SetDetails(true);
  EXPECT_EQ(CopiedText(AnswerCommand::CopyAnswer, w.form, view), "23/6");
  EXPECT_EQ(CopiedText(AnswerCommand::CopyWorking, w.form, view),
            PlainText(WorkingOf(w.form), true));
  w.form.Click(Id("Command2"));
  EXPECT_EQ(enabled(), (std::vector<bool>{false, false, false, true}));
}

}  // namespace
}  // namespace tavolen::testing
