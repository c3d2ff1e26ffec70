// The main window's controls under the keyboard and mouse: every key and
// click goes to the model, not to the dialog manager or the control's own
// handling, so that focus and clicks follow the model's rules.
#include "win32/main_window.h"

#include <optional>

#include <commctrl.h>

#include "win32/clipboard.h"

namespace tavolen {
namespace {

std::optional<Key> ArrowKey(WPARAM key) {
  switch (key) {
    case VK_LEFT:
      return Key::Left;
    case VK_RIGHT:
      return Key::Right;
    case VK_UP:
      return Key::Up;
    case VK_DOWN:
      return Key::Down;
    default:
      return std::nullopt;
  }
}

bool IsButton(ControlId id) {
  return IsCommandButton(id) || IsOptionButton(id);
}

bool ShiftHeld() {
  return (GetKeyState(VK_SHIFT) & 0x8000) != 0;
}

bool ControlHeld() {
  return (GetKeyState(VK_CONTROL) & 0x8000) != 0;
}

bool IsRepeat(LPARAM flags) {
  return (static_cast<unsigned long long>(flags) & (1ULL << 30U)) != 0;
}

bool LeftButtonHeld() {
  return (GetKeyState(VK_LBUTTON) & 0x8000) != 0;
}

}  // namespace

LRESULT CALLBACK MainWindow::ControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR /*subclass*/, DWORD_PTR data) {
  auto* self = reinterpret_cast<MainWindow*>(data);
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(control, &MainWindow::ControlProc, kSubclassId);
  } else if (message == WM_CTLCOLORSTATIC && control == self->answerArea_) {
    return self->OnMessage(message, wParam, lParam);
  } else if (View* view = self->ViewOf(control); view != nullptr && !self->form_.IsUnloaded()) {
    if (const std::optional<LRESULT> result =
            self->OnControlMessage(*view, message, wParam, lParam)) {
      return *result;
    }
  }
  return DefSubclassProc(control, message, wParam, lParam);
}

std::optional<LRESULT> MainWindow::OnControlMessage(View& view, UINT message, WPARAM wParam,
                                                    LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN:
      return OnKeyDown(view, wParam, lParam);
    case WM_KEYUP:
      // Space clicks on its release, once however long it was held.
      if (wParam == VK_SPACE && IsButton(view.id)) {
        if ((SendMessageW(view.control, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0) {
          SendMessageW(view.control, BM_SETSTATE, FALSE, 0);
          Dispatch([this] { form_.PressKey(Key::Space); });
        }
        return 0;
      }
      return std::nullopt;
    case WM_CHAR:
      // Tab and Enter went to the model as keys; a button takes no Space of its own.
      if (wParam == L'\t' || wParam == L'\r' || wParam == L'\n' ||
          (wParam == L' ' && IsButton(view.id))) {
        return 0;
      }
      return std::nullopt;
    case BM_CLICK:
      // What assistive technology does to press a button.
      if (IsButton(view.id)) {
        const ControlId id = view.id;
        Dispatch([this, id] { form_.Click(id); });
        return 0;
      }
      return std::nullopt;
    case WM_SETFOCUS:
      if (!syncing_ && view.id != form_.Focus()) {
        PostMessageW(window_, kRestoreFocus, 0, 0);
      }
      return std::nullopt;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      if (IsButton(view.id)) {
        return OnButtonMouse(view, message, lParam);
      }
      if (message == WM_LBUTTONDOWN && IsEntryField(view.id) && view.id != form_.Focus()) {
        const ControlId id = view.id;
        Dispatch([this, id] { form_.MoveFocus(id); });
        // A message box opened by the clean-up of the field left has taken the release.
        if (!LeftButtonHeld()) {
          return 0;
        }
      }
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

std::optional<LRESULT> MainWindow::OnKeyDown(const View& view, WPARAM key, LPARAM flags) {
  if (key == VK_TAB) {
    const bool back = ShiftHeld();
    Dispatch([this, back] { form_.PressKey(back ? Key::ShiftTab : Key::Tab); }, true);
    return 0;
  }
  if (key == VK_RETURN) {
    if (!IsRepeat(flags)) {
      Dispatch([this] { form_.PressKey(Key::Enter); });
    }
    return 0;
  }
  if (!IsButton(view.id)) {
    return std::nullopt;
  }
  if (const std::optional<Key> arrow = ArrowKey(key)) {
    Dispatch([this, arrow] { form_.PressKey(*arrow); });
    return 0;
  }
  if (TakesAnswerKeys(view.id) && ControlHeld() && (key == 'C' || key == VK_INSERT)) {
    CopyToClipboard(window_, AnswerText(form_));
    return 0;
  }
  // Shift+F10 comes to the window as a context menu message of its own.
  if (key == VK_APPS && TakesAnswerKeys(view.id)) {
    OnContextMenu(-1);
    return 0;
  }
  // Space shows the pressed look; the release clicks.
  if (key == VK_SPACE && IsCommandButton(view.id) && !IsRepeat(flags)) {
    SendMessageW(view.control, BM_SETSTATE, TRUE, 0);
  }
  // There is no cancel button, and Escape does not call off a held Space.
  return 0;
}

// The focus moves at the press; the click comes at the release, and only over
// the same button.
std::optional<LRESULT> MainWindow::OnButtonMouse(const View& view, UINT message, LPARAM lParam) {
  HWND button = view.control;
  const ControlId id = view.id;
  const bool captured = GetCapture() == button;
  RECT client{};
  GetClientRect(button, &client);
  const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  const bool over = PtInRect(&client, at) != 0;
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      Dispatch([this, id] { form_.Press(id); });
      // A message box opened by the press may have taken the release.
      if (!form_.IsUnloaded() && LeftButtonHeld()) {
        SetCapture(button);
        SendMessageW(button, BM_SETSTATE, TRUE, 0);
      }
      return 0;
    case WM_MOUSEMOVE:
      if (captured) {
        SendMessageW(button, BM_SETSTATE, over ? TRUE : FALSE, 0);
      }
      return 0;
    case WM_LBUTTONUP:
      if (captured) {
        ReleaseCapture();
        if (over) {
          Dispatch([this, id] { form_.Click(id); });
        }
      }
      return 0;
    default:  // WM_CAPTURECHANGED
      SendMessageW(button, BM_SETSTATE, FALSE, 0);
      return 0;
  }
}

}  // namespace tavolen
