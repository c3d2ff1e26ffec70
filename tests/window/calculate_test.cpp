#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>

#include "tests/window/window_fixture.h"
#include "window/accessible_text.h"
#include "window/answer_check.h"
#include "window/working.h"

namespace tavolen::testing {
namespace {

const std::vector<std::string> kNone;
const std::vector<std::string> kRejected{kErrorBox + "分母を１以上の整数にしてください。"};
const std::vector<std::string> kByZero{kErrorBox + "0で割り算しようとしています。"};
const std::vector<std::string> kOverflow = OverflowIn("Command1_Click");

struct CalculateCase {
  const char* name;
  const char* fields;  // as Window::Enter takes them
  std::int16_t op;     // Option1 index
  std::int16_t form;   // Option2 index
  const char* labels;  // as Window::Answer gives them
  bool bar;
  std::vector<std::string> events;
  // The working as copied with details, lines joined by "|", in both routes;
  // "" where the golden working_* replays hold it.
  const char* working;
};

// Expected answers checked with exact fractions by hand. The arithmetic itself
// is checked against exact fractions in fraction_test; the golden scripts hold
// the ordinary answers and the keyboard's overflow.
constexpr const char* kOverflowStop = "計算できません：数が大きすぎて計算できません。|";

const CalculateCase kCases[] = {
    {"AllEmptyAddsToZero", "|||||", 0, 0, "||0|", false, kNone, ""},
    {"NegativeWhole", "|1|2||5|2", 1, 0, "||2|-", false, kNone, ""},
    {"NegativeDenominatorGivesTheSign", "|1|-2|||", 0, 0, "2|1||-", true, kNone, ""},
    {"FirstZeroDenominatorRejected", "|3||1||", 0, 0, "|||", true, kRejected, ""},
    // No answer at all rather than a false "= 0" that a pupil could copy.
    {"DivisionByZeroLeavesNoAnswer", "|1|2||0|3", 3, 1, "|||", true, kByZero, ""},
    {"NegativeNumeratorOverZeroAccepted", "3|-2|0|||", 0, 0, "||3|", false, kNone, ""},
    // Fields beyond what the keyboard lets in: the working stops before the
    // problem, right after it, or after the common denominator.
    {"FieldBeyondLong", "2147483648|||||", 0, 0, "|||", true, kOverflow, kOverflowStop},
    {"MixedOperandOverflow", "50000||50000|||", 0, 0, "|||", true, kOverflow,
     "50000 0/50000 ＋ 0|計算できません：数が大きすぎて計算できません。|"},
    {"LcmOverflow", "|1|30370005||1|30370005", 0, 0, "|||", true, kOverflow,
     "1/30370005 ＋ 1/30370005|計算できません：数が大きすぎて計算できません。|"},
    {"SumOverflow", "|2147483647|30370005||1|30370004", 0, 0, "|||", true, kOverflow,
     "2147483647/30370005 ＋ 1/30370004|"
     "= (2147483647×30370004)/(30370005×30370004) ＋ (1×30370005)/(30370004×30370005)|"
     "= 65219086949324592/922337173330020 ＋ 30370005/922337173330020（通分する）|"
     "計算できません：数が大きすぎて計算できません。|"},
    // The sign is written before the result's common divisor overflows Long.
    {"OverflowAfterTheSign", "|1809460527|32293211||1190716964|20660610", 1, 0, "|||-", true,
     kOverflow, ""},
    {"LargestSum", "|1|30370005||1|30370004", 0, 1, "922337173330020|60740009||", true, kNone,
     "1/30370005 ＋ 1/30370004|= (1×30370004)/(30370005×30370004) ＋ "
     "(1×30370005)/(30370004×30370005)|"
     "= 30370004/922337173330020 ＋ 30370005/922337173330020（通分する）|"
     "= (30370004＋30370005)/922337173330020|= 60740009/922337173330020（分子どうしをたす）|"},
};

TEST(Calculate, WritesTheOutcome) {
  for (const CalculateCase& c : kCases) {
    SCOPED_TRACE(c.name);
    Window w;
    // A previous negative whole answer, so that every label and the bar change.
    w.Enter("|||3||");
    w.form.Click(Id("Option1(1)"));
    w.form.Click(Id("Command1"));
    ASSERT_EQ(w.Answer(), "||3|-");

    w.Enter(c.fields);
    w.Choose(c.op, c.form);
    w.runtime.events.clear();
    w.form.Click(Id("Command1"));
    EXPECT_EQ(w.Answer(), c.labels);
    EXPECT_EQ(w.form.Line3.Visible, c.bar);
    EXPECT_EQ(w.runtime.events, c.events);
    // 答え合わせ cannot judge what 計算 could not calculate, and says why.
    if (!c.events.empty()) {
      EXPECT_EQ(CheckAnswer(w.form, "1").message,
                "この問題は計算できません：" + c.events.back().substr(kErrorBox.size()));
    }
    for (const bool keepMixed : {false, true}) {
      std::string text = PlainText(WorkingOf(w.form), true, keepMixed);
      std::replace(text.begin(), text.end(), '\n', '|');
      EXPECT_TRUE(*c.working == '\0' || text == c.working) << text;
    }
  }
}

// After 1 1/2 + 2 1/3 = 3 5/6: edits ("Text2(1)=2") and clicks ("Command1"),
// then the answer area's accessible description. The window tests draw it.
constexpr std::string_view kPrevious = "前の計算の答え、3と6分の5";
const std::pair<std::string_view, std::string_view> kStaleCases[] = {
    {"", "3と6分の5"},
    {"Text1(2)=01", kPrevious},
    {"Option2(1)", "6分の23"},
    {"Text2(1)=2 Command1", "4と6分の1"},
    {"Command2 Text1(2)=1", ""},
    {"Option1(2)", kPrevious},
    {"Option1(2) Option1(0)", "3と6分の5"},
};

TEST(Calculate, AnswerIsThePreviousOneOnceAnInputDiffers) {
  for (const auto& [actions, description] : kStaleCases) {
    SCOPED_TRACE(actions);
    Window w;
    w.Enter("1|1|2|2|1|3");
    w.form.Click(Id("Command1"));
    for (std::string_view rest = actions; !rest.empty();) {
      const std::string_view action = rest.substr(0, rest.find(' '));
      rest.remove_prefix(std::min(action.size() + 1, rest.size()));
      const std::size_t equals = action.find('=');
      if (equals == std::string_view::npos) {
        w.form.Click(Id(action));
      } else {
        w.form.EditText(Id(action.substr(0, equals)), action.substr(equals + 1));
      }
    }
    EXPECT_EQ(AnswerDescriptionOf(w.form), description);
    EXPECT_EQ(w.form.AnswerIsStale(), description == kPrevious);
    EXPECT_EQ(AnswerDescriptionOf(w.form, true), kAnswerAfterWorking);
  }
}

}  // namespace
}  // namespace tavolen::testing
