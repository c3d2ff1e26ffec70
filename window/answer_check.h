// 答え合わせ: a pupil's own answer checked against the problem that 計算 would
// calculate now. The window is left exactly as it was: the calculation runs on
// a copy of the problem in a window of its own, whose message boxes nobody
// sees, so that "would 計算 stop, and why" has one answer only.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "arith/answer_verdict.h"
#include "window/form1.h"

namespace tavolen {

// What every front end shows for checking, so that all say the same.
inline constexpr std::string_view kAnswerFieldCaption = "自分の答え";
inline constexpr std::string_view kAnswerFieldAccessibleName =
    "自分の答え（例：3 5/6、23/6、3と6分の5）";
inline constexpr std::string_view kCheckButtonCaption = "答え合わせ";
inline constexpr std::string_view kRightMark = "○";
inline constexpr std::string_view kNotRightMark = "×";

struct CheckResult {
  Verdict verdict = Verdict::Wrong;
  std::optional<Mistake> mistake;  // only with Verdict::Mistake
  std::string message;
  // Only a finished right answer is right; a right value still to be reduced
  // or rewritten is not yet.
  [[nodiscard]] bool IsRight() const { return verdict == Verdict::Correct; }
};

// The problem as 計算 would take it now: the six fields as the clean-up of
// leaving them leaves them (Text1(0..2), then Text2(0..2)), the operator and
// the answer form. Two equal values are the same problem.
struct CheckedInputs {
  std::array<std::string, 6> fields;
  std::int16_t op = 0;
  std::int16_t form = 0;
  bool operator==(const CheckedInputs&) const = default;
};
[[nodiscard]] CheckedInputs ProblemInputs(const Form1& form);

// Checks the answer text; nothing in the window changes.
[[nodiscard]] CheckResult CheckAnswer(const Form1& form, std::string_view answer);

}  // namespace tavolen
