// The lines of the 途中式 window: a control per line of the view, or one for
// the text shown before a working. A line with fractions is drawn by the part
// and named in words; each line is named as it is read out, the lines of the
// previous calculation drawn grey, and the lines a choice revealed read out.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

#include "win32/accessibility.h"
#include "window/working_view.h"

namespace tavolen {

class WorkingLinesPart {
 public:
  // Makes no line yet: Update makes them.
  WorkingLinesPart(HWND parent, const WorkingView& view, const AccessibleAnnotations& annotations);
  WorkingLinesPart(const WorkingLinesPart&) = delete;
  WorkingLinesPart& operator=(const WorkingLinesPart&) = delete;
  ~WorkingLinesPart() { Forget(); }

  // The font the lines are drawn and measured in, at the parent's DPI.
  void SetFont(HFONT font, UINT dpi);
  // After the view changed: the lines made anew when its text did, and named
  // and drawn as the previous calculation's while dimmed. True when made anew.
  bool Update(bool dimmed);
  // Has the lines the view marks as revealed read out.
  void AnnounceRevealed() const;
  // The width the lines need, the step names in one column after the longest
  // expression, in a context with the font selected.
  [[nodiscard]] int Width(HDC dc);
  // Places the lines top down from (x, y), width wide; returns their bottom.
  int Layout(int x, int y, int width, int textHeight) const;
  // Draws a line the part draws; any other control is left alone.
  void Draw(const DRAWITEMSTRUCT& item) const;
  // Lets go of the lines, which go with their parent.
  void Forget();

 private:
  void Rebuild();
  void Clear();
  void Name() const;
  void Add(const std::string& words, bool drawn);
  [[nodiscard]] int Scaled(int pixels) const;

  HWND parent_;
  const WorkingView& view_;
  const AccessibleAnnotations& annotations_;
  HFONT font_ = nullptr;
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
  std::vector<HWND> lines_;
  std::string built_;  // the view's text when the lines were made
  int nameColumn_ = 0;
  bool dimmed_ = false;
};

}  // namespace tavolen
