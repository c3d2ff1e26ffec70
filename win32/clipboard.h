// The clipboard as the program writes to it.
#pragma once

#include <string_view>

#include <windows.h>

namespace tavolen {

// Puts text on the clipboard as Unicode text, its lines ending in CR LF.
void CopyToClipboard(HWND owner, std::string_view text);

}  // namespace tavolen
