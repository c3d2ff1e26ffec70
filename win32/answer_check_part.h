// The 答え合わせ part of the 途中式 window: 自分の答え, the 答え合わせ button
// (Enter in the field presses it too) and the message of the last check with
// its mark, read out once. What the message says and when it goes is the
// model's (AnswerCheckView).
#pragma once

#include <windows.h>

#include "win32/accessibility.h"
#include "window/answer_check_view.h"
#include "window/form1.h"

namespace tavolen {

class AnswerCheckPart {
 public:
  // Makes the controls in parent, after its others in tab order.
  AnswerCheckPart(HWND parent, const AccessibleAnnotations& annotations);
  AnswerCheckPart(const AnswerCheckPart&) = delete;
  AnswerCheckPart& operator=(const AnswerCheckPart&) = delete;
  ~AnswerCheckPart();

  void SetFont(HFONT font) const;
  // The width the caption, field and button need on their row.
  [[nodiscard]] int RowWidth(HDC dc, int textHeight) const;
  // The row at y across width, and the message under it; returns the bottom.
  int Layout(HDC dc, int x, int y, int width, int rowHeight) const;

  // The field's edits and the button's clicks; true when the command was the part's.
  bool OnCommand(int id, int notification, const Form1& form);
  // Enter with the focus in the field checks, as the button does; true when taken.
  bool OnEnter(HWND focus, const Form1& form);
  // After every event of the main window: a changed problem takes the message away.
  void Update(const Form1& form);
  void FocusField() const;

 private:
  void Check(const Form1& form);
  void ShowMessage();

  const AccessibleAnnotations& annotations_;
  HWND caption_ = nullptr;
  HWND field_ = nullptr;
  HWND button_ = nullptr;
  HWND message_ = nullptr;
  AnswerCheckView view_;
};

}  // namespace tavolen
