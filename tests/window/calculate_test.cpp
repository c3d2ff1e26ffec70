#include <gtest/gtest.h>

#include <functional>

#include "tests/window/window_fixture.h"
#include "window/accessible_text.h"

namespace tavolen::testing {
namespace {

const std::vector<std::string> kNone;
const std::vector<std::string> kRejected{kErrorBox + "分母を１以上の整数にしてください。"};
const std::vector<std::string> kOverflow = OverflowIn("Command1_Click");

struct CalculateCase {
  const char* name;
  const char* fields;  // as Window::Enter takes them
  std::int16_t op;     // Option1 index
  std::int16_t form;   // Option2 index
  const char* labels;  // as Window::Answer gives them
  bool bar;
  std::vector<std::string> events;
};

// Expected answers checked with exact fractions by hand. The arithmetic itself
// is checked against exact fractions in fraction_test; the golden scripts hold
// the ordinary answers, the division by zero and the keyboard's overflow.
const CalculateCase kCases[] = {
    {"AllEmptyAddsToZero", "|||||", 0, 0, "||0|", false, kNone},
    {"NegativeWhole", "|1|2||5|2", 1, 0, "||2|-", false, kNone},
    {"NegativeMixed", "|1|7|2||", 1, 0, "7|6|1|-", true, kNone},
    {"NegativeDenominatorGivesTheSign", "|1|-2|||", 0, 0, "2|1||-", true, kNone},
    {"FirstZeroDenominatorRejected", "|3||1||", 0, 0, "|||", true, kRejected},
    {"NegativeNumeratorOverZeroAccepted", "3|-2|0|||", 0, 0, "||3|", false, kNone},
    {"FieldBeyondLong", "2147483648|||||", 0, 0, "|||", true, kOverflow},
    {"LcmOverflow", "|1|30370005||1|30370005", 0, 0, "|||", true, kOverflow},
    // The sign is written before the result's common divisor overflows Long.
    {"OverflowAfterTheSign", "|1809460527|32293211||1190716964|20660610", 1, 0, "|||-", true,
     kOverflow},
    {"LargestSum", "|1|30370005||1|30370004", 0, 1, "922337173330020|60740009||", true, kNone},
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
  }
}

struct StaleCase {
  const char* name;
  std::function<void(Form1&)> after;  // what follows 1 1/2 + 2 1/3 = 3 5/6
  std::string_view description;       // the answer area's accessible description
};

constexpr std::string_view kCurrent = "3と6分の5";
constexpr std::string_view kPrevious = "前の計算の答え、3と6分の5";

void Edit(Form1& form, const char* field, const char* text) {
  form.EditText(Id(field), text);
}

const StaleCase kStaleCases[] = {
    {"Unchanged", [](Form1&) {}, kCurrent},
    {"OperandEdited", [](Form1& f) { Edit(f, "Text2(1)", "12"); }, kPrevious},
    {"EditedBack",
     [](Form1& f) {
       Edit(f, "Text2(1)", "12");
       Edit(f, "Text2(1)", "1");
     },
     kCurrent},
    {"SameValueOtherText", [](Form1& f) { Edit(f, "Text1(2)", "01"); }, kPrevious},
    {"OperatorChanged", [](Form1& f) { f.Click(Id("Option1(1)")); }, kPrevious},
    {"OperatorChosenBack",
     [](Form1& f) {
       f.Click(Id("Option1(1)"));
       f.Click(Id("Option1(0)"));
     },
     kCurrent},
    {"AnswerFormSwitched", [](Form1& f) { f.Click(Id("Option2(1)")); }, "6分の23"},
    {"CalculatedAgain",
     [](Form1& f) {
       Edit(f, "Text2(1)", "2");
       f.Click(Id("Command1"));
     },
     "4と6分の1"},
    {"ClearedThenTyped",
     [](Form1& f) {
       f.Click(Id("Command2"));
       Edit(f, "Text1(2)", "1");
     },
     ""},
};

TEST(Calculate, AnswerIsThePreviousOneOnceAnInputDiffers) {
  for (const StaleCase& c : kStaleCases) {
    SCOPED_TRACE(c.name);
    Window w;
    w.Enter("1|1|2|2|1|3");
    w.form.Click(Id("Command1"));
    c.after(w.form);
    EXPECT_EQ(AnswerDescriptionOf(w.form), c.description);
    EXPECT_EQ(w.form.AnswerIsStale(), c.description == kPrevious);
  }
}

}  // namespace
}  // namespace tavolen::testing
