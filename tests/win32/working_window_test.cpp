// The 途中式 window under real input: opened and copied from the answer area's
// menu, following the calculation, and its choices and buttons by keys. It
// shows the model's lines; the model's tests and the golden working scripts
// hold their texts.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/win32/driver.h"
#include "tests/window/window_fixture.h"
#include "window/working.h"
#include "window/working_view.h"

namespace tavolen::testing {
namespace {

using enum ControlName;

// The worked example's working as the model lays it out.
WorkingView ModelWorking(bool details) {
  Window w;
  w.Enter("1|1|2|2|1|3");
  w.form.Click(Id("Command1"));
  WorkingView view;
  view.SetDetails(details);
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

// 1 1/2 ＋ 2 1/3 typed and calculated.
void CalculateWorkedExample(const Tavolen& t) {
  const std::pair<ControlId, const wchar_t*> entries[] = {{{Text1, 2}, L"1"}, {{Text1, 1}, L"1"},
                                                          {{Text1, 0}, L"2"}, {{Text2, 2}, L"2"},
                                                          {{Text2, 1}, L"1"}, {{Text2, 0}, L"3"}};
  for (const auto& [field, text] : entries) {
    t.Enter(field, text);
  }
  t.Click({Command1});
  ASSERT_TRUE(t.ShowsAnswer("6|5|3|"));
}

// The answer area's menu by mouse, menu key and Shift+F10, the copy key on a
// button, and the 途中式 window that follows the calculation until Escape.
TEST(WorkingWindow, FromTheAnswerMenu) {
  const WorkingView model = ModelWorking(false);
  const std::string copied = Crlf(model.PlainText());
  const Tavolen t;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  // Nothing to show before the first 計算.
  t.ChooseFromAnswerMenu([] { PressKey(VK_APPS); }, 1);
  // A greyed command chooses nothing and may leave the menu open on it.
  if (!WaitFor([&t] { return !t.InMenuMode(); }, 500ms)) {
    PressKey(VK_ESCAPE);
  }
  ASSERT_TRUE(WaitFor([&t] { return !t.InMenuMode(); }));
  // Had the command run, its window would be up by the time typing is through.
  CalculateWorkedExample(t);
  EXPECT_FALSE(IsWindowVisible(t.FindInProcess(L"Tavolen.Working", t.window())));
  ASSERT_TRUE(ClearClipboard());
  PressWith(VK_CONTROL, 'C');
  EXPECT_EQ(OnClipboard("3 5/6"), "3 5/6");
  t.ChooseFromAnswerMenu([] { PressKey(VK_F10, true); }, 2);
  EXPECT_EQ(OnClipboard(copied), copied);
  RECT answer{};
  GetWindowRect(t.Control({Label1, 2}), &answer);
  t.ChooseFromAnswerMenu([&] { RightClickAt(CentreOf(answer)); }, 1);
  HWND working = t.WorkingWindow();
  ASSERT_NE(working, nullptr);
  EXPECT_EQ(Utf8Of(TextOf(working)), kWorkingWindowCaption);
  const std::vector<std::string> names = WorkingLineNames(working);
  ASSERT_EQ(names.size(), model.lines().size());
  EXPECT_EQ(names.front(), model.lines().front().words);
  ASSERT_TRUE(ClearClipboard());
  PressKey(VK_SPACE);  // on コピー
  EXPECT_EQ(OnClipboard(copied), copied);
  // The answer form (one step fewer) and 消す redraw it.
  t.Click({Option2, 1});
  EXPECT_TRUE(WaitFor([&] { return WorkingLineNames(working).size() == names.size() - 1; }));
  t.Click({Command2});
  EXPECT_TRUE(WaitFor([&] {
    return WorkingLineNames(working) == std::vector<std::string>{std::string(kNoWorkingYet)};
  }));
  SetForegroundWindow(working);
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == working; }));
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(working); }));
  CoUninitialize();
}

// くわしく and 1行ずつ by keys: the details come as lines of their own, a new
// calculation shows only its problem, 次の行 one more line (Enter) and すべて表示
// the rest (Space), and then both go.
TEST(WorkingWindow, DetailsOneLineAtATime) {
  const WorkingView model = ModelWorking(true);
  const std::size_t all = model.lines().size();
  const std::string copied = Crlf(model.PlainText());
  const Tavolen t;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  CalculateWorkedExample(t);
  t.ChooseFromAnswerMenu([] { PressKey(VK_APPS); }, 1);
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
  ASSERT_TRUE(focusIs(kWorkingCopyId));
  EXPECT_FALSE(checked(kWorkingOneLineId) || checked(kWorkingDetailsId));
  PressKey(VK_TAB, true);
  ASSERT_TRUE(focusIs(kWorkingOneLineId));
  PressKey(VK_SPACE);
  PressKey(VK_TAB, true);
  ASSERT_TRUE(focusIs(kWorkingDetailsId));
  PressKey(VK_SPACE);
  EXPECT_TRUE(WaitFor([&] { return checked(kWorkingDetailsId) && checked(kWorkingOneLineId); }));
  EXPECT_TRUE(shows(all));
  PressKey(VK_TAB);
  PressKey(VK_TAB);
  ASSERT_TRUE(focusIs(kWorkingCopyId));
  ASSERT_TRUE(ClearClipboard());
  PressKey(VK_SPACE);
  EXPECT_EQ(OnClipboard(copied), copied);
  HWND next = GetDlgItem(working, kWorkingNextLineId);
  EXPECT_FALSE(IsWindowVisible(next));
  t.Click({Command1});
  EXPECT_TRUE(shows(1));
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(next); }));
  SetForegroundWindow(working);
  ASSERT_TRUE(focusIs(kWorkingCopyId));
  PressKey(VK_TAB);
  ASSERT_TRUE(focusIs(kWorkingNextLineId));
  PressKey(VK_RETURN);
  EXPECT_TRUE(shows(2));  // the detail of 仮分数に直す
  PressKey(VK_RETURN);
  EXPECT_TRUE(shows(3));
  PressKey(VK_TAB);
  ASSERT_TRUE(focusIs(kWorkingShowAllId));
  PressKey(VK_SPACE);
  EXPECT_TRUE(shows(all));
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(next); }));
  EXPECT_TRUE(focusIs(kWorkingCopyId));
  CoUninitialize();
}

}  // namespace
}  // namespace tavolen::testing
