// The working (途中式) in a small window of its own beside the main window:
// one row per line with its fractions stacked, a step's name after it and a
// detail set apart, read to screen readers in words; くわしく and 1行ずつ to
// choose, 次の行 and すべて表示 while lines are hidden, and a button that copies
// the lines shown as plain text.
#pragma once

#include <string>

#include <QDialog>

#include "window/working.h"
#include "window/working_view.h"

class QCheckBox;
class QPushButton;
class QVBoxLayout;

namespace tavolen {

class WorkingWindow final : public QDialog {
 public:
  // `view` holds the choices and outlives this window's closing and reopening.
  WorkingWindow(WorkingView& view, QWidget* parent);

  // Shows this working in place of the one shown before, dimmed while the
  // inputs no longer match it.
  void Show(const WorkingLines& working, bool dimmed = false);

 private:
  // Brings the rows, the choices and the buttons up to date from the view.
  void Refresh();
  void Act(void (WorkingView::*action)());

  void ShowDimmed(bool dimmed);

  WorkingView& view_;
  QVBoxLayout* rows_ = nullptr;
  QCheckBox* details_ = nullptr;
  QCheckBox* oneLineAtATime_ = nullptr;
  QPushButton* nextLine_ = nullptr;
  QPushButton* showAll_ = nullptr;
  QPushButton* copy_ = nullptr;
  std::string shown_;  // the lines drawn, as text
  bool dimmed_ = false;
};

}  // namespace tavolen
