// The 途中式 window under real input: opened and copied from the answer area's
// menu, following the calculation, its choices and buttons by keys, what it
// has read out, and its 答え合わせ part. It shows the model's lines and
// messages; the model's tests and the golden working scripts hold their texts.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/win32/driver.h"
#include "tests/window/window_fixture.h"
#include "window/accessible_text.h"
#include "window/answer_check_view.h"
#include "window/working.h"
#include "window/working_view.h"

namespace tavolen::testing {
namespace {

using enum ControlName;

constexpr std::string_view kWorkedExample = "1|1|2|2|1|3";  // 1 1/2 ＋ 2 1/3

// The example's working as the model lays it out.
WorkingView ModelWorking(bool details, bool keepMixed) {
  Window w;
  w.Enter(std::string(kWorkedExample));
  w.form.Click(Id("Command1"));
  WorkingView view;
  view.SetDetails(details);
  view.SetKeepMixed(keepMixed);
  view.Follow(WorkingOf(w.form));
  return view;
}

// The copy as it lands on the Windows clipboard, each line ending in CR LF.
std::string Crlf(const std::string& text) {
  std::string lines;
  for (const char c : text) {
    lines += c == '\n' ? std::string("\r\n") : std::string(1, c);
  }
  return lines;
}

// The 途中式 window's lines as a screen reader names them, top first.
std::vector<std::string> WorkingLineNames(HWND working) {
  std::vector<std::string> names;
  for (int id = kWorkingFirstLineId; HWND line = GetDlgItem(working, id); ++id) {
    names.push_back(MsaaOf(line).name);
  }
  return names;
}

// The six fields typed as "whole|numerator|denominator|..." and calculated.
void Calculate(const Tavolen& t, std::string_view problem, std::string_view answer) {
  const ControlId fields[] = {{Text1, 2}, {Text1, 1}, {Text1, 0},
                              {Text2, 2}, {Text2, 1}, {Text2, 0}};
  for (const ControlId field : fields) {
    const std::size_t end = problem.find('|');
    t.Enter(field, WideOf(problem.substr(0, end)));
    problem.remove_prefix(end == std::string_view::npos ? problem.size() : end + 1);
  }
  t.Click({Command1});
  ASSERT_TRUE(t.ShowsAnswer(answer));
}

// The answer area's menu by mouse, menu key and Shift+F10, the copy key on a
// button, the 途中式 window and its 答え合わせ part, closed by Escape.
TEST(WorkingWindow, FromTheAnswerMenu) {
  const WorkingView model = ModelWorking(false, false);
  const std::string copied = Crlf(model.PlainText());
  const Tavolen t;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  Calculate(t, kWorkedExample, "6|5|3|");
  ASSERT_TRUE(ClearClipboard());
  PressKey('C', VK_CONTROL);
  EXPECT_EQ(OnClipboard("3 5/6"), "3 5/6");
  t.ChooseFromAnswerMenu([] { PressKey(VK_F10, VK_SHIFT); }, AnswerCommand::CopyWorking);
  EXPECT_EQ(OnClipboard(copied), copied);
  RECT answer{};
  GetWindowRect(t.Control({Label1, 2}), &answer);
  t.ChooseFromAnswerMenu([&] { ClickAt(CentreOf(answer), true); }, AnswerCommand::ShowWorking);
  HWND working = t.WorkingWindow();
  ASSERT_NE(working, nullptr);
  const std::vector<std::string> names = WorkingLineNames(working);
  ASSERT_EQ(names.size(), model.lines().size());
  EXPECT_EQ(names.front(), model.lines().front().words);
  ASSERT_TRUE(ClearClipboard());
  PressKey(VK_SPACE);  // on コピー
  EXPECT_EQ(OnClipboard(copied), copied);
  // 答え合わせ… puts the focus in 自分の答え; Enter there checks, and the
  // model's message is shown with its mark, read out once, and goes when the
  // answer changes.
  Window w;
  w.Enter(std::string(kWorkedExample));
  AnswerCheckView check;
  check.SetAnswer("23/6");
  check.Check(w.form);
  const std::string message = std::string(check.Mark()) + " " + check.Message();
  t.ChooseFromAnswerMenu([&] { ClickAt(CentreOf(answer), true); }, AnswerCommand::CheckAnswer);
  ASSERT_TRUE(WaitFor([&] { return t.Focused() == GetDlgItem(working, kWorkingAnswerFieldId); }));
  HWND shown = GetDlgItem(working, kWorkingCheckMessageId);
  LiveRegionEvents heard;
  TypeText(L"23/6");
  PressKey(VK_RETURN);
  EXPECT_TRUE(WaitFor([&] { return Utf8Of(TextOf(shown)) == message; })) << message;
  TypeText(L"0");
  EXPECT_TRUE(WaitFor([&] { return TextOf(shown).empty(); }));
  EXPECT_EQ(heard.Count(1), 1);
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(working); }));
  CoUninitialize();
}

// 帯分数のまま, 1行ずつ and くわしく by keys reach the view; a calculation then
// shows only its problem with the answer area empty, 次の行 one more line
// (Enter) and すべて表示 the rest (Space), each revealed line read out and
// nothing else, and the answer comes back with the last line or the window closed.
TEST(WorkingWindow, ChoicesAndTheHiddenAnswer) {
  const WorkingView model = ModelWorking(true, true);
  const std::size_t all = model.lines().size();
  const Tavolen t;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  Calculate(t, kWorkedExample, "6|5|3|");
  t.ChooseFromAnswerMenu([] { PressKey(VK_APPS); }, AnswerCommand::ShowWorking);
  HWND working = t.WorkingWindow();
  ASSERT_NE(working, nullptr);
  const auto focusIs = [&](int id) {
    return WaitFor([&] { return t.Focused() == GetDlgItem(working, id); });
  };
  const auto checked = [&](int id) {
    return SendMessageW(GetDlgItem(working, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
  };
  const auto shows = [&](std::size_t lines) {
    return WaitFor([&] { return WorkingLineNames(working).size() == lines; });
  };
  RECT area{};
  GetWindowRect(GetDlgItem(t.window(), kAnswerAreaId), &area);
  const auto answerDrawn = [&](bool drawn) {
    return WaitFor([&] { return (InkColumns(area, COLOR_BTNFACE).first >= 0) == drawn; });
  };
  LiveRegionEvents heard;
  ASSERT_TRUE(focusIs(kWorkingCopyId));
  for (const int box : {kWorkingKeepMixedId, kWorkingOneLineId, kWorkingDetailsId}) {
    PressKey(VK_TAB, VK_SHIFT);
    ASSERT_TRUE(focusIs(box));
    PressKey(VK_SPACE);
    EXPECT_TRUE(WaitFor([&] { return checked(box); })) << box;
  }
  EXPECT_TRUE(shows(1));  // 1行ずつ starts the working again from its problem
  EXPECT_TRUE(answerDrawn(false));
  EXPECT_EQ(t.Answer(), "6|5|3|");
  t.Click({Command1});
  EXPECT_TRUE(shows(1));
  t.Click({Option1, 2});  // another operator: the working is now the previous calculation's
  ASSERT_TRUE(t.Shows({Label3}, "×"));
  SetForegroundWindow(working);
  ASSERT_TRUE(focusIs(kWorkingDetailsId));
  PressKey(VK_TAB, VK_SHIFT);
  PressKey(VK_TAB, VK_SHIFT);
  ASSERT_TRUE(focusIs(kWorkingNextLineId));
  PressKey(VK_RETURN);
  EXPECT_TRUE(shows(2));
  EXPECT_EQ(WorkingLineNames(working).back(), WorkingLineReadOut(model.lines()[1].words, true));
  PressKey(VK_TAB);
  ASSERT_TRUE(focusIs(kWorkingShowAllId));
  PressKey(VK_SPACE);
  EXPECT_TRUE(shows(all));
  EXPECT_TRUE(answerDrawn(true));
  EXPECT_TRUE(focusIs(kWorkingCopyId));
  ASSERT_TRUE(ClearClipboard());
  PressKey(VK_SPACE);
  const std::string copied = Crlf(model.PlainText());
  EXPECT_EQ(OnClipboard(copied), copied);
  EXPECT_EQ(heard.Count(static_cast<int>(all) - 1), static_cast<int>(all) - 1);
  // Closed, the window hides the answer no longer.
  t.Click({Command1});
  EXPECT_TRUE(answerDrawn(false));
  SetForegroundWindow(working);
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(answerDrawn(true));
  CoUninitialize();
}

}  // namespace
}  // namespace tavolen::testing
