// Judging over random problems of the sizes the fields take: every writing of
// a mistake's value names that mistake (or an earlier one giving the same
// value), every writing of the right answer is judged by how it is written,
// and nothing overflows.
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

OperandParts RandomOperand(std::mt19937_64& rng) {
  const bool small = rng() % 2 == 0;
  const auto draw = [&rng](std::int64_t most) {
    return static_cast<std::int64_t>(rng() % static_cast<std::uint64_t>(most + 1));
  };
  OperandParts o{draw(small ? 4 : 999), draw(small ? 12 : 9999), draw(small ? 12 : 9999)};
  if (o.denominator == 0) {
    o.numerator = 0;  // a numerator over 0 is refused before any checking
  }
  return o;
}

ExactProblem RandomProblem(std::mt19937_64& rng) {
  const auto op = static_cast<CalcOperator>(rng() % 4);
  return {RandomOperand(rng), RandomOperand(rng), op};
}

std::string FullWidth(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c >= '0' && c <= '9') {
      out += "\xEF\xBC";
      out += static_cast<char>(0x90 + (c - '0'));
    } else {
      out += c == '/' ? "／" : c == '-' ? "－" : std::string(1, c);
    }
  }
  return out;
}

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
  std::vector<Writing> out;
  if (n > kMaxTyped || d > kMaxTyped) {
    return out;
  }
  if (d == 1) {
    out.push_back({sign + s(n), WrittenShape::Whole, true});
  }
  const auto fraction = [&](std::int64_t k, bool lowest) {
    out.push_back({sign + s(n * k) + "/" + s(d * k), WrittenShape::Fraction, lowest});
    out.push_back({sign + s(d * k) + "分の" + s(n * k), WrittenShape::Fraction, lowest});
  };
  fraction(1, d != 1);
  out.push_back({FullWidth(sign + s(n) + "/" + s(d)), WrittenShape::Fraction, d != 1});
  if (2 * n <= kMaxTyped && 2 * d <= kMaxTyped && n != 0) {
    fraction(2, false);
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
  if (!writing.lowest) {
    return Verdict::Reduce;
  }
  if (writing.carried) {
    return Verdict::Carry;
  }
  if (right.IsWhole()) {
    return Verdict::Correct;
  }
  const bool belowOne = Rational(-1) < right && right < Rational(1);
  const bool mixedWanted = form == AnswerForm::MixedNumber && !belowOne;
  return (writing.shape == WrittenShape::Mixed) == mixedWanted ? Verdict::Correct : Verdict::Form;
}

TEST(JudgePropertyTest, MistakesAreNamed) {
  std::mt19937_64 rng(27);
  std::array<int, kMistakeCount> named{};
  for (int round = 0; round < 4000; ++round) {
    const ExactProblem p = RandomProblem(rng);
    if (p.op == CalcOperator::Divide && p.second.Value().IsZero()) {
      continue;
    }
    const Rational right = p.RightAnswer();
    for (int i = 0; i < kMistakeCount; ++i) {
      const auto value = MistakeValue(p, static_cast<Mistake>(i));
      if (!value || *value == right) {
        continue;
      }
      for (const Writing& writing : Writings(*value)) {
        const Judgement j = Judge(p, AnswerForm::MixedNumber, writing.text);
        ASSERT_EQ(j.verdict, Verdict::Mistake) << writing.text << " round " << round;
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

TEST(JudgePropertyTest, RightAnswerJudgedByItsWriting) {
  std::mt19937_64 rng(2027);
  for (int round = 0; round < 4000; ++round) {
    const ExactProblem p = RandomProblem(rng);
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
  }
}

TEST(JudgePropertyTest, NoOverflowAtTheFieldsExtremes) {
  const std::vector<std::int64_t> wholes{0, 1, 998, 999};
  const std::vector<std::int64_t> parts{0, 1, 9998, 9999};
  const std::vector<const char*> answers{"999999999 999999999/999999998", "-1/999999999",
                                         "999999999", "-999999998 1/999999999", "0"};
  std::vector<OperandParts> operands;
  for (const std::int64_t w : wholes) {
    for (const std::int64_t n : parts) {
      for (const std::int64_t d : parts) {
        if (d != 0 || n == 0) {
          operands.push_back({w, n, d});
        }
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
        for (const char* answer : answers) {
          ASSERT_NO_THROW((void)Judge(p, AnswerForm::MixedNumber, answer)) << answer;
        }
      }
    }
  }
}

}  // namespace
}  // namespace tavolen
