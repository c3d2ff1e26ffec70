// The main window under real input: what it shows at start and at either DPI,
// the keys that must reach the model rather than the dialog manager, its boxes,
// menu and closing, the answer drawn whole and grey, and MSAA. What each
// input does is the model's, held by its tests and the golden scripts.
#include <windows.h>

#include <oleacc.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "runtime/services.h"
#include "tests/win32/driver.h"
#include "window/accessible_text.h"
#include "window/form1.h"

namespace tavolen::testing {
namespace {

using enum ControlName;

// The keys reach the model, not the dialog manager: Tab and Shift+Tab follow
// its order and wrap, an arrow key chooses within a frame and does nothing on
// a button, Tab into a field selects its text, Enter in a field clicks no
// default button, and Space clicks the focused one. The golden tab_order,
// focus_keys and enter_key scripts hold the whole order and every key.
TEST(MainWindow, KeysReachTheModel) {
  const struct {
    WORD key;
    WORD modifier;
    ControlId focus;
  } steps[] = {
      {VK_TAB, 0, {Option2, 0}},  {VK_TAB, VK_SHIFT, {Option1, 0}}, {VK_TAB, VK_SHIFT, {Command3}},
      {VK_LEFT, 0, {Command3}},   {VK_DOWN, 0, {Command3}},         {VK_TAB, 0, {Option1, 0}},
      {VK_LEFT, 0, {Option1, 3}}, {VK_DOWN, 0, {Option1, 0}},
  };
  const Tavolen t;
  EXPECT_EQ(Utf8Of(TextOf(t.window())), "Tavolen");
  // Fixed size, as the definition draws it (FullFieldsShownWholeAtEitherDpi holds the size).
  EXPECT_EQ(GetWindowLongPtrW(t.window(), GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX), 0);
  for (const auto& step : steps) {
    PressKey(step.key, step.modifier);
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
  PressKey(VK_TAB, VK_SHIFT);
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

// Each field typed past its limit keeps its limit and shows all its digits,
// first and last drawn inside the field; every field's digits as tall and as
// high in their box as every other's, so that a whole part stands level with
// its fraction. Again once the running window's DPI has doubled.
TEST(MainWindow, FullFieldsShownWholeAtEitherDpi) {
  const Tavolen t;
  for (const ControlDef& def : ControlDefinitions()) {
    if (IsEntryField(def.id)) {
      const auto limit = static_cast<std::size_t>(FieldLimit(def.id));
      t.ClickAndSelect(def.id);
      TypeText(std::wstring(limit + 1, L'9'));
      ASSERT_TRUE(t.Shows(def.id, std::string(limit, '9'))) << DisplayName(def.id);
    }
  }
  // The caret out of the fields, where it would pass for a digit's ink.
  t.Click({Option1, 0});
  ASSERT_TRUE(t.HasFocus({Option1, 0}));
  for (const DWORD dpi : {DWORD{96}, DWORD{192}}) {
    if (dpi != 96) {
      t.ChangeDpi(dpi);
    }
    ASSERT_TRUE(WaitFor([&t, dpi] {
      RECT window{};
      GetClientRect(t.window(), &window);
      return window.right == MulDiv(kClientWidthTwips, static_cast<int>(dpi), 1440);
    }));
    std::optional<std::pair<LONG, LONG>> firstRows;
    for (const ControlDef& def : ControlDefinitions()) {
      if (!IsEntryField(def.id)) {
        continue;
      }
      HWND field = t.Control(def.id);
      const RECT client = ClientOnScreen(field);
      const int width = client.right - client.left;
      RECT ink{};
      EXPECT_TRUE(WaitFor([&] {
        ink = InkBounds(client, COLOR_WINDOW);
        return static_cast<short>(LOWORD(SendMessageW(field, EM_POSFROMCHAR, 0, 0))) >= 0 &&
               ink.left >= 1 && ink.right <= width - 2;
      })) << DisplayName(def.id)
          << " at " << dpi << " DPI: ink from " << ink.left << " to " << ink.right << " of "
          << width;
      const std::pair rows{ink.top, ink.bottom};
      EXPECT_EQ(rows, firstRows.value_or(rows))
          << DisplayName(def.id) << " at " << dpi << " DPI: ink rows against the first field's";
      firstRows = firstRows.value_or(rows);
    }
  }
}

// A box is owned by the window, which takes no input while it is up and
// shows what the handler had written by then; the handler goes on once it is
// closed, and the focus is where the model has it. The division by zero box
// by a click, the version box by the menu with Alt; the golden
// msgboxes and overflow scripts hold every box.
TEST(MainWindow, MessageBoxesOverTheWindow) {
  const struct {
    std::function<void(const Tavolen&)> open;
    std::string_view title;
    std::string_view text;
    ControlId focus;
  } rows[] = {
      {[](const Tavolen& t) {
         t.Click({Option1, 3});
         t.Enter({Text1, 2}, L"5");
         t.Click({Command1});
       },
       kErrorTitle,
       "0で割り算しようとしています。",
       {Command1}},
      {[](const Tavolen& t) { t.ChooseMenuByKeys(VK_MENU); },
       "バージョン情報",
       "TavolenVer2.4.2\r\n",
       {Option1, 0}},
  };
  for (const auto& row : rows) {
    const Tavolen t;
    row.open(t);
    HWND box = t.MessageBoxShown();
    ASSERT_NE(box, nullptr) << row.title;
    const BoxContents contents = ReadBox(box);
    EXPECT_EQ(contents.title, row.title);
    EXPECT_TRUE(contents.text.starts_with(row.text)) << contents.text;
    EXPECT_FALSE(IsWindowEnabled(t.window()));
    EXPECT_EQ(t.Answer(), "|||");
    CloseBox(t, box);
    EXPECT_TRUE(t.HasFocus(row.focus)) << row.title;
  }
}

// Alt+F4 stands for every road out (the golden unload scripts hold them all):
// the window's close reaches the model's unload, which ends the program.
TEST(MainWindow, ExitsByClosing) {
  const Tavolen t;
  PressKey(VK_F4, VK_MENU);
  EXPECT_TRUE(t.Ended());
}

// (999 9998/9999)^2 = 99979981002001/99980001 (exact fractions). From an
// input that differs from what 計算 read until the inputs match again, the
// answer's labels and bar and the working are drawn grey: still seen, no
// longer black, keeping their numbers (the model's tests hold which changes
// make the answer the previous one). The long answer is drawn smaller, whole
// in its label, and the pointer over it brings it whole at the normal size.
TEST(MainWindow, LongAnswerShownWholeAndGreyWhileStale) {
  const Tavolen t;
  t.Click({Option1, 2});
  t.Click({Option2, 1});
  for (const ControlName operand : {Text1, Text2}) {
    t.Enter({operand, 2}, L"999");
    t.Enter({operand, 1}, L"9998");
    t.Enter({operand, 0}, L"9999");
  }
  t.Click({Command1});
  const std::string answer = "99980001|99979981002001||";
  ASSERT_TRUE(t.ShowsAnswer(answer));
  t.ChooseFromAnswerMenu([] { PressKey(VK_APPS); }, AnswerCommand::ShowWorking);
  HWND working = t.WorkingWindow();
  ASSERT_NE(working, nullptr);
  // The numerator's narrowed strokes are too thin to tell grey from black by their pixels.
  const HWND drawn[] = {t.Control({Label1, 0}), t.Control({Line3}),
                        GetDlgItem(working, kWorkingFirstLineId)};
  for (const auto& [numerator, grey] : {std::pair{L"9997", true}, {L"9998", false}}) {
    t.Enter({Text2, 1}, numerator);
    for (HWND control : drawn) {
      EXPECT_TRUE(WaitFor([&] {
        const bool black = InkColumns(control, 160).first >= 0;
        return InkColumns(control).first >= 0 && black != grey;
      })) << "numerator "
          << Utf8Of(numerator) << ": control " << GetDlgCtrlID(control);
    }
    EXPECT_EQ(t.Answer(), answer);
  }
  RECT label{};
  GetWindowRect(t.Control({Label1, 1}), &label);
  const int width = label.right - label.left;
  std::pair<int, int> ink;
  EXPECT_TRUE(WaitFor([&] {
    ink = InkColumns(label, COLOR_BTNFACE);
    return ink.first >= 1 && ink.second <= width - 2 && ink.second - ink.first > width / 2;
  })) << "ink from "
      << ink.first << " to " << ink.second << " of " << width;
  MovePointer({label.left - 4, label.top - 4});
  MovePointer(CentreOf(label));
  EXPECT_TRUE(WaitFor([&] {
    HWND tip = t.FindInProcess(L"tooltips_class32", t.window());
    return tip != nullptr && IsWindowVisible(tip) && Utf8Of(TextOf(tip)) == "99979981002001";
  }));
}

// Names and roles as a screen reader gets them through MSAA. Wine's standard
// objects read no annotated names (they name a field by the label before it)
// and give buttons no role: there only a field's role is checked.
TEST(MainWindow, AccessibleNamesAndRoles) {
  const Tavolen t;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  for (const auto& [id, role] : {std::pair{ControlId{Text1, 2}, ROLE_SYSTEM_TEXT},
                                 {ControlId{Option1, 0}, ROLE_SYSTEM_RADIOBUTTON},
                                 {ControlId{Command1}, ROLE_SYSTEM_PUSHBUTTON}}) {
    const Msaa heard = MsaaOf(t.Control(id));
    EXPECT_TRUE(UnderWine() || heard.name == AccessibleNameOf(id)) << DisplayName(id);
    EXPECT_TRUE((UnderWine() && role != ROLE_SYSTEM_TEXT) || heard.role == role) << DisplayName(id);
  }
  CoUninitialize();
}

}  // namespace
}  // namespace tavolen::testing
