#include "window/answer_check.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "tests/window/window_fixture.h"
#include "window/answer_check_view.h"

namespace tavolen::testing {
namespace {

// Everything the user could see change, and the working's identity.
std::string Snapshot(const Window& w) {
  std::string all = w.Answer() + "|" + w.form.Label3.Caption + "|" + w.form.Label7.Caption;
  for (std::int16_t i = 0; i < 3; ++i) {
    all += "|" + w.form.Text1(Integer{i}).Text + "|" + w.form.Text2(Integer{i}).Text;
  }
  all += w.form.Line3.Visible ? "|bar|" : "|nobar|";
  all += DisplayName(w.form.Focus()) + "|" + std::to_string(w.form.working().calculation());
  return all + "|" + std::to_string(w.form.Option1.Chosen() * 10 + w.form.Option2.Chosen());
}

// The answer 計算 shows, typed back, is right: the judging's exact arithmetic
// agrees with the calculation's own wherever the calculation finishes, and
// checking leaves the window as it was. The other verdicts are in the golden
// check_* replays, and calculate_test checks where 計算 stops.
TEST(CheckAnswerTest, ShownAnswerIsRight) {
  std::mt19937 rng(27);
  for (int round = 0; round < 3000; ++round) {
    Window w;
    w.Choose(static_cast<std::int16_t>(rng() % 4), static_cast<std::int16_t>(rng() % 2));
    const bool small = rng() % 2 == 0;
    std::string six;
    for (const unsigned most : {999U, 9999U, 9999U, 999U, 9999U, 9999U}) {
      six += std::to_string(rng() % ((small ? 12 : most) + 1)) + "|";
    }
    w.Enter(six);
    w.form.Click(Id("Command1"));
    const auto label = [&w](std::int16_t i) { return w.form.Label1(Integer{i}).Caption; };
    // A stop, or an answer with a number longer than a pupil may type.
    if (!w.runtime.events.empty() || label(0).size() > 9 || label(1).size() > 9) {
      continue;
    }
    std::string shown = label(3) + label(2);
    if (!label(0).empty()) {
      shown += (label(2).empty() ? "" : " ") + label(1) + "/" + label(0);
    }
    const std::string before = Snapshot(w);
    EXPECT_EQ(CheckAnswer(w.form, shown).message, "正解です。") << six << " " << shown;
    EXPECT_EQ(Snapshot(w), before) << six;
  }
}

TEST(AnswerCheckViewTest, MessageHeldUntilTheAnswerOrProblemChanges) {
  Window w;
  w.Enter("1|1|2|2|1|3");
  AnswerCheckView view;
  view.SetAnswer("3 5/6");
  view.Check(w.form);
  EXPECT_EQ(view.Message(), "正解です。");
  EXPECT_EQ(view.Mark(), kRightMark);
  EXPECT_EQ(view.MarkedMessage(), std::string(kRightMark) + " 正解です。");
  EXPECT_EQ(view.TakeAnnouncement(), "正解です。");
  EXPECT_EQ(view.TakeAnnouncement(), std::nullopt);

  w.Field("Text1(1)").Text = "01";  // the same problem once cleaned
  view.Update(w.form);
  view.SetAnswer("3 5/6");
  EXPECT_EQ(view.Mark(), kRightMark);
  w.Field("Text1(1)").Text = "2";
  view.Update(w.form);
  EXPECT_EQ(view.Message(), "");
  EXPECT_EQ(view.Mark(), "");
  EXPECT_EQ(view.MarkedMessage(), "");

  view.Check(w.form);
  EXPECT_EQ(view.Mark(), kNotRightMark);
  w.form.Click(ControlId{ControlName::Option2, 1});
  view.Update(w.form);
  EXPECT_EQ(view.Message(), "");

  view.Check(w.form);
  view.SetAnswer("3 5/");
  EXPECT_EQ(view.Message(), "");
  EXPECT_EQ(view.TakeAnnouncement(), std::nullopt);
}

}  // namespace
}  // namespace tavolen::testing
