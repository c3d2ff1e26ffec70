#include "win32/main_window.h"

#include <algorithm>
#include <climits>
#include <span>
#include <utility>

#include <commctrl.h>
#include <imm.h>

#include "win32/child_window.h"
#include "win32/control_ids.h"
#include "win32/fonts.h"
#include "win32/resource_ids.h"
#include "win32/wide_text.h"
#include "window/accessible_text.h"
#include "window/working.h"

namespace tavolen {
namespace {

constexpr wchar_t kClassName[] = L"Tavolen.Form1";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr COLORREF kPureBlue = RGB(0, 0, 255);

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

bool HighContrastOn() {
  HIGHCONTRASTW contrast{};
  contrast.cbSize = sizeof contrast;
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, contrast.cbSize, &contrast, 0) != 0 &&
         (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

// The answer's bar is an empty text static, filled with the brush its colour
// request returns, so that it dims with the answer; the other bars are black.
DWORD BarStyle(ControlId id) {
  return InAnswerArea(id) ? SS_LEFT : SS_BLACKRECT;
}

}  // namespace

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
  LayOut();
  Sync();
}

void MainWindow::LayOut() {
  SetControlFonts(views_, form_, dpi_);
  LayOutControls(window_, kStyle, answerArea_, views_, dpi_);
  FitFieldFonts(views_, dpi_);
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
  answerArea_ = CreateChild(window_, WC_STATICW, L"", kAnswerAreaId, WS_VISIBLE | WS_CLIPCHILDREN);
  annotations_.SetName(answerArea_, kAnswerAreaName);
  // Its labels and bar ask it for their colours; it hands the requests on to the window.
  SetWindowSubclass(answerArea_, &MainWindow::ControlProc, kSubclassId,
                    reinterpret_cast<DWORD_PTR>(this));
  for (const ControlDef& def : ControlDefinitions()) {
    HWND control = CreateControl(def);
    if (def.type != ControlType::Label && def.type != ControlType::Frame) {
      SetWindowSubclass(control, &MainWindow::ControlProc, kSubclassId,
                        reinterpret_cast<DWORD_PTR>(this));
      annotations_.SetName(control, AccessibleNameOf(def.id));
    }
    views_.push_back({def.id, control, nullptr, nullptr});
  }
  for (const LineDef& def : LineDefinitions()) {
    HWND parent = InAnswerArea(def.id) ? answerArea_ : window_;
    HWND line =
        CreateChild(parent, WC_STATICW, L"", ChildIdOf(def.id), WS_VISIBLE | BarStyle(def.id));
    views_.push_back({def.id, line, nullptr, nullptr});
  }
}

HWND MainWindow::CreateControl(const ControlDef& def) {
  const std::wstring caption = WideOf(def.caption);
  const wchar_t* windowClass = WC_STATICW;
  DWORD style = WS_VISIBLE;
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
      // SS_NOTIFY: the pointer over a label reaches its tooltip.
      style |= SS_NOPREFIX | SS_NOTIFY | AlignmentStyle(def.type, def.align);
      break;
  }
  HWND parent = InAnswerArea(def.id) ? answerArea_ : window_;
  HWND control =
      CreateChild(parent, windowClass, caption.c_str(), ChildIdOf(def.id), style, exStyle);
  if (def.type == ControlType::TextBox) {
    SendMessageW(control, EM_SETLIMITTEXT, static_cast<WPARAM>(FieldLimit(def.id)), 0);
    // Digits only: the IME stays off in the fields.
    ImmAssociateContextEx(control, nullptr, 0);
  }
  return control;
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
  if (working_) {
    working_->Follow();
  }
  // While 1行ずつ still hides lines, the answer waits for the last of them.
  const bool answerHidden = working_ && working_->view().HidesAnswer();
  for (View& view : views_) {
    ShowControl(view, answerHidden && InAnswerArea(view.id));
  }
  ShowAnswerWords(answerHidden);
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

void MainWindow::ShowControl(View& view, bool hidden) {
  if (const std::string* text = ModelText(form_, view.id)) {
    const std::wstring wide = WideOf(*text);
    if (TextOf(view.control) != wide) {
      if (IsEntryField(view.id)) {
        SetWindowTextW(view.control, wide.c_str());
      } else {
        ShowFittedCaption(view, wide, tooltip_, window_, dpi_);
      }
    }
    if (InAnswerArea(view.id)) {
      ShowWindow(view.control, hidden ? SW_HIDE : SW_SHOWNA);
    }
  } else if (const Line* line = ModelLine(form_, view.id)) {
    ShowWindow(view.control, line->Visible && !hidden ? SW_SHOWNA : SW_HIDE);
  } else if (const OptionGroup* group = ModelGroup(form_, view.id)) {
    const WPARAM check = group->Chosen() == view.id.index ? BST_CHECKED : BST_UNCHECKED;
    if (static_cast<WPARAM>(SendMessageW(view.control, BM_GETCHECK, 0, 0)) != check) {
      SendMessageW(view.control, BM_SETCHECK, check, 0);
    }
  }
}

void MainWindow::ShowAnswerWords(bool hidden) {
  annotations_.SetDescription(answerArea_, AnswerDescriptionOf(form_, hidden));
  // The labels and bar draw in their new colours only when painted again.
  if (answerDimmed_ != form_.AnswerIsStale()) {
    answerDimmed_ = form_.AnswerIsStale();
    RedrawWindow(answerArea_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  }
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
    case kWorkingChangedMessage:
      Sync();
      return 0;
    case WM_CLOSE:
      Dispatch([this] { form_.RequestClose(); });
      return 0;
    case kUnloadedMessage:
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

void MainWindow::OnDpiChanged(UINT dpi, const RECT& suggested) {
  dpi_ = dpi;
  SetIcons(reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window_, GWLP_HINSTANCE)));
  SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  LayOut();
  // Captions fitted at the old size are fitted again.
  for (View& view : views_) {
    if (ModelText(form_, view.id) != nullptr && !IsEntryField(view.id)) {
      SetWindowTextW(view.control, L"");
    }
  }
  Sync();
  InvalidateRect(window_, nullptr, TRUE);
}

}  // namespace tavolen
