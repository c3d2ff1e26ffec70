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
#include <vector>

#include "tests/support/rational.h"
#include "tests/window/window_fixture.h"
#include "window/working_view.h"

namespace tavolen::testing {
namespace {

// The operators in Option1's order.
constexpr std::string_view kSymbols[] = {"＋", "－", "×", "÷"};

Int128 Digits(std::string_view text) {
  Int128 value = 0;
  for (const char c : text) {
    value = value * 10 + (c - '0');
  }
  return value;
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
      value = Combine(value, Fraction(), 0);
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
    return Take("/") ? Combine(top, Sum(), 3) : top;
  }

  // Terms of the level below joined by operator `op` or the one after it
  // (＋ －, or × ÷).
  Rational Chain(Rational (NumberReader::*below)(), const int op) {
    Rational value = (this->*below)();
    for (;;) {
      if (Take(kSymbols[op])) {
        value = Combine(value, (this->*below)(), op);
      } else if (Take(kSymbols[op + 1])) {
        value = Combine(value, (this->*below)(), op + 1);
      } else {
        return value;
      }
    }
  }

  Rational Sum() { return Chain(&NumberReader::Product, 0); }
  Rational Product() { return Chain(&NumberReader::Factor, 2); }

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
Rational ExpressionValue(const std::string_view text, bool& byZero) {
  for (int op = 0; op < 4; ++op) {
    const std::string spaced = " " + std::string(kSymbols[op]) + " ";
    const std::size_t at = text.find(spaced);
    if (at != std::string_view::npos) {
      const Rational b = NumberValue(text.substr(at + spaced.size()));
      byZero = op == 3 && b.num == 0;
      return byZero ? Rational{} : Combine(NumberValue(text.substr(0, at)), b, op);
    }
  }
  byZero = false;
  return NumberValue(text);
}

// The value the fields enter, as a pupil would work it out.
Rational OperandValue(Window& w, const std::string_view operand) {
  const std::string whole = w.Field(std::string(operand) + "(2)").Text;
  const std::string numerator = w.Field(std::string(operand) + "(1)").Text;
  const std::string denominator = w.Field(std::string(operand) + "(0)").Text;
  if (Digits(denominator) == 0) {
    return Digits(numerator) > 0 ? Rational{0, 0} : Rational{Digits(whole), 1};
  }
  return NumberValue(whole + " " + numerator + "/" + denominator);
}

// Calculates `six` (as Window::Enter takes them) with Option1(op) in the answer
// form chosen now, and checks its working: every step and detail equals the
// answer in value and none reads as an earlier line, and its last step is the
// answer as the window shows it, or it stops where the window showed a message,
// with that message's prompt. Then the other answer form, which changes only
// how the working ends, must end in the answer again. `keptOnly` checks only
// 帯分数のまま, where it changes the route, and after the switch only the end.
void CheckCalculation(Window& w, const std::string& six, const std::int16_t op,
                      const bool keptOnly) {
  w.runtime.events.clear();
  w.Enter(six);
  w.form.Click(ControlId{ControlName::Option1, op});
  w.form.Click(Id("Command1"));
  const Rational first = OperandValue(w, "Text1");
  const Rational second = OperandValue(w, "Text2");
  const bool refused = first.den == 0 || second.den == 0;
  const bool byZero = !refused && op == 3 && second.num == 0;
  const Rational answer = Combine(first, second, op);
  const std::vector<std::string>& events = w.runtime.events;
  const auto context = [&] {
    return six + " op " + std::to_string(op) + " form " + std::to_string(w.form.Option2.Chosen());
  };
  for (const bool switched : {false, true}) {
    const WorkingLines working = WorkingOf(w.form);
    if (keptOnly && working.keptMixed.empty()) {
      return;  // the usual route, checked at random with both
    }
    ASSERT_EQ(working.stop.has_value(), !events.empty()) << context();
    if (working.stop) {
      ASSERT_EQ(kErrorBox + *working.stop, events.back()) << context();
    }
    for (const bool keepMixed : {true, false}) {
      const std::vector<WorkingStep>& steps = StepsOf(working, keepMixed);
      ASSERT_FALSE(steps.empty()) << context();
      if (!working.stop) {
        ASSERT_EQ(ExpressionText(steps.back()), AnswerText(w.form)) << context();
      }
      if (keptOnly && switched) {
        break;
      }
      std::vector<std::string> lines;
      for (const WorkingStep& step : steps) {
        if (step.how) {
          lines.push_back(DetailText(*step.how));
        }
        lines.push_back(ExpressionText(step));
      }
      for (auto line = lines.begin(); line != lines.end(); ++line) {
        ASSERT_EQ(std::find(lines.begin(), line, *line), line) << context() << ": " << *line;
        bool lineByZero = false;
        const Rational value = ExpressionValue(*line, lineByZero);
        if (byZero) {
          ASSERT_TRUE(lineByZero) << context() << ": " << *line;
        } else if (!refused) {
          ASSERT_TRUE(value.den != 0 && value.num * answer.den == answer.num * value.den)
              << context() << (keepMixed ? " kept: " : ": ") << *line;
        }
      }
      if (keptOnly) {
        break;
      }
    }
    w.form.Click(
        ControlId{ControlName::Option2, static_cast<std::int16_t>(1 - w.form.Option2.Chosen())});
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
    w.form.Click(ControlId{ControlName::Option2, static_cast<std::int16_t>(random() % 2)});
    CheckCalculation(w, six, static_cast<std::int16_t>(random() % 4), false);
    stops += w.runtime.events.empty() ? 0 : 1;
  }
  EXPECT_GT(stops, 1000);
}

// 帯分数のまま over every pair of a whole number, or a whole part with a proper
// fraction, as a textbook has them: one window for all, each calculation in
// the answer form the one before it switched to.
TEST(Working, MixedNumbersKeptWholeEndInTheAnswerOverATextbookRange) {
  std::vector<std::string> operands;
  for (int w = 0; w < 10; ++w) {
    operands.push_back(std::to_string(w) + "||");
    for (int d = 2; d <= 12; ++d) {
      for (int n = 1; n < d; ++n) {
        operands.push_back(std::to_string(w) + "|" + std::to_string(n) + "|" + std::to_string(d));
      }
    }
  }
  Window w;
  for (const std::int16_t op : {std::int16_t{0}, std::int16_t{1}}) {
    for (const std::string& first : operands) {
      for (const std::string& second : operands) {
        CheckCalculation(w, std::string(first).append("|").append(second), op, true);
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
    CheckCalculation(w, operand(below(8) == 0) + "|" + operand(below(8) == 0),
                     static_cast<std::int16_t>(below(2)), true);
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
  // a すべて表示, m 帯分数のまま, w the working put away or back on screen
  // (it starts on screen).
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
      {"ocnw", p + "*" + s1 + "+"},
      {"wocnw", p + "*" + s1 + "+h"},
  };
  for (const auto& [actions, shown] : rows) {
    SCOPED_TRACE(actions);
    Window w;
    w.Enter("1|1|2|2|1|3");
    w.Choose(0, 0);
    WorkingView view;
    bool onScreen = true;
    view.SetShown(onScreen);
    for (const char action : std::string_view(actions)) {
      if (action == 'w') {
        onScreen = !onScreen;
        view.SetShown(onScreen);
      } else if (action == 'c' || action == 'e') {
        w.form.Click(Id(action == 'c' ? "Command1" : "Command2"));
      } else if (action == 'f') {
        const auto other = static_cast<std::int16_t>(1 - w.form.Option2.Chosen());
        w.form.Click(ControlId{ControlName::Option2, other});
      } else if (action == 'd') {
        view.SetDetails(!view.details());
      } else if (action == 'o') {
        view.SetOneLineAtATime(!view.oneLineAtATime());
      } else if (action == 'n') {
        view.ShowNextLine();
      } else if (action == 'm') {
        view.SetKeepMixed(!view.keepMixed());
      } else {
        view.ShowAll();
      }
      view.Follow(WorkingOf(w.form));
    }
    EXPECT_EQ(Shown(view), shown);
  }
}

// Each line's pieces as painted: a fraction as [n/d], a space before a piece
// that takes one.
TEST(WorkingView, GivesEachLineItsPiecesToPaint) {
  const std::pair<const char*, std::vector<std::string>> rows[] = {
      {"1|1|2|2|1|3",
       {" 1[1/2] ＋ 2[1/3]", "= [1×2＋1/2] ＋ [2×3＋1/3]", "= [3/2] ＋ [7/3]",
        "= [3×3/2×3] ＋ [7×2/3×2]", "= [9/6] ＋ [14/6]", "= [9＋14/6]", "= [23/6]", "= [3×6＋5/6]",
        "= 3[5/6]"}},
      {"|1|6|1|1|3",
       {" [1/6] － 1[1/3]", "= [1/6] － [1×3＋1/3]", "= [1/6] － [4/3]", "= [1/6] － [4×2/3×2]",
        "= [1/6] － [8/6]", "= -[8－1/6]", "= -[7/6]", "= -[1×6＋1/6]", "= -1[1/6]"}},
  };
  for (const auto& [six, pieces] : rows) {
    SCOPED_TRACE(six);
    Window w;
    w.Enter(six);
    w.Choose(six[0] == '|' ? std::int16_t{1} : std::int16_t{0}, 0);
    w.form.Click(Id("Command1"));
    WorkingView view;
    view.SetDetails(true);
    view.Follow(WorkingOf(w.form));
    std::vector<std::string> painted;
    for (const WorkingLine& line : view.lines()) {
      std::string text;
      for (const LinePiece& piece : PiecesOf(line)) {
        text += piece.spaced ? " " : "";
        text += piece.denominator.empty() ? piece.text
                                          : "[" + piece.numerator + "/" + piece.denominator + "]";
      }
      painted.push_back(text);
    }
    EXPECT_EQ(painted, pieces);
  }
}

}  // namespace
}  // namespace tavolen::testing
