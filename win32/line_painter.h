// A working line drawn as a pupil writes it: "= 3/2 ＋ 7/3" with each
// fraction stacked over its bar, a term of a part ("3×2", "(3÷3)×(2÷2)")
// drawn as it stands, the step's name in a column after the expressions, and
// a detail lighter than the steps.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <windows.h>

#include "window/working_view.h"

namespace tavolen {

// Whether the line is drawn with its fractions stacked; a stop is plain text.
[[nodiscard]] bool IsDrawn(const WorkingLine& line);

[[nodiscard]] int WidthOf(HDC dc, std::wstring_view text);

// Measures and draws lines in a device context with the font selected; the
// gap between a bar and its digits and the bar's thickness in pixels.
class LinePainter {
 public:
  LinePainter(HDC dc, int barGap, int barHeight);

  [[nodiscard]] int Space() const { return space_; }
  [[nodiscard]] int TextHeight() const { return metrics_.tmHeight; }
  // The expression's width, without the name.
  [[nodiscard]] int ExpressionWidth(const WorkingLine& line) const;
  // The whole line's width with its name in the column at nameColumn.
  [[nodiscard]] int LineWidth(const WorkingLine& line, int nameColumn) const;
  // Draws the line in rect, its bars across the middle; dimmed for the
  // previous calculation's working.
  void Draw(const WorkingLine& line, const RECT& rect, int nameColumn, bool dimmed) const;

 private:
  struct Piece;
  [[nodiscard]] static std::vector<Piece> PiecesOf(const WorkingLine& line);
  [[nodiscard]] int WidthOfPiece(const Piece& piece) const;
  [[nodiscard]] int Before(const Piece& piece) const;
  void DrawOnLine(const std::wstring& text, int x, int bar) const;

  HDC dc_;
  TEXTMETRICW metrics_{};
  int space_;
  int barGap_;
  int barHeight_;
};

}  // namespace tavolen
