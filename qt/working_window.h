// The working (途中式) in a small window of its own beside the main window:
// one row per line with its fractions stacked, a step's name after it and a
// detail set apart, read to screen readers in words; くわしく and 1行ずつ to
// choose, 次の行 and すべて表示 while lines are hidden, a button that copies
// the lines shown as plain text, and 答え合わせ: the pupil's own answer checked
// against the problem, with the model's message and its mark.
#pragma once

#include <functional>
#include <string>
#include <utility>

#include <QDialog>

#include "window/answer_check_view.h"
#include "window/form1.h"
#include "window/working.h"
#include "window/working_view.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

namespace tavolen {

class WorkingWindow final : public QDialog {
 public:
  // `view` and `checks` hold the choices and the answer checked, and outlive
  // this window's closing and reopening; `form` is the problem they follow.
  WorkingWindow(const Form1& form, WorkingView& view, AnswerCheckView& checks, QWidget* parent);

  // Called whenever this window changes what hides the answer: the window
  // shown or hidden, a line more, a choice.
  void SetOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }

  // After every event of the main window, shown or not: the message goes once
  // the problem changes, and the lines follow the calculation, dimmed while
  // the inputs no longer match it. The main window redraws its answer itself.
  void Follow();
  void FocusAnswerField();

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void BuildChoices(QVBoxLayout& layout);
  void BuildChecking(QVBoxLayout& layout);
  // Redraws, then tells the main window (SetOnChange).
  void Refresh();
  // Brings the rows, the choices and the buttons up to date from the view.
  void Redraw();
  void RefreshRows();
  void RefreshCheck();
  void Act(void (WorkingView::*action)());
  void Choose(void (WorkingView::*choice)(bool), bool on);
  void Check();

  void ShowDimmed(bool dimmed);

  const Form1& form_;
  WorkingView& view_;
  AnswerCheckView& checks_;
  QVBoxLayout* rows_ = nullptr;
  QCheckBox* details_ = nullptr;
  QCheckBox* oneLineAtATime_ = nullptr;
  QCheckBox* keepMixed_ = nullptr;
  QLineEdit* answerField_ = nullptr;
  QLabel* message_ = nullptr;
  std::function<void()> onChange_;
  QPushButton* nextLine_ = nullptr;
  QPushButton* showAll_ = nullptr;
  QPushButton* copy_ = nullptr;
  std::string shown_;  // the lines drawn, as text
  bool dimmed_ = false;
};

}  // namespace tavolen
