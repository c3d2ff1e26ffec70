#include "window/working.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <random>
#include <string>
#include <string_view>
#include <utility>

#include "tests/window/window_fixture.h"
#include "window/working_view.h"

namespace tavolen::testing {
namespace {

__extension__ using Int128 = __int128;

// The working as copied with its details, lines joined by "|".
std::string ShownText(const WorkingLines& working) {
  std::string text = PlainText(working, true);
  std::replace(text.begin(), text.end(), '\n', '|');
  return text;
}

struct Row {
  const char* name;
  const char* fields;  // as Window::Enter takes them
  std::int16_t op;     // Option1 index
  std::int16_t form;   // Option2 index
  const char* lines;   // as copied with details, joined by "|"
};

// Each step and detail kind, where steps are left out, and where the working
// stops, beside what the golden scripts hold; with the overflows the keyboard
// cannot reach.
const Row kRows[] = {
    {"NegativeResultReducedAfterItsSign", "|1|6||1|2", 1, 1,
     "1/6 － 1/2|= 1/6 － (1×3)/(2×3)|= 1/6 － 3/6（通分する）|= (1－3)/6|= -2/6（計算する）|"
     "= -(2÷2)/(6÷2)|= -1/3（約分する）|"},
    {"NegativeMixedNumber", "|1|2||7|4", 1, 0,
     "1/2 － 7/4|= (1×2)/(2×2) － 7/4|= 2/4 － 7/4（通分する）|= (2－7)/4|= -5/4（計算する）|"
     "= -1 1/4（帯分数に直す）|"},
    {"NoCommonDenominatorForAZero", "0||||1|2", 0, 0, "0 ＋ 1/2|= (0＋1)/2|= 1/2（計算する）|"},
    {"ReducingAndWideningBackIsNoDetour", "|3|4||2|4", 0, 1,
     "3/4 ＋ 2/4|= (3＋2)/4|= 5/4（計算する）|"},
    {"NothingCancelledAgainstAZero", "0||||3|4", 2, 0, "0 × 3/4|= 0（計算する）|"},
    {"NothingCancelledAgainstAZeroDivided", "|0|7||3|4", 3, 0,
     "0/7 ÷ 3/4|= (0÷7)/(7÷7) ÷ 3/4|= 0 ÷ 3/4（約分する）|= 0 × 4/3（逆数をかける）|"
     "= 0（計算する）|"},
    {"ProductDetailReadingAsTheStepDropped", "6||||3|4", 3, 0,
     "6 ÷ 3/4|= 6 × 4/3（逆数をかける）|= 2 × 4（かける前に約分する）|= 8（計算する）|"},
    {"LargestCommonMultipleFits", "|1|30370005||1|30370004", 0, 0,
     "1/30370005 ＋ 1/30370004|= (1×30370004)/(30370005×30370004) ＋ "
     "(1×30370005)/(30370004×30370005)|"
     "= 30370004/922337173330020 ＋ 30370005/922337173330020（通分する）|"
     "= (30370004＋30370005)/922337173330020|= 60740009/922337173330020（計算する）|"},
    {"CommonMultipleOverflowOfEqualDenominators", "|1|30370005||1|30370005", 0, 0,
     "1/30370005 ＋ 1/30370005|計算できません：数が大きすぎて計算できません。|"},
    {"SumOverflowStopsAfterTheCommonDenominator", "|2147483647|30370005||1|30370004", 0, 0,
     "2147483647/30370005 ＋ 1/30370004|"
     "= (2147483647×30370004)/(30370005×30370004) ＋ (1×30370005)/(30370004×30370005)|"
     "= 65219086949324592/922337173330020 ＋ 30370005/922337173330020（通分する）|"
     "計算できません：数が大きすぎて計算できません。|"},
    {"MixedOperandOverflowStopsAfterTheProblem", "50000||50000|||", 0, 0,
     "50000 0/50000 ＋ 0|計算できません：数が大きすぎて計算できません。|"},
    {"FieldBeyondLongStopsBeforeTheProblem", "2147483648|||||", 0, 0,
     "計算できません：数が大きすぎて計算できません。|"},
};

TEST(Working, StepsAndDetailsAsTheCalculationTakesThem) {
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.name);
    Window w;
    w.Enter("|||3||");
    w.form.Click(Id("Command1"));
    w.Enter(row.fields);
    w.Choose(row.op, row.form);
    w.form.Click(Id("Command1"));
    EXPECT_EQ(ShownText(WorkingOf(w.form)), row.lines);
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

Rational SumValue(std::string_view term);

// "2×3", "9", "6÷2": whole numbers multiplied and divided from the left.
Rational ProductValue(std::string_view term) {
  Rational value{Digits(term.substr(0, term.find('\xC3'))), 1};
  for (std::size_t at = term.find('\xC3'); at != std::string_view::npos; at = term.find('\xC3')) {
    const std::string_view sign = term.substr(at, 2);
    term.remove_prefix(at + 2);
    value = Apply(value, sign, {Digits(term.substr(0, term.find('\xC3'))), 1});
  }
  return value;
}

// "1×2＋1", "1－3": products first, then sums and differences from the left.
Rational SumValue(std::string_view term) {
  const auto next = [&term] { return std::min(term.find("＋"), term.find("－")); };
  Rational value = ProductValue(term.substr(0, next()));
  for (std::size_t at = next(); at != std::string_view::npos; at = next()) {
    const std::string_view sign = term.substr(at, 3);
    term.remove_prefix(at + 3);
    value = Apply(value, sign, ProductValue(term.substr(0, next())));
  }
  return value;
}

// "7", "3/2", "1 1/2", "-1 1/6" as written in the working, and the details'
// "(1×2＋1)/2", "-(2÷2)/(6÷2)", "2×4".
Rational NumberValue(std::string_view text) {
  const bool negative = text.starts_with('-');
  text.remove_prefix(negative ? 1 : 0);
  const std::size_t space = text.find(' ');
  const Int128 whole = space == std::string_view::npos ? 0 : Digits(text.substr(0, space));
  text.remove_prefix(space == std::string_view::npos ? 0 : space + 1);
  const auto unbracketed = [](std::string_view part) {
    return part.starts_with('(') ? part.substr(1, part.size() - 2) : part;
  };
  const std::size_t bar = text.find('/');
  const Rational num = SumValue(unbracketed(text.substr(0, bar)));
  const Rational den =
      bar == std::string_view::npos ? Rational{1, 1} : SumValue(unbracketed(text.substr(bar + 1)));
  const Rational value = Apply(Apply(num, "÷", den), "＋", {whole, 1});
  return {negative ? -value.num : value.num, value.den};
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

// Every step and detail of a working equals the answer in value and none reads
// as an earlier line, its last step is the answer as the window shows it, and
// it stops exactly where the window showed a message, with that message's prompt.
void CheckWorking(Window& w, const std::int16_t op, const std::string& context) {
  const WorkingLines working = WorkingOf(w.form);
  const Rational first =
      OperandValue(w.Field("Text1(2)").Text, w.Field("Text1(1)").Text, w.Field("Text1(0)").Text);
  const Rational second =
      OperandValue(w.Field("Text2(2)").Text, w.Field("Text2(1)").Text, w.Field("Text2(0)").Text);
  const std::string_view symbol = OperatorSymbol(static_cast<CalcOperator>(op));
  ASSERT_FALSE(working.steps.empty()) << context;
  const bool refused = first.den == 0 || second.den == 0;
  // Each step and each detail, none reading as an earlier one.
  std::vector<std::string> lines;
  for (const WorkingStep& step : working.steps) {
    if (step.how) {
      lines.push_back(DetailText(*step.how));
    }
    lines.push_back(ExpressionText(step));
  }
  for (std::size_t i = 0; i < lines.size(); ++i) {
    ASSERT_EQ(std::find(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(i), lines[i]),
              lines.begin() + static_cast<std::ptrdiff_t>(i))
        << context << ": " << lines[i] << " again";
    bool byZero = false;
    const Rational value = ExpressionValue(lines[i], byZero);
    if (!refused && !(op == 3 && second.num == 0)) {
      const Rational answer = Apply(first, symbol, second);
      ASSERT_TRUE(value.den != 0 && value.num * answer.den == answer.num * value.den)
          << context << ": " << lines[i];
    } else if (!refused) {
      ASSERT_TRUE(byZero) << context << ": " << lines[i];
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

// What the view shows: each line, "*" before one that just appeared, and "+"
// while 次の行 and すべて表示 are offered.
std::string Shown(const WorkingView& view) {
  std::string text;
  for (const WorkingLine& line : view.lines()) {
    text += (line.appeared ? "*" : "") + line.text + "|";
  }
  return text + (view.OffersMore() ? "+" : "");
}

TEST(WorkingView, RevealsLinesAsChosenAndKeepsThemAcrossSwitches) {
  const std::string p = "1 1/2 ＋ 2 1/3|";
  const std::string d1 = "= (1×2＋1)/2 ＋ (2×3＋1)/3|";
  const std::string s1 = "= 3/2 ＋ 7/3（仮分数に直す）|";
  const std::string rest = "= 9/6 ＋ 14/6（通分する）|= 23/6（計算する）|";
  const std::string mixed = "= 3 5/6（帯分数に直す）|";
  // c 計算, e 消す, f the other answer form, d くわしく, o 1行ずつ, n 次の行, a すべて表示.
  const std::pair<const char*, std::string> rows[] = {
      {"c", "*" + p + "*" + s1 + "*= 9/6 ＋ 14/6（通分する）|*= 23/6（計算する）|*" + mixed},
      {"ce", ""},
      {"ocn", p + "*" + s1 + "+"},
      {"docnn", p + d1 + "*" + s1 + "+"},
      {"ocnd", p + "*" + d1 + s1 + "+"},
      {"ocnf", p + s1 + "+"},
      {"ocnc", "*" + p + "+"},
      {"ocaf", p + s1 + rest},
      {"ocaff", p + s1 + rest + "*" + mixed},
      {"ocnnnno", p + s1 + rest + mixed},
  };
  for (const auto& [actions, shown] : rows) {
    SCOPED_TRACE(actions);
    Window w;
    w.Enter("1|1|2|2|1|3");
    w.Choose(0, 0);
    WorkingView view;
    std::int16_t form = 0;
    for (const char action : std::string_view(actions)) {
      switch (action) {
        case 'c':
          w.form.Click(Id("Command1"));
          break;
        case 'e':
          w.form.Click(Id("Command2"));
          break;
        case 'f':
          form = static_cast<std::int16_t>(1 - form);
          w.form.Click(ControlId{ControlName::Option2, form});
          break;
        case 'd':
          view.SetDetails(!view.details());
          break;
        case 'o':
          view.SetOneLineAtATime(!view.oneLineAtATime());
          break;
        case 'n':
          view.ShowNextLine();
          break;
        default:
          view.ShowAll();
      }
      view.Follow(WorkingOf(w.form));
    }
    EXPECT_EQ(Shown(view), shown);
  }
}

}  // namespace
}  // namespace tavolen::testing
