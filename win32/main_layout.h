// The main window's controls placed and given their fonts at the window's
// DPI: the definition's twips scaled, the fields' faces fitted to their
// fullest text, and a long caption drawn smaller with its whole text in a tip.
#pragma once

#include <span>
#include <string>

#include <windows.h>

#include "win32/handles.h"
#include "window/controls.h"
#include "window/form1.h"

namespace tavolen {

// One control of the window definition and the fonts it is drawn in.
struct ControlView {
  ControlId id;
  HWND control;
  FontHandle font;    // null for a bar
  FontHandle fitted;  // a long caption's or a narrow field's smaller font, else null
};

// Pixels at 96 DPI at dpi; OnePixel never less than one.
[[nodiscard]] int ScaledToDpi(int pixels, UINT dpi);
[[nodiscard]] int OnePixel(UINT dpi);

// Sizes the window's client area to the definition's, and places the answer
// area and every control in it.
void LayOutControls(HWND window, DWORD style, HWND answerArea, std::span<const ControlView> views,
                    UINT dpi);

// Each control's font from the definition; bars have none.
void SetControlFonts(std::span<ControlView> views, const Form1& form, UINT dpi);

// A field too narrow for its fullest text in its face gets the face smaller,
// so that no digit is scrolled out of sight; typing never changes the size.
// Every field takes the height at which the numerator and denominator fit, so
// that a whole part stands level with its fraction, as large as its digits;
// a whole part still too wide gets narrower glyphs.
void FitFieldFonts(std::span<ControlView> views, UINT dpi);

// A caption wider than its label is drawn smaller, centred on the line it
// would have had, and the tooltip gives it whole; the label keeps its size
// and the text is never cut.
void ShowFittedCaption(ControlView& view, const std::wstring& caption, HWND tooltip, HWND window,
                       UINT dpi);

}  // namespace tavolen
