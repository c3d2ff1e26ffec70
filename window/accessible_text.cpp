#include "window/accessible_text.h"

#include <algorithm>
#include <array>

#include "window/working_terms.h"

namespace tavolen {
namespace {

// Japanese reads the denominator first: 5/6 is "6分の5".
std::string FractionWords(std::string_view denominator, std::string_view numerator) {
  if (denominator.empty()) {
    return std::string(numerator);
  }
  return std::string(denominator) + "分の" + std::string(numerator);
}

}  // namespace

std::string AccessibleNameOf(ControlId id) {
  constexpr std::array<std::string_view, 4> kOperators{"たし算", "ひき算", "かけ算", "わり算"};
  constexpr std::array<std::string_view, 2> kForms{"帯分数", "仮分数"};
  const auto at = static_cast<std::size_t>(std::max<std::int16_t>(id.index, 0));
  switch (id.name) {
    case ControlName::Text1:
      return "1つ目の数の" + std::string(FieldRole(id.index));
    case ControlName::Text2:
      return "2つ目の数の" + std::string(FieldRole(id.index));
    case ControlName::Option1:
      return std::string(kOperators.at(at));
    case ControlName::Option2:
      return std::string(kForms.at(at));
    case ControlName::FileExit:
    case ControlName::FileBer:
      for (const MenuDef& menu : MenuDefinitions()) {
        if (menu.id == id) {
          return std::string(menu.caption);
        }
      }
      return {};
    default:
      return std::string(DefinitionOf(id).caption);
  }
}

std::string AnswerWords(std::string_view denominator, std::string_view numerator,
                        std::string_view whole, std::string_view sign) {
  std::string words = sign.empty() ? "" : "マイナス";
  words += whole;
  const bool hasFraction = !denominator.empty() || !numerator.empty();
  if (hasFraction && !whole.empty()) {
    words += "と";
  }
  if (hasFraction) {
    words += FractionWords(denominator, numerator);
  }
  return words;
}

std::string AnswerWordsOf(const Form1& form) {
  return AnswerWords(form.Label1(Integer{0}).Caption, form.Label1(Integer{1}).Caption,
                     form.Label1(Integer{2}).Caption, form.Label1(Integer{3}).Caption);
}

std::string AnswerDescriptionOf(const Form1& form, const bool answerHidden) {
  if (answerHidden) {
    return std::string(kAnswerAfterWorking);
  }
  std::string words = AnswerWordsOf(form);
  if (words.empty() || !form.AnswerIsStale()) {
    return words;
  }
  return std::string(kPreviousAnswerDescription) + "、" + words;
}

std::string_view WorkingDescription(const bool stale) {
  return stale ? kPreviousWorkingDescription : std::string_view{};
}

std::string WorkingLineReadOut(const std::string_view words, const bool stale) {
  if (!stale) {
    return std::string(words);
  }
  return std::string(kPreviousWorkingDescription) + "、" + std::string(words);
}

std::string NumberWords(const WorkingNumber& number) {
  return AnswerWords(number.denominator, number.numerator, number.whole,
                     number.negative ? "-" : "");
}

namespace {

constexpr std::array<std::string_view, 4> kOperatorWords{"たす", "ひく", "かける", "わる"};

// "1×2＋1" read as "1かける2たす1": each sign as its operator's word.
std::string TermWords(std::string_view term) {
  std::string words;
  while (!term.empty()) {
    bool sign = false;
    for (std::size_t op = 0; op < kOperatorWords.size() && !sign; ++op) {
      const std::string_view symbol = OperatorSymbol(static_cast<CalcOperator>(op));
      if (term.starts_with(symbol)) {
        words += kOperatorWords.at(op);
        term.remove_prefix(symbol.size());
        sign = true;
      }
    }
    if (!sign) {
      // Parentheses group a term on paper; read aloud they are left out.
      if (term.front() != '(' && term.front() != ')') {
        words += term.front();
      }
      term.remove_prefix(1);
    }
  }
  return words;
}

std::string DetailNumberWords(const WorkingNumber& number) {
  if (!working_terms::IsCompound(number.numerator) &&
      !working_terms::IsCompound(number.denominator)) {
    return NumberWords(
        {number.negative, TermWords(number.whole), number.numerator, number.denominator});
  }
  std::string words = number.negative ? "マイナス" : "";
  words += number.whole.empty() ? "" : TermWords(number.whole) + "と";
  return words + "分母 " + TermWords(number.denominator) + "、分子 " + TermWords(number.numerator);
}

}  // namespace

std::string DetailWords(const WorkingDetail& detail) {
  std::string words = DetailNumberWords(detail.left);
  if (detail.op && *detail.op != CalcOperator::NoOperator) {
    words += " ";
    words += kOperatorWords.at(static_cast<std::size_t>(*detail.op));
    words += " " + DetailNumberWords(detail.right);
  }
  return words;
}

std::string StepWords(const WorkingStep& step) {
  std::string words = DetailNumberWords(step.left);
  if (step.op && *step.op != CalcOperator::NoOperator) {
    words += " ";
    words += kOperatorWords.at(static_cast<std::size_t>(*step.op));
    words += " " + DetailNumberWords(step.right);
  }
  if (!step.name.empty()) {
    words += "、" + std::string(step.name);
  }
  return words;
}

}  // namespace tavolen
