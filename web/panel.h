// The 途中式 panel for the page: the working shown and the choices for it, and
// 答え合わせ, for the page's life, with what the page draws of them as JSON.
#pragma once

#include <string>

#include "window/answer_check_view.h"
#include "window/form1.h"
#include "window/working_view.h"

namespace tavolen {

// It lives as long as the page: a window is replaced at each new start, the
// person's choices are not. It follows each window from its start, as a window
// counts its calculations itself.
class Panel {
 public:
  // The panel is open until the page closes it.
  Panel() { view_.SetShown(true); }

  WorkingView& View() { return view_; }
  AnswerCheckView& Check() { return check_; }

  // After every event the window handled: the window's working, said to be the
  // previous calculation's while its inputs differ from what it was worked out
  // from, and the check's message, which goes once the problem changes.
  void Follow(const Form1& form);
  // Whether the working is on screen (the panel open), on which the answer
  // area's being drawn empty depends.
  void SetOpen(bool open) { view_.SetShown(open); }

  // The panel as it is now, kept until the next reply; a check's message is
  // to be read out in the first reply after it only.
  const char* Reply();

 private:
  WorkingView view_;
  AnswerCheckView check_;
  std::string reply_;
  bool stale_ = false;
};

// The panel's texts from the definition: captions, the field's accessible
// name, what is read of the answer area while it is drawn empty.
[[nodiscard]] std::string PanelTextsJson();

}  // namespace tavolen
