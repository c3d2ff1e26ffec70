// The lines of the usual route, made from the steps the calculation recorded:
// each step's name, its expression and its detail.
#pragma once

#include "arith/working.h"
#include "window/working.h"

namespace tavolen {

// The line of a recorded step, with its detail, for a calculation of `problem`.
[[nodiscard]] WorkingStep LineOf(const Step& step, const Problem& problem);

// The mixed number of an answer, with its detail, exactly as the answer-form
// handler writes it into the labels; none where the answer is no such number.
[[nodiscard]] std::optional<WorkingStep> MixedAnswerLine(const StepFraction& answer);

}  // namespace tavolen
