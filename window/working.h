// The working of the last calculation as the program writes it: each step's
// name and its numbers as texts, the answer form chosen now applied to the
// last step, and the plain text that is copied.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "arith/fraction.h"
#include "window/controls.h"

namespace tavolen {

class Form1;

// The texts of the working's commands and views, for every front end.
inline constexpr std::string_view kWorkingHeading = "途中式";
inline constexpr std::string_view kWorkingWindowCaption = "途中式 — Tavolen";
inline constexpr std::string_view kCopyCaption = "コピー";
inline constexpr std::string_view kCopiedCaption = "コピーしました";
inline constexpr std::string_view kNoWorkingYet = "「計算」を押すと、ここに途中式が出ます。";
inline constexpr std::string_view kDetailsCaption = "くわしく";
inline constexpr std::string_view kOneLineAtATimeCaption = "1行ずつ";
inline constexpr std::string_view kNextLineCaption = "次の行";
inline constexpr std::string_view kShowAllCaption = "すべて表示";
inline constexpr std::string_view kKeepMixedCaption = "帯分数のまま";
// What a screen reader hears of the answer area while 1行ずつ still hides lines.
inline constexpr std::string_view kAnswerAfterWorking = "答えは途中式のあとに出ます";

// "-1 1/6" is negative, with whole "1", numerator "1" and denominator "6";
// "23/6" has no whole part, "7" no fraction. A part may be a term of whole
// numbers, drawn as it stands: a product "3×2" over "4×9" under one bar,
// cancelled factors "(3÷3)×(2÷2)", a whole part "(1＋2)" before "8＋9" over
// "12" (a compound whole part carries its parentheses; a compound numerator
// or denominator takes them only on one line). A fraction part may be 1 or
// more in a mixed number kept whole: "3 17/12".
struct WorkingNumber {
  bool negative = false;
  std::string whole;
  std::string numerator;
  std::string denominator;
};

// How a step's numbers come about, shaped like a step: each part of a number
// may be a term of whole numbers, "1×2＋1" over "2", "2÷2" over "6÷2", or a
// whole "2×4".
struct WorkingDetail {
  WorkingNumber left;
  std::optional<CalcOperator> op;  // none when the detail is one number
  WorkingNumber right;
};

struct WorkingStep {
  std::string_view name;  // "" for the problem
  WorkingNumber left;
  std::optional<CalcOperator> op;  // none when the step is one number
  WorkingNumber right;
  std::optional<WorkingDetail> how;  // shown just before the step with くわしく
};

struct WorkingLines {
  std::vector<WorkingStep> steps;
  // The same calculation with 帯分数のまま chosen, the problem first; empty
  // where that choice does not change the route.
  std::vector<WorkingStep> keptMixed;
  std::optional<std::string> stop;  // the prompt of the message that ended it
  std::uint64_t calculation = 0;    // changes with each 計算 and 消す
};

[[nodiscard]] WorkingLines WorkingOf(const Form1& form);

// The steps as they are written with 帯分数のまま chosen (`keepMixed`) or not.
[[nodiscard]] const std::vector<WorkingStep>& StepsOf(const WorkingLines& working, bool keepMixed);

// The operator as the window shows it: "＋", "－", "×", "÷".
[[nodiscard]] std::string_view OperatorSymbol(CalcOperator op);

// "-1 1/6"; "3/2 ＋ 7/3".
[[nodiscard]] std::string NumberText(const WorkingNumber& number);
[[nodiscard]] std::string ExpressionText(const WorkingStep& step);

// "(1×2＋1)/2 ＋ (2×3＋1)/3", "-(2÷2)/(6÷2)", "2×4": a compound term in a
// fraction stands in parentheses.
[[nodiscard]] std::string DetailText(const WorkingDetail& detail);

// A line of the working as copied: the problem as it stands, a step as
// "= EXPR（STEP）".
[[nodiscard]] std::string StepText(const WorkingStep& step);

// "計算できません：PROMPT".
[[nodiscard]] std::string StopText(std::string_view prompt);

// The problem, then "= EXPR（STEP）" per step and the stop, a line each; with
// details, "= DETAIL" before each step that has one.
[[nodiscard]] std::string PlainText(const WorkingLines& working, bool withDetails = false,
                                    bool keepMixed = false);

}  // namespace tavolen
