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

// The height (a LOGFONT's lfHeight) at which limit digits, the widest of
// them, fit in width pixels: the face's own, or smaller down to 8 pixels at
// 96 DPI.
[[nodiscard]] LONG FieldFontHeight(const FontDef& font, UINT dpi, int limit, int width);

// The font of an entry field at that height in which limit digits, the
// widest of them, fit in width pixels, by narrower glyphs where they must;
// null when it is the control's own font. Fitted once per face and DPI, so
// typing never changes the size.
[[nodiscard]] FontHandle CreateFieldFont(const FontDef& font, UINT dpi, int limit, int width,
                                         LONG height);

}  // namespace tavolen
