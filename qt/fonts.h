// The window's fonts: the faces of the definition with Japanese substitutes
// where they are missing, at pixel sizes so the layout holds at any DPI.
#pragma once

#include <QFont>

#include "window/controls.h"

namespace tavolen {

// Registers the substitutes for the definition's faces; call once before the
// first widget is created.
void InstallFontSubstitutes();

// The toolkit's default user-interface font, falling back to Japanese faces
// for glyphs it lacks.
[[nodiscard]] QFont JapaneseUiFont();

// The font of a control: its face, pixel size and weight, or JapaneseUiFont()
// when the definition sets none.
[[nodiscard]] QFont FontOf(const FontDef& font);

// The font in which text fits in width pixels: the font itself if the text
// fits, else a smaller pixel size down to 8, and below that the 8-pixel font
// narrowed; the text is never cut off.
[[nodiscard]] QFont FittingFont(const QFont& font, const QString& text, int width);

}  // namespace tavolen
