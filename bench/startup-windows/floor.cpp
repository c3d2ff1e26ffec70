// The floor of the Windows start-up bench: a bare Win32 window with the
// calculator's controls, fonts, menu, icon and manifest at the same places and
// DPI, and nothing behind them: no model, no font fallbacks, no accessibility.
#include <windows.h>

#include <commctrl.h>

#include <array>

#include "win32/resource_ids.h"

namespace {

constexpr wchar_t kGothic[] = L"ＭＳ Ｐゴシック";
constexpr wchar_t kMincho[] = L"ＭＳ Ｐ明朝";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr int kClientWidthTwips = 6585;
constexpr int kClientHeightTwips = 3960;

struct Font {
  const wchar_t* face;  // null: the system's message font
  int pixels;
  bool bold;
};

constexpr Font kMessage{nullptr, 0, false};
constexpr Font kOption{kGothic, 21, false};
constexpr Font kField{kGothic, 16, true};
constexpr Font kAnswer{kGothic, 19, true};
constexpr Font kButton{kGothic, 15, false};

struct Control {
  const wchar_t* windowClass;
  const wchar_t* text;
  DWORD style;
  int left, top, width, height;  // twips in the client area
  Font font;
};

constexpr DWORD kOptionStyle = BS_RADIOBUTTON;
constexpr DWORD kFieldStyle = ES_AUTOHSCROLL;
constexpr DWORD kLabelStyle = SS_NOPREFIX | SS_NOTIFY;

// clang-format off
constexpr std::array kControls{
    Control{WC_BUTTONW, L"計算の方法", BS_GROUPBOX, 120, 120, 3615, 1095, kMessage},
    Control{WC_BUTTONW, L"＋", kOptionStyle | WS_GROUP, 600, 360, 855, 375, kOption},
    Control{WC_BUTTONW, L"－", kOptionStyle, 600, 840, 975, 255, kOption},
    Control{WC_BUTTONW, L"×", kOptionStyle, 1920, 360, 855, 375, kOption},
    Control{WC_BUTTONW, L"÷", kOptionStyle, 1920, 840, 975, 255, kOption},
    Control{WC_BUTTONW, L"答えの出し方", BS_GROUPBOX, 3840, 120, 1575, 1095, kMessage},
    Control{WC_BUTTONW, L"帯分数", kOptionStyle | WS_GROUP, 4080, 360, 1095, 375, kMessage},
    Control{WC_BUTTONW, L"仮分数", kOptionStyle, 4080, 840, 1095, 300, kMessage},
    Control{WC_STATICW, L"", kLabelStyle, 120, 1320, 1575, 615, {kMincho, 32, false}},
    Control{WC_EDITW, L"", kFieldStyle | ES_RIGHT, 120, 2340, 520, 375, kField},
    Control{WC_EDITW, L"", kFieldStyle | ES_CENTER, 840, 2040, 735, 375, kField},
    Control{WC_EDITW, L"", kFieldStyle | ES_CENTER, 840, 2640, 735, 375, kField},
    Control{WC_STATICW, L"＋", kLabelStyle, 1800, 2340, 495, 495, {kGothic, 27, false}},
    Control{WC_EDITW, L"", kFieldStyle | ES_RIGHT, 2400, 2355, 520, 375, kField},
    Control{WC_EDITW, L"", kFieldStyle | ES_CENTER, 3120, 2040, 735, 375, kField},
    Control{WC_EDITW, L"", kFieldStyle | ES_CENTER, 3120, 2640, 735, 375, kField},
    Control{WC_STATICW, L"=", kLabelStyle, 4080, 2280, 255, 495, {kGothic, 32, false}},
    Control{WC_STATICW, L"", kLabelStyle | SS_CENTER, 4440, 2325, 255, 375, {kGothic, 29, false}},
    Control{WC_STATICW, L"", kLabelStyle | SS_RIGHT, 4680, 2340, 615, 375, kAnswer},
    Control{WC_STATICW, L"", kLabelStyle | SS_CENTER, 5520, 2040, 855, 255, kAnswer},
    Control{WC_STATICW, L"", kLabelStyle | SS_CENTER, 5520, 2640, 855, 255, kAnswer},
    Control{WC_BUTTONW, L"終了", BS_PUSHBUTTON, 360, 3240, 1455, 615, kMessage},
    Control{WC_BUTTONW, L"計算", BS_PUSHBUTTON, 2640, 3240, 1455, 615, kButton},
    Control{WC_BUTTONW, L"消す", BS_PUSHBUTTON, 4920, 3240, 1455, 615, kButton},
    // The three fraction bars.
    Control{WC_STATICW, L"", SS_BLACKRECT, 720, 2520, 960, 15, kMessage},
    Control{WC_STATICW, L"", SS_BLACKRECT, 3000, 2520, 960, 15, kMessage},
    Control{WC_STATICW, L"", SS_BLACKRECT, 5400, 2520, 1080, 15, kMessage},
};
// clang-format on

int Scaled(int twips, UINT dpi) {
  return MulDiv(twips, static_cast<int>(dpi), 1440);
}

HFONT CreateFontAt(const Font& font, UINT dpi) {
  LOGFONTW log{};
  if (font.face == nullptr) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0, dpi);
    log = metrics.lfMessageFont;
  } else {
    log.lfHeight = -MulDiv(font.pixels, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
    log.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    log.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(log.lfFaceName, font.face, LF_FACESIZE);
  }
  return CreateFontIndirectW(&log);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void AddControls(HWND window, HINSTANCE instance, UINT dpi) {
  for (const Control& control : kControls) {
    const bool field = lstrcmpW(control.windowClass, WC_EDITW) == 0;
    HWND child = CreateWindowExW(field ? WS_EX_CLIENTEDGE : 0, control.windowClass, control.text,
                                 WS_CHILD | WS_VISIBLE | control.style, Scaled(control.left, dpi),
                                 Scaled(control.top, dpi), Scaled(control.width, dpi),
                                 Scaled(control.height, dpi), window, nullptr, instance, nullptr);
    // Each control keeps its font for the life of the program, as the calculator's do.
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(CreateFontAt(control.font, dpi)),
                 FALSE);
  }
}

HWND CreateFloorWindow(HINSTANCE instance) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = &WindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(TAVOLEN_ICON));
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = L"Floor";
  RegisterClassExW(&windowClass);
  HWND window = CreateWindowExW(0, L"Floor", L"Floor", kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
  HMENU bar = CreateMenu();
  AppendMenuW(bar, MF_STRING, 1, L"終了");
  AppendMenuW(bar, MF_STRING, 2, L"バージョン情報");
  SetMenu(window, bar);
  const UINT dpi = GetDpiForWindow(window);
  AddControls(window, instance, dpi);
  RECT frame{0, 0, Scaled(kClientWidthTwips, dpi), Scaled(kClientHeightTwips, dpi)};
  AdjustWindowRectExForDpi(&frame, kStyle, TRUE, 0, dpi);
  SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  return window;
}

}  // namespace

int main() {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  HWND window = CreateFloorWindow(GetModuleHandleW(nullptr));
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
