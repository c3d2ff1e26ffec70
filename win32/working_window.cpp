#include "win32/working_window.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <type_traits>
#include <utility>

#include <commctrl.h>

#include "win32/control_ids.h"
#include "win32/fonts.h"
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

// A line as a pupil writes it: "= 3/2 ＋ 7/3", the problem without "=".
std::vector<Piece> PiecesOf(const WorkingLine& line) {
  std::vector<Piece> pieces;
  if (line.kind != WorkingLineKind::Problem) {
    pieces.push_back({L"=", {}, {}, false});
  }
  AddNumber(pieces, line.left);
  if (line.op) {
    pieces.push_back({WideOf(OperatorSymbol(*line.op)), {}, {}, true});
    AddNumber(pieces, line.right);
  }
  return pieces;
}

using BrushHandle = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiObjectDeleter>;

// The text colour taken 40% of the way to the face colour: set apart from
// the steps, and still well readable on the face (the system's grey text is
// for what cannot be used).
COLORREF Lighter(COLORREF ink) {
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  const auto mix = [](int from, int to) { return static_cast<BYTE>(from + (to - from) * 2 / 5); };
  return RGB(mix(GetRValue(ink), GetRValue(face)), mix(GetGValue(ink), GetGValue(face)),
             mix(GetBValue(ink), GetBValue(face)));
}

bool IsDrawn(const WorkingLine& line) {
  return line.kind != WorkingLineKind::Stop;
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
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (void* target = memory != nullptr ? GlobalLock(memory) : nullptr) {
    std::memcpy(target, wide.c_str(), bytes);
    GlobalUnlock(memory);
    // The clipboard owns the memory once it has taken it.
    if (SetClipboardData(CF_UNICODETEXT, memory) != nullptr) {
      memory = nullptr;
    }
  }
  if (memory != nullptr) {
    GlobalFree(memory);
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
  copy_ = AddButton(kWorkingCopyId, kCopyCaption, BS_PUSHBUTTON);
  Refresh();
}

// A check box is checked from the view, never by itself.
HWND WorkingWindow::AddButton(int id, std::string_view caption, DWORD style) {
  HWND button = CreateWindowExW(
      0, WC_BUTTONW, WideOf(caption).c_str(), WS_CHILD | WS_TABSTOP | style, 0, 0, 0, 0, window_,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
      reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window_, GWLP_HINSTANCE)), nullptr);
  SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  return button;
}

bool WorkingWindow::IsOpen() const {
  return window_ != nullptr && IsWindowVisible(window_) != 0;
}

void WorkingWindow::Open(const WorkingLines& working, const bool dimmed) {
  Show(working, dimmed);
  if (!IsOpen()) {
    PlaceBesideOwner();
    ShowWindow(window_, SW_SHOW);
  }
  SetForegroundWindow(window_);
}

void WorkingWindow::Show(const WorkingLines& working, const bool dimmed) {
  const bool dimming = dimmed != dimmed_;
  dimmed_ = dimmed;
  view_.Follow(working);
  Refresh();
  if (dimming) {
    NameLines();
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  }
}

bool WorkingWindow::TakeDialogMessage(MSG& message) {
  return IsOpen() && IsDialogMessageW(window_, &message) != 0;
}

void WorkingWindow::Refresh() {
  const bool changed = lines_.empty() || view_.PlainText() != built_;
  if (changed) {
    RebuildLines();
  }
  const auto check = [](HWND box, bool on) {
    SendMessageW(box, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
  };
  check(details_, view_.details());
  check(oneLine_, view_.oneLineAtATime());
  // A button that goes hands the focus to コピー.
  HWND focus = GetFocus();
  const int more = view_.OffersMore() ? SW_SHOWNA : SW_HIDE;
  ShowWindow(nextLine_, more);
  ShowWindow(showAll_, more);
  for (HWND button : {details_, oneLine_, copy_}) {
    ShowWindow(button, SW_SHOWNA);
  }
  if (IsChild(window_, focus) && !IsWindowVisible(focus)) {
    SetFocus(copy_);
  }
  Layout();
  if (changed && IsOpen()) {
    AnnounceRevealed();
  }
}

// Lines that 次の行 or すべて表示 brought; the answer that a calculation
// brings is read by the answer area.
void WorkingWindow::AnnounceRevealed() const {
  const std::vector<WorkingLine>& lines = view_.lines();
  for (std::size_t i = 0; i < lines.size() && i < lines_.size(); ++i) {
    if (lines[i].announce) {
      NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED, lines_[i], OBJID_CLIENT, CHILDID_SELF);
    }
  }
}

void WorkingWindow::RebuildLines() {
  ClearLines();
  for (const WorkingLine& line : view_.lines()) {
    AddLine(line.words, IsDrawn(line));
  }
  if (view_.lines().empty()) {
    AddLine(std::string(kNoWorkingYet), false);
  }
  built_ = view_.PlainText();
  NameLines();
}

// Each line is named as it is read out when it appears, and the window says
// whose working it is; a drawn line's text, which nobody sees, is its name too.
void WorkingWindow::NameLines() const {
  const std::vector<WorkingLine>& lines = view_.lines();
  for (std::size_t i = 0; i < lines.size() && i < lines_.size(); ++i) {
    const std::string name = WorkingLineReadOut(lines[i].words, dimmed_);
    annotations_.SetName(lines_[i], name);
    if (IsDrawn(lines[i])) {
      SetWindowTextW(lines_[i], WideOf(name).c_str());
    }
  }
  annotations_.SetDescription(window_, WorkingDescription(dimmed_));
}

void WorkingWindow::ClearLines() {
  for (HWND line : lines_) {
    annotations_.Clear(line);
    DestroyWindow(line);
  }
  lines_.clear();
}

// A line with fractions is drawn by the window and named in words; a line of
// plain text draws and names itself.
void WorkingWindow::AddLine(const std::string& words, bool drawn) {
  const DWORD style = drawn ? SS_OWNERDRAW : (SS_LEFT | SS_NOPREFIX);
  const int id = kWorkingFirstLineId + static_cast<int>(lines_.size());
  HWND control = CreateWindowExW(
      0, WC_STATICW, WideOf(words).c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, window_,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
      reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window_, GWLP_HINSTANCE)), nullptr);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  annotations_.SetName(control, words);
  annotations_.SetLiveRegion(control);
  lines_.push_back(control);
}

int WorkingWindow::Scaled(int pixels) const {
  return MulDiv(pixels, static_cast<int>(dpi_), USER_DEFAULT_SCREEN_DPI);
}

// The lines top down with the step names in one column after the longest
// expression, 次の行 and すべて表示 below them while there is more, then
// くわしく and 1行ずつ, and コピー at the right; the window fits around them.
void WorkingWindow::Layout() {
  const WindowDc dc(window_);
  const SelectedFont selected(dc.get(), font_.get());
  const LinePainter painter(dc.get(), Scaled(kBarGap), Scaled(1));
  const int textHeight = painter.TextHeight();
  const std::vector<WorkingLine>& lines = view_.lines();
  nameColumn_ = 0;
  for (const WorkingLine& line : lines) {
    // A detail has no name, and may reach under the names of the steps.
    if (IsDrawn(line) && line.kind != WorkingLineKind::Detail) {
      nameColumn_ = std::max(nameColumn_, painter.WidthOfPieces(PiecesOf(line)));
    }
  }
  int width = kTitleLines * textHeight;
  for (const WorkingLine& line : lines) {
    const int name =
        line.name.empty() ? 0 : 2 * painter.Space() + WidthOf(dc.get(), WideOf(line.name));
    const int drawn = std::max(nameColumn_ + name, painter.WidthOfPieces(PiecesOf(line)));
    width = std::max(width, IsDrawn(line) ? drawn : WidthOf(dc.get(), WideOf(line.text)));
  }
  if (lines.empty()) {
    width = std::max(width, WidthOf(dc.get(), WideOf(kNoWorkingYet)));
  }
  const int margin = Scaled(kMargin);
  const int gap = Scaled(kBarGap) * 3;
  int y = margin;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const bool drawn = i < lines.size() && IsDrawn(lines[i]);
    const int height = drawn ? 2 * textHeight + 3 * Scaled(kBarGap) : textHeight;
    MoveWindow(lines_[i], margin, y, width, height, TRUE);
    y += height;
  }
  const int buttonHeight = textHeight + Scaled(10);
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
  if (view_.OffersMore()) {
    y += gap;
    const int next = place(nextLine_, margin, y, buttonWidth(kNextLineCaption), buttonHeight);
    place(showAll_, next + gap, y, buttonWidth(kShowAllCaption), buttonHeight);
    y += buttonHeight;
  }
  y += margin;
  const int details = place(details_, margin, y, boxWidth(kDetailsCaption), buttonHeight);
  const int oneLine =
      place(oneLine_, details + 2 * gap, y, boxWidth(kOneLineAtATimeCaption), buttonHeight);
  const int copyWidth = buttonWidth(kCopyCaption);
  width = std::max(width, oneLine + 2 * gap + copyWidth - margin);
  place(copy_, margin + width - copyWidth, y, copyWidth, buttonHeight);
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

// A detail is lighter than the steps and has no name.
void WorkingWindow::DrawLine(const DRAWITEMSTRUCT& item) const {
  const auto at = std::ranges::find(lines_, item.hwndItem);
  const auto index = static_cast<std::size_t>(at - lines_.begin());
  if (at == lines_.end() || index >= view_.lines().size()) {
    return;
  }
  const WorkingLine& line = view_.lines()[index];
  // The previous calculation's lines are grey, as its answer is.
  const COLORREF text = GetSysColor(dimmed_ ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
  const COLORREF ink = line.kind == WorkingLineKind::Detail ? Lighter(text) : text;
  const BrushHandle inkBrush(CreateSolidBrush(ink));
  FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
  const SelectedFont selected(item.hDC, font_.get());
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextAlign(item.hDC, TA_BASELINE | TA_LEFT | TA_NOUPDATECP);
  SetTextColor(item.hDC, ink);
  const LinePainter painter(item.hDC, Scaled(kBarGap), std::max(1, Scaled(1)));
  const int bar = (item.rcItem.top + item.rcItem.bottom) / 2;
  const int end = painter.Draw(PiecesOf(line), item.rcItem.left, bar, inkBrush.get());
  if (!line.name.empty()) {
    painter.DrawOnLine(WideOf(line.name), std::max(nameColumn_, end) + painter.Space(), bar);
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
}

void WorkingWindow::OnDpiChanged(UINT dpi, const RECT& suggested) {
  dpi_ = dpi;
  font_ = CreateControlFont(kFont, dpi_);
  for (HWND control : {nextLine_, showAll_, details_, oneLine_, copy_}) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  }
  for (HWND line : lines_) {
    SendMessageW(line, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  }
  Layout();
  SetWindowPos(window_, nullptr, suggested.left, suggested.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
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
      for (HWND line : lines_) {
        annotations_.Clear(line);
      }
      lines_.clear();
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

}  // namespace tavolen
