// The working (途中式) in a small window of its own beside the main window:
// one row per step with its fractions stacked and its name after it, read to
// screen readers in words, and a button that copies it as plain text.
#pragma once

#include <string>

#include <QDialog>

#include "window/working.h"

class QVBoxLayout;

namespace tavolen {

class WorkingWindow final : public QDialog {
 public:
  explicit WorkingWindow(QWidget* parent);

  // Shows this working in place of the one shown before, dimmed while the
  // inputs no longer match it.
  void Show(const WorkingLines& working, bool dimmed = false);

 private:
  void ShowDimmed(bool dimmed);

  QVBoxLayout* rows_ = nullptr;
  std::string shown_;
};

}  // namespace tavolen
