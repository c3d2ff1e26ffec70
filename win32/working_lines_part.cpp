#include "win32/working_lines_part.h"

#include <algorithm>

#include <commctrl.h>

#include "win32/child_window.h"
#include "win32/control_ids.h"
#include "win32/handles.h"
#include "win32/line_painter.h"
#include "win32/main_layout.h"
#include "win32/wide_text.h"
#include "window/accessible_text.h"
#include "window/working.h"

namespace tavolen {
namespace {

// Pixels at 96 DPI between a fraction's bar and its digits.
constexpr int kBarGap = 2;

}  // namespace

WorkingLinesPart::WorkingLinesPart(HWND parent, const WorkingView& view,
                                   const AccessibleAnnotations& annotations)
    : parent_(parent), view_(view), annotations_(annotations) {}

void WorkingLinesPart::SetFont(HFONT font, UINT dpi) {
  font_ = font;
  dpi_ = dpi;
  for (HWND line : lines_) {
    SendMessageW(line, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  }
}

bool WorkingLinesPart::Update(const bool dimmed) {
  const bool dimming = dimmed != dimmed_;
  dimmed_ = dimmed;
  const bool changed = lines_.empty() || view_.PlainText() != built_;
  if (changed) {
    Rebuild();
  } else if (dimming) {
    Name();
  }
  if (dimming) {
    RedrawWindow(parent_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  }
  return changed;
}

// Only the lines the view marks: those 次の行 or すべて表示 brought.
void WorkingLinesPart::AnnounceRevealed() const {
  const std::vector<WorkingLine>& lines = view_.lines();
  for (std::size_t i = 0; i < lines.size() && i < lines_.size(); ++i) {
    if (lines[i].announce) {
      NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED, lines_[i], OBJID_CLIENT, CHILDID_SELF);
    }
  }
}

void WorkingLinesPart::Rebuild() {
  Clear();
  for (const WorkingLine& line : view_.lines()) {
    Add(line.words, IsDrawn(line));
  }
  if (view_.lines().empty()) {
    Add(std::string(kNoWorkingYet), false);
  }
  built_ = view_.PlainText();
  Name();
}

void WorkingLinesPart::Clear() {
  for (HWND line : lines_) {
    annotations_.Clear(line);
    DestroyWindow(line);
  }
  lines_.clear();
}

void WorkingLinesPart::Forget() {
  for (HWND line : lines_) {
    annotations_.Clear(line);
  }
  lines_.clear();
}

// Each line is named as it is read out when it appears, and the window says
// whose working it is; a drawn line's text, which nobody sees, is its name too.
void WorkingLinesPart::Name() const {
  const std::vector<WorkingLine>& lines = view_.lines();
  for (std::size_t i = 0; i < lines.size() && i < lines_.size(); ++i) {
    const std::string name = WorkingLineReadOut(lines[i].words, dimmed_);
    annotations_.SetName(lines_[i], name);
    if (IsDrawn(lines[i])) {
      SetWindowTextW(lines_[i], WideOf(name).c_str());
    }
  }
  annotations_.SetDescription(parent_, WorkingDescription(dimmed_));
}

// A line with fractions is drawn by the part and named in words; a line of
// plain text draws and names itself.
void WorkingLinesPart::Add(const std::string& words, const bool drawn) {
  const DWORD style = drawn ? SS_OWNERDRAW : (SS_LEFT | SS_NOPREFIX);
  const int id = kWorkingFirstLineId + static_cast<int>(lines_.size());
  HWND control = CreateChild(parent_, WC_STATICW, WideOf(words).c_str(), id, WS_VISIBLE | style);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  annotations_.SetName(control, words);
  annotations_.SetLiveRegion(control);
  lines_.push_back(control);
}

int WorkingLinesPart::Scaled(const int pixels) const {
  return ScaledToDpi(pixels, dpi_);
}

int WorkingLinesPart::Width(HDC dc) {
  const LinePainter painter(dc, Scaled(kBarGap), Scaled(1));
  const std::vector<WorkingLine>& lines = view_.lines();
  nameColumn_ = 0;
  for (const WorkingLine& line : lines) {
    // A detail has no name, and may reach under the names of the steps.
    if (IsDrawn(line) && line.kind != WorkingLineKind::Detail) {
      nameColumn_ = std::max(nameColumn_, painter.ExpressionWidth(line));
    }
  }
  int width = 0;
  for (const WorkingLine& line : lines) {
    width = std::max(width, IsDrawn(line) ? painter.LineWidth(line, nameColumn_)
                                          : painter.ExpressionWidth(line));
  }
  if (lines.empty()) {
    width = WidthOf(dc, WideOf(kNoWorkingYet));
  }
  return width;
}

// A drawn line is two text lines high with room around its bars.
int WorkingLinesPart::Layout(const int x, int y, const int width, const int textHeight) const {
  const std::vector<WorkingLine>& lines = view_.lines();
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const bool drawn = i < lines.size() && IsDrawn(lines[i]);
    const int height = drawn ? 2 * textHeight + 3 * Scaled(kBarGap) : textHeight;
    MoveWindow(lines_[i], x, y, width, height, TRUE);
    y += height;
  }
  return y;
}

void WorkingLinesPart::Draw(const DRAWITEMSTRUCT& item) const {
  const auto at = std::ranges::find(lines_, item.hwndItem);
  const auto index = static_cast<std::size_t>(at - lines_.begin());
  if (at == lines_.end() || index >= view_.lines().size()) {
    return;
  }
  const SelectedFont selected(item.hDC, font_);
  const LinePainter painter(item.hDC, Scaled(kBarGap), std::max(1, Scaled(1)));
  // The previous calculation's lines are grey, as its answer is.
  painter.Draw(view_.lines()[index], item.rcItem, nameColumn_, dimmed_);
}

}  // namespace tavolen
