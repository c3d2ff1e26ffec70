#include <array>
#include <variant>

#include "arith/fraction.h"
#include "arith/working.h"
#include "window/form1.h"
#include "window/handlers.h"

namespace tavolen {

namespace {

constexpr const char* kBadDenominator = "分母を１以上の整数にしてください。";
constexpr const char* kDivisionByZero = "0で割り算しようとしています。";

using FieldArray = const TextBox& (Form1::*)(Integer) const;

Long ReadField(const Form1& form, FieldArray array, std::int16_t index) {
  return LongOf(Val((form.*array)(Integer{index}).Text));
}

// Denominator, numerator, whole part in this order; a failed field stops the
// reading there.
Operand ReadOperand(const Form1& form, FieldArray array) {
  Operand operand{};
  operand.Denominator = ReadField(form, array, 0);
  operand.Numerator = ReadField(form, array, 1);
  operand.Whole = ReadField(form, array, 2);
  return operand;
}

CalcOperator ChosenOperator(const Form1& form) {
  constexpr std::array kOperators{CalcOperator::Add, CalcOperator::Subtract, CalcOperator::Multiply,
                                  CalcOperator::Divide};
  for (std::int16_t i = 0; i < 4; ++i) {
    if (form.Option1.Value(Integer{i}) == kTrue) {
      return kOperators.at(static_cast<std::size_t>(i));
    }
  }
  return CalcOperator::NoOperator;
}

void ShowAnswer(Form1& form, const Answer& answer) {
  if (const auto* fraction = std::get_if<FractionAnswer>(&answer)) {
    form.Label1(Integer{0}).Caption = TextOf(fraction->denominator);
    form.Label1(Integer{1}).Caption = TextOf(fraction->numerator);
  } else if (const auto* whole = std::get_if<WholeAnswer>(&answer)) {
    form.Label1(Integer{2}).Caption = TextOf(whole->value);
    form.Line3.Visible = false;
  } else {
    form.Label1(Integer{2}).Caption = TextOf(Integer{0});
    form.Line3.Visible = false;
  }
}

}  // namespace

// Every window write happens at its own step, so that an Overflow part way
// leaves exactly what the steps before it wrote.
// The working follows the steps as they complete; a message stops it first,
// so that it already holds the stop while the box is open.
void Command1_Click(Form1& form) {
  Working& working = form.working();
  working.Start();
  for (std::int16_t i = 0; i < 4; ++i) {
    form.Label1(Integer{i}).Caption.clear();
  }
  form.Line3.Visible = true;

  Operand first = ReadOperand(form, &Form1::Text1);
  Operand second = ReadOperand(form, &Form1::Text2);
  const CalcOperator op = ChosenOperator(form);
  working.Read({first, op, second});
  if (!OperandsAcceptable(first, second)) {
    working.Stop(kBadDenominator);
    form.runtime().MsgBox(kBadDenominator, kMsgBoxCritical, std::string(kErrorTitle));
    return;
  }
  NormaliseOperand(first);
  NormaliseOperand(second);
  working.Normalised(first, second);
  ReduceOperand(first);
  ReduceOperand(second);
  working.Reduced(first, second);

  CalcResult result{};
  if (CombineOperands(first, second, op, result, working)) {
    working.Stop(kDivisionByZero);
    form.runtime().MsgBox(kDivisionByZero, kMsgBoxCritical, std::string(kErrorTitle));
    // No answer, as after the first refusal: a "0" here would state a false
    // equation beside the operands.
    return;
  }
  const bool negative = SplitSign(result);
  if (negative) {
    // assign() rather than = "-": GCC 12 warns falsely (-Wrestrict) on the latter.
    form.Label1(Integer{3}).Caption.assign(1, '-');
  }
  const Answer answer = FinishAnswer(result);
  working.Finished(negative, answer);
  ShowAnswer(form, answer);

  Option2_Click(form, form.Option2.Value(Integer{0}) == kTrue ? Integer{0} : Integer{1});
}

}  // namespace tavolen
