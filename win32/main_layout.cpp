#include "win32/main_layout.h"

#include <algorithm>
#include <climits>

#include <commctrl.h>

#include "win32/fonts.h"

namespace tavolen {
namespace {

RECT PixelRect(UINT dpi, int left, int top, int width, int height) {
  const auto scaled = [dpi](int twips) { return MulDiv(twips, static_cast<int>(dpi), 1440); };
  return {scaled(left), scaled(top), scaled(left + width), scaled(top + height)};
}

RECT ControlRect(const ControlView& view, UINT dpi) {
  const std::span<const LineDef> lines = LineDefinitions();
  if (const auto line = std::ranges::find(lines, view.id, &LineDef::id); line != lines.end()) {
    RECT rect = PixelRect(dpi, line->x1, line->y1, line->x2 - line->x1, 0);
    rect.bottom = rect.top + OnePixel(dpi);
    return rect;
  }
  const ControlDef& def = DefinitionOf(view.id);
  int left = def.left;
  int top = def.top;
  if (def.container) {
    const ControlDef& frameDef = DefinitionOf(ControlId{*def.container});
    left += frameDef.left;
    top += frameDef.top;
  }
  return PixelRect(dpi, left, top, def.width, def.height);
}

}  // namespace

int ScaledToDpi(const int pixels, const UINT dpi) {
  return MulDiv(pixels, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
}

int OnePixel(const UINT dpi) {
  return std::max(1, ScaledToDpi(1, dpi));
}

void LayOutControls(HWND window, DWORD style, HWND answerArea, std::span<const ControlView> views,
                    UINT dpi) {
  RECT frame = PixelRect(dpi, 0, 0, kClientWidthTwips, kClientHeightTwips);
  AdjustWindowRectExForDpi(&frame, style, TRUE, 0, dpi);
  SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  const TwipsRect areaTwips = AnswerAreaTwips();
  const RECT area = PixelRect(dpi, areaTwips.left, areaTwips.top, areaTwips.right - areaTwips.left,
                              areaTwips.bottom - areaTwips.top);
  MoveWindow(answerArea, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
  for (const ControlView& view : views) {
    RECT rect = ControlRect(view, dpi);
    if (InAnswerArea(view.id)) {
      OffsetRect(&rect, -area.left, -area.top);
    }
    MoveWindow(view.control, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
               TRUE);
  }
}

void SetControlFonts(std::span<ControlView> views, const Form1& form, UINT dpi) {
  for (ControlView& view : views) {
    if (ModelLine(form, view.id) == nullptr) {
      view.font = CreateControlFont(DefinitionOf(view.id).font, dpi);
      view.fitted.reset();
      SendMessageW(view.control, WM_SETFONT, reinterpret_cast<WPARAM>(view.font.get()), FALSE);
    }
  }
}

void FitFieldFonts(std::span<ControlView> views, UINT dpi) {
  const auto room = [](const ControlView& view) {
    RECT box{};
    SendMessageW(view.control, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&box));
    return static_cast<int>(box.right - box.left);
  };
  constexpr std::int16_t kWholePart = 2;
  LONG height = LONG_MIN;
  for (const ControlView& view : views) {
    if (IsEntryField(view.id) && view.id.index != kWholePart) {
      height = std::max(height, FieldFontHeight(DefinitionOf(view.id).font, dpi,
                                                FieldLimit(view.id), room(view)));
    }
  }
  for (ControlView& view : views) {
    if (!IsEntryField(view.id)) {
      continue;
    }
    view.fitted =
        CreateFieldFont(DefinitionOf(view.id).font, dpi, FieldLimit(view.id), room(view), height);
    if (view.fitted) {
      SendMessageW(view.control, WM_SETFONT, reinterpret_cast<WPARAM>(view.fitted.get()), TRUE);
    }
  }
}

void ShowFittedCaption(ControlView& view, const std::wstring& caption, HWND tooltip, HWND window,
                       UINT dpi) {
  RECT client{};
  GetClientRect(view.control, &client);
  // A pixel to spare on either side of the caption.
  const int room = client.right - 2 * OnePixel(dpi);
  view.fitted = CreateFittingFont(DefinitionOf(view.id).font, dpi, caption, room);
  HFONT font = view.fitted ? view.fitted.get() : view.font.get();
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(view.control, GWL_STYLE));
  const DWORD centred = view.fitted ? (style | SS_CENTERIMAGE) : (style & ~DWORD{SS_CENTERIMAGE});
  SetWindowLongPtrW(view.control, GWL_STYLE, static_cast<LONG_PTR>(centred));
  SendMessageW(view.control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SetWindowTextW(view.control, caption.c_str());
  std::wstring tip = caption;
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = window;
  tool.uId = reinterpret_cast<UINT_PTR>(view.control);
  tool.lpszText = tip.data();
  SendMessageW(tooltip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  if (view.fitted) {
    SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

}  // namespace tavolen
