#include "win32/working_window.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include <commctrl.h>

#include "win32/control_ids.h"
#include "win32/fonts.h"
#include "win32/resource_ids.h"
#include "win32/wide_text.h"
#include "window/accessible_text.h"
#include "window/controls.h"

namespace tavolen {
namespace {

constexpr wchar_t kClassName[] = L"Tavolen.Working";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr FontDef kFont{kGothicFace, 1200, false};
// Pixels at 96 DPI: around the contents, between a fraction's bar and its
// digits, and between the main window and this one.
constexpr int kMargin = 8;
constexpr int kBarGap = 2;
constexpr int kBesideGap = 8;
// Room for the title in the title bar, in line heights, whatever the working's width.
constexpr int kTitleLines = 16;

// A run of text on the line, or a fraction stacked over its bar.
struct Piece {
  std::wstring text;
  std::wstring numerator;
  std::wstring denominator;
  bool spaceBefore = true;
};

void AddNumber(std::vector<Piece>& pieces, const WorkingNumber& number) {
  const std::wstring lead = WideOf(number.negative ? "-" : "") + WideOf(number.whole);
  if (!lead.empty()) {
    pieces.push_back({lead, {}, {}, true});
  }
  if (!number.denominator.empty()) {
    pieces.push_back({{}, WideOf(number.numerator), WideOf(number.denominator), lead.empty()});
  }
}

// A step as a pupil writes it: "= 3/2 ＋ 7/3", the problem without "=".
std::vector<Piece> PiecesOf(const WorkingStep& step, const bool first) {
  std::vector<Piece> pieces;
  if (!first) {
    pieces.push_back({L"=", {}, {}, false});
  }
  AddNumber(pieces, step.left);
  if (step.op) {
    pieces.push_back({WideOf(OperatorSymbol(*step.op)), {}, {}, true});
    AddNumber(pieces, step.right);
  }
  return pieces;
}

int WidthOf(HDC dc, std::wstring_view text) {
  SIZE size{};
  GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
  return size.cx;
}

// Measures and draws the pieces of a line in a device context with the font selected.
class LinePainter {
 public:
  LinePainter(HDC dc, int barGap, int barHeight)
      : dc_(dc), space_(WidthOf(dc, L" ")), barGap_(barGap), barHeight_(barHeight) {
    GetTextMetricsW(dc, &metrics_);
  }

  [[nodiscard]] int Space() const { return space_; }
  [[nodiscard]] int TextHeight() const { return metrics_.tmHeight; }

  [[nodiscard]] int WidthOfPiece(const Piece& piece) const {
    if (piece.denominator.empty()) {
      return WidthOf(dc_, piece.text);
    }
    return std::max(WidthOf(dc_, piece.numerator), WidthOf(dc_, piece.denominator)) + 2 * barGap_;
  }

  [[nodiscard]] int WidthOfPieces(const std::vector<Piece>& pieces) const {
    int width = 0;
    for (const Piece& piece : pieces) {
      width += Before(piece) + WidthOfPiece(piece);
    }
    return width;
  }

  // Draws the pieces with their bars on y = bar; returns where they end.
  int Draw(const std::vector<Piece>& pieces, int x, int bar, HBRUSH ink) const {
    for (const Piece& piece : pieces) {
      x += Before(piece);
      const int width = WidthOfPiece(piece);
      if (piece.denominator.empty()) {
        DrawOnLine(piece.text, x, bar);
      } else {
        const RECT line{x, bar, x + width, bar + barHeight_};
        FillRect(dc_, &line, ink);
        const auto centred = [&](const std::wstring& text, const int baseline) {
          TextOutW(dc_, x + (width - WidthOf(dc_, text)) / 2, baseline, text.c_str(),
                   static_cast<int>(text.size()));
        };
        centred(piece.numerator, bar - barGap_ - metrics_.tmDescent);
        centred(piece.denominator, bar + barHeight_ + barGap_ + metrics_.tmAscent);
      }
      x += width;
    }
    return x;
  }

  // Text on the line is centred on the fraction bars.
  void DrawOnLine(const std::wstring& text, int x, int bar) const {
    const int baseline = bar + (metrics_.tmAscent - metrics_.tmDescent) / 2;
    TextOutW(dc_, x, baseline, text.c_str(), static_cast<int>(text.size()));
  }

 private:
  [[nodiscard]] int Before(const Piece& piece) const { return piece.spaceBefore ? space_ : 1; }

  HDC dc_;
  TEXTMETRICW metrics_{};
  int space_;
  int barGap_;
  int barHeight_;
};

// Selects a font into a device context for as long as it lives.
class SelectedFont {
 public:
  SelectedFont(HDC dc, HFONT font) : dc_(dc), previous_(SelectObject(dc, font)) {}
  SelectedFont(const SelectedFont&) = delete;
  SelectedFont& operator=(const SelectedFont&) = delete;
  ~SelectedFont() { SelectObject(dc_, previous_); }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// The window's device context, released when done.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() { ReleaseDC(window_, dc_); }
  [[nodiscard]] HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

bool IsPushButton(HWND control) {
  const auto code = SendMessageW(control, WM_GETDLGCODE, 0, 0);
  return (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

}  // namespace

void CopyToClipboard(HWND owner, std::string_view text) {
  std::wstring wide;
  for (const wchar_t c : WideOf(text)) {
    if (c == L'\n') {
      wide += L'\r';
    }
    wide += c;
  }
  const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
  if (OpenClipboard(owner) == 0) {
    return;
  }
  EmptyClipboard();
  if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
    std::memcpy(GlobalLock(memory), wide.c_str(), bytes);
    GlobalUnlock(memory);
    // The clipboard owns the memory once it has taken it.
    if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) {
      GlobalFree(memory);
    }
  }
  CloseClipboard();
}

WorkingWindow::WorkingWindow(HWND owner, const AccessibleAnnotations& annotations)
    : annotations_(annotations), owner_(owner) {
  Create(owner);
}

WorkingWindow::~WorkingWindow() {
  if (window_ != nullptr) {
    DestroyWindow(window_);
  }
}

void WorkingWindow::Create(HWND owner) {
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE));
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = &WorkingWindow::WindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(TAVOLEN_ICON));
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = kClassName;
  RegisterClassExW(&windowClass);
  CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, WideOf(kWorkingWindowCaption).c_str(), kStyle,
                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                  instance, this);
  dpi_ = GetDpiForWindow(window_);
  font_ = CreateControlFont(kFont, dpi_);
  copy_ = CreateWindowExW(0, WC_BUTTONW, WideOf(kCopyCaption).c_str(),
                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0, 0, window_,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(kWorkingCopyId)), instance,
                          nullptr);
  SendMessageW(copy_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  Show({});
}

bool WorkingWindow::IsOpen() const {
  return window_ != nullptr && IsWindowVisible(window_) != 0;
}

void WorkingWindow::Open(const WorkingLines& working) {
  Show(working);
  if (!IsOpen()) {
    PlaceBesideOwner();
    ShowWindow(window_, SW_SHOW);
  }
  SetForegroundWindow(window_);
}

void WorkingWindow::Show(const WorkingLines& working) {
  std::string text = PlainText(working);
  if (text == shown_ && !lines_.empty()) {
    return;
  }
  shown_ = std::move(text);
  ClearLines();
  for (const WorkingStep& step : working.steps) {
    AddLine(step, StepWords(step));
  }
  if (working.stop || working.steps.empty()) {
    AddLine(std::nullopt, working.stop ? StopText(*working.stop) : std::string(kNoWorkingYet));
  }
  Layout();
}

bool WorkingWindow::TakeDialogMessage(MSG& message) {
  return IsOpen() && IsDialogMessageW(window_, &message) != 0;
}

void WorkingWindow::ClearLines() {
  for (const Line& line : lines_) {
    annotations_.Clear(line.control);
    DestroyWindow(line.control);
  }
  lines_.clear();
}

// A step is drawn by the window and named in words; a line of plain text
// draws and names itself.
void WorkingWindow::AddLine(std::optional<WorkingStep> step, const std::string& words) {
  const DWORD style = step ? SS_OWNERDRAW : (SS_LEFT | SS_NOPREFIX);
  const int id = kWorkingFirstLineId + static_cast<int>(lines_.size());
  HWND control = CreateWindowExW(
      0, WC_STATICW, WideOf(words).c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, window_,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
      reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window_, GWLP_HINSTANCE)), nullptr);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  annotations_.SetName(control, words);
  std::wstring text = step ? std::wstring() : WideOf(words);
  lines_.push_back({control, std::move(step), std::move(text), lines_.empty()});
}

int WorkingWindow::Scaled(int pixels) const {
  return MulDiv(pixels, static_cast<int>(dpi_), USER_DEFAULT_SCREEN_DPI);
}

// The lines top down, the step names in one column after the longest
// expression, and コピー at the bottom right; the window fits around them.
void WorkingWindow::Layout() {
  const WindowDc dc(window_);
  const SelectedFont selected(dc.get(), font_.get());
  const LinePainter painter(dc.get(), Scaled(kBarGap), Scaled(1));
  const int textHeight = painter.TextHeight();
  nameColumn_ = 0;
  for (const Line& line : lines_) {
    if (line.step) {
      nameColumn_ = std::max(nameColumn_, painter.WidthOfPieces(PiecesOf(*line.step, line.first)));
    }
  }
  int width = kTitleLines * textHeight;
  for (const Line& line : lines_) {
    if (!line.step) {
      width = std::max(width, WidthOf(dc.get(), line.text));
    } else if (!line.step->name.empty()) {
      width = std::max(
          width, nameColumn_ + 2 * painter.Space() + WidthOf(dc.get(), WideOf(line.step->name)));
    }
  }
  const int margin = Scaled(kMargin);
  int y = margin;
  for (const Line& line : lines_) {
    const int height = line.step ? 2 * textHeight + 3 * Scaled(kBarGap) : textHeight;
    MoveWindow(line.control, margin, y, width, height, TRUE);
    y += height;
  }
  const int buttonWidth = WidthOf(dc.get(), WideOf(kCopyCaption)) + 2 * textHeight;
  const int buttonHeight = textHeight + Scaled(10);
  y += margin;
  MoveWindow(copy_, margin + width - buttonWidth, y, buttonWidth, buttonHeight, TRUE);
  RECT frame{0, 0, width + 2 * margin, y + buttonHeight + margin};
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
  const int width = self.right - self.left;
  const int gap = Scaled(kBesideGap);
  const int right = owner.right + gap;
  const int left = owner.left - gap - width;
  const bool fitsRight = right + width <= monitor.rcWork.right;
  const int x = fitsRight || left < monitor.rcWork.left ? right : left;
  SetWindowPos(window_, nullptr, x, owner.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void WorkingWindow::DrawLine(const DRAWITEMSTRUCT& item) const {
  const auto line = std::ranges::find(lines_, item.hwndItem, &Line::control);
  if (line == lines_.end() || !line->step) {
    return;
  }
  FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
  const SelectedFont selected(item.hDC, font_.get());
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextAlign(item.hDC, TA_BASELINE | TA_LEFT | TA_NOUPDATECP);
  SetTextColor(item.hDC, GetSysColor(COLOR_BTNTEXT));
  const LinePainter painter(item.hDC, Scaled(kBarGap), std::max(1, Scaled(1)));
  const int bar = (item.rcItem.top + item.rcItem.bottom) / 2;
  const int end = painter.Draw(PiecesOf(*line->step, line->first), item.rcItem.left, bar,
                               GetSysColorBrush(COLOR_BTNTEXT));
  if (!line->step->name.empty()) {
    painter.DrawOnLine(WideOf(line->step->name), std::max(nameColumn_, end) + painter.Space(), bar);
  }
}

void WorkingWindow::Close() {
  const bool active = GetActiveWindow() == window_;
  ShowWindow(window_, SW_HIDE);
  if (active) {
    SetActiveWindow(owner_);
  }
}

void WorkingWindow::OnCommand(int id) {
  if (id == kWorkingCopyId) {
    CopyToClipboard(window_, shown_);
  }
}

void WorkingWindow::OnDpiChanged(UINT dpi, const RECT& suggested) {
  dpi_ = dpi;
  font_ = CreateControlFont(kFont, dpi_);
  SendMessageW(copy_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  for (const Line& line : lines_) {
    SendMessageW(line.control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  }
  Layout();
  SetWindowPos(window_, nullptr, suggested.left, suggested.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK WorkingWindow::WindowProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self =
        static_cast<WorkingWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<WorkingWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) {
    return DefWindowProcW(window, message, wParam, lParam);
  }
  return self->OnMessage(message, wParam, lParam);
}

LRESULT WorkingWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDCANCEL:  // Escape
          Close();
          break;
        case IDOK:  // Enter: the focused button clicks, as Space makes it do
          if (HWND focus = GetFocus(); IsChild(window_, focus) && IsPushButton(focus)) {
            OnCommand(GetDlgCtrlID(focus));
          }
          break;
        default:
          if (HIWORD(wParam) == BN_CLICKED) {
            OnCommand(LOWORD(wParam));
          }
          break;
      }
      return 0;
    case WM_DRAWITEM:
      DrawLine(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      auto* dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_ACTIVATE:
      // The focus comes back to the button that had it.
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
      for (const Line& line : lines_) {
        annotations_.Clear(line.control);
      }
      lines_.clear();
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
      window_ = nullptr;
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

}  // namespace tavolen
