#include "win32/main_window.h"

#include <algorithm>
#include <climits>
#include <span>
#include <utility>

#include <commctrl.h>
#include <imm.h>

#include "win32/control_ids.h"
#include "win32/fonts.h"
#include "win32/resource_ids.h"
#include "win32/wide_text.h"
#include "window/accessible_text.h"
#include "window/answer_menu.h"
#include "window/working.h"

namespace tavolen {
namespace {

constexpr wchar_t kClassName[] = L"Tavolen.Form1";
constexpr UINT_PTR kSubclassId = 1;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr COLORREF kPureBlue = RGB(0, 0, 255);
// Posted when the system moved the focus by itself (the window was activated):
// the focus goes back where the model has it once the system is done.
constexpr UINT kRestoreFocus = WM_APP + 1;
// Posted by the Unload service: the window is destroyed once the running event is over.
constexpr UINT kDestroy = WM_APP + 2;

class SyncingScope {
 public:
  explicit SyncingScope(bool& flag) : flag_(flag), previous_(std::exchange(flag, true)) {}
  SyncingScope(const SyncingScope&) = delete;
  SyncingScope& operator=(const SyncingScope&) = delete;
  ~SyncingScope() { flag_ = previous_; }

 private:
  bool& flag_;
  bool previous_;
};

std::wstring TextOf(HWND control) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return text;
}

DWORD AlignmentStyle(ControlType type, TextAlign align) {
  const bool field = type == ControlType::TextBox;
  switch (align) {
    case TextAlign::Centre:
      return field ? ES_CENTER : SS_CENTER;
    case TextAlign::Right:
      return field ? ES_RIGHT : SS_RIGHT;
    case TextAlign::Left:
    case TextAlign::Default:
      break;
  }
  return field ? ES_LEFT : SS_LEFT;
}

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

bool HighContrastOn() {
  HIGHCONTRASTW contrast{};
  contrast.cbSize = sizeof contrast;
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, contrast.cbSize, &contrast, 0) != 0 &&
         (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

bool InAnswerArea(ControlId id) {
  return id.name == ControlName::Label1 || id.name == ControlName::Line3;
}

// The answer's bar is an empty text static, filled with the brush its colour
// request returns, so that it dims with the answer; the other bars are black.
DWORD BarStyle(ControlId id) {
  return InAnswerArea(id) ? SS_LEFT : SS_BLACKRECT;
}

}  // namespace

void Win32Runtime::MsgBox(const std::string& prompt, Integer style, const std::string& title) {
  // The box may open halfway through a handler; show what it has written so far.
  window_.Sync();
  const UINT icon = style == kMsgBoxCritical      ? MB_ICONERROR
                    : style == kMsgBoxInformation ? MB_ICONINFORMATION
                                                  : 0U;
  MessageBoxW(window_.handle(), WithWindowsLineBreaks(prompt).c_str(), WideOf(title).c_str(),
              MB_OK | icon);
}

void Win32Runtime::Unloaded() {
  PostMessageW(window_.handle(), kDestroy, 0, 0);
}

MainWindow::MainWindow(HINSTANCE instance) : runtime_(*this), form_(runtime_) {
  Create(instance);
}

MainWindow::~MainWindow() {
  if (window_ != nullptr) {
    DestroyWindow(window_);
  }
}

void MainWindow::Create(HINSTANCE instance) {
  RegisterObjectWindowClass<MainWindow>(instance, kClassName);
  highContrast_ = HighContrastOn();
  CreateWindowExW(0, kClassName, WideOf(kFormCaption).c_str(), kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                  CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, this);
  dpi_ = GetDpiForWindow(window_);
  SetIcons(instance);
  BuildMenu();
  BuildControls(instance);
  CreateFonts();
  Layout();
  FitFieldFonts();
  Sync();
}

void MainWindow::SetIcons(HINSTANCE instance) {
  const auto load = [this, instance](int metric) {
    const int size = GetSystemMetricsForDpi(metric, dpi_);
    return IconHandle(static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(TAVOLEN_ICON), IMAGE_ICON, size, size, 0)));
  };
  bigIcon_ = load(SM_CXICON);
  smallIcon_ = load(SM_CXSMICON);
  SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
  SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
}

void MainWindow::BuildMenu() {
  HMENU bar = CreateMenu();
  for (const MenuDef& def : MenuDefinitions()) {
    AppendMenuW(bar, MF_STRING, static_cast<UINT_PTR>(MenuCommandIdOf(def.id)),
                WideOf(def.caption).c_str());
  }
  SetMenu(window_, bar);
}

void MainWindow::BuildControls(HINSTANCE instance) {
  // Gives a caption drawn smaller its whole text at the normal size.
  tooltip_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_,
                             nullptr, instance, nullptr);
  // The answer area holds the answer labels and bar, and reads the answer as words.
  answerArea_ = CreateWindowExW(
      0, WC_STATICW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0, window_,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kAnswerAreaId)), instance, nullptr);
  annotations_.SetName(answerArea_, kAnswerAreaName);
  // Its labels and bar ask it for their colours; it hands the requests on to the window.
  SetWindowSubclass(answerArea_, &MainWindow::ControlProc, kSubclassId,
                    reinterpret_cast<DWORD_PTR>(this));
  for (const ControlDef& def : ControlDefinitions()) {
    HWND control = CreateControl(def, instance);
    if (def.type != ControlType::Label && def.type != ControlType::Frame) {
      SetWindowSubclass(control, &MainWindow::ControlProc, kSubclassId,
                        reinterpret_cast<DWORD_PTR>(this));
      annotations_.SetName(control, AccessibleNameOf(def.id));
    }
    views_.push_back({def.id, control, nullptr, nullptr});
  }
  for (const LineDef& def : LineDefinitions()) {
    HWND parent = InAnswerArea(def.id) ? answerArea_ : window_;
    HWND line = CreateWindowExW(
        0, WC_STATICW, L"", WS_CHILD | WS_VISIBLE | BarStyle(def.id), 0, 0, 0, 0, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(ChildIdOf(def.id))), instance, nullptr);
    views_.push_back({def.id, line, nullptr, nullptr});
  }
}

HWND MainWindow::CreateControl(const ControlDef& def, HINSTANCE instance) {
  const std::wstring caption = WideOf(def.caption);
  const wchar_t* windowClass = WC_STATICW;
  DWORD style = WS_CHILD | WS_VISIBLE;
  DWORD exStyle = 0;
  switch (def.type) {
    case ControlType::Frame:
      windowClass = WC_BUTTONW;
      style |= BS_GROUPBOX;
      break;
    case ControlType::OptionButton:
      // A plain radio button: the model decides which one is chosen.
      windowClass = WC_BUTTONW;
      style |= BS_RADIOBUTTON | (def.id.index == 0 ? WS_GROUP : 0);
      break;
    case ControlType::CommandButton:
      windowClass = WC_BUTTONW;
      style |= BS_PUSHBUTTON;
      break;
    case ControlType::TextBox:
      windowClass = WC_EDITW;
      style |= ES_AUTOHSCROLL | AlignmentStyle(def.type, def.align);
      exStyle = WS_EX_CLIENTEDGE;
      break;
    case ControlType::Label:
    case ControlType::Line:
    case ControlType::MenuCommand:
      // SS_NOTIFY: the pointer over a label reaches its tooltip.
      style |= SS_NOPREFIX | SS_NOTIFY | AlignmentStyle(def.type, def.align);
      break;
  }
  HWND parent = InAnswerArea(def.id) ? answerArea_ : window_;
  HWND control = CreateWindowExW(exStyle, windowClass, caption.c_str(), style, 0, 0, 0, 0, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(ChildIdOf(def.id))),
                                 instance, nullptr);
  if (def.type == ControlType::TextBox) {
    SendMessageW(control, EM_SETLIMITTEXT, static_cast<WPARAM>(FieldLimit(def.id)), 0);
    // Digits only: the IME stays off in the fields.
    ImmAssociateContextEx(control, nullptr, 0);
  }
  return control;
}

RECT MainWindow::PixelRect(int left, int top, int width, int height) const {
  const auto scaled = [this](int twips) { return MulDiv(twips, static_cast<int>(dpi_), 1440); };
  return {scaled(left), scaled(top), scaled(left + width), scaled(top + height)};
}

int MainWindow::OnePixel() const {
  return std::max(1, MulDiv(1, static_cast<int>(dpi_), 96));
}

void MainWindow::CreateFonts() {
  for (View& view : views_) {
    if (ModelLine(form_, view.id) == nullptr) {
      view.font = CreateControlFont(DefinitionOf(view.id).font, dpi_);
      view.fitted.reset();
      SendMessageW(view.control, WM_SETFONT, reinterpret_cast<WPARAM>(view.font.get()), FALSE);
    }
  }
}

// A field too narrow for its fullest text in its face gets the face smaller,
// so that no digit is scrolled out of sight; typing never changes the size.
// Every field takes the height at which the numerator and denominator fit, so
// that a whole part stands level with its fraction, as large as its digits;
// a whole part still too wide gets narrower glyphs.
void MainWindow::FitFieldFonts() {
  const auto room = [](const View& view) {
    RECT box{};
    SendMessageW(view.control, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&box));
    return static_cast<int>(box.right - box.left);
  };
  constexpr std::int16_t kWholePart = 2;
  LONG height = LONG_MIN;
  for (const View& view : views_) {
    if (IsEntryField(view.id) && view.id.index != kWholePart) {
      height = std::max(height, FieldFontHeight(DefinitionOf(view.id).font, dpi_,
                                                FieldLimit(view.id), room(view)));
    }
  }
  for (View& view : views_) {
    if (!IsEntryField(view.id)) {
      continue;
    }
    view.fitted =
        CreateFieldFont(DefinitionOf(view.id).font, dpi_, FieldLimit(view.id), room(view), height);
    if (view.fitted) {
      SendMessageW(view.control, WM_SETFONT, reinterpret_cast<WPARAM>(view.fitted.get()), TRUE);
    }
  }
}

void MainWindow::Layout() {
  RECT frame = PixelRect(0, 0, kClientWidthTwips, kClientHeightTwips);
  AdjustWindowRectExForDpi(&frame, kStyle, TRUE, 0, dpi_);
  SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  const TwipsRect areaTwips = AnswerAreaTwips();
  const RECT area = PixelRect(areaTwips.left, areaTwips.top, areaTwips.right - areaTwips.left,
                              areaTwips.bottom - areaTwips.top);
  MoveWindow(answerArea_, area.left, area.top, area.right - area.left, area.bottom - area.top,
             TRUE);
  const std::span<const LineDef> lines = LineDefinitions();
  for (const View& view : views_) {
    RECT rect{};
    if (const auto line = std::ranges::find(lines, view.id, &LineDef::id); line != lines.end()) {
      rect = PixelRect(line->x1, line->y1, line->x2 - line->x1, 0);
      rect.bottom = rect.top + OnePixel();
    } else {
      const ControlDef& def = DefinitionOf(view.id);
      int left = def.left;
      int top = def.top;
      if (def.container) {
        const ControlDef& frameDef = DefinitionOf(ControlId{*def.container});
        left += frameDef.left;
        top += frameDef.top;
      }
      rect = PixelRect(left, top, def.width, def.height);
    }
    if (InAnswerArea(view.id)) {
      OffsetRect(&rect, -area.left, -area.top);
    }
    MoveWindow(view.control, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
               TRUE);
  }
}

MainWindow::View* MainWindow::ViewOf(HWND control) {
  const auto view = std::find_if(views_.begin(), views_.end(),
                                 [control](const View& v) { return v.control == control; });
  return view == views_.end() ? nullptr : &*view;
}

MainWindow::View* MainWindow::ViewOf(ControlId id) {
  const auto view =
      std::find_if(views_.begin(), views_.end(), [id](const View& v) { return v.id == id; });
  return view == views_.end() ? nullptr : &*view;
}

void MainWindow::Sync(bool byTab) {
  if (form_.IsUnloaded()) {
    return;
  }
  const SyncingScope guard(syncing_);
  for (View& view : views_) {
    ShowControl(view);
  }
  ShowAnswerWords();
  if (working_ && working_->IsOpen()) {
    working_->Show(WorkingOf(form_), form_.AnswerIsStale());
  }
  const View* focus = ViewOf(form_.Focus());
  if (focus == nullptr) {
    return;
  }
  if (GetFocus() != focus->control && GetActiveWindow() == window_) {
    SetFocus(focus->control);
  }
  if (byTab && IsEntryField(focus->id)) {
    SendMessageW(focus->control, EM_SETSEL, 0, -1);
  }
}

void MainWindow::ShowControl(View& view) {
  if (const std::string* text = ModelText(form_, view.id)) {
    if (IsEntryField(view.id)) {
      const std::wstring wide = WideOf(*text);
      if (TextOf(view.control) != wide) {
        SetWindowTextW(view.control, wide.c_str());
      }
    } else {
      ShowCaption(view, *text);
    }
  } else if (const Line* line = ModelLine(form_, view.id)) {
    ShowWindow(view.control, line->Visible ? SW_SHOWNA : SW_HIDE);
  } else if (const OptionGroup* group = ModelGroup(form_, view.id)) {
    const WPARAM check = group->Chosen() == view.id.index ? BST_CHECKED : BST_UNCHECKED;
    if (static_cast<WPARAM>(SendMessageW(view.control, BM_GETCHECK, 0, 0)) != check) {
      SendMessageW(view.control, BM_SETCHECK, check, 0);
    }
  }
}

// A caption wider than its label is drawn smaller, centred on the line it
// would have had; the label keeps its size and the text is never cut.
void MainWindow::ShowCaption(View& view, const std::string& caption) {
  const std::wstring wide = WideOf(caption);
  if (TextOf(view.control) == wide) {
    return;
  }
  RECT client{};
  GetClientRect(view.control, &client);
  // A pixel to spare on either side of the caption.
  const int room = client.right - 2 * OnePixel();
  view.fitted = CreateFittingFont(DefinitionOf(view.id).font, dpi_, wide, room);
  HFONT font = view.fitted ? view.fitted.get() : view.font.get();
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(view.control, GWL_STYLE));
  const DWORD centred = view.fitted ? (style | SS_CENTERIMAGE) : (style & ~DWORD{SS_CENTERIMAGE});
  SetWindowLongPtrW(view.control, GWL_STYLE, static_cast<LONG_PTR>(centred));
  SendMessageW(view.control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SetWindowTextW(view.control, wide.c_str());
  std::wstring tip = wide;
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = window_;
  tool.uId = reinterpret_cast<UINT_PTR>(view.control);
  tool.lpszText = tip.data();
  SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  if (view.fitted) {
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

void MainWindow::ShowAnswerWords() {
  annotations_.SetDescription(answerArea_, AnswerDescriptionOf(form_));
  // The labels and bar draw in their new colours only when painted again.
  if (answerDimmed_ != form_.AnswerIsStale()) {
    answerDimmed_ = form_.AnswerIsStale();
    RedrawWindow(answerArea_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  }
}

template <typename Action>
void MainWindow::Dispatch(Action&& action, bool byTab) {
  std::forward<Action>(action)();
  Sync(byTab);
}

LRESULT MainWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(wParam, lParam);
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      // Labels, frames and option buttons on the window's own face colour.
      auto* dc = reinterpret_cast<HDC>(wParam);
      const View* view = ViewOf(reinterpret_cast<HWND>(lParam));
      // The bars are statics too, but have no colour of their own to look up.
      const bool blue = view != nullptr && ModelLine(form_, view->id) == nullptr &&
                        DefinitionOf(view->id).colour != kDefaultColour;
      // The previous calculation's answer is drawn in the system's grey text colour.
      const bool dimmed = view != nullptr && InAnswerArea(view->id) && form_.AnswerIsStale();
      if (dimmed) {
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
      } else if (blue && !highContrast_) {
        SetTextColor(dc, kPureBlue);
      } else {
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
      }
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      if (view != nullptr && view->id.name == ControlName::Line3) {
        return reinterpret_cast<LRESULT>(GetSysColorBrush(dimmed ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
      }
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) {
        PostMessageW(window_, kRestoreFocus, 0, 0);
        return 0;
      }
      break;
    case WM_SETFOCUS:
    case kRestoreFocus:
      Sync();
      return 0;
    case WM_CLOSE:
      Dispatch([this] { form_.RequestClose(); });
      return 0;
    case kDestroy:
      DestroyWindow(window_);
      return 0;
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_CONTEXTMENU:
      // Elsewhere, as on the title bar, the system's own menu.
      if (OnContextMenu(lParam)) {
        return 0;
      }
      break;
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:
      highContrast_ = HighContrastOn();
      InvalidateRect(window_, nullptr, TRUE);
      break;
    case WM_DESTROY:
      for (const View& view : views_) {
        annotations_.Clear(view.control);
      }
      annotations_.Clear(answerArea_);
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

void MainWindow::OnCommand(WPARAM wParam, LPARAM lParam) {
  const int command = LOWORD(wParam);
  if (lParam == 0) {
    for (const MenuDef& def : MenuDefinitions()) {
      if (MenuCommandIdOf(def.id) == command) {
        Dispatch([this, &def] { form_.ChooseMenu(def.id); });
      }
    }
    return;
  }
  // What the user typed, pasted or undid in a field; the program's own writes
  // come while syncing.
  if (HIWORD(wParam) == EN_CHANGE && !syncing_) {
    auto control = reinterpret_cast<HWND>(lParam);
    if (const View* view = ViewOf(control)) {
      const ControlId id = view->id;
      const std::string text = Utf8Of(TextOf(control));
      Dispatch([this, id, &text] { form_.EditText(id, text); });
    }
  }
}

bool MainWindow::TakeDialogMessage(MSG& message) {
  return working_ && working_->TakeDialogMessage(message);
}

// A right click on the answer area, or the menu key or Shift+F10 on a button
// (where the menu opens below it); a field keeps its own menu. Returns
// whether the menu was for the answer.
bool MainWindow::OnContextMenu(LPARAM lParam) {
  if (lParam == -1) {
    const View* focus = ViewOf(form_.Focus());
    if (focus == nullptr || !TakesAnswerKeys(focus->id)) {
      return false;
    }
    RECT rect{};
    GetWindowRect(focus->control, &rect);
    OpenAnswerMenu({rect.left, rect.bottom});
    return true;
  }
  const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  RECT area{};
  GetWindowRect(answerArea_, &area);
  if (PtInRect(&area, at) == 0) {
    return false;
  }
  OpenAnswerMenu(at);
  return true;
}

void MainWindow::OpenAnswerMenu(POINT at) {
  HMENU menu = CreatePopupMenu();
  const auto items = AnswerMenu(form_);
  const auto add = [menu](int command, const AnswerMenuItem& item) {
    AppendMenuW(menu, item.enabled ? UINT{MF_STRING} : UINT{MF_STRING | MF_GRAYED},
                static_cast<UINT_PTR>(command), WideOf(item.caption).c_str());
  };
  add(kCopyAnswerCommand, items[0]);
  add(kCopyWorkingCommand, items[1]);
  add(kShowWorkingCommand, items[2]);
  const int command = static_cast<int>(
      TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y,
                     0, window_, nullptr));
  DestroyMenu(menu);
  switch (command) {
    case kCopyAnswerCommand:
      CopyToClipboard(window_, AnswerText(form_));
      break;
    case kCopyWorkingCommand:
      CopyToClipboard(window_, PlainText(WorkingOf(form_), working_ && working_->ShowsDetails()));
      break;
    case kShowWorkingCommand:
      // Made on first use, so that starting the program does not pay for it;
      // once made it is only hidden, and its choices hold while the program runs.
      if (!working_) {
        working_ = std::make_unique<WorkingWindow>(window_, annotations_);
      }
      working_->Open(WorkingOf(form_), form_.AnswerIsStale());
      break;
    default:
      break;
  }
}

void MainWindow::OnDpiChanged(UINT dpi, const RECT& suggested) {
  dpi_ = dpi;
  SetIcons(reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window_, GWLP_HINSTANCE)));
  SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  CreateFonts();
  Layout();
  FitFieldFonts();
  // Captions fitted at the old size are fitted again.
  for (View& view : views_) {
    if (ModelText(form_, view.id) != nullptr && !IsEntryField(view.id)) {
      SetWindowTextW(view.control, L"");
    }
  }
  Sync();
  InvalidateRect(window_, nullptr, TRUE);
}

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

int RunWindowsProgram() {
  // The annotation service is a COM object of this thread.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  int status = 0;
  {
    MainWindow window(GetModuleHandleW(nullptr));
    ShowWindow(window.handle(), SW_SHOWNORMAL);
    UpdateWindow(window.handle());
    // No IsDialogMessage for the main window: it would turn Tab and Enter into
    // dialog navigation, and the model owns both.
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
      if (window.TakeDialogMessage(message)) {
        continue;
      }
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    status = static_cast<int>(message.wParam);
  }
  if (SUCCEEDED(com)) {
    CoUninitialize();
  }
  return status;
}

}  // namespace tavolen
