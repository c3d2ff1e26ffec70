// tavolen.exe driven from outside as a user and a screen reader meet it: the
// program started for one test, its windows read back with WM_GETTEXT, button
// states, the focused control, the pixels on screen and MSAA.
#pragma once

#include <windows.h>

#include <oleacc.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "tests/win32/input.h"
#include "win32/control_ids.h"
#include "win32/main_layout.h"
#include "win32/wide_text.h"
#include "window/answer_menu.h"
#include "window/controls.h"

namespace tavolen::testing {

// The first window of a fresh Wine prefix waits for Wine to build its caches.
inline constexpr std::chrono::milliseconds kStartPatience = 90s;

inline bool UnderWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

inline std::wstring TextOf(HWND window) {
  std::wstring text(1024, L'\0');
  const auto length =
      SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(length));
  return text;
}

// What a screen reader gets through MSAA for a window's client area.
struct Msaa {
  std::string name;
  long role = 0;
};

inline Msaa MsaaOf(HWND window) {
  Msaa msaa;
  IAccessible* object = nullptr;
  if (AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                 reinterpret_cast<void**>(&object)) != S_OK) {
    return msaa;
  }
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = nullptr;
  object->get_accName(self, &name);
  msaa.name = Utf8Of(name != nullptr ? name : L"");
  SysFreeString(name);
  VARIANT role{};
  object->get_accRole(self, &role);
  msaa.role = role.lVal;
  object->Release();
  return msaa;
}

// The live-region events the program raises, as a screen reader hears them:
// each is queued to this thread as a message, counted while waiting.
class LiveRegionEvents {
 public:
  LiveRegionEvents()
      : hook_(SetWinEventHook(EVENT_OBJECT_LIVEREGIONCHANGED, EVENT_OBJECT_LIVEREGIONCHANGED,
                              nullptr, &Heard, 0, 0, WINEVENT_OUTOFCONTEXT)) {}
  ~LiveRegionEvents() { UnhookWinEvent(hook_); }
  // Waits until at least count events have come; returns how many came.
  [[nodiscard]] int Count(int count) {
    WaitFor([&] {
      MSG message{};
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != 0) {
        count_ += message.message == kHeard ? 1 : 0;
        DispatchMessageW(&message);
      }
      return count_ >= count;
    });
    return count_;
  }

 private:
  static constexpr UINT kHeard = WM_APP + 7;
  static void CALLBACK Heard(HWINEVENTHOOK /*hook*/, DWORD /*event*/, HWND /*window*/,
                             LONG /*object*/, LONG /*child*/, DWORD /*thread*/, DWORD /*time*/) {
    PostThreadMessageW(GetCurrentThreadId(), kHeard, 0, 0);
  }
  HWINEVENTHOOK hook_;
  int count_ = 0;
};

inline POINT CentreOf(const RECT& rect) {
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// The smallest box of a screen rectangle, in its own coordinates, that holds
// every pixel of ink (darker than the paper colour by more than `darker`);
// all -1 for none.
inline RECT InkBounds(const RECT& rect, int paperColour, int darker = 64) {
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
inline std::pair<int, int> InkColumns(const RECT& rect, int paperColour, int darker = 64) {
  const RECT ink = InkBounds(rect, paperColour, darker);
  return {ink.left, ink.right};
}

// The same for a whole control on the face colour.
inline std::pair<int, int> InkColumns(HWND control, int darker = 64) {
  RECT rect{};
  GetWindowRect(control, &rect);
  return InkColumns(rect, COLOR_BTNFACE, darker);
}

inline RECT ClientOnScreen(HWND control) {
  RECT rect{};
  GetClientRect(control, &rect);
  MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// tavolen.exe from beside this program, started for one test and ended with it.
class Tavolen {
 public:
  Tavolen() {
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
    return GetDlgItem(InAnswerArea(id) ? GetDlgItem(window_, kAnswerAreaId) : window_,
                      ChildIdOf(id));
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
    PressKey(VK_END, VK_SHIFT);
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
      answer += (i == 0 ? "" : "|") + Text({ControlName::Label1, i});
    }
    return answer;
  }
  [[nodiscard]] bool ShowsAnswer(std::string_view answer) const {
    return WaitFor([&] { return Answer() == answer; });
  }

  // A window of the class owned by the main window once it is shown (a
  // message box, the 途中式 window); null when none comes.
  [[nodiscard]] HWND Shown(const wchar_t* windowClass) const {
    HWND shown = nullptr;
    const bool up = WaitFor([&] {
      return (shown = FindInProcess(windowClass, window_)) != nullptr && IsWindowVisible(shown);
    });
    return up ? shown : nullptr;
  }
  [[nodiscard]] HWND MessageBoxShown() const { return Shown(L"#32770"); }
  [[nodiscard]] HWND WorkingWindow() const { return Shown(L"Tavolen.Working"); }
  // Opens the answer area's menu with `open` and chooses the command by keys,
  // counting up from the last.
  void ChooseFromAnswerMenu(const std::function<void()>& open, AnswerCommand command) const {
    open();
    ASSERT_TRUE(WaitFor([this] {
      HWND menu = FindInProcess(L"#32768", nullptr);
      return menu != nullptr && IsWindowVisible(menu) && InMenuMode();
    }));
    for (auto i = static_cast<int>(command); i <= static_cast<int>(AnswerCommand::CheckAnswer);
         ++i) {
      PressKey(VK_UP);
    }
    PressKey(VK_RETURN);
  }
  // The running window's DPI changed, as when it is moved to another monitor:
  // the message's rectangle stands at the same address, far from where
  // either program allocates, in both processes, so that it reads the same
  // whether or not the system copies it across.
  void ChangeDpi(UINT dpi) const {
    RECT frame{};
    GetWindowRect(window_, &frame);
    constexpr auto kFlags = MEM_COMMIT | MEM_RESERVE;
    auto* const at = reinterpret_cast<void*>(std::uintptr_t{0x5a5a00000000});
    ASSERT_EQ(VirtualAlloc(at, sizeof frame, kFlags, PAGE_READWRITE), at);
    ASSERT_EQ(VirtualAllocEx(process_.hProcess, at, sizeof frame, kFlags, PAGE_READWRITE), at);
    *static_cast<RECT*>(at) = frame;
    WriteProcessMemory(process_.hProcess, at, &frame, sizeof frame, nullptr);
    SendMessageW(window_, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(at));
    VirtualFree(at, 0, MEM_RELEASE);
    VirtualFreeEx(process_.hProcess, at, 0, MEM_RELEASE);
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

// The box's title, its text (the static with text; the icon's has none) and its button.
inline BoxContents ReadBox(HWND box) {
  BoxContents contents{Utf8Of(TextOf(box)), {}, FindWindowExW(box, nullptr, L"Button", nullptr)};
  for (HWND text = nullptr; (text = FindWindowExW(box, text, L"Static", nullptr)) != nullptr;) {
    contents.text = TextOf(text).empty() ? contents.text : Utf8Of(TextOf(text));
  }
  return contents;
}

// Closes a box with Enter on its OK button and waits until the window takes input again.
inline void CloseBox(const Tavolen& t, HWND box) {
  // A box takes keys once it is active with the focus on its button; a click
  // could still miss it while the window manager places it.
  ASSERT_TRUE(
      WaitFor([&] { return GetForegroundWindow() == box && t.Focused() == ReadBox(box).ok; }));
  PressKey(VK_RETURN);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(box) && IsWindowEnabled(t.window()); }));
}

}  // namespace tavolen::testing
