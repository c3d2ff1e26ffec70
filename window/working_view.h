// What a front end shows of the working, the same on every one: whether the
// details (くわしく) are shown, whether the lines come one at a time (1行ずつ),
// whether ＋ and － keep mixed numbers whole (帯分数のまま), how far the lines
// have come, and the lines shown with their texts and words. The choices are
// off at first and hold until changed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "window/working.h"

namespace tavolen {

enum class WorkingLineKind : std::uint8_t { Problem, Detail, Step, Stop };

// One line as shown: a detail has no name, a stop only its texts.
struct WorkingLine {
  WorkingLineKind kind = WorkingLineKind::Problem;
  std::string_view name;  // the step's name; "" for the problem, a detail and a stop
  WorkingNumber left;
  std::optional<CalcOperator> op;  // none when the line is one number, and for a stop
  WorkingNumber right;
  std::string text;   // as copied: "= 3/2 ＋ 7/3（仮分数に直す）", "= (9＋14)/6"
  std::string words;  // as read to screen readers
  // Revealed by 次の行 or すべて表示 just now, to be read out: the answer a
  // calculation brings is read by the answer area, and a switch reads nothing.
  bool announce = false;
};

// A piece of a line as it is painted, left to right: a run of text ("=", an
// operator, a whole part with its sign) or a fraction stacked over its bar.
struct LinePiece {
  std::string text;
  std::string numerator;
  std::string denominator;  // not empty: a fraction
  bool spaced = true;       // a space before it; else it sits close to what is before
  friend bool operator==(const LinePiece&, const LinePiece&) = default;
};

// The pieces of a problem, step or detail line: "=" leads every one but the
// problem, and a fraction sits close to its whole part.
[[nodiscard]] std::vector<LinePiece> PiecesOf(const WorkingLine& line);

class WorkingView {
 public:
  // Takes the working now, after any event: a new calculation shows only its
  // problem when the lines come one at a time; the same one (an answer-form
  // switch) keeps what was shown, and everything if everything was; an
  // unchanged one changes nothing.
  void Follow(const WorkingLines& working);

  // くわしく: the details on or off, keeping the steps shown.
  void SetDetails(bool on);
  // 1行ずつ: one line at a time, the working shown starting again from its
  // problem; off shows all.
  void SetOneLineAtATime(bool on);
  // 帯分数のまま: the working as worked with mixed numbers kept whole, where
  // it differs, from its problem again while lines come one at a time.
  void SetKeepMixed(bool on);
  // Whether the working is on screen: its window or panel open. Only then can
  // it hide the answer.
  void SetShown(bool shown) { shown_ = shown; }
  // 次の行: one more line (a detail counts as one).
  void ShowNextLine();
  // すべて表示: the rest.
  void ShowAll();

  [[nodiscard]] bool details() const { return details_; }
  [[nodiscard]] bool oneLineAtATime() const { return oneLineAtATime_; }
  [[nodiscard]] bool keepMixed() const { return keepMixed_; }
  // Whether 次の行 and すべて表示 are offered: some line is still hidden.
  [[nodiscard]] bool OffersMore() const;
  // Whether the answer area is to be drawn empty, so the answer is not seen
  // before the last line: the working is on screen and lines are still
  // hidden. The labels keep the answer; a screen reader is told
  // kAnswerAfterWorking instead of it.
  [[nodiscard]] bool HidesAnswer() const { return shown_ && OffersMore(); }
  // The lines shown, in order; none before the first calculation and after 消す.
  [[nodiscard]] const std::vector<WorkingLine>& lines() const { return lines_; }
  // The lines shown as plain text, each ending in a line feed, as コピー copies them.
  [[nodiscard]] std::string PlainText() const;

 private:
  [[nodiscard]] const std::vector<WorkingStep>& Steps() const;
  [[nodiscard]] std::size_t Units() const;
  void Restart();
  void Lay(bool reveal);

  WorkingLines working_;
  std::string whole_;  // the whole working as text, to tell when it changes
  bool details_ = false;
  bool oneLineAtATime_ = false;
  bool keepMixed_ = false;
  bool shown_ = false;
  std::size_t unitsShown_ = 0;  // steps (the problem first) and the stop shown
  bool nextDetailShown_ = false;
  std::vector<WorkingLine> lines_;
};

}  // namespace tavolen
