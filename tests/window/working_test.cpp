#include "window/working.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>

#include "tests/window/window_fixture.h"

namespace tavolen::testing {
namespace {

__extension__ using Int128 = __int128;

std::string NamesOf(const WorkingLines& working) {
  std::string names;
  for (const WorkingStep& step : working.steps) {
    names += names.empty() ? "" : ",";
    names += step.name.empty() ? "problem" : std::string(step.name);
  }
  if (working.stop) {
    names += names.empty() ? "stop" : ",stop";
  }
  return names;
}

struct Row {
  const char* name;
  const char* fields;  // as Window::Enter takes them
  std::int16_t op;     // Option1 index
  std::int16_t form;   // Option2 index
  const char* steps;   // step names in order, "problem" and "stop" for those
};

// Where each step appears and where it does not; the golden scripts hold the
// expressions of most of these, and the overflows the keyboard cannot reach.
const Row kRows[] = {
    {"WholePartMakesImproper", "1|1|2|2|1|3", 0, 0,
     "problem,仮分数に直す,通分する,計算する,帯分数に直す"},
    {"WholePartWithoutDenominatorStaysWhole", "3|||4||", 0, 0, "problem,計算する"},
    {"ImproperFormKeepsTheAnswer", "1|1|2|2|1|3", 0, 1, "problem,仮分数に直す,通分する,計算する"},
    {"ProperAnswerNotMixed", "|1|2||1|3", 0, 0, "problem,通分する,計算する"},
    {"OperandsReducedThenSameDenominator", "|2|4||3|6", 0, 0, "problem,約分する,計算する,約分する"},
    {"ZeroOverADenominatorReduced", "|0|5||1|2", 0, 0, "problem,約分する,通分する,計算する"},
    {"SameDenominatorNoCommonOne", "|1|5||2|5", 1, 0, "problem,計算する"},
    {"ZeroDifferenceReduced", "|3|7||3|7", 1, 0, "problem,計算する,約分する"},
    {"NegativeMixedNumber", "|1|2||7|4", 1, 0, "problem,通分する,計算する,帯分数に直す"},
    {"MultiplyNeedsNoCommonDenominator", "|2|3||5|7", 2, 0, "problem,計算する"},
    {"MultiplyCancels", "|2|3||3|4", 2, 0, "problem,かける前に約分する,計算する"},
    {"DivideTakesTheReciprocal", "|2|3||5|7", 3, 0, "problem,逆数をかける,計算する"},
    {"DivideCancelsDenominators", "|1|2||1|4", 3, 0,
     "problem,逆数をかける,かける前に約分する,計算する"},
    {"DivideCancelsNumerators", "|2|3||4|5", 3, 1,
     "problem,逆数をかける,かける前に約分する,計算する"},
    {"BareNumeratorStopsAfterTheProblem", "|3|||1|2", 0, 0, "problem,stop"},
    {"DivisionByZeroStopsAfterReducing", "|2|4||0|3", 3, 0, "problem,約分する,stop"},
    {"ProductOverflowStopsAfterCancelling", "999|2|9998||2|9997", 3, 0,
     "problem,仮分数に直す,約分する,逆数をかける,かける前に約分する,stop"},
    {"LargestCommonMultipleFits", "|1|30370005||1|30370004", 0, 0, "problem,通分する,計算する"},
    {"CommonMultipleOverflowOfEqualDenominators", "|1|30370005||1|30370005", 0, 0, "problem,stop"},
    {"SumOverflowStopsAfterTheCommonDenominator", "|2147483647|30370005||1|30370004", 0, 0,
     "problem,通分する,stop"},
    {"MixedOperandOverflowStopsAfterTheProblem", "50000||50000|||", 0, 0, "problem,stop"},
    {"FieldBeyondLongStopsBeforeTheProblem", "2147483648|||||", 0, 0, "stop"},
};

TEST(Working, StepsAppearWhereTheCalculationTakesThem) {
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.name);
    Window w;
    w.Enter("|||3||");
    w.form.Click(Id("Command1"));
    w.Enter(row.fields);
    w.Choose(row.op, row.form);
    w.form.Click(Id("Command1"));
    EXPECT_EQ(NamesOf(WorkingOf(w.form)), row.steps);
  }
}

// Exact rationals, independent of the program's own arithmetic.
struct Rational {
  Int128 num = 0;
  Int128 den = 1;  // 0 for no value (a zero denominator under a numerator)
};

Int128 Digits(std::string_view text) {
  Int128 value = 0;
  for (const char c : text) {
    value = value * 10 + (c - '0');
  }
  return value;
}

// "7", "3/2", "1 1/2", "-1 1/6" as written in the working.
Rational NumberValue(std::string_view text) {
  const bool negative = text.starts_with('-');
  text.remove_prefix(negative ? 1 : 0);
  const std::size_t space = text.find(' ');
  const Int128 whole = space == std::string_view::npos ? 0 : Digits(text.substr(0, space));
  text.remove_prefix(space == std::string_view::npos ? 0 : space + 1);
  const std::size_t bar = text.find('/');
  const Int128 den = bar == std::string_view::npos ? 1 : Digits(text.substr(bar + 1));
  const Int128 num = whole * den + Digits(text.substr(0, bar));
  return {negative ? -num : num, den};
}

Rational Apply(const Rational& a, const std::string_view op, const Rational& b) {
  if (op == "＋") {
    return {a.num * b.den + b.num * a.den, a.den * b.den};
  }
  if (op == "－") {
    return {a.num * b.den - b.num * a.den, a.den * b.den};
  }
  if (op == "×") {
    return {a.num * b.num, a.den * b.den};
  }
  return {a.num * b.den, a.den * b.num};
}

// The value of "A op B" or of a single number; for a division by 0, the
// divisor's value alone, and no value when it is not 0.
Rational ExpressionValue(const std::string& text, bool& byZero) {
  for (const std::string_view op : {"＋", "－", "×", "÷"}) {
    const std::string spaced = " " + std::string(op) + " ";
    const std::size_t at = text.find(spaced);
    if (at != std::string::npos) {
      const Rational a = NumberValue(std::string_view(text).substr(0, at));
      const Rational b = NumberValue(std::string_view(text).substr(at + spaced.size()));
      byZero = op == "÷" && b.num == 0;
      return byZero ? Rational{} : Apply(a, op, b);
    }
  }
  byZero = false;
  return NumberValue(text);
}

// The value the fields enter, as a pupil would work it out.
Rational OperandValue(const std::string& whole, const std::string& numerator,
                      const std::string& denominator) {
  if (Digits(denominator) == 0) {
    return Digits(numerator) > 0 ? Rational{0, 0} : Rational{Digits(whole), 1};
  }
  return NumberValue(whole + " " + numerator + "/" + denominator);
}

// Every step of a working equals the answer in value, its last step is the
// answer as the window shows it, and it stops exactly where the window showed
// a message, with that message's prompt.
void CheckWorking(Window& w, const std::int16_t op, const std::string& context) {
  const WorkingLines working = WorkingOf(w.form);
  const Rational first =
      OperandValue(w.Field("Text1(2)").Text, w.Field("Text1(1)").Text, w.Field("Text1(0)").Text);
  const Rational second =
      OperandValue(w.Field("Text2(2)").Text, w.Field("Text2(1)").Text, w.Field("Text2(0)").Text);
  const std::string_view symbol = OperatorSymbol(static_cast<CalcOperator>(op));
  ASSERT_FALSE(working.steps.empty()) << context;
  const bool refused = first.den == 0 || second.den == 0;
  for (const WorkingStep& step : working.steps) {
    bool byZero = false;
    const Rational value = ExpressionValue(ExpressionText(step), byZero);
    if (!refused && !(op == 3 && second.num == 0)) {
      const Rational answer = Apply(first, symbol, second);
      ASSERT_TRUE(value.den != 0 && value.num * answer.den == answer.num * value.den)
          << context << ": " << ExpressionText(step);
    } else if (!refused) {
      ASSERT_TRUE(byZero) << context << ": " << ExpressionText(step);
    }
  }
  const std::vector<std::string>& events = w.runtime.events;
  if (events.empty()) {
    ASSERT_FALSE(working.stop) << context;
    ASSERT_EQ(ExpressionText(working.steps.back()), AnswerText(w.form)) << context;
  } else {
    ASSERT_TRUE(working.stop) << context;
    ASSERT_EQ(kErrorBox + *working.stop, events.back()) << context;
  }
}

TEST(Working, EveryStepEqualsTheAnswerAndStopsWhereTheWindowDid) {
  std::mt19937 random(1313);
  // A quarter of the fields empty, so that whole numbers, refusals and
  // divisions by zero come up; the rest as long as the keyboard allows.
  const auto field = [&random](const std::int32_t largest) {
    const auto value = std::uniform_int_distribution<std::int32_t>(0, largest)(random);
    return random() % 4 == 0 ? std::string() : std::to_string(value);
  };
  int stops = 0;
  for (int i = 0; i < 20000 && !HasFailure(); ++i) {
    Window w;
    const std::string six = field(999) + "|" + field(9999) + "|" + field(9999) + "|" + field(999) +
                            "|" + field(9999) + "|" + field(9999);
    const auto op = static_cast<std::int16_t>(random() % 4);
    const auto form = static_cast<std::int16_t>(random() % 2);
    w.Enter(six);
    w.Choose(op, form);
    w.form.Click(Id("Command1"));
    const std::string context = six + " op " + std::to_string(op) + " form " + std::to_string(form);
    CheckWorking(w, op, context);
    stops += w.runtime.events.empty() ? 0 : 1;
    // The other answer form changes the last step as it changes the labels.
    w.form.Click(ControlId{ControlName::Option2, static_cast<std::int16_t>(1 - form)});
    CheckWorking(w, op, context + " switched");
  }
  EXPECT_GT(stops, 1000);
}

}  // namespace
}  // namespace tavolen::testing
