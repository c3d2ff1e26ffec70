// The window procedure and class of a window whose object is passed to
// CreateWindowExW as its creation parameter: the object learns its handle at
// WM_NCCREATE, before any other message, and takes every message from then on
// in OnMessage until WM_NCDESTROY.
#pragma once

#include <windows.h>

#include "win32/resource_ids.h"

namespace tavolen {

// Window must befriend this function for its `window_` and `OnMessage`.
template <typename Window>
LRESULT CALLBACK ObjectWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) {
    return DefWindowProcW(window, message, wParam, lParam);
  }
  if (message == WM_NCDESTROY) {
    // The window's last message: nothing after it may reach the object.
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
    return 0;
  }
  return self->OnMessage(message, wParam, lParam);
}

// Registers the class `name` of Window's windows: the program's icon, the arrow
// cursor and the face colour behind the controls.
template <typename Window>
void RegisterObjectWindowClass(HINSTANCE instance, const wchar_t* name) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = &ObjectWindowProc<Window>;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(TAVOLEN_ICON));
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = name;
  RegisterClassExW(&windowClass);
}

}  // namespace tavolen
