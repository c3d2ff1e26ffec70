#include "window/working.h"
#include "window/answer_menu.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <random>
#include <string>
#include <string_view>
#include <utility>

#include "tests/window/window_fixture.h"
#include "window/working_view.h"

namespace tavolen::testing {
namespace {

__extension__ using Int128 = __int128;

struct Row {
  const char* name;
  const char* fields;  // as Window::Enter takes them
  std::int16_t op;     // Option1 index
  std::int16_t form;   // Option2 index
  bool keepMixed;      // 帯分数のまま
  const char* lines;   // as copied with details, joined by "|"
};

// Each step and detail of both routes, where steps and details are left out,
// and where the working stops, with the overflows the keyboard cannot reach.
const Row kRows[] = {
    {"BothOperandsToImproperFractions", "1|1|2|2|1|3", 0, 0, false,
     "1 1/2 ＋ 2 1/3|= (1×2＋1)/2 ＋ (2×3＋1)/3|= 3/2 ＋ 7/3（仮分数に直す）|"
     "= (3×3)/(2×3) ＋ (7×2)/(3×2)|= 9/6 ＋ 14/6（通分する）|= (9＋14)/6|"
     "= 23/6（分子どうしをたす）|= (3×6＋5)/6|= 3 5/6（帯分数に直す）|"},
    {"CancelledToWholeFactors", "|12|5||10|3", 2, 0, false,
     "12/5 × 10/3|= (12×10)/(5×3)（分母どうし、分子どうしをかける）|"
     "= ((12÷3)×(10÷5))/((5÷5)×(3÷3))|= 4×2（約分する）|= 8（計算する）|"},
    {"CancelledDenominatorOfOne", "|2|3||3|4", 2, 0, false,
     "2/3 × 3/4|= (2×3)/(3×4)（分母どうし、分子どうしをかける）|"
     "= ((2÷2)×(3÷3))/((3÷3)×(4÷2))|= (1×1)/2（約分する）|= 1/2（計算する）|"},
    {"WholeFactorLeavesNoDenominator", "|3|8|4||", 2, 1, false,
     "3/8 × 4|= (3×4)/8（分母どうし、分子どうしをかける）|= (3×(4÷4))/(8÷4)|"
     "= (3×1)/2（約分する）|= 3/2（計算する）|"},
    {"DividedByTheReciprocal", "6||||3|4", 3, 0, false,
     "6 ÷ 3/4|= 6 × 4/3（逆数をかける）|= (6×4)/3（分母どうし、分子どうしをかける）|"
     "= ((6÷3)×4)/(3÷3)|= 2×4（約分する）|= 8（計算する）|"},
    {"WholeProductDetailReadsAsTheProblem", "2|||3||", 2, 0, false, "2 × 3|= 6（計算する）|"},
    {"NothingMultipliedOutAgainstAZero", "|0|7||3|4", 3, 0, false,
     "0/7 ÷ 3/4|= (0÷7)/(7÷7) ÷ 3/4|= 0 ÷ 3/4（約分する）|= 0 × 4/3（逆数をかける）|"
     "= 0（計算する）|"},
    {"WholeNumberOverTheCommonDenominator", "2||||1|4", 0, 1, false,
     "2 ＋ 1/4|= (2×4)/4 ＋ 1/4|= 8/4 ＋ 1/4（通分する）|= (8＋1)/4|= 9/4（分子どうしをたす）|"},
    {"NegativeResultReducedAfterItsSign", "|1|6||1|2", 1, 1, false,
     "1/6 － 1/2|= 1/6 － (1×3)/(2×3)|= 1/6 － 3/6（通分する）|= -(3－1)/6|"
     "= -2/6（分子どうしをひく）|= -(2÷2)/(6÷2)|= -1/3（約分する）|"},
    {"NegativeWholeDifference", "3|||5||", 1, 0, false, "3 － 5|= -(5－3)|= -2（計算する）|"},
    {"NothingLeftToReduce", "|3|4||3|4", 1, 0, false,
     "3/4 － 3/4|= (3－3)/4|= 0（分子どうしをひく）|"},
    {"KeptWholeCarried", "1|2|3|2|3|4", 0, 1, true,
     "1 2/3 ＋ 2 3/4|= 1 (2×4)/(3×4) ＋ 2 (3×3)/(4×3)|= 1 8/12 ＋ 2 9/12（通分する）|"
     "= (1＋2) (8＋9)/12|= 3 17/12（整数どうし、分数どうしをたす）|= (3＋1) 5/12|"
     "= 4 5/12（くり上げる）|= (4×12＋5)/12|= 53/12（仮分数に直す）|"},
    {"KeptWholeBorrowed", "4|1|3|1|1|2", 1, 0, true,
     "4 1/3 － 1 1/2|= 4 (1×2)/(3×2) － 1 (1×3)/(2×3)|= 4 2/6 － 1 3/6（通分する）|"
     "= 3 (6＋2)/6 － 1 3/6|= 3 8/6 － 1 3/6（くり下げる）|= (3－1) (8－3)/6|"
     "= 2 5/6（整数どうし、分数どうしをひく）|"},
    {"KeptWholeBorrowedFromAWholeNumber", "5|||2|1|3", 1, 0, true,
     "5 － 2 1/3|= 4 3/3 － 2 1/3（くり下げる）|= (4－2) (3－1)/3|"
     "= 2 2/3（整数どうし、分数どうしをひく）|"},
    {"KeptWholeBorrowedDownToAFraction", "1|1|3||2|3", 1, 0, true,
     "1 1/3 － 2/3|= (3＋1)/3 － 2/3|= 4/3 － 2/3（くり下げる）|= (4－2)/3|"
     "= 2/3（整数どうし、分数どうしをひく）|"},
    {"KeptWholeOneFractionPart", "3|2|5|1||", 0, 0, true,
     "3 2/5 ＋ 1|= (3＋1) 2/5|= 4 2/5（整数どうし、分数どうしをたす）|"},
    {"KeptWholeCarriedToAWholeNumber", "1|1|2||1|2", 0, 0, true,
     "1 1/2 ＋ 1/2|= 1 (1＋1)/2|= 1 2/2（整数どうし、分数どうしをたす）|= 1＋1|= 2（くり上げる）|"},
    {"KeptWholeReduced", "1|1|6|1|1|6", 0, 0, true,
     "1 1/6 ＋ 1 1/6|= (1＋1) (1＋1)/6|= 2 2/6（整数どうし、分数どうしをたす）|"
     "= 2 (2÷2)/(6÷2)|= 2 1/3（約分する）|"},
    {"KeptWholeReducingAndWideningBackIsNoDetour", "1|2|4||1|4", 0, 0, true,
     "1 2/4 ＋ 1/4|= 1 (2＋1)/4|= 1 3/4（整数どうし、分数どうしをたす）|"},
    {"KeptWholeNotBelowZero", "1|1|2|2||", 1, 1, true,
     "1 1/2 － 2|= (1×2＋1)/2 － 2|= 3/2 － 2（仮分数に直す）|= 3/2 － (2×2)/2|"
     "= 3/2 － 4/2（通分する）|= -(4－3)/2|= -1/2（分子どうしをひく）|"},
    {"LargestCommonMultipleFits", "|1|30370005||1|30370004", 0, 0, false,
     "1/30370005 ＋ 1/30370004|= (1×30370004)/(30370005×30370004) ＋ "
     "(1×30370005)/(30370004×30370005)|"
     "= 30370004/922337173330020 ＋ 30370005/922337173330020（通分する）|"
     "= (30370004＋30370005)/922337173330020|= 60740009/922337173330020（分子どうしをたす）|"},
    {"CommonMultipleOverflowOfEqualDenominators", "|1|30370005||1|30370005", 0, 0, false,
     "1/30370005 ＋ 1/30370005|計算できません：数が大きすぎて計算できません。|"},
    {"SumOverflowStopsAfterTheCommonDenominator", "|2147483647|30370005||1|30370004", 0, 0, false,
     "2147483647/30370005 ＋ 1/30370004|"
     "= (2147483647×30370004)/(30370005×30370004) ＋ (1×30370005)/(30370004×30370005)|"
     "= 65219086949324592/922337173330020 ＋ 30370005/922337173330020（通分する）|"
     "計算できません：数が大きすぎて計算できません。|"},
    {"ProductOverflowStopsAfterTheProduct", "999|1|9999||1|9998", 3, 0, true,
     "999 1/9999 ÷ 1/9998|= (999×9999＋1)/9999 ÷ 1/9998|= 9989002/9999 ÷ 1/9998（仮分数に直す）|"
     "= 9989002/9999 × 9998（逆数をかける）|= "
     "(9989002×9998)/9999（分母どうし、分子どうしをかける）|"
     "計算できません：数が大きすぎて計算できません。|"},
    {"MixedOperandOverflowStopsAfterTheProblem", "50000||50000|||", 0, 0, true,
     "50000 0/50000 ＋ 0|計算できません：数が大きすぎて計算できません。|"},
    {"FieldBeyondLongStopsBeforeTheProblem", "2147483648|||||", 0, 0, false,
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
    std::string text = PlainText(WorkingOf(w.form), true, row.keepMixed);
    std::replace(text.begin(), text.end(), '\n', '|');
    EXPECT_EQ(text, row.lines);
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

// Reads a number of the working: "7", "3/2", "-1 1/6", and the terms of
// details and products: "(1×2＋1)/2", "(3×(4÷4))/(8÷4)", "(1＋2) (8＋9)/12",
// "-(5－3)", "4×2".
class NumberReader {
 public:
  explicit NumberReader(std::string_view text) : text_(text) {}

  Rational Number() {
    const bool negative = Take("-");
    Rational value = Fraction();
    if (Take(" ")) {
      value = Apply(value, "＋", Fraction());
    }
    return {negative ? -value.num : value.num, value.den};
  }

 private:
  bool Take(const std::string_view sign) {
    if (!text_.starts_with(sign)) {
      return false;
    }
    text_.remove_prefix(sign.size());
    return true;
  }

  Rational Fraction() {
    const Rational top = Sum();
    return Take("/") ? Apply(top, "÷", Sum()) : top;
  }

  Rational Sum() {
    Rational value = Product();
    for (;;) {
      if (Take("＋")) {
        value = Apply(value, "＋", Product());
      } else if (Take("－")) {
        value = Apply(value, "－", Product());
      } else {
        return value;
      }
    }
  }

  Rational Product() {
    Rational value = Factor();
    for (;;) {
      if (Take("×")) {
        value = Apply(value, "×", Factor());
      } else if (Take("÷")) {
        value = Apply(value, "÷", Factor());
      } else {
        return value;
      }
    }
  }

  Rational Factor() {
    if (Take("(")) {
      const Rational value = Sum();
      Take(")");
      return value;
    }
    const std::size_t end = std::min(text_.find_first_not_of("0123456789"), text_.size());
    const Rational value{Digits(text_.substr(0, end)), 1};
    text_.remove_prefix(end);
    return value;
  }

  std::string_view text_;
};

Rational NumberValue(const std::string_view text) {
  return NumberReader(text).Number();
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
void CheckLines(const std::vector<WorkingStep>& steps, const Rational& first,
                const Rational& second, const std::int16_t op, const std::string& context) {
  const std::string_view symbol = OperatorSymbol(static_cast<CalcOperator>(op));
  ASSERT_FALSE(steps.empty()) << context;
  const bool refused = first.den == 0 || second.den == 0;
  // Each step and each detail, none reading as an earlier one.
  std::vector<std::string> lines;
  for (const WorkingStep& step : steps) {
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
}

// Every step and detail of a working, with mixed numbers kept whole or not,
// equals the answer in value and none reads as an earlier line, its last step
// is the answer as the window shows it, and it stops exactly where the window
// showed a message, with that message's prompt.
void CheckWorking(Window& w, const std::int16_t op, const std::string& context,
                  const std::initializer_list<bool> routes = {false, true}) {
  const WorkingLines working = WorkingOf(w.form);
  const Rational first =
      OperandValue(w.Field("Text1(2)").Text, w.Field("Text1(1)").Text, w.Field("Text1(0)").Text);
  const Rational second =
      OperandValue(w.Field("Text2(2)").Text, w.Field("Text2(1)").Text, w.Field("Text2(0)").Text);
  for (const bool keepMixed : routes) {
    const std::vector<WorkingStep>& steps = StepsOf(working, keepMixed);
    CheckLines(steps, first, second, op, context + (keepMixed ? " kept" : ""));
    if (::testing::Test::HasFatalFailure()) {
      return;
    }
    const std::vector<std::string>& events = w.runtime.events;
    if (events.empty()) {
      ASSERT_FALSE(working.stop) << context;
      ASSERT_EQ(ExpressionText(steps.back()), AnswerText(w.form)) << context;
    } else {
      ASSERT_TRUE(working.stop) << context;
      ASSERT_EQ(kErrorBox + *working.stop, events.back()) << context;
    }
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

// The operands of the route that keeps mixed numbers whole: a whole number,
// or a whole part with a proper fraction, as typed into three fields.
std::vector<std::string> KeptOperands(const int wholes, const int denominators) {
  std::vector<std::string> operands;
  for (int w = 0; w < wholes; ++w) {
    operands.push_back(std::to_string(w) + "||");
    for (int d = 2; d <= denominators; ++d) {
      for (int n = 1; n < d; ++n) {
        operands.push_back(std::to_string(w) + "|" + std::to_string(n) + "|" + std::to_string(d));
      }
    }
  }
  return operands;
}

// One window for many calculations, each checked in both answer forms.
void CheckKept(Window& w, const std::string& first, const std::string& second,
               const std::int16_t op) {
  w.runtime.events.clear();
  w.Enter(first + "|" + second);
  w.Choose(op, 0);
  w.form.Click(Id("Command1"));
  const std::string context = first + " " + second + " op " + std::to_string(op);
  CheckWorking(w, op, context, {true});
  // The other form changes only the last line, which must be the answer again.
  w.form.Click(ControlId{ControlName::Option2, 1});
  ASSERT_EQ(ExpressionText(StepsOf(WorkingOf(w.form), true).back()), AnswerText(w.form))
      << context << " improper";
}

TEST(Working, MixedNumbersKeptWholeEndInTheAnswerOverATextbookRange) {
  const std::vector<std::string> operands = KeptOperands(10, 12);
  Window w;
  for (const std::string& first : operands) {
    for (const std::string& second : operands) {
      for (const std::int16_t op : {std::int16_t{0}, std::int16_t{1}}) {
        CheckKept(w, first, second, op);
        if (HasFailure()) {
          return;
        }
      }
    }
  }
}

TEST(Working, MixedNumbersKeptWholeEndInTheAnswerAtRandom) {
  std::mt19937 random(2626);
  const auto below = [&random](const int n) {
    return static_cast<int>(random() % static_cast<unsigned>(n));
  };
  const auto operand = [&](const bool whole) {
    const int d = 2 + below(9998);
    return std::to_string(below(1000)) +
           (whole ? "||" : "|" + std::to_string(1 + below(d - 1)) + "|" + std::to_string(d));
  };
  Window w;
  for (int i = 0; i < 20000 && !HasFailure(); ++i) {
    CheckKept(w, operand(below(8) == 0), operand(below(8) == 0),
              static_cast<std::int16_t>(below(2)));
  }
}

// What the view shows: each line, "*" before one to be read out, "+"
// while 次の行 and すべて表示 are offered, and "h" while the answer is hidden.
std::string Shown(const WorkingView& view) {
  std::string text;
  for (const WorkingLine& line : view.lines()) {
    text += (line.announce ? "*" : "") + line.text + "|";
  }
  return text + (view.OffersMore() ? "+" : "") + (view.HidesAnswer() ? "h" : "");
}

TEST(WorkingView, RevealsLinesAsChosenAndKeepsThemAcrossSwitches) {
  const std::string p = "1 1/2 ＋ 2 1/3|";
  const std::string d1 = "= (1×2＋1)/2 ＋ (2×3＋1)/3|";
  const std::string s1 = "= 3/2 ＋ 7/3（仮分数に直す）|";
  const std::string rest = "= 9/6 ＋ 14/6（通分する）|= 23/6（分子どうしをたす）|";
  const std::string mixed = "= 3 5/6（帯分数に直す）|";
  const std::string kept = "= 1 3/6 ＋ 2 2/6（通分する）|= 3 5/6（整数どうし、分数どうしをたす）|";
  // c 計算, e 消す, f the other answer form, d くわしく, o 1行ずつ, n 次の行,
  // a すべて表示, m 帯分数のまま.
  const std::pair<const char*, std::string> rows[] = {
      {"c", p + s1 + rest + mixed},
      {"ce", ""},
      {"ocn", p + "*" + s1 + "+h"},
      {"docnn", p + d1 + "*" + s1 + "+h"},
      {"ocnd", p + d1 + s1 + "+h"},
      {"ocnf", p + s1 + "+h"},
      {"ocnc", p + "+h"},
      {"co", p + "+h"},
      {"ocnnnn", p + s1 + rest + "*" + mixed},
      {"cm", p + kept},
      {"mocnm", p + "+h"},
      {"ocaf", p + s1 + rest},
      {"ocna", p + s1 + "*= 9/6 ＋ 14/6（通分する）|*= 23/6（分子どうしをたす）|*" + mixed},
      {"ocaff", p + s1 + rest + mixed},
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
        case 'm':
          view.SetKeepMixed(!view.keepMixed());
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
