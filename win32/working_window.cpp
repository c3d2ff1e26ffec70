#include "win32/working_window.h"

#include <algorithm>
#include <utility>

#include <commctrl.h>

#include "win32/child_window.h"
#include "win32/clipboard.h"
#include "win32/control_ids.h"
#include "win32/fonts.h"
#include "win32/line_painter.h"
#include "win32/main_layout.h"
#include "win32/wide_text.h"
#include "window/accessible_text.h"
#include "window/controls.h"
#include "window/working.h"

namespace tavolen {
namespace {

constexpr wchar_t kClassName[] = L"Tavolen.Working";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr FontDef kFont{kGothicFace, 1200, false};
// Pixels at 96 DPI: around the contents, between buttons side by side, and
// between the main window and this one.
constexpr int kMargin = 8;
constexpr int kButtonGap = 6;
// Room for the title in the title bar, in line heights, whatever the working's width.
constexpr int kTitleLines = 16;

bool IsPushButton(HWND control) {
  const auto code = SendMessageW(control, WM_GETDLGCODE, 0, 0);
  return (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

}  // namespace

WorkingWindow::WorkingWindow(HWND owner, const Form1& form,
                             const AccessibleAnnotations& annotations)
    : form_(form), annotations_(annotations), owner_(owner) {
  Create(owner);
}

WorkingWindow::~WorkingWindow() {
  check_.reset();
  if (window_ != nullptr) {
    DestroyWindow(window_);
  }
}

void WorkingWindow::Create(HWND owner) {
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE));
  RegisterObjectWindowClass<WorkingWindow>(instance, kClassName);
  CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, WideOf(kWorkingWindowCaption).c_str(), kStyle,
                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                  instance, this);
  dpi_ = GetDpiForWindow(window_);
  font_ = CreateControlFont(kFont, dpi_);
  // In tab order, top down.
  nextLine_ = AddButton(kWorkingNextLineId, kNextLineCaption, BS_PUSHBUTTON);
  showAll_ = AddButton(kWorkingShowAllId, kShowAllCaption, BS_PUSHBUTTON);
  details_ = AddButton(kWorkingDetailsId, kDetailsCaption, BS_CHECKBOX);
  oneLine_ = AddButton(kWorkingOneLineId, kOneLineAtATimeCaption, BS_CHECKBOX);
  keepMixed_ = AddButton(kWorkingKeepMixedId, kKeepMixedCaption, BS_CHECKBOX);
  copy_ = AddButton(kWorkingCopyId, kCopyCaption, BS_PUSHBUTTON);
  lines_ = std::make_unique<WorkingLinesPart>(window_, view_, annotations_);
  check_ = std::make_unique<AnswerCheckPart>(window_, annotations_);
  SetFonts();
  Follow();
}

// A check box is checked from the view, never by itself.
HWND WorkingWindow::AddButton(int id, std::string_view caption, DWORD style) {
  return CreateChild(window_, WC_BUTTONW, WideOf(caption).c_str(), id, WS_TABSTOP | style);
}

void WorkingWindow::SetFonts() const {
  for (HWND control : {nextLine_, showAll_, details_, oneLine_, keepMixed_, copy_}) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  }
  lines_->SetFont(font_.get(), dpi_);
  check_->SetFont(font_.get());
}

bool WorkingWindow::IsOpen() const {
  return window_ != nullptr && IsWindowVisible(window_) != 0;
}

void WorkingWindow::Open() {
  Follow();
  if (!IsOpen()) {
    PlaceBesideOwner();
    ShowWindow(window_, SW_SHOW);
    view_.SetShown(true);
    PostMessageW(owner_, kWorkingChangedMessage, 0, 0);
  }
  SetForegroundWindow(window_);
}

void WorkingWindow::OpenToCheck() {
  Open();
  check_->FocusField();
  lastFocus_ = GetFocus();
}

void WorkingWindow::Follow() {
  check_->Update(form_);
  view_.Follow(WorkingOf(form_));
  Refresh();
}

bool WorkingWindow::TakeDialogMessage(MSG& message) {
  return IsOpen() && IsDialogMessageW(window_, &message) != 0;
}

// The lines are grey while the inputs no longer match them.
void WorkingWindow::Refresh() {
  const bool changed = lines_->Update(form_.AnswerIsStale());
  const auto check = [](HWND box, bool on) {
    SendMessageW(box, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
  };
  check(details_, view_.details());
  check(oneLine_, view_.oneLineAtATime());
  check(keepMixed_, view_.keepMixed());
  // A button that goes hands the focus to コピー.
  HWND focus = GetFocus();
  const int more = view_.OffersMore() ? SW_SHOWNA : SW_HIDE;
  ShowWindow(nextLine_, more);
  ShowWindow(showAll_, more);
  for (HWND button : {details_, oneLine_, keepMixed_, copy_}) {
    ShowWindow(button, SW_SHOWNA);
  }
  if (IsChild(window_, focus) && !IsWindowVisible(focus)) {
    SetFocus(copy_);
  }
  Layout();
  if (changed && IsOpen()) {
    lines_->AnnounceRevealed();
  }
}

int WorkingWindow::Scaled(int pixels) const {
  return ScaledToDpi(pixels, dpi_);
}

// The lines, 次の行 and すべて表示 below them while there is more, then
// くわしく, 1行ずつ and 帯分数のまま with コピー at the right, and the
// 答え合わせ part at the bottom; the window fits around them.
void WorkingWindow::Layout() {
  const WindowDc dc(window_);
  const SelectedFont selected(dc.get(), font_.get());
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc.get(), &metrics);
  const int textHeight = metrics.tmHeight;
  const int buttonHeight = textHeight + Scaled(10);
  const int margin = Scaled(kMargin);
  const int gap = Scaled(kButtonGap);
  const auto buttonWidth = [&](std::string_view caption) {
    return WidthOf(dc.get(), WideOf(caption)) + 2 * textHeight;
  };
  const auto boxWidth = [&](std::string_view caption) {
    return GetSystemMetricsForDpi(SM_CXMENUCHECK, dpi_) + Scaled(6) +
           WidthOf(dc.get(), WideOf(caption));
  };
  const auto place = [](HWND control, int x, int top, int w, int h) {
    MoveWindow(control, x, top, w, h, TRUE);
    return x + w;
  };
  int width = std::max(
      {kTitleLines * textHeight, lines_->Width(dc.get()), check_->RowWidth(dc.get(), textHeight)});
  int y = lines_->Layout(margin, margin, width, textHeight);
  if (view_.OffersMore()) {
    y += gap;
    const int next = place(nextLine_, margin, y, buttonWidth(kNextLineCaption), buttonHeight);
    place(showAll_, next + gap, y, buttonWidth(kShowAllCaption), buttonHeight);
    y += buttonHeight;
  }
  y += margin;
  int x = margin;
  for (const auto& [box, caption] : {std::pair{details_, kDetailsCaption},
                                     {oneLine_, kOneLineAtATimeCaption},
                                     {keepMixed_, kKeepMixedCaption}}) {
    x = place(box, x, y, boxWidth(caption), buttonHeight) + 2 * gap;
  }
  const int copyWidth = buttonWidth(kCopyCaption);
  width = std::max(width, x + copyWidth - margin);
  place(copy_, margin + width - copyWidth, y, copyWidth, buttonHeight);
  y = check_->Layout(dc.get(), margin, y + buttonHeight + margin, width, buttonHeight);
  RECT frame{0, 0, width + 2 * margin, y + margin};
  AdjustWindowRectExForDpi(&frame, kStyle, FALSE, WS_EX_CONTROLPARENT, dpi_);
  SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(window_, nullptr, TRUE);
}

// On the right of the owner, or on its left where the screen ends there.
void WorkingWindow::PlaceBesideOwner() {
  RECT owner{};
  GetWindowRect(owner_, &owner);
  RECT self{};
  GetWindowRect(window_, &self);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(owner_, MONITOR_DEFAULTTONEAREST), &monitor);
  const int x =
      BesideOwnerLeft(owner.left, owner.right, self.right - self.left, Scaled(kBesideGapPixels),
                      monitor.rcWork.left, monitor.rcWork.right);
  SetWindowPos(window_, nullptr, x, owner.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void WorkingWindow::Close() {
  const bool active = GetActiveWindow() == window_;
  ShowWindow(window_, SW_HIDE);
  view_.SetShown(false);
  if (active) {
    SetActiveWindow(owner_);
  }
  PostMessageW(owner_, kWorkingChangedMessage, 0, 0);
}

void WorkingWindow::OnCommand(int id) {
  switch (id) {
    case kWorkingCopyId:
      CopyToClipboard(window_, view_.PlainText());
      return;
    case kWorkingDetailsId:
      view_.SetDetails(!view_.details());
      break;
    case kWorkingOneLineId:
      view_.SetOneLineAtATime(!view_.oneLineAtATime());
      break;
    case kWorkingKeepMixedId:
      view_.SetKeepMixed(!view_.keepMixed());
      break;
    case kWorkingNextLineId:
      view_.ShowNextLine();
      break;
    case kWorkingShowAllId:
      view_.ShowAll();
      break;
    default:
      return;
  }
  Refresh();
  PostMessageW(owner_, kWorkingChangedMessage, 0, 0);
}

// Enter: the focused button clicks, as Space makes it do; in 自分の答え it checks.
void WorkingWindow::OnEnter() {
  HWND focus = GetFocus();
  if (check_->OnEnter(focus, form_)) {
    Layout();
  } else if (IsChild(window_, focus) && IsPushButton(focus)) {
    SendMessageW(window_, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(focus), BN_CLICKED),
                 reinterpret_cast<LPARAM>(focus));
  }
}

void WorkingWindow::OnDpiChanged(UINT dpi, const RECT& suggested) {
  dpi_ = dpi;
  font_ = CreateControlFont(kFont, dpi_);
  SetFonts();
  Layout();
  SetWindowPos(window_, nullptr, suggested.left, suggested.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT WorkingWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL) {  // Escape
        Close();
      } else if (LOWORD(wParam) == IDOK) {
        OnEnter();
      } else if (check_ && check_->OnCommand(LOWORD(wParam), HIWORD(wParam), form_)) {
        Layout();
      } else if (HIWORD(wParam) == BN_CLICKED) {
        OnCommand(LOWORD(wParam));
      }
      return 0;
    case WM_DRAWITEM:
      lines_->Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      auto* dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_ACTIVATE:
      // The focus comes back to the control that had it.
      if (LOWORD(wParam) == WA_INACTIVE) {
        if (HWND focus = GetFocus(); IsChild(window_, focus)) {
          lastFocus_ = focus;
        }
      } else {
        SetFocus(IsWindowVisible(lastFocus_) ? lastFocus_ : copy_);
      }
      return 0;
    case WM_CLOSE:
      Close();
      return 0;
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_DESTROY:
      if (lines_) {
        lines_->Forget();
      }
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

}  // namespace tavolen
