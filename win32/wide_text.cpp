#include "win32/wide_text.h"

#include <windows.h>

namespace tavolen {

std::wstring WideOf(std::string_view text) {
  if (text.empty()) {
    return {};
  }
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length);
  return wide;
}

std::string Utf8Of(std::wstring_view text) {
  if (text.empty()) {
    return {};
  }
  const int size = static_cast<int>(text.size());
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), size, narrow.data(), length, nullptr, nullptr);
  return narrow;
}

std::wstring WithWindowsLineBreaks(std::string_view prompt) {
  const std::wstring wide = WideOf(prompt);
  std::wstring text;
  for (std::size_t i = 0; i < wide.size(); ++i) {
    text += wide[i];
    if (wide[i] == L'\r' && (i + 1 == wide.size() || wide[i + 1] != L'\n')) {
      text += L'\n';
    }
  }
  return text;
}

}  // namespace tavolen
