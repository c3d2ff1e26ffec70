#include "win32/clipboard.h"

#include <cstring>
#include <string>

#include "win32/wide_text.h"

namespace tavolen {
namespace {

// Another program (a clipboard viewer, one reading what was copied) may hold
// the clipboard for a moment; a copy waits that moment out rather than being lost.
bool OpenClipboardSoon(HWND owner) {
  constexpr int kAttempts = 50;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    if (OpenClipboard(owner) != 0) {
      return true;
    }
    Sleep(2);
  }
  return false;
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
  if (!OpenClipboardSoon(owner)) {
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

}  // namespace tavolen
