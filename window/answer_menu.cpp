#include "window/answer_menu.h"

#include "window/form1.h"
#include "window/working.h"
#include "window/working_view.h"

namespace tavolen {

std::array<AnswerMenuItem, 4> AnswerMenu(const Form1& form) {
  const bool hasWorking = form.working().problem().has_value();
  return {{
      {AnswerCommand::CopyAnswer, kCopyAnswerCaption, !AnswerText(form).empty()},
      {AnswerCommand::CopyWorking, kCopyWorkingCaption, hasWorking},
      {AnswerCommand::ShowWorking, kShowWorkingCaption, hasWorking},
      {AnswerCommand::CheckAnswer, kCheckAnswerCaption, true},
  }};
}

bool TakesAnswerKeys(const ControlId focus) {
  return IsCommandButton(focus) || IsOptionButton(focus);
}

std::string AnswerText(const Form1& form) {
  const auto label = [&form](const std::int16_t i) { return form.Label1(Integer{i}).Caption; };
  return NumberText({label(3) == "-", label(2), label(1), label(0)});
}

std::string CopiedText(const AnswerCommand command, const Form1& form, const WorkingView& view) {
  switch (command) {
    case AnswerCommand::CopyAnswer:
      return AnswerText(form);
    case AnswerCommand::CopyWorking:
      return PlainText(WorkingOf(form), view.details(), view.keepMixed());
    case AnswerCommand::ShowWorking:
    case AnswerCommand::CheckAnswer:
      break;
  }
  return {};
}

}  // namespace tavolen
