// What a front end shows of 答え合わせ, the same on every one: the answer typed
// in 自分の答え, and the message of the last check with its mark, until the
// answer or the problem changes. The front end only passes the user's actions
// in and draws what it reads out.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "window/answer_check.h"

namespace tavolen {

class AnswerCheckView {
 public:
  // The text of 自分の答え was edited; a different text drops the message.
  void SetAnswer(std::string_view text);
  [[nodiscard]] const std::string& Answer() const { return answer_; }

  // 答え合わせ was pressed (the button, or Enter in 自分の答え): the answer is
  // checked against the form's problem now, and the message is to be read out.
  void Check(const Form1& form);

  // To be called after every event the window handled: once the problem
  // differs from the one checked, the message goes.
  void Update(const Form1& form);

  // The message on show; empty when there is none.
  [[nodiscard]] const std::string& Message() const;
  // kRightMark for a finished right answer, kNotRightMark for any other
  // message, empty with no message. Shown beside the message, not by colour alone.
  [[nodiscard]] std::string_view Mark() const;
  // The mark and the message as one line of text, "○ 正解です。", where a
  // front end draws them as one; empty with no message.
  [[nodiscard]] std::string MarkedMessage() const;
  [[nodiscard]] bool IsRight() const { return shown_ && shown_->result.IsRight(); }

  // The message for screen readers, once after each check; nullopt afterwards.
  [[nodiscard]] std::optional<std::string> TakeAnnouncement();

 private:
  struct Shown {
    CheckResult result;
    CheckedInputs problem;
  };
  std::string answer_;
  std::optional<Shown> shown_;
  bool announce_ = false;
};

}  // namespace tavolen
