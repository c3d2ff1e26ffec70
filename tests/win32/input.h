// Input as the user gives it, through SendInput: keys, typed characters and
// the mouse; and the clipboard the program copies to.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "win32/wide_text.h"

namespace tavolen::testing {

using namespace std::chrono_literals;

inline constexpr std::chrono::milliseconds kPatience = 10s;

inline bool WaitFor(const std::function<bool()>& condition,
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

inline void Send(std::vector<INPUT> inputs) {
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// A key, or a typed character with KEYEVENTF_UNICODE, going down or up.
inline INPUT KeyInput(WORD key, bool up, DWORD flags = 0) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  const bool arrow = key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN;
  if ((flags & KEYEVENTF_UNICODE) != 0) {
    input.ki.wScan = key;
  } else {
    input.ki.wVk = key;
  }
  input.ki.dwFlags =
      flags | (up ? KEYEVENTF_KEYUP : 0U) | (arrow && flags == 0 ? KEYEVENTF_EXTENDEDKEY : 0U);
  return input;
}

// A key pressed while a modifier (VK_SHIFT, VK_CONTROL, VK_MENU; none for 0) is held.
inline void PressKey(WORD key, WORD modifier = 0) {
  if (modifier != 0) {
    Send({KeyInput(modifier, false), KeyInput(key, false), KeyInput(key, true),
          KeyInput(modifier, true)});
  } else {
    Send({KeyInput(key, false), KeyInput(key, true)});
  }
}

// Each character as a Unicode key press, as an on-screen keyboard types.
inline void TypeText(std::wstring_view text) {
  std::vector<INPUT> inputs;
  for (const wchar_t c : text) {
    inputs.push_back(KeyInput(c, false, KEYEVENTF_UNICODE));
    inputs.push_back(KeyInput(c, true, KEYEVENTF_UNICODE));
  }
  Send(inputs);
}

inline INPUT MouseInput(POINT at, DWORD action) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = action | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  return input;
}

// Returns once the system has the pointer there: a click sent before the
// pointer arrived would land where it was.
inline void MovePointer(POINT at) {
  Send({MouseInput(at, 0)});
  WaitFor([at] {
    POINT now{};
    GetCursorPos(&now);
    return std::abs(now.x - at.x) <= 1 && std::abs(now.y - at.y) <= 1;
  });
}

// The press and release carry the point too, so nothing can move the pointer between them.
inline void ClickAt(POINT at, bool right = false) {
  MovePointer(at);
  Send({MouseInput(at, right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN),
        MouseInput(at, right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP)});
}

// The clipboard's Unicode text; empty when it holds none or cannot be opened.
inline std::string ClipboardText() {
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

inline bool ClearClipboard() {
  const bool opened = WaitFor([] { return OpenClipboard(nullptr) != 0; });
  return opened && EmptyClipboard() != 0 && CloseClipboard() != 0;
}

// Waits for the text on the clipboard; returns what is there.
inline std::string OnClipboard(std::string_view text) {
  WaitFor([text] { return ClipboardText() == text; });
  return ClipboardText();
}

}  // namespace tavolen::testing
