#include "window/answer_check_view.h"

namespace tavolen {

void AnswerCheckView::SetAnswer(std::string_view text) {
  if (text == answer_) {
    return;
  }
  answer_ = text;
  shown_.reset();
  announce_ = false;
}

void AnswerCheckView::Check(const Form1& form) {
  shown_ = Shown{CheckAnswer(form, answer_), ProblemInputs(form)};
  announce_ = true;
}

void AnswerCheckView::Update(const Form1& form) {
  if (shown_ && ProblemInputs(form) != shown_->problem) {
    shown_.reset();
    announce_ = false;
  }
}

const std::string& AnswerCheckView::Message() const {
  static const std::string kNone;
  return shown_ ? shown_->result.message : kNone;
}

std::string_view AnswerCheckView::Mark() const {
  if (!shown_) {
    return {};
  }
  return shown_->result.IsRight() ? kRightMark : kNotRightMark;
}

std::string AnswerCheckView::MarkedMessage() const {
  return shown_ ? std::string(Mark()) + " " + Message() : std::string();
}

std::optional<std::string> AnswerCheckView::TakeAnnouncement() {
  if (!announce_ || !shown_) {
    return std::nullopt;
  }
  announce_ = false;
  return shown_->result.message;
}

}  // namespace tavolen
