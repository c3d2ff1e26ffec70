// Judging a pupil's answer to a problem: right and finished, right in value
// but not finished (and how), a known mistake, or simply wrong.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "arith/answer_form.h"
#include "arith/mistakes.h"

namespace tavolen {

enum class Verdict : std::uint8_t {
  NoCalc,
  Unreadable,
  Correct,
  Reduce,
  Carry,
  Form,
  Mistake,
  Wrong
};

// The key that names the verdict to other programs: "nocalc", "correct", ….
[[nodiscard]] std::string_view VerdictKey(Verdict verdict);

struct Judgement {
  Verdict verdict = Verdict::Wrong;
  std::optional<Mistake> mistake;  // only with Verdict::Mistake
};

// The answer text judged against the problem, whose answer the window writes
// in the given form. Never NoCalc: the problem is one the calculation finishes.
[[nodiscard]] Judgement Judge(const ExactProblem& problem, AnswerForm form,
                              std::string_view answer);

}  // namespace tavolen
