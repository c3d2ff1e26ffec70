// The main window under real input: what it shows at start and at either DPI,
// the keys that must reach the model rather than the dialog manager, its boxes,
// menu and close box, the answer drawn whole and grey, and MSAA. What each
// input does is the model's, held by its tests and the golden scripts.
#include <windows.h>

#include <oleacc.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "runtime/services.h"
#include "tests/win32/driver.h"
#include "window/accessible_text.h"
#include "window/form1.h"

namespace tavolen::testing {
namespace {

using enum ControlName;

TEST(MainWindow, StartsAsDefined) {
  const Tavolen t;
  EXPECT_EQ(Utf8Of(TextOf(t.window())), "Tavolen");
  for (const ControlDef& def : ControlDefinitions()) {
    if (def.type == ControlType::Frame || def.type == ControlType::CommandButton ||
        def.type == ControlType::OptionButton) {
      EXPECT_EQ(t.Text(def.id), def.caption) << DisplayName(def.id);
    }
  }
  EXPECT_TRUE(t.Checked({Option1, 0}));
  EXPECT_TRUE(t.HasFocus({Option1, 0}));
  // Fixed size, as the definition draws it.
  const auto style = GetWindowLongPtrW(t.window(), GWL_STYLE);
  EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX), 0);
  // The window manager may still be settling the new window's frame.
  const int dpi = static_cast<int>(GetDpiForWindow(t.window()));
  RECT client{};
  EXPECT_TRUE(WaitFor([&] {
    GetClientRect(t.window(), &client);
    return client.right == MulDiv(kClientWidthTwips, dpi, 1440) &&
           client.bottom == MulDiv(kClientHeightTwips, dpi, 1440);
  })) << client.right
      << " x " << client.bottom << " at " << dpi << " DPI";
}

// The keys reach the model, not the dialog manager: Tab and Shift+Tab follow
// its order and wrap, an arrow key chooses within a frame and does nothing on
// a button, Tab into a field selects its text, Enter in a field clicks no
// default button, and Space clicks the focused one. The golden tab_order,
// focus_keys and enter_key scripts hold the whole order and every key.
TEST(MainWindow, KeysReachTheModel) {
  const struct {
    WORD key;
    bool shift;
    ControlId focus;
  } steps[] = {
      {VK_TAB, false, {Option2, 0}},  {VK_TAB, true, {Option1, 0}},   {VK_TAB, true, {Command3}},
      {VK_LEFT, false, {Command3}},   {VK_DOWN, false, {Command3}},   {VK_TAB, false, {Option1, 0}},
      {VK_LEFT, false, {Option1, 3}}, {VK_DOWN, false, {Option1, 0}},
  };
  const Tavolen t;
  for (const auto& step : steps) {
    PressKey(step.key, step.shift);
    ASSERT_TRUE(t.HasFocus(step.focus)) << DisplayName(step.focus);
    if (IsOptionButton(step.focus)) {
      EXPECT_TRUE(t.Checked(step.focus)) << DisplayName(step.focus);
    }
  }
  t.Enter({Text1, 1}, L"1");
  EXPECT_TRUE(t.Shows({Label7}, "分子"));
  t.Enter({Text1, 0}, L"2");
  PressKey(VK_RETURN);
  PressKey(VK_TAB);
  PressKey(VK_TAB, true);
  ASSERT_TRUE(t.HasFocus({Text1, 0}));
  // Taken after Enter: by then Enter has done all it would.
  EXPECT_EQ(t.Answer(), "|||");
  EXPECT_TRUE(WaitFor([&t] {
    DWORD start = 1;
    DWORD end = 0;
    SendMessageW(t.Control({Text1, 0}), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return start == 0 && end == 1;
  }));
  for (int i = 0; i < 4; ++i) {
    PressKey(VK_TAB);
  }
  ASSERT_TRUE(t.HasFocus({Command1}));
  PressKey(VK_SPACE);
  EXPECT_TRUE(t.ShowsAnswer("2|1||"));
}

// Each field filled to its limit shows all its digits, first and last
// drawn inside the field, at either DPI.
TEST(MainWindow, FullFieldsShownWhole) {
  for (const DWORD dpi : {DWORD{96}, DWORD{192}}) {
    const Tavolen t(dpi);
    // The window's own DPI shows in its size; Wine answers GetDpiForWindow with the caller's.
    ASSERT_TRUE(WaitFor([&t, dpi] {
      RECT window{};
      GetClientRect(t.window(), &window);
      return window.right == MulDiv(kClientWidthTwips, static_cast<int>(dpi), 1440);
    }));
    for (const ControlDef& def : ControlDefinitions()) {
      if (!IsEntryField(def.id)) {
        continue;
      }
      t.Enter(def.id, std::wstring(static_cast<std::size_t>(FieldLimit(def.id)), L'9'));
      HWND field = t.Control(def.id);
      const RECT client = ClientOnScreen(field);
      const int width = client.right - client.left;
      std::pair<int, int> ink;
      short firstDigit = 0;
      EXPECT_TRUE(WaitFor([&] {
        ink = InkColumns(client, COLOR_WINDOW);
        firstDigit = static_cast<short>(LOWORD(SendMessageW(field, EM_POSFROMCHAR, 0, 0)));
        return firstDigit >= 0 && ink.first >= 1 && ink.second <= width - 2;
      })) << DisplayName(def.id)
          << " at " << dpi << " DPI: first digit at " << firstDigit << ", ink from " << ink.first
          << " to " << ink.second << " of " << width;
    }
  }
}

// A field takes no more than its limit, and leaving it cleans it; the golden
// field_limits and cleanup scripts hold every case.
TEST(MainWindow, FieldLimitAndCleanUp) {
  const Tavolen t;
  t.ClickAndSelect({Text1, 2});
  TypeText(L"12345");
  EXPECT_TRUE(t.Shows({Text1, 2}, "123"));
  t.ClickAndSelect({Text2, 2});
  TypeText(L"3.7");
  PressKey(VK_TAB);
  EXPECT_TRUE(t.Shows({Text2, 2}, "4"));
}

// The box is owned by the window, which takes no input while it is up and
// shows what the handler had written by then; the handler goes on once it is
// closed. The golden msgboxes and overflow scripts hold every box.
TEST(MainWindow, MessageBoxOverTheWindow) {
  const Tavolen t;
  t.Click({Option1, 3});
  t.Enter({Text1, 2}, L"5");
  t.Click({Command1});
  HWND box = t.MessageBoxShown();
  ASSERT_NE(box, nullptr);
  const BoxContents contents = ReadBox(box);
  EXPECT_EQ(contents.title, kErrorTitle);
  EXPECT_EQ(contents.text, "0で割り算しようとしています。");
  EXPECT_FALSE(IsWindowEnabled(t.window()));
  EXPECT_EQ(t.Answer(), "|||");
  CloseBox(t, box);
  EXPECT_TRUE(t.ShowsAnswer("||0|"));
  // A whole answer has no fraction bar.
  EXPECT_TRUE(WaitFor([&t] { return !IsWindowVisible(t.Control({Line3})); }));
}

// The version box three ways: the menu by mouse, Alt and F10.
TEST(MainWindow, VersionBoxFromTheMenu) {
  const std::function<void(const Tavolen&)> ways[] = {
      [](const Tavolen& t) { t.ClickMenu(1); },
      [](const Tavolen& t) { t.ChooseMenuByKeys(VK_MENU); },
      [](const Tavolen& t) { t.ChooseMenuByKeys(VK_F10); },
  };
  for (const auto& open : ways) {
    const Tavolen t;
    open(t);
    HWND box = t.MessageBoxShown();
    if (box == nullptr) {
      ADD_FAILURE() << "no version box";
      continue;
    }
    const BoxContents contents = ReadBox(box);
    EXPECT_EQ(contents.title, "バージョン情報");
    EXPECT_TRUE(contents.text.starts_with("TavolenVer2.4.2\r\n")) << contents.text;
    EXPECT_EQ(std::count(contents.text.begin(), contents.text.end(), '\n'), 2);
    EXPECT_FALSE(IsWindowEnabled(t.window()));
    CloseBox(t, box);
    EXPECT_TRUE(t.HasFocus({Option1, 0}));
  }
}

// The close box, found where the window reports it.
POINT CloseBoxOf(HWND window) {
  RECT frame{};
  GetWindowRect(window, &frame);
  RECT client{};
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  for (int y = frame.top; y < origin.y; ++y) {
    for (int x = frame.right - 1; x > (frame.left + frame.right) / 2; --x) {
      if (SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE) {
        return {x - 3, y + 3};
      }
    }
  }
  return {};
}

// The close box stands for every road out (the golden unload scripts hold
// them all): each reaches the model's unload, which ends the program.
TEST(MainWindow, ExitsByTheCloseBox) {
  const Tavolen t;
  ClickAt(CloseBoxOf(t.window()));
  EXPECT_TRUE(t.Ended());
}

// (999 9998/9999)^2 = 99979981002001/99980001 (exact fractions): shown whole
// in its label, and read whole in words.
TEST(MainWindow, LongAnswerShownWhole) {
  const Tavolen t;
  t.Click({Option1, 2});
  t.Click({Option2, 1});
  for (const ControlName operand : {Text1, Text2}) {
    t.Enter({operand, 2}, L"999");
    t.Enter({operand, 1}, L"9998");
    t.Enter({operand, 0}, L"9999");
  }
  RECT before{};
  GetWindowRect(t.Control({Label1, 1}), &before);
  t.Click({Command1});
  EXPECT_TRUE(t.ShowsAnswer("99980001|99979981002001||"));
  RECT after{};
  GetWindowRect(t.Control({Label1, 1}), &after);
  EXPECT_TRUE(EqualRect(&before, &after));
  // Drawn smaller, not cut off at the label's edges.
  const int width = after.right - after.left;
  std::pair<int, int> ink;
  EXPECT_TRUE(WaitFor([&] {
    ink = InkColumns(after, COLOR_BTNFACE);
    return ink.first >= 1 && ink.second <= width - 2 && ink.second - ink.first > width / 2;
  })) << "ink from "
      << ink.first << " to " << ink.second << " of " << width;
  // The pointer over it brings the whole text at the normal size.
  MovePointer({after.left - 4, after.top - 4});
  MovePointer(CentreOf(after));
  HWND tip = nullptr;
  EXPECT_TRUE(WaitFor([&] {
    return (tip = t.FindInProcess(L"tooltips_class32", t.window())) != nullptr &&
           IsWindowVisible(tip) && Utf8Of(TextOf(tip)) == "99979981002001";
  }));
}

// From an input that differs from what the last 計算 read until the inputs
// match again, the answer's labels and bar are drawn grey: still seen, no
// longer black, and keeping their numbers. (The model's tests hold which
// changes make the answer the previous one.)
TEST(MainWindow, PreviousAnswerDrawnGrey) {
  const Tavolen t;
  t.Enter({Text1, 1}, L"1");
  t.Enter({Text1, 0}, L"2");
  t.Click({Command1});
  ASSERT_TRUE(t.ShowsAnswer("2|1||"));
  const struct {
    const char* name;
    std::function<void()> change;
    bool grey;
  } steps[] = {
      {"calculated", [] {}, false},
      {"numerator changed",
       [&t] {
         t.Enter({Text1, 1}, L"3");
       },
       true},
      {"numerator back",
       [&t] {
         t.Enter({Text1, 1}, L"1");
       },
       false},
  };
  // The working's first line is drawn as the answer is.
  t.ChooseFromAnswerMenu([] { PressKey(VK_APPS); }, 1);
  HWND working = t.WorkingWindow();
  ASSERT_NE(working, nullptr);
  const std::pair<const char*, HWND> drawn[] = {
      {"Label1(1)", t.Control({Label1, 1})},
      {"Label1(0)", t.Control({Label1, 0})},
      {"Line3", t.Control({Line3})},
      {"working", GetDlgItem(working, kWorkingFirstLineId)}};
  for (const auto& step : steps) {
    step.change();
    for (const auto& [name, control] : drawn) {
      const auto shown = [&] {
        const bool black = InkColumns(control, 160).first >= 0;
        return InkColumns(control).first >= 0 && black != step.grey;
      };
      EXPECT_TRUE(WaitFor(shown)) << step.name << ": " << name;
    }
    EXPECT_EQ(t.Answer(), "2|1||") << step.name;
  }
}

// Names, roles and states as a screen reader gets them through MSAA. Wine's
// standard objects read no annotated names (they name a field by the label
// before it) and give buttons no role or state: there only the fields' roles
// are checked.
TEST(MainWindow, AccessibleNamesAndRoles) {
  const bool wine = UnderWine();
  const Tavolen t;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const struct {
    ControlId id;
    long role;
  } rows[] = {
      {{Text1, 2}, ROLE_SYSTEM_TEXT},          {{Text2, 0}, ROLE_SYSTEM_TEXT},
      {{Option1, 0}, ROLE_SYSTEM_RADIOBUTTON}, {{Option2, 1}, ROLE_SYSTEM_RADIOBUTTON},
      {{Command1}, ROLE_SYSTEM_PUSHBUTTON},
  };
  for (const auto& row : rows) {
    const Msaa heard = MsaaOf(t.Control(row.id));
    if (!wine || row.role == ROLE_SYSTEM_TEXT) {
      EXPECT_EQ(heard.role, row.role) << DisplayName(row.id);
    }
    if (!wine) {
      EXPECT_EQ(heard.name, AccessibleNameOf(row.id));
      EXPECT_EQ((heard.state & STATE_SYSTEM_CHECKED) != 0, t.Checked(row.id));
    }
  }
  if (wine) {
    std::printf(
        "note: under Wine, MSAA names and the roles and states of buttons are not checked\n");
  }
  CoUninitialize();
}

}  // namespace
}  // namespace tavolen::testing
