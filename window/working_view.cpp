#include "window/working_view.h"

#include <algorithm>
#include <utility>

#include "window/accessible_text.h"

namespace tavolen {
namespace {

WorkingLine StepLine(const WorkingStep& step) {
  return {step.name.empty() ? WorkingLineKind::Problem : WorkingLineKind::Step,
          step.name,
          step.left,
          step.op,
          step.right,
          StepText(step),
          StepWords(step),
          false};
}

WorkingLine DetailLine(const WorkingDetail& detail) {
  return {WorkingLineKind::Detail,
          "",
          detail.left,
          detail.op,
          detail.right,
          "= " + DetailText(detail),
          DetailWords(detail),
          false};
}

WorkingLine StopLine(const std::string& prompt) {
  std::string text = StopText(prompt);
  std::string words = text;
  return {WorkingLineKind::Stop, "",   {}, std::nullopt, {}, std::move(text),
          std::move(words),      false};
}

bool SameLine(const WorkingLine& a, const WorkingLine& b) {
  return a.kind == b.kind && a.text == b.text;
}

}  // namespace

const std::vector<WorkingStep>& WorkingView::Steps() const {
  return StepsOf(working_, keepMixed_);
}

std::size_t WorkingView::Units() const {
  return Steps().size() + (working_.stop ? 1 : 0);
}

// Only the problem when the lines come one at a time, otherwise everything.
void WorkingView::Restart() {
  unitsShown_ = oneLineAtATime_ ? std::min<std::size_t>(1, Units()) : Units();
  nextDetailShown_ = false;
}

void WorkingView::Follow(const WorkingLines& working) {
  const bool newCalculation = working.calculation != working_.calculation;
  std::string whole = tavolen::PlainText(working, true) + tavolen::PlainText(working, true, true);
  if (!newCalculation && whole == whole_) {
    return;  // nothing changed, and what was just revealed is still to be read
  }
  const bool allShown = unitsShown_ >= Units();
  working_ = working;
  whole_ = std::move(whole);
  if (newCalculation) {
    Restart();
  } else if (allShown) {
    unitsShown_ = Units();
  } else {
    unitsShown_ = std::min(unitsShown_, Units());
  }
  Lay(false);
}

void WorkingView::SetDetails(const bool on) {
  details_ = on;
  nextDetailShown_ = false;
  Lay(false);
}

void WorkingView::SetOneLineAtATime(const bool on) {
  oneLineAtATime_ = on;
  Restart();
  Lay(false);
}

void WorkingView::SetKeepMixed(const bool on) {
  const bool changes = !working_.keptMixed.empty() && on != keepMixed_;
  keepMixed_ = on;
  if (changes) {
    Restart();
    Lay(false);
  }
}

void WorkingView::ShowNextLine() {
  if (!OffersMore()) {
    return;
  }
  const std::vector<WorkingStep>& steps = Steps();
  const bool detailNext =
      details_ && !nextDetailShown_ && unitsShown_ < steps.size() && steps[unitsShown_].how;
  if (detailNext) {
    nextDetailShown_ = true;
  } else {
    ++unitsShown_;
    nextDetailShown_ = false;
  }
  Lay(true);
}

void WorkingView::ShowAll() {
  unitsShown_ = Units();
  nextDetailShown_ = false;
  Lay(true);
}

bool WorkingView::OffersMore() const {
  return unitsShown_ < Units();
}

// Lays out the lines shown; a line revealed is one not shown before in the
// same place among its kind.
void WorkingView::Lay(const bool reveal) {
  std::vector<WorkingLine> lines;
  const std::vector<WorkingStep>& all = Steps();
  const std::size_t steps = std::min(unitsShown_, all.size());
  for (std::size_t i = 0; i < all.size(); ++i) {
    const WorkingStep& step = all[i];
    const bool stepShown = i < steps;
    if (details_ && step.how && (stepShown || (i == steps && nextDetailShown_))) {
      lines.push_back(DetailLine(*step.how));
    }
    if (stepShown) {
      lines.push_back(StepLine(step));
    }
  }
  if (working_.stop && unitsShown_ > all.size()) {
    lines.push_back(StopLine(*working_.stop));
  }
  for (WorkingLine& line : lines) {
    line.announce =
        reveal && std::none_of(lines_.begin(), lines_.end(),
                               [&](const WorkingLine& old) { return SameLine(old, line); });
  }
  lines_ = std::move(lines);
}

std::string WorkingView::PlainText() const {
  std::string text;
  for (const WorkingLine& line : lines_) {
    text += line.text + '\n';
  }
  return text;
}

std::vector<LinePiece> PiecesOf(const WorkingLine& line) {
  std::vector<LinePiece> pieces;
  const auto add = [&pieces](const WorkingNumber& number) {
    const std::string lead = (number.negative ? "-" : "") + number.whole;
    if (!lead.empty()) {
      pieces.push_back({lead, {}, {}, true});
    }
    if (!number.denominator.empty()) {
      pieces.push_back({{}, number.numerator, number.denominator, lead.empty()});
    }
  };
  if (line.kind != WorkingLineKind::Problem) {
    pieces.push_back({"=", {}, {}, false});
  }
  add(line.left);
  if (line.op) {
    pieces.push_back({std::string(OperatorSymbol(*line.op)), {}, {}, true});
    add(line.right);
  }
  return pieces;
}

}  // namespace tavolen
