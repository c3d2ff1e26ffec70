// Judging over random problems of the sizes the fields take: every writing of
// a mistake's value names that mistake (or an earlier one of the same value),
// every writing of the right answer is judged by how it is written, and
// nothing overflows at the fields' extremes.
#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>
#include <vector>

#include "arith/answer_verdict.h"
#include "arith/pupil_answer.h"

namespace tavolen {
namespace {

constexpr std::int64_t kMaxTyped = 999999999;

struct Writing {
  std::string text;
  WrittenShape shape;
  bool lowest;
  bool carried = false;  // a mixed number whose fraction part is 1 or more
};

// Every way a pupil may write the value, where its numbers fit in 9 digits.
std::vector<Writing> Writings(const Rational& v) {
  const std::string sign = v.IsNegative() ? "-" : "";
  const std::int64_t n = v.IsNegative() ? -v.Numerator() : v.Numerator();
  const std::int64_t d = v.Denominator();
  const std::int64_t w = n / d;
  const std::int64_t r = n % d;
  const auto s = [](std::int64_t x) { return std::to_string(x); };
  // Room for the unreduced writing with a leading zero.
  if (20 * n > kMaxTyped || 20 * d > kMaxTyped) {
    return {};
  }
  std::vector<Writing> out{{sign + s(n) + "/" + s(d), WrittenShape::Fraction, d != 1},
                           {sign + s(d) + "分の" + s(n), WrittenShape::Fraction, d != 1},
                           {sign + "0" + s(2 * n) + "/" + s(2 * d), WrittenShape::Fraction, false}};
  if (d == 1) {
    out.push_back({sign + s(n), WrittenShape::Whole, true});
  }
  if (w >= 1 && r != 0) {
    out.push_back({sign + s(w) + " " + s(r) + "/" + s(d), WrittenShape::Mixed, true});
    out.push_back({sign + s(w) + "と" + s(d) + "分の" + s(r), WrittenShape::Mixed, true});
  }
  if (w >= 2) {
    out.push_back(
        {sign + s(w - 1) + " " + s(r + d) + "/" + s(d), WrittenShape::Mixed, d != 1, true});
  }
  return out;
}

// How a right answer is judged, from how it is written.
Verdict RightVerdict(const Writing& writing, const Rational& right, AnswerForm form) {
  if (!writing.lowest || writing.carried) {
    return writing.lowest ? Verdict::Carry : Verdict::Reduce;
  }
  const bool mixedWanted =
      form == AnswerForm::MixedNumber && (right < Rational(-1) || Rational(1) < right);
  return right.IsWhole() || (writing.shape == WrittenShape::Mixed) == mixedWanted ? Verdict::Correct
                                                                                  : Verdict::Form;
}

// Over random problems, half of small operands, where the mistakes' conditions
// meet, half of any size.
TEST(JudgePropertyTest, MistakesNamedAndRightAnswersJudgedByTheirWriting) {
  std::mt19937_64 rng(27);
  const auto draw = [&rng](bool small, std::uint64_t most) {
    return static_cast<std::int64_t>(rng() % ((small ? 12 : most) + 1));
  };
  std::array<int, kMistakeCount> named{};
  for (int round = 0; round < 4000; ++round) {
    std::array<OperandParts, 2> o{};
    for (OperandParts& e : o) {
      const bool small = rng() % 2 == 0;
      e = {draw(small, 999), draw(small, 9999), draw(small, 9999)};
      e.numerator = e.denominator == 0 ? 0 : e.numerator;  // refused before any checking
    }
    const ExactProblem p{o[0], o[1], static_cast<CalcOperator>(rng() % 4)};
    if (p.op == CalcOperator::Divide && p.second.Value().IsZero()) {
      continue;
    }
    const Rational right = p.RightAnswer();
    for (const AnswerForm form : {AnswerForm::MixedNumber, AnswerForm::ImproperFraction}) {
      for (const Writing& writing : Writings(right)) {
        EXPECT_EQ(Judge(p, form, writing.text).verdict, RightVerdict(writing, right, form))
            << writing.text << " form " << static_cast<int>(form);
      }
    }
    for (int i = 0; i < kMistakeCount; ++i) {
      const auto value = MistakeValue(p, static_cast<Mistake>(i));
      if (!value || *value == right) {
        continue;
      }
      for (const Writing& writing : Writings(*value)) {
        const Judgement j = Judge(p, AnswerForm::MixedNumber, writing.text);
        ASSERT_EQ(j.verdict, Verdict::Mistake) << writing.text;
        EXPECT_LE(static_cast<int>(*j.mistake), i) << writing.text;
        EXPECT_EQ(MistakeValue(p, *j.mistake), value) << writing.text;
        ++named.at(static_cast<std::size_t>(*j.mistake));
      }
    }
  }
  for (int i = 0; i < kMistakeCount; ++i) {
    EXPECT_GT(named.at(static_cast<std::size_t>(i)), 0) << MistakeKey(static_cast<Mistake>(i));
  }
}

TEST(JudgePropertyTest, NoOverflowAtTheFieldsExtremes) {
  std::vector<OperandParts> operands;
  for (const std::int64_t w : {0, 1, 999}) {
    for (const std::int64_t n : {0, 1, 9998, 9999}) {
      for (const std::int64_t d : {1, 9998, 9999}) {
        operands.push_back({w, n, d});
      }
    }
  }
  for (const OperandParts& a : operands) {
    for (const OperandParts& b : operands) {
      for (int op = 0; op < 4; ++op) {
        const ExactProblem p{a, b, static_cast<CalcOperator>(op)};
        if (p.op == CalcOperator::Divide && b.Value().IsZero()) {
          continue;
        }
        for (const char* answer : {"999999999 999999999/999999998", "-1/999999999", "0"}) {
          ASSERT_NO_THROW((void)Judge(p, AnswerForm::MixedNumber, answer)) << answer;
        }
      }
    }
  }
}

}  // namespace
}  // namespace tavolen
