#include "window/working.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "arith/answer_form.h"
#include "arith/working.h"
#include "window/controls.h"
#include "window/form1.h"
#include "window/kept_mixed.h"
#include "window/working_steps.h"
#include "window/working_terms.h"

namespace tavolen {
namespace {

using namespace working_terms;

// The problem stands as typed: a zero denominator under no positive numerator
// leaves the whole part alone (the calculation ignores that numerator).
WorkingNumber TypedOf(const Operand& operand) {
  const auto text = [](const Long x) { return TextOf(x); };
  if (operand.Denominator.value == 0 && operand.Numerator.value <= 0) {
    return {false, text(operand.Whole), "", ""};
  }
  return {false, operand.Whole.value == 0 ? "" : text(operand.Whole), text(operand.Numerator),
          text(operand.Denominator)};
}

// Whether a detail reads, spaces aside, as a line.
bool ReadsAs(const WorkingDetail& detail, const std::string_view line) {
  const std::string text = DetailText(detail);
  auto a = text.begin();
  auto b = line.begin();
  for (;; ++a, ++b) {
    a = std::find_if(a, text.end(), [](const char c) { return c != ' '; });
    b = std::find_if(b, line.end(), [](const char c) { return c != ' '; });
    if (a == text.end() || b == line.end() || *a != *b) {
      return a == text.end() && b == line.end();
    }
  }
}

// The working as it is written, each step's text kept beside it.
struct Written {
  std::vector<WorkingStep>& steps;
  std::vector<std::string> texts;

  // A step that reads as an earlier line takes the working back to that
  // line; a detail that reads as the line before it, or as its own step,
  // says nothing and goes.
  void Append(WorkingStep step) {
    std::string text = ExpressionText(step);
    const auto earlier = std::find(texts.begin(), texts.end(), text);
    if (earlier != texts.end()) {
      const auto kept = static_cast<std::size_t>(earlier - texts.begin()) + 1;
      steps.resize(kept);
      texts.resize(kept);
      return;
    }
    if (step.how &&
        ((!texts.empty() && ReadsAs(*step.how, texts.back())) || ReadsAs(*step.how, text))) {
      step.how.reset();
    }
    steps.push_back(std::move(step));
    texts.push_back(std::move(text));
  }
};

}  // namespace

WorkingLines WorkingOf(const Form1& form) {
  const Working& working = form.working();
  WorkingLines lines;
  const std::optional<Problem>& problem = working.problem();
  if (problem) {
    const WorkingStep problemLine{"", TypedOf(problem->first), problem->op,
                                  TypedOf(problem->second), std::nullopt};
    Written written{lines.steps, {}};
    written.Append(problemLine);
    for (const Step& step : working.steps()) {
      written.Append(LineOf(step, *problem));
    }
    const std::optional<StepFraction>& answer = working.answer();
    const bool mixedForm =
        form.Option2.Chosen() == static_cast<std::int16_t>(AnswerForm::MixedNumber);
    if (answer && mixedForm) {
      if (std::optional<WorkingStep> mixed = MixedAnswerLine(*answer)) {
        written.Append(std::move(*mixed));
      }
    }
    std::vector<WorkingStep> kept = answer && !working.stop() ? KeptMixedSteps(*problem, !mixedForm)
                                                              : std::vector<WorkingStep>{};
    if (!kept.empty()) {
      Written keptWritten{lines.keptMixed, {}};
      keptWritten.Append(problemLine);
      for (WorkingStep& step : kept) {
        keptWritten.Append(std::move(step));
      }
    }
  }
  lines.stop = working.stop();
  lines.calculation = working.calculation();
  return lines;
}

const std::vector<WorkingStep>& StepsOf(const WorkingLines& working, const bool keepMixed) {
  return keepMixed && !working.keptMixed.empty() ? working.keptMixed : working.steps;
}

std::string_view OperatorSymbol(const CalcOperator op) {
  if (op == CalcOperator::NoOperator) {
    return "";
  }
  return DefinitionOf({ControlName::Option1, static_cast<std::int16_t>(op)}).caption;
}

namespace {

// Appends a number; a part of a fraction that is a compound term stands in
// parentheses (a whole part carries its own).
void AppendNumber(std::string& text, const WorkingNumber& number) {
  const auto part = [&text](const std::string& term) {
    const bool compound = IsCompound(term);
    text += compound ? "(" : "";
    text += term;
    text += compound ? ")" : "";
  };
  text += number.negative ? "-" : "";
  text += number.whole;
  if (!number.denominator.empty()) {
    text += number.whole.empty() ? "" : " ";
    part(number.numerator);
    text += '/';
    part(number.denominator);
  }
}

std::string ShapeText(const WorkingNumber& left, const std::optional<CalcOperator> op,
                      const WorkingNumber& right) {
  constexpr std::size_t kUsualLength = 40;
  std::string text;
  text.reserve(kUsualLength);
  AppendNumber(text, left);
  if (op) {
    text += ' ';
    text += OperatorSymbol(*op);
    text += ' ';
    AppendNumber(text, right);
  }
  return text;
}

}  // namespace

std::string NumberText(const WorkingNumber& number) {
  std::string text;
  AppendNumber(text, number);
  return text;
}

std::string ExpressionText(const WorkingStep& step) {
  return ShapeText(step.left, step.op, step.right);
}

std::string DetailText(const WorkingDetail& detail) {
  return ShapeText(detail.left, detail.op, detail.right);
}

std::string StepText(const WorkingStep& step) {
  if (step.name.empty()) {
    return ExpressionText(step);
  }
  return "= " + ExpressionText(step) + "（" + std::string(step.name) + "）";
}

std::string StopText(const std::string_view prompt) {
  return "計算できません：" + std::string(prompt);
}

std::string PlainText(const WorkingLines& working, const bool withDetails, const bool keepMixed) {
  std::string text;
  for (const WorkingStep& step : StepsOf(working, keepMixed)) {
    if (withDetails && step.how) {
      text += "= " + DetailText(*step.how) + '\n';
    }
    text += StepText(step) + '\n';
  }
  if (working.stop) {
    text += StopText(*working.stop) + '\n';
  }
  return text;
}

}  // namespace tavolen
