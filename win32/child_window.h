// Making a child control and reading its text, the same in every window.
#pragma once

#include <string>

#include <windows.h>

namespace tavolen {

// A child control of parent with the id the parent's commands know it by,
// placed later by the parent's layout.
inline HWND CreateChild(HWND parent, const wchar_t* windowClass, const wchar_t* text, int id,
                        DWORD style, DWORD exStyle = 0) {
  return CreateWindowExW(exStyle, windowClass, text, WS_CHILD | style, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)),
                         nullptr);
}

[[nodiscard]] inline std::wstring TextOf(HWND control) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return text;
}

}  // namespace tavolen
