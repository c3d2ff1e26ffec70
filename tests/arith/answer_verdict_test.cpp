#include "arith/answer_verdict.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace tavolen {
namespace {

constexpr auto kAdd = CalcOperator::Add;
constexpr auto kSub = CalcOperator::Subtract;
constexpr auto kMul = CalcOperator::Multiply;
constexpr auto kDiv = CalcOperator::Divide;
constexpr auto kMixed = AnswerForm::MixedNumber;
constexpr auto kImproper = AnswerForm::ImproperFraction;

struct VerdictCase {
  ExactProblem problem;
  AnswerForm form;
  const char* answer;
  Verdict verdict;
  std::optional<Mistake> mistake;
};

// Operands are {W, N, D}.
const VerdictCase kCases[] = {
    {{{1, 1, 2}, {2, 1, 3}, kAdd}, kMixed, "3 5/6", Verdict::Correct, std::nullopt},
    {{{1, 1, 2}, {2, 1, 3}, kAdd}, kImproper, "23/6", Verdict::Correct, std::nullopt},
    {{{0, 1, 2}, {0, 3, 2}, kAdd}, kMixed, "2", Verdict::Correct, std::nullopt},
    {{{0, 2, 3}, {0, 5, 6}, kSub}, kMixed, "-1/6", Verdict::Correct, std::nullopt},
    {{{0, 1, 2}, {0, 1, 2}, kSub}, kMixed, "0", Verdict::Correct, std::nullopt},
    {{{1, 1, 2}, {2, 1, 3}, kAdd}, kMixed, "  3と6分の5 ", Verdict::Correct, std::nullopt},
    {{{1, 1, 2}, {2, 1, 3}, kAdd}, kMixed, "", Verdict::Unreadable, std::nullopt},
    {{{1, 1, 2}, {2, 1, 3}, kAdd}, kMixed, "3 10/12", Verdict::Reduce, std::nullopt},
    {{{0, 1, 2}, {0, 3, 2}, kAdd}, kMixed, "2/1", Verdict::Reduce, std::nullopt},
    {{{0, 1, 2}, {0, 1, 2}, kSub}, kMixed, "0/3", Verdict::Reduce, std::nullopt},
    {{{1, 1, 2}, {2, 1, 3}, kAdd}, kMixed, "2 11/6", Verdict::Carry, std::nullopt},
    {{{1, 1, 2}, {2, 1, 3}, kAdd}, kImproper, "2 11/6", Verdict::Carry, std::nullopt},
    {{{1, 1, 2}, {2, 1, 3}, kAdd}, kMixed, "23/6", Verdict::Form, std::nullopt},
    {{{1, 1, 2}, {2, 1, 3}, kAdd}, kImproper, "3 5/6", Verdict::Form, std::nullopt},
    {{{1, 1, 2}, {2, 1, 3}, kAdd}, kMixed, "4", Verdict::Wrong, std::nullopt},
    {{{0, 1, 3}, {0, 1, 2}, kSub}, kMixed, "1/6", Verdict::Mistake, Mistake::Swap},
    {{{1, 1, 2}, {2, 1, 3}, kAdd}, kMixed, "3 2/5", Verdict::Mistake, Mistake::DenominatorsAdded},
    {{{0, 5, 6}, {0, 1, 3}, kSub},
     kMixed,
     "4/3",
     Verdict::Mistake,
     Mistake::DenominatorsSubtracted},
    {{{0, 1, 2}, {0, 1, 3}, kAdd}, kMixed, "2/6", Verdict::Mistake, Mistake::Numerators},
    {{{1, 1, 2}, {2, 1, 3}, kAdd}, kMixed, "5/6", Verdict::Mistake, Mistake::Wholes},
    {{{1, 1, 2}, {2, 2, 3}, kAdd}, kMixed, "3 1/6", Verdict::Mistake, Mistake::Carry},
    {{{3, 0, 0}, {1, 1, 4}, kSub}, kMixed, "2 1/4", Verdict::Mistake, Mistake::WholeMinus},
    {{{3, 1, 4}, {1, 1, 2}, kSub}, kMixed, "2 1/4", Verdict::Mistake, Mistake::ReversedParts},
    {{{3, 1, 4}, {1, 1, 2}, kSub}, kMixed, "2 3/4", Verdict::Mistake, Mistake::Borrow},
    {{{2, 1, 2}, {3, 1, 3}, kMul}, kMixed, "6 1/6", Verdict::Mistake, Mistake::Parts},
    {{{3, 0, 0}, {0, 2, 5}, kMul}, kMixed, "6/15", Verdict::Mistake, Mistake::WholeTimes},
    {{{0, 2, 3}, {0, 5, 7}, kDiv}, kMixed, "10/21", Verdict::Mistake, Mistake::NoReciprocal},
    {{{0, 2, 3}, {0, 5, 7}, kDiv}, kMixed, "15/14", Verdict::Mistake, Mistake::WrongReciprocal},
    // Where a mistake does not apply, its value is only wrong.
    {{{0, 1, 2}, {2, 1, 3}, kMul}, kMixed, "1/6", Verdict::Wrong, std::nullopt},
    {{{1, 1, 3}, {1, 1, 3}, kAdd}, kMixed, "1 2/3", Verdict::Wrong, std::nullopt},
};

TEST(JudgeTest, EachVerdictAndMistake) {
  for (const VerdictCase& c : kCases) {
    const Judgement judgement = Judge(c.problem, c.form, c.answer);
    EXPECT_EQ(VerdictKey(judgement.verdict), VerdictKey(c.verdict)) << c.answer;
    EXPECT_EQ(judgement.mistake, c.mistake) << c.answer;
  }
}

}  // namespace
}  // namespace tavolen
