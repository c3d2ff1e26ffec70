// The window's fonts at a monitor's DPI: the definition's faces where the
// system has them, else Japanese faces that every current Windows ships.
#pragma once

#include <string_view>

#include <windows.h>

#include "win32/handles.h"
#include "window/controls.h"

namespace tavolen {

// The font of a control; an empty face is the system's message font.
[[nodiscard]] FontHandle CreateControlFont(const FontDef& font, UINT dpi);

// A font in which text fits in width pixels: smaller down to 8 pixels at 96
// DPI, and below that narrowed; null when the control's own font fits.
[[nodiscard]] FontHandle CreateFittingFont(const FontDef& font, UINT dpi, std::wstring_view text,
                                           int width);

// The font of an entry field in which limit digits, the widest of them, fit
// in width pixels; null when the control's own font fits. Fitted once per
// face and DPI, so typing never changes the size.
[[nodiscard]] FontHandle CreateFieldFont(const FontDef& font, UINT dpi, int limit, int width);

}  // namespace tavolen
