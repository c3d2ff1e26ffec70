// tavolen.exe driven from outside as a user and a screen reader meet it: real
// input through SendInput, the window read back with WM_GETTEXT, button
// states, the focused control and MSAA. Each test starts its own program.
#include <windows.h>

#include <oleacc.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "runtime/services.h"
#include "win32/control_ids.h"
#include "win32/wide_text.h"
#include "window/accessible_text.h"
#include "window/form1.h"
#include "window/working.h"

namespace tavolen {
namespace {

using namespace std::chrono_literals;
using enum ControlName;

constexpr std::chrono::milliseconds kPatience = 10s;
// The first window of a fresh Wine prefix waits for Wine to build its caches.
constexpr std::chrono::milliseconds kStartPatience = 90s;

bool UnderWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

bool WaitFor(const std::function<bool()>& condition,
             std::chrono::milliseconds patience = kPatience) {
  const auto end = std::chrono::steady_clock::now() + patience;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) {
      return false;
    }
    std::this_thread::sleep_for(10ms);
  }
  return true;
}

std::wstring TextOf(HWND window) {
  std::wstring text(1024, L'\0');
  const auto length =
      SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(length));
  return text;
}

std::vector<HWND> Descendants(HWND parent) {
  std::vector<HWND> found;
  EnumChildWindows(
      parent,
      [](HWND child, LPARAM list) {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

void Send(std::vector<INPUT> inputs) {
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

INPUT KeyInput(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  const bool extended = key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN;
  input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0U) | (extended ? KEYEVENTF_EXTENDEDKEY : 0U);
  return input;
}

// A key pressed while a modifier (Shift, Ctrl; none for 0) is held.
void PressWith(WORD modifier, WORD key) {
  if (modifier != 0) {
    Send({KeyInput(modifier, false), KeyInput(key, false), KeyInput(key, true),
          KeyInput(modifier, true)});
  } else {
    Send({KeyInput(key, false), KeyInput(key, true)});
  }
}

void PressKey(WORD key, bool shift = false) {
  PressWith(shift ? VK_SHIFT : 0, key);
}

// Each character as a Unicode key press, as an on-screen keyboard types.
void TypeText(std::wstring_view text) {
  std::vector<INPUT> inputs;
  for (const wchar_t c : text) {
    for (const bool up : {false, true}) {
      INPUT input{};
      input.type = INPUT_KEYBOARD;
      input.ki.wScan = c;
      input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0U);
      inputs.push_back(input);
    }
  }
  Send(inputs);
}

INPUT MouseInput(POINT at, DWORD action) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = action | MOUSEEVENTF_ABSOLUTE;
  return input;
}

// Returns once the system has the pointer there: a click sent before the
// pointer arrived would land where it was.
void MovePointer(POINT at) {
  Send({MouseInput(at, MOUSEEVENTF_MOVE)});
  WaitFor([at] {
    POINT now{};
    GetCursorPos(&now);
    return std::abs(now.x - at.x) <= 1 && std::abs(now.y - at.y) <= 1;
  });
}

// The press and release carry the point too, so nothing can move the pointer between them.
void ClickAt(POINT at) {
  MovePointer(at);
  Send({MouseInput(at, MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTDOWN),
        MouseInput(at, MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTUP)});
}

void RightClickAt(POINT at) {
  MovePointer(at);
  Send({MouseInput(at, MOUSEEVENTF_RIGHTDOWN), MouseInput(at, MOUSEEVENTF_RIGHTUP)});
}

// The clipboard's Unicode text, emptied first by ClearClipboard.
std::string ClipboardText() {
  std::string text;
  if (OpenClipboard(nullptr) == 0) {
    return text;
  }
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    text = Utf8Of(static_cast<const wchar_t*>(GlobalLock(data)));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

void ClearClipboard() {
  ASSERT_TRUE(WaitFor([] { return OpenClipboard(nullptr) != 0; }));
  EmptyClipboard();
  CloseClipboard();
}

// Waits for the text on the clipboard; returns what is there.
std::string OnClipboard(std::string_view text) {
  WaitFor([text] { return ClipboardText() == text; });
  return ClipboardText();
}

// What a screen reader reads as the name of a window's client area.
std::string AccessibleName(HWND window) {
  IAccessible* object = nullptr;
  if (AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                 reinterpret_cast<void**>(&object)) != S_OK) {
    return {};
  }
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = nullptr;
  object->get_accName(self, &name);
  std::string text = Utf8Of(name != nullptr ? name : L"");
  SysFreeString(name);
  object->Release();
  return text;
}

POINT CentreOf(const RECT& rect) {
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// The smallest box of a screen rectangle, in its own coordinates, that holds
// every pixel of ink (darker than the paper colour by more than `darker`);
// all -1 for none.
RECT InkBounds(const RECT& rect, int paperColour, int darker = 64) {
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  const auto gray = [](COLORREF c) { return (GetRValue(c) + GetGValue(c) + GetBValue(c)) / 3; };
  const int paperGray = gray(GetSysColor(paperColour));
  RECT ink{-1, -1, -1, -1};
  for (int x = 0; x < width; ++x) {
    for (int y = 0; y < height; ++y) {
      if (gray(GetPixel(memory, x, y)) < paperGray - darker) {
        ink = {ink.left < 0 ? x : ink.left, ink.top < 0 ? y : std::min<LONG>(ink.top, y), x,
               std::max<LONG>(ink.bottom, y)};
      }
    }
  }
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return ink;
}

// The first and last columns of a screen rectangle that show ink; {-1, -1} for none.
std::pair<int, int> InkColumns(const RECT& rect, int paperColour, int darker = 64) {
  const RECT ink = InkBounds(rect, paperColour, darker);
  return {ink.left, ink.right};
}

// The same for a whole control on the face colour.
std::pair<int, int> InkColumns(HWND control, int darker = 64) {
  RECT rect{};
  GetWindowRect(control, &rect);
  return InkColumns(rect, COLOR_BTNFACE, darker);
}

RECT ClientOnScreen(HWND control) {
  RECT rect{};
  GetClientRect(control, &rect);
  MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// The system DPI of the programs started while it is in scope, as the
// display settings set it; the setting before is put back after.
class SystemDpi {
 public:
  explicit SystemDpi(DWORD dpi) {
    RegGetValueW(HKEY_CURRENT_CONFIG, kKey, kValue, RRF_RT_REG_DWORD, nullptr, &previous_, &size_);
    Set(dpi);
  }
  SystemDpi(const SystemDpi&) = delete;
  SystemDpi& operator=(const SystemDpi&) = delete;
  ~SystemDpi() { Set(previous_); }

 private:
  static constexpr const wchar_t* kKey = L"Software\\Fonts";
  static constexpr const wchar_t* kValue = L"LogPixels";
  static void Set(DWORD dpi) {
    RegSetKeyValueW(HKEY_CURRENT_CONFIG, kKey, kValue, REG_DWORD, &dpi, sizeof dpi);
  }
  DWORD previous_ = USER_DEFAULT_SCREEN_DPI;
  DWORD size_ = sizeof previous_;
};

// tavolen.exe from beside this program, started for one test and ended with it.
class Tavolen {
 public:
  explicit Tavolen(DWORD dpi = USER_DEFAULT_SCREEN_DPI) {
    const SystemDpi systemDpi(dpi);
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
    path = path.substr(0, path.find_last_of(L"\\/") + 1) + L"tavolen.exe";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(path.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process_)) {
      ADD_FAILURE() << "cannot start tavolen.exe";
      return;
    }
    WaitForInputIdle(process_.hProcess, static_cast<DWORD>(kStartPatience.count()));
    WaitFor(
        [this] {
          return (window_ = FindInProcess(L"Tavolen.Form1", nullptr)) != nullptr &&
                 IsWindowVisible(window_);
        },
        kStartPatience);
    SetForegroundWindow(window_);
    if (!WaitFor([this] { return GetForegroundWindow() == window_ && Focused() != nullptr; },
                 kStartPatience)) {
      ADD_FAILURE() << "tavolen.exe did not take the focus";
    }
  }
  Tavolen(const Tavolen&) = delete;
  Tavolen& operator=(const Tavolen&) = delete;
  ~Tavolen() {
    if (process_.hProcess == nullptr) {
      return;
    }
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(process_.hProcess, 1);
      WaitForSingleObject(process_.hProcess, 5000);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }

  [[nodiscard]] HWND window() const { return window_; }

  [[nodiscard]] HWND Control(ControlId id) const {
    for (HWND child : Descendants(window_)) {
      if (GetDlgCtrlID(child) == ChildIdOf(id)) {
        return child;
      }
    }
    return nullptr;
  }
  [[nodiscard]] std::string Text(ControlId id) const { return Utf8Of(TextOf(Control(id))); }
  [[nodiscard]] bool Checked(ControlId id) const {
    return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
  }
  [[nodiscard]] HWND Focused() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(process_.dwThreadId, &info);
    return info.hwndFocus;
  }
  [[nodiscard]] bool HasFocus(ControlId id) const {
    return WaitFor([this, id] { return Focused() == Control(id); });
  }
  [[nodiscard]] bool Ended() const {
    return WaitForSingleObject(process_.hProcess, 10000) == WAIT_OBJECT_0;
  }

  void Click(ControlId id) const {
    RECT rect{};
    GetWindowRect(Control(id), &rect);
    ClickAt(CentreOf(rect));
  }
  // The menu bar's commands have no drop-down: a click chooses one. Wine
  // keeps a menu to its process, so the place is worked out from the
  // captions in the system's menu font.
  void ClickMenu(std::size_t place) const {
    POINT origin{0, 0};
    ClientToScreen(window_, &origin);
    int top = origin.y - 1;
    while (SendMessageW(window_, WM_NCHITTEST, 0, MAKELPARAM(origin.x + 2, top - 1)) == HTMENU) {
      --top;
    }
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0,
                               GetDpiForWindow(window_));
    HFONT font = CreateFontIndirectW(&metrics.lfMenuFont);
    HDC screen = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(screen, font);
    TEXTMETRICW text{};
    GetTextMetricsW(screen, &text);
    std::vector<int> widths;
    for (const MenuDef& def : MenuDefinitions()) {
      const std::wstring caption = WideOf(def.caption);
      SIZE size{};
      GetTextExtentPoint32W(screen, caption.c_str(), static_cast<int>(caption.size()), &size);
      widths.push_back(size.cx + 2 * text.tmAveCharWidth);
    }
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    DeleteObject(font);
    int left = origin.x;
    for (std::size_t i = 0; i < place; ++i) {
      left += widths[i];
    }
    ClickAt({left + widths[place] / 2, (top + origin.y) / 2});
  }
  // Opens the menu bar with the key, and once it is open chooses its second command.
  void ChooseMenuByKeys(WORD key) const {
    PressKey(key);
    ASSERT_TRUE(WaitFor([this] { return InMenuMode(); }));
    PressKey(VK_RIGHT);
    PressKey(VK_RETURN);
  }
  // Whether a menu's loop runs and takes the keys.
  [[nodiscard]] bool InMenuMode() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(process_.dwThreadId, &info);
    return (info.flags & GUI_INMENUMODE) != 0;
  }
  // Clicks into a field and selects its text with the keys, which come after
  // the click in the program's input, so the click cannot move the caret after them.
  void ClickAndSelect(ControlId field) const {
    Click(field);
    ASSERT_TRUE(HasFocus(field)) << DisplayName(field);
    PressKey(VK_HOME);
    PressKey(VK_END, true);
  }
  // Clicks into a field and types there, waiting until the text has arrived.
  void Enter(ControlId field, std::wstring_view text) const {
    ClickAndSelect(field);
    TypeText(text);
    ASSERT_TRUE(WaitFor([&] { return TextOf(Control(field)) == text; })) << DisplayName(field);
  }
  [[nodiscard]] bool Shows(ControlId id, std::string_view text) const {
    return WaitFor([&] { return Text(id) == text; });
  }
  // The four answer labels, denominator first, joined by "|".
  [[nodiscard]] std::string Answer() const {
    std::string answer;
    for (std::int16_t i = 0; i < 4; ++i) {
      answer += (i == 0 ? "" : "|") + Text({Label1, i});
    }
    return answer;
  }
  [[nodiscard]] bool ShowsAnswer(std::string_view answer) const {
    return WaitFor([&] { return Answer() == answer; });
  }

  // The message box the window shows, owned by it; null when none comes.
  [[nodiscard]] HWND MessageBoxShown() const {
    HWND box = nullptr;
    WaitFor([&] {
      return (box = FindInProcess(L"#32770", window_)) != nullptr && IsWindowVisible(box);
    });
    return box;
  }

  // The 途中式 window, owned by the main window, once it is shown; else null.
  [[nodiscard]] HWND WorkingWindow() const {
    HWND working = nullptr;
    WaitFor([&] {
      working = FindInProcess(L"Tavolen.Working", window_);
      return working != nullptr && IsWindowVisible(working);
    });
    return working != nullptr && IsWindowVisible(working) ? working : nullptr;
  }
  // Opens the answer area's menu with `open` and chooses its place-th command
  // counted from the end (1 for the last) by keys.
  void ChooseFromAnswerMenu(const std::function<void()>& open, int fromEnd) const {
    open();
    ASSERT_TRUE(WaitFor([this] {
      HWND menu = FindInProcess(L"#32768", nullptr);
      return menu != nullptr && IsWindowVisible(menu) && InMenuMode();
    }));
    for (int i = 0; i < fromEnd; ++i) {
      PressKey(VK_UP);
    }
    PressKey(VK_RETURN);
  }

  // A top-level window of the program, of the class and owned by owner (any
  // owner for null).
  [[nodiscard]] HWND FindInProcess(const wchar_t* windowClass, HWND owner) const {
    for (HWND top = FindWindowExW(nullptr, nullptr, windowClass, nullptr); top != nullptr;
         top = FindWindowExW(nullptr, top, windowClass, nullptr)) {
      DWORD process = 0;
      GetWindowThreadProcessId(top, &process);
      if (process == process_.dwProcessId &&
          (owner == nullptr || GetWindow(top, GW_OWNER) == owner)) {
        return top;
      }
    }
    return nullptr;
  }

 private:
  PROCESS_INFORMATION process_{};
  HWND window_ = nullptr;
};

struct BoxContents {
  std::string title;
  std::string text;
  HWND ok = nullptr;
};

BoxContents ReadBox(HWND box) {
  BoxContents contents{Utf8Of(TextOf(box)), {}, nullptr};
  for (HWND child : Descendants(box)) {
    std::wstring kind(256, L'\0');
    kind.resize(static_cast<std::size_t>(GetClassNameW(child, kind.data(), 256)));
    const std::string text = Utf8Of(TextOf(child));
    if (kind == L"Static" && !text.empty()) {
      contents.text = text;
    } else if (kind == L"Button") {
      contents.ok = child;
    }
  }
  return contents;
}

// Closes a box with Enter on its OK button and waits until the window takes input again.
void CloseBox(const Tavolen& t, HWND box) {
  // A box takes keys once it is active with the focus on its button; a click
  // could still miss it while the window manager places it.
  ASSERT_TRUE(
      WaitFor([&] { return GetForegroundWindow() == box && t.Focused() == ReadBox(box).ok; }));
  PressKey(VK_RETURN);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(box) && IsWindowEnabled(t.window()); }));
}

TEST(Tavolen, StartsAsDefined) {
  const Tavolen t;
  EXPECT_EQ(Utf8Of(TextOf(t.window())), "Tavolen");
  for (const ControlDef& def : ControlDefinitions()) {
    if (def.type == ControlType::Frame || def.type == ControlType::CommandButton ||
        def.type == ControlType::OptionButton) {
      EXPECT_EQ(t.Text(def.id), def.caption) << DisplayName(def.id);
    }
  }
  EXPECT_EQ(t.Text({Label3}), "＋");
  EXPECT_EQ(t.Answer(), "|||");
  EXPECT_EQ(t.Text({Label7}), "");
  EXPECT_TRUE(t.Checked({Option1, 0}));
  EXPECT_TRUE(t.Checked({Option2, 0}));
  EXPECT_FALSE(t.Checked({Option1, 1}));
  EXPECT_TRUE(IsWindowVisible(t.Control({Line3})));
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

// 1 1/2 + 2 1/3 = 3 5/6 = 23/6, typed and clicked; the hint names each field.
// Enter and Space click the focused button and do nothing in a field; there
// is no default button.
TEST(Tavolen, WorkedExampleByMouseAndKeys) {
  const Tavolen t;
  t.Enter({Text1, 1}, L"1");
  EXPECT_TRUE(t.Shows({Label7}, "分子"));
  t.Enter({Text1, 2}, L"1");
  t.Enter({Text1, 0}, L"2");
  t.Enter({Text2, 2}, L"2");
  t.Enter({Text2, 1}, L"1");
  t.Enter({Text2, 0}, L"3");
  PressKey(VK_RETURN);
  // Taken after Enter: by then Enter has done all it would.
  PressKey(VK_TAB);
  ASSERT_TRUE(t.HasFocus({Command1}));
  EXPECT_EQ(t.Answer(), "|||");
  t.Click({Command1});
  EXPECT_TRUE(t.ShowsAnswer("6|5|3|"));
  EXPECT_TRUE(t.Shows({Label7}, ""));
  t.Click({Option2, 1});
  EXPECT_TRUE(t.ShowsAnswer("6|23||"));
  EXPECT_TRUE(t.Checked({Option2, 1}));
  EXPECT_FALSE(t.Checked({Option2, 0}));
  t.Click({Option2, 0});
  EXPECT_TRUE(t.ShowsAnswer("6|5|3|"));
  t.Click({Command2});
  EXPECT_TRUE(t.ShowsAnswer("|||"));
  EXPECT_EQ(t.Text({Text1, 2}), "");
  EXPECT_EQ(t.Text({Text2, 0}), "");
  EXPECT_TRUE(IsWindowVisible(t.Control({Line3})));
  EXPECT_TRUE(t.Checked({Option2, 0}));
  PressKey(VK_TAB, true);
  ASSERT_TRUE(t.HasFocus({Command1}));
  PressKey(VK_SPACE);
  EXPECT_TRUE(t.ShowsAnswer("||0|"));
  // A whole answer has no fraction bar.
  EXPECT_TRUE(WaitFor([&t] { return !IsWindowVisible(t.Control({Line3})); }));
  PressKey(VK_TAB);
  ASSERT_TRUE(t.HasFocus({Command2}));
  PressKey(VK_RETURN);
  EXPECT_TRUE(t.ShowsAnswer("|||"));
}

TEST(Tavolen, TabOrderWrapsBothWays) {
  const Tavolen t;
  const ControlId order[] = {{Option2, 0}, {Text1, 2}, {Text1, 1},  {Text1, 0},
                             {Text2, 2},   {Text2, 1}, {Text2, 0},  {Command1},
                             {Command2},   {Command3}, {Option1, 0}};
  for (const ControlId id : order) {
    PressKey(VK_TAB);
    EXPECT_TRUE(t.HasFocus(id)) << DisplayName(id);
  }
  PressKey(VK_TAB, true);
  EXPECT_TRUE(t.HasFocus({Command3}));
  // Tab into a field selects its text.
  t.Enter({Text1, 1}, L"12");
  PressKey(VK_TAB, true);
  PressKey(VK_TAB);
  ASSERT_TRUE(t.HasFocus({Text1, 1}));
  EXPECT_TRUE(WaitFor([&t] {
    DWORD start = 1;
    DWORD end = 0;
    SendMessageW(t.Control({Text1, 1}), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return start == 0 && end == 2;
  }));
}

// An arrow key moves within a frame both ways round and chooses the option it
// reaches; on a button it does nothing, and Tab enters a frame at its choice.
TEST(Tavolen, ArrowKeysInFramesAndOnButtons) {
  const struct {
    WORD key;
    bool shift;
    ControlId focus;
  } steps[] = {
      {VK_RIGHT, false, {Option1, 1}}, {VK_DOWN, false, {Option1, 2}},
      {VK_LEFT, false, {Option1, 1}},  {VK_UP, false, {Option1, 0}},
      {VK_UP, false, {Option1, 3}},    {VK_RIGHT, false, {Option1, 0}},
      {VK_LEFT, false, {Option1, 3}},  {VK_TAB, false, {Option2, 0}},
      {VK_DOWN, false, {Option2, 1}},  {VK_UP, false, {Option2, 0}},
      {VK_LEFT, false, {Option2, 1}},  {VK_RIGHT, false, {Option2, 0}},
      {VK_UP, false, {Option2, 1}},    {VK_TAB, true, {Option1, 3}},
      {VK_TAB, true, {Command3}},      {VK_LEFT, false, {Command3}},
      {VK_UP, false, {Command3}},      {VK_RIGHT, false, {Command3}},
      {VK_DOWN, false, {Command3}},    {VK_TAB, false, {Option1, 3}},
  };
  const Tavolen t;
  for (const auto& step : steps) {
    PressKey(step.key, step.shift);
    ASSERT_TRUE(t.HasFocus(step.focus)) << DisplayName(step.focus);
    if (IsOptionButton(step.focus)) {
      EXPECT_TRUE(t.Checked(step.focus)) << DisplayName(step.focus);
    }
  }
  EXPECT_EQ(t.Text({Label3}), "÷");
}

// Each field filled to its limit shows all its digits, first and last
// drawn inside the field, at either DPI; every field's digits as tall and as
// high in their box as every other's, so that a whole part stands level with
// its fraction.
TEST(Tavolen, FullFieldsShownWhole) {
  for (const DWORD dpi : {DWORD{96}, DWORD{192}}) {
    const Tavolen t(dpi);
    // The window's own DPI shows in its size; Wine answers GetDpiForWindow with the caller's.
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
      t.Enter(def.id, std::wstring(static_cast<std::size_t>(FieldLimit(def.id)), L'9'));
      HWND field = t.Control(def.id);
      const RECT client = ClientOnScreen(field);
      const int width = client.right - client.left;
      RECT ink{};
      short firstDigit = 0;
      EXPECT_TRUE(WaitFor([&] {
        ink = InkBounds(client, COLOR_WINDOW);
        firstDigit = static_cast<short>(LOWORD(SendMessageW(field, EM_POSFROMCHAR, 0, 0)));
        return firstDigit >= 0 && ink.left >= 1 && ink.right <= width - 2;
      })) << DisplayName(def.id)
          << " at " << dpi << " DPI: first digit at " << firstDigit << ", ink from " << ink.left
          << " to " << ink.right << " of " << width;
      const std::pair rows{ink.top, ink.bottom};
      EXPECT_EQ(rows, firstRows.value_or(rows))
          << DisplayName(def.id) << " at " << dpi << " DPI: ink rows against the first field's";
      firstRows = firstRows.value_or(rows);
    }
  }
}

// What typing leaves in a field, and what leaving it makes of that.
TEST(Tavolen, FieldsLimitAndCleanUp) {
  const struct {
    ControlId field;
    const wchar_t* typed;
    const char* shown;
    const char* left;
  } rows[] = {
      {{Text1, 2}, L"12345", "123", "123"}, {{Text1, 1}, L"123456", "1234", "1234"},
      {{Text2, 0}, L"-", "-", ""},          {{Text2, 2}, L"3.7", "3.7", "4"},
      {{Text2, 1}, L"2.5", "2.5", "2"},     {{Text1, 0}, L"-5", "-5", "5"},
      {{Text1, 2}, L"abc", "abc", "0"},
  };
  const Tavolen t;
  for (const auto& row : rows) {
    t.ClickAndSelect(row.field);
    TypeText(row.typed);
    EXPECT_TRUE(t.Shows(row.field, row.shown)) << DisplayName(row.field) << " " << row.shown;
    PressKey(VK_TAB);
    EXPECT_TRUE(t.Shows(row.field, row.left)) << DisplayName(row.field) << " " << row.shown;
  }
}

// Each box is owned by the window, which takes no input while it is up and
// shows what the handler had written by then. The overflow box comes the same
// way (the golden overflow script has it).
TEST(Tavolen, MessageBoxesOverTheWindow) {
  const struct {
    const char* name;
    std::vector<std::pair<ControlId, const wchar_t*>> entries;
    ControlId operation;
    const char* prompt;
    const char* behind;
    const char* after;
  } rows[] = {
      {"zero denominator",
       {{{Text1, 1}, L"1"}, {{Text1, 0}, L"0"}},
       {Option1, 0},
       "分母を１以上の整数にしてください。",
       "|||",
       "|||"},
      {"division by zero",
       {{{Text1, 2}, L"5"}},
       {Option1, 3},
       "0で割り算しようとしています。",
       "|||",
       "|||"},
  };
  for (const auto& row : rows) {
    const Tavolen t;
    t.Click(row.operation);
    for (const auto& [field, text] : row.entries) {
      t.Enter(field, text);
    }
    t.Click({Command1});
    HWND box = t.MessageBoxShown();
    ASSERT_NE(box, nullptr) << row.name;
    const BoxContents contents = ReadBox(box);
    EXPECT_EQ(contents.title, kErrorTitle) << row.name;
    EXPECT_EQ(contents.text, row.prompt) << row.name;
    EXPECT_FALSE(IsWindowEnabled(t.window())) << row.name;
    EXPECT_EQ(t.Answer(), row.behind) << row.name;
    CloseBox(t, box);
    EXPECT_TRUE(t.ShowsAnswer(row.after)) << row.name;
  }
}

// The version box three ways: the menu by mouse, Alt and F10.
TEST(Tavolen, VersionBoxFromTheMenu) {
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

TEST(Tavolen, ExitsByButtonMenuAndCloseBox) {
  const std::function<void(const Tavolen&)> ways[] = {
      [](const Tavolen& t) { t.Click({Command3}); },
      [](const Tavolen& t) { t.ClickMenu(0); },
      [](const Tavolen& t) { ClickAt(CloseBoxOf(t.window())); },
  };
  for (const auto& exit : ways) {
    const Tavolen t;
    exit(t);
    EXPECT_TRUE(t.Ended());
  }
}

// (999 9998/9999)^2 = 99979981002001/99980001 (exact fractions): shown whole
// in its label, and read whole in words.
TEST(Tavolen, LongAnswerShownWhole) {
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
// longer black, and keeping their numbers.
TEST(Tavolen, PreviousAnswerDrawnGrey) {
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
      {"operator changed",
       [&t] {
         t.Click({Option1, 2});
       },
       true},
      {"operator back",
       [&t] {
         t.Click({Option1, 0});
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
TEST(Tavolen, AccessibleNamesAndRoles) {
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
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  for (const auto& row : rows) {
    IAccessible* object = nullptr;
    ASSERT_EQ(AccessibleObjectFromWindow(t.Control(row.id), static_cast<DWORD>(OBJID_CLIENT),
                                         IID_IAccessible, reinterpret_cast<void**>(&object)),
              S_OK);
    VARIANT role{};
    object->get_accRole(self, &role);
    if (!wine || row.role == ROLE_SYSTEM_TEXT) {
      EXPECT_EQ(role.lVal, row.role) << DisplayName(row.id);
    }
    if (!wine) {
      BSTR name = nullptr;
      object->get_accName(self, &name);
      EXPECT_EQ(Utf8Of(name != nullptr ? name : L""), AccessibleNameOf(row.id));
      SysFreeString(name);
      VARIANT state{};
      object->get_accState(self, &state);
      EXPECT_EQ((state.lVal & STATE_SYSTEM_CHECKED) != 0, t.Checked(row.id));
    }
    object->Release();
  }
  if (wine) {
    std::printf(
        "note: under Wine, MSAA names and the roles and states of buttons are not checked\n");
  }
  CoUninitialize();
}

// The 途中式 window's lines as a screen reader names them, top first.
std::vector<std::string> WorkingLineNames(HWND working) {
  std::vector<std::string> names;
  for (int id = kWorkingFirstLineId; HWND line = GetDlgItem(working, id); ++id) {
    names.push_back(AccessibleName(line));
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
TEST(Tavolen, WorkingFromTheAnswerMenu) {
  const std::vector<std::string> workedLines = {
      "1と2分の1 たす 2と3分の1", "2分の3 たす 3分の7、仮分数に直す",
      "6分の9 たす 6分の14、通分する", "6分の23、計算する", "3と6分の5、帯分数に直す"};
  const std::string workedText =
      "1 1/2 ＋ 2 1/3\r\n= 3/2 ＋ 7/3（仮分数に直す）\r\n= 9/6 ＋ 14/6（通分する）\r\n"
      "= 23/6（計算する）\r\n= 3 5/6（帯分数に直す）\r\n";
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
  ClearClipboard();
  PressWith(VK_CONTROL, 'C');
  EXPECT_EQ(OnClipboard("3 5/6"), "3 5/6");
  t.ChooseFromAnswerMenu([] { PressKey(VK_F10, true); }, 2);
  EXPECT_EQ(OnClipboard(workedText), workedText);
  RECT answer{};
  GetWindowRect(t.Control({Label1, 2}), &answer);
  t.ChooseFromAnswerMenu([&] { RightClickAt(CentreOf(answer)); }, 1);
  HWND working = t.WorkingWindow();
  ASSERT_NE(working, nullptr);
  EXPECT_EQ(Utf8Of(TextOf(working)), kWorkingWindowCaption);
  EXPECT_EQ(WorkingLineNames(working), workedLines);
  ClearClipboard();
  PressKey(VK_SPACE);  // on コピー
  EXPECT_EQ(OnClipboard(workedText), workedText);
  // The answer form and 消す redraw it.
  t.Click({Option2, 1});
  EXPECT_TRUE(WaitFor([&] { return WorkingLineNames(working).size() == 4; }));
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
TEST(Tavolen, WorkingDetailsOneLineAtATime) {
  const std::string detailedText =
      "1 1/2 ＋ 2 1/3\r\n= (1×2＋1)/2 ＋ (2×3＋1)/3\r\n= 3/2 ＋ 7/3（仮分数に直す）\r\n"
      "= (3×3)/(2×3) ＋ (7×2)/(3×2)\r\n= 9/6 ＋ 14/6（通分する）\r\n= (9＋14)/6\r\n"
      "= 23/6（計算する）\r\n= 3 5/6（帯分数に直す）\r\n";
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
  EXPECT_TRUE(shows(8));
  PressKey(VK_TAB);
  PressKey(VK_TAB);
  ASSERT_TRUE(focusIs(kWorkingCopyId));
  ClearClipboard();
  PressKey(VK_SPACE);
  EXPECT_EQ(OnClipboard(detailedText), detailedText);
  HWND next = GetDlgItem(working, kWorkingNextLineId);
  EXPECT_FALSE(IsWindowVisible(next));
  t.Click({Command1});
  EXPECT_TRUE(shows(1));
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(next); }));
  t.Click({Option1, 2});  // another operator: the working is now the previous calculation's
  ASSERT_TRUE(WaitFor([&t] { return t.Text({Label3}) == "×"; }));
  SetForegroundWindow(working);
  ASSERT_TRUE(focusIs(kWorkingCopyId));
  PressKey(VK_TAB);
  ASSERT_TRUE(focusIs(kWorkingNextLineId));
  PressKey(VK_RETURN);
  EXPECT_TRUE(shows(2));  // the detail of 仮分数に直す
  EXPECT_EQ(WorkingLineNames(working).back(),
            "前の計算の途中式、分母 2、分子 1かける2たす1 たす 分母 3、分子 2かける3たす1");
  PressKey(VK_RETURN);
  EXPECT_TRUE(shows(3));
  PressKey(VK_TAB);
  ASSERT_TRUE(focusIs(kWorkingShowAllId));
  PressKey(VK_SPACE);
  EXPECT_TRUE(shows(8));
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(next); }));
  EXPECT_TRUE(focusIs(kWorkingCopyId));
  CoUninitialize();
}

}  // namespace
}  // namespace tavolen
