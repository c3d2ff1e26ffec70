#include "win32/fonts.h"

#include <algorithm>
#include <array>
#include <span>
#include <string>

#include "win32/wide_text.h"

namespace tavolen {
namespace {

constexpr int kSmallestPixels = 8;

constexpr std::array<const wchar_t*, 2> kGothicFallbacks{L"Meiryo", L"Yu Gothic"};
constexpr std::array<const wchar_t*, 3> kMinchoFallbacks{L"Yu Mincho", L"Meiryo", L"Yu Gothic"};

int CALLBACK NoteFound(const LOGFONTW* /*font*/, const TEXTMETRICW* /*metrics*/, DWORD /*type*/,
                       LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool IsInstalled(const std::wstring& face) {
  LOGFONTW query{};
  query.lfCharSet = DEFAULT_CHARSET;
  face.copy(query.lfFaceName, LF_FACESIZE - 1);
  bool found = false;
  HDC screen = GetDC(nullptr);
  EnumFontFamiliesExW(screen, &query, &NoteFound, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, screen);
  return found;
}

// The definition's face if the system has it (or maps it to another by a
// font substitute), else the first installed fallback.
std::wstring FaceFor(std::string_view face) {
  const std::wstring wanted = WideOf(face);
  if (IsInstalled(wanted)) {
    return wanted;
  }
  const std::span<const wchar_t* const> fallbacks =
      face == kMinchoFace ? std::span<const wchar_t* const>(kMinchoFallbacks)
                          : std::span<const wchar_t* const>(kGothicFallbacks);
  for (const wchar_t* fallback : fallbacks) {
    if (IsInstalled(fallback)) {
      return fallback;
    }
  }
  return wanted;
}

LOGFONTW LogFontOf(const FontDef& font, UINT dpi) {
  if (font.face.empty()) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0, dpi);
    return metrics.lfMessageFont;
  }
  LOGFONTW log{};
  log.lfHeight = -MulDiv(font.Pixels(), static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
  log.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  log.lfCharSet = DEFAULT_CHARSET;
  log.lfQuality = DEFAULT_QUALITY;
  FaceFor(font.face).copy(log.lfFaceName, LF_FACESIZE - 1);
  return log;
}

int WidthOf(const LOGFONTW& log, std::wstring_view text) {
  const FontHandle font(CreateFontIndirectW(&log));
  HDC screen = GetDC(nullptr);
  const HGDIOBJ previous = SelectObject(screen, font.get());
  SIZE size{};
  GetTextExtentPoint32W(screen, text.data(), static_cast<int>(text.size()), &size);
  SelectObject(screen, previous);
  ReleaseDC(nullptr, screen);
  return size.cx;
}

int AverageWidthOf(const LOGFONTW& log) {
  const FontHandle font(CreateFontIndirectW(&log));
  HDC screen = GetDC(nullptr);
  const HGDIOBJ previous = SelectObject(screen, font.get());
  TEXTMETRICW metrics{};
  GetTextMetricsW(screen, &metrics);
  SelectObject(screen, previous);
  ReleaseDC(nullptr, screen);
  return metrics.tmAveCharWidth;
}

std::wstring WidestDigitsOf(const LOGFONTW& log, int count) {
  const FontHandle font(CreateFontIndirectW(&log));
  HDC screen = GetDC(nullptr);
  const HGDIOBJ previous = SelectObject(screen, font.get());
  std::array<INT, 10> widths{};
  GetCharWidth32W(screen, L'0', L'9', widths.data());
  SelectObject(screen, previous);
  ReleaseDC(nullptr, screen);
  const auto widest = std::ranges::max_element(widths) - widths.begin();
  return std::wstring(static_cast<std::size_t>(count), static_cast<wchar_t>(L'0' + widest));
}

// Smaller, down to 8 pixels at 96 DPI, until the text fits.
void ShrinkToFit(LOGFONTW& log, UINT dpi, std::wstring_view text, int width) {
  const int smallest = -MulDiv(kSmallestPixels, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
  while (log.lfHeight < smallest && WidthOf(log, text) > width) {
    ++log.lfHeight;
  }
}

// Narrower glyphs at the same height, until the text fits.
void NarrowToFit(LOGFONTW& log, std::wstring_view text, int width) {
  if (WidthOf(log, text) <= width) {
    return;
  }
  for (log.lfWidth = AverageWidthOf(log); log.lfWidth > 1; --log.lfWidth) {
    if (WidthOf(log, text) <= width) {
      return;
    }
  }
}

}  // namespace

FontHandle CreateControlFont(const FontDef& font, UINT dpi) {
  const LOGFONTW log = LogFontOf(font, dpi);
  return FontHandle(CreateFontIndirectW(&log));
}

FontHandle CreateFittingFont(const FontDef& font, UINT dpi, std::wstring_view text, int width) {
  LOGFONTW log = LogFontOf(font, dpi);
  if (WidthOf(log, text) <= width) {
    return nullptr;
  }
  ShrinkToFit(log, dpi, text, width);
  NarrowToFit(log, text, width);
  return FontHandle(CreateFontIndirectW(&log));
}

LONG FieldFontHeight(const FontDef& font, UINT dpi, int limit, int width) {
  LOGFONTW log = LogFontOf(font, dpi);
  ShrinkToFit(log, dpi, WidestDigitsOf(log, limit), width);
  return log.lfHeight;
}

FontHandle CreateFieldFont(const FontDef& font, UINT dpi, int limit, int width, LONG height) {
  LOGFONTW log = LogFontOf(font, dpi);
  const std::wstring digits = WidestDigitsOf(log, limit);
  if (height == log.lfHeight && WidthOf(log, digits) <= width) {
    return nullptr;
  }
  log.lfHeight = height;
  NarrowToFit(log, digits, width);
  return FontHandle(CreateFontIndirectW(&log));
}

}  // namespace tavolen
