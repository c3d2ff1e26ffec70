// 帯分数のまま: ＋ and － of mixed numbers worked part by part, the whole parts
// together and the fraction parts together, carrying or borrowing one. This
// route works its numbers by its own arithmetic from the operands as read.
#pragma once

#include <vector>

#include "arith/working.h"
#include "window/working.h"

namespace tavolen {

// The lines after the problem, each with its detail, ending in the answer in
// the form chosen (`improper` for 仮分数); empty where the route does not
// apply: not ＋ or －, an operand that is neither a whole number nor has a
// proper fraction part, no operand with both parts, or a difference below 0.
[[nodiscard]] std::vector<WorkingStep> KeptMixedSteps(const Problem& problem, bool improper);

}  // namespace tavolen
