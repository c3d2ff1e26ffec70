#include "arith/answer_verdict.h"

#include <array>

#include "arith/pupil_answer.h"

namespace tavolen {

namespace {

// How the window writes the right answer: a whole number when it is whole;
// otherwise a fraction, or with 帯分数 chosen a mixed number from 1 up.
WrittenShape WindowShape(const Rational& right, AnswerForm form) {
  if (right.IsWhole()) {
    return WrittenShape::Whole;
  }
  const bool belowOne = right.IsNegative() ? Rational(-1) < right : right < Rational(1);
  return form == AnswerForm::MixedNumber && !belowOne ? WrittenShape::Mixed
                                                      : WrittenShape::Fraction;
}

// The answer has the right value: is it also finished as the window would write it?
Verdict Finish(const PupilAnswer& answer, const Rational& right, AnswerForm form) {
  if (!answer.InLowestTerms()) {
    return Verdict::Reduce;
  }
  if (answer.Shape() == WrittenShape::Mixed && answer.numerator >= answer.denominator) {
    return Verdict::Carry;
  }
  return answer.Shape() == WindowShape(right, form) ? Verdict::Correct : Verdict::Form;
}

}  // namespace

std::string_view VerdictKey(Verdict verdict) {
  constexpr std::array<std::string_view, 8> kKeys{
      "nocalc", "unreadable", "correct", "reduce", "carry", "form", "mistake", "wrong",
  };
  return kKeys.at(static_cast<std::size_t>(verdict));
}

Judgement Judge(const ExactProblem& problem, AnswerForm form, std::string_view answer) {
  const std::optional<PupilAnswer> read = ReadPupilAnswer(answer);
  if (!read) {
    return {Verdict::Unreadable, std::nullopt};
  }
  const Rational value = read->Value();
  const Rational right = problem.RightAnswer();
  if (value == right) {
    return {Finish(*read, right, form), std::nullopt};
  }
  if (const std::optional<Mistake> mistake = FindMistake(problem, value)) {
    return {Verdict::Mistake, mistake};
  }
  return {Verdict::Wrong, std::nullopt};
}

}  // namespace tavolen
