#include "window/answer_check.h"

#include "arith/working.h"

namespace tavolen {

namespace {

constexpr std::string_view kNoCalcLead = "この問題は計算できません：";

// The copy's message boxes are the stops of a calculation nobody sees; the
// working keeps their prompt.
class UnseenRuntime final : public Runtime {
 public:
  void MsgBox(const std::string& /*prompt*/, Integer /*style*/,
              const std::string& /*title*/) override {}
  void Unloaded() override {}
};

constexpr std::array<ControlId, 6> kFields{{
    {ControlName::Text1, 0},
    {ControlName::Text1, 1},
    {ControlName::Text1, 2},
    {ControlName::Text2, 0},
    {ControlName::Text2, 1},
    {ControlName::Text2, 2},
}};

const std::string& FieldText(const Form1& form, ControlId field) {
  const Integer index{field.index};
  return field.name == ControlName::Text1 ? form.Text1(index).Text : form.Text2(index).Text;
}

std::string& FieldText(Form1& form, ControlId field) {
  const Integer index{field.index};
  return field.name == ControlName::Text1 ? form.Text1(index).Text : form.Text2(index).Text;
}

// The copy gets the fields as they stand and the same choices; each field is then
// entered and left, so the window's own clean-up runs on it, and the focus
// ends on 計算.
void CopyProblem(const Form1& form, Form1& copy) {
  for (const ControlId field : kFields) {
    FieldText(copy, field) = FieldText(form, field);
  }
  copy.Option1.Choose(form.Option1.Chosen());
  copy.Option2.Choose(form.Option2.Chosen());
  for (const ControlId field : kFields) {
    copy.MoveFocus(field);
  }
  copy.MoveFocus({ControlName::Command1, -1});
}

OperandParts PartsOf(const Operand& operand) {
  return {operand.Whole.value, operand.Numerator.value, operand.Denominator.value};
}

std::string_view VerdictMessage(Verdict verdict, AnswerForm form) {
  switch (verdict) {
    case Verdict::Unreadable:
      return "答えは 3 5/6、23/6、3と6分の5 のように書いてください。";
    case Verdict::Correct:
      return "正解です。";
    case Verdict::Reduce:
      return "値は合っています。約分しましょう。";
    case Verdict::Carry:
      return "値は合っています。分数の部分が1より小さくなるように、整数の部分にくり上げましょう。";
    case Verdict::Form:
      return form == AnswerForm::MixedNumber ? "値は合っています。帯分数で答えましょう。"
                                             : "値は合っています。仮分数で答えましょう。";
    default:
      return "ちがいます。途中式を見て、どこがちがうか確かめましょう。";
  }
}

std::string_view MistakeMessage(Mistake mistake) {
  constexpr std::array<std::string_view, kMistakeCount> kMessages{
      "ひかれる数とひく数を入れかえてひいています。ひかれる数のほうが小さいので、答えは0より小さく"
      "なります。",
      "分母どうしもたしています。分母をそろえて（通分して）から、分子どうしをたします。",
      "分母どうしもひいています。分母をそろえて（通分して）から、分子どうしをひきます。",
      "分母をそろえたのに、分子に同じ数をかけていません。",
      "整数の部分を計算していません。",
      "くり上がりを忘れています。分数の部分が1をこえたら、整数の部分に1くり上げます。",
      "整数から帯分数をひくときは、整数から1をくり下げて分数になおしてからひきます。",
      "分数の部分を、大きいほうから小さいほうへひいています。ひけないときは、整数の部分から1くり下"
      "げます。",
      "くり下げたのに、整数の部分から1をひいていません。",
      "帯分数のままかけています。帯分数は仮分数になおしてからかけます。",
      "整数を分母にもかけています。整数は分子にだけかけます。",
      "わる数を逆数にしないでかけています。わる数の逆数をかけます。",
      "わられる数のほうを逆数にしています。逆数にするのは、わる数です。",
  };
  return kMessages.at(static_cast<std::size_t>(mistake));
}

}  // namespace

CheckedInputs ProblemInputs(const Form1& form) {
  UnseenRuntime runtime;
  Form1 copy(runtime);
  CopyProblem(form, copy);
  CheckedInputs inputs;
  for (std::size_t i = 0; i < kFields.size(); ++i) {
    inputs.fields.at(i) = FieldText(copy, kFields.at(i));
  }
  inputs.op = form.Option1.Chosen();
  inputs.form = form.Option2.Chosen();
  return inputs;
}

CheckResult CheckAnswer(const Form1& form, std::string_view answer) {
  UnseenRuntime runtime;
  Form1 copy(runtime);
  CopyProblem(form, copy);
  copy.Click({ControlName::Command1, -1});
  const Working& working = copy.working();
  if (working.stop()) {
    return {Verdict::NoCalc, std::nullopt, std::string(kNoCalcLead) + *working.stop()};
  }
  const Problem& read = working.problem().value();
  const ExactProblem problem{PartsOf(read.first), PartsOf(read.second), read.op};
  const auto answerForm = static_cast<AnswerForm>(form.Option2.Chosen());
  const Judgement judgement = Judge(problem, answerForm, answer);
  const std::string_view message = judgement.mistake
                                       ? MistakeMessage(*judgement.mistake)
                                       : VerdictMessage(judgement.verdict, answerForm);
  return {judgement.verdict, judgement.mistake, std::string(message)};
}

}  // namespace tavolen
