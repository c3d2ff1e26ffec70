#include "win32/line_painter.h"

#include <algorithm>

#include "win32/handles.h"
#include "win32/wide_text.h"

namespace tavolen {
namespace {

// The text colour taken 40% of the way to the face colour: set apart from
// the steps, and still well readable on the face (the system's grey text is
// for what cannot be used).
COLORREF Lighter(COLORREF ink) {
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  const auto mix = [](int from, int to) { return static_cast<BYTE>(from + (to - from) * 2 / 5); };
  return RGB(mix(GetRValue(ink), GetRValue(face)), mix(GetGValue(ink), GetGValue(face)),
             mix(GetBValue(ink), GetBValue(face)));
}

}  // namespace

// A run of text on the line, or a fraction stacked over its bar.
struct LinePainter::Piece {
  std::wstring text;
  std::wstring numerator;
  std::wstring denominator;
  bool spaceBefore = true;
};

bool IsDrawn(const WorkingLine& line) {
  return line.kind != WorkingLineKind::Stop;
}

int WidthOf(HDC dc, std::wstring_view text) {
  SIZE size{};
  GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
  return size.cx;
}

LinePainter::LinePainter(HDC dc, int barGap, int barHeight)
    : dc_(dc), space_(WidthOf(dc, L" ")), barGap_(barGap), barHeight_(barHeight) {
  GetTextMetricsW(dc, &metrics_);
}

std::vector<LinePainter::Piece> LinePainter::PiecesOf(const WorkingLine& line) {
  std::vector<Piece> pieces;
  for (const LinePiece& piece : tavolen::PiecesOf(line)) {
    pieces.push_back(
        {WideOf(piece.text), WideOf(piece.numerator), WideOf(piece.denominator), piece.spaced});
  }
  return pieces;
}

int LinePainter::Before(const Piece& piece) const {
  return piece.spaceBefore ? space_ : 1;
}

int LinePainter::WidthOfPiece(const Piece& piece) const {
  if (piece.denominator.empty()) {
    return WidthOf(dc_, piece.text);
  }
  return std::max(WidthOf(dc_, piece.numerator), WidthOf(dc_, piece.denominator)) + 2 * barGap_;
}

int LinePainter::ExpressionWidth(const WorkingLine& line) const {
  if (!IsDrawn(line)) {
    return WidthOf(dc_, WideOf(line.text));
  }
  int width = 0;
  for (const Piece& piece : PiecesOf(line)) {
    width += Before(piece) + WidthOfPiece(piece);
  }
  return width;
}

int LinePainter::LineWidth(const WorkingLine& line, int nameColumn) const {
  const int name = line.name.empty() ? 0 : 2 * space_ + WidthOf(dc_, WideOf(line.name));
  return std::max(nameColumn + name, ExpressionWidth(line));
}

// Text on the line is centred on the fraction bars.
void LinePainter::DrawOnLine(const std::wstring& text, int x, int bar) const {
  const int baseline = bar + (metrics_.tmAscent - metrics_.tmDescent) / 2;
  TextOutW(dc_, x, baseline, text.c_str(), static_cast<int>(text.size()));
}

void LinePainter::Draw(const WorkingLine& line, const RECT& rect, int nameColumn,
                       bool dimmed) const {
  const COLORREF text = GetSysColor(dimmed ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
  const COLORREF ink = line.kind == WorkingLineKind::Detail ? Lighter(text) : text;
  const BrushHandle inkBrush(CreateSolidBrush(ink));
  FillRect(dc_, &rect, GetSysColorBrush(COLOR_BTNFACE));
  SetBkMode(dc_, TRANSPARENT);
  SetTextAlign(dc_, TA_BASELINE | TA_LEFT | TA_NOUPDATECP);
  SetTextColor(dc_, ink);
  const int bar = (rect.top + rect.bottom) / 2;
  int x = rect.left;
  for (const Piece& piece : PiecesOf(line)) {
    x += Before(piece);
    const int width = WidthOfPiece(piece);
    if (piece.denominator.empty()) {
      DrawOnLine(piece.text, x, bar);
    } else {
      const RECT barRect{x, bar, x + width, bar + barHeight_};
      FillRect(dc_, &barRect, inkBrush.get());
      const auto centred = [&](const std::wstring& digits, const int baseline) {
        TextOutW(dc_, x + (width - WidthOf(dc_, digits)) / 2, baseline, digits.c_str(),
                 static_cast<int>(digits.size()));
      };
      centred(piece.numerator, bar - barGap_ - metrics_.tmDescent);
      centred(piece.denominator, bar + barHeight_ + barGap_ + metrics_.tmAscent);
    }
    x += width;
  }
  if (!line.name.empty()) {
    DrawOnLine(WideOf(line.name), std::max(nameColumn, x) + space_, bar);
  }
}

}  // namespace tavolen
