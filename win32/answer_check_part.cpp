#include "win32/answer_check_part.h"

#include <algorithm>
#include <string>

#include <commctrl.h>

#include "win32/child_window.h"
#include "win32/control_ids.h"
#include "win32/line_painter.h"
#include "win32/wide_text.h"
#include "window/answer_check.h"

namespace tavolen {
namespace {

HWND AddChild(HWND parent, const wchar_t* windowClass, std::string_view text, int id, DWORD style,
              DWORD exStyle = 0) {
  return CreateChild(parent, windowClass, WideOf(text).c_str(), id, WS_VISIBLE | style, exStyle);
}

}  // namespace

AnswerCheckPart::AnswerCheckPart(HWND parent, const AccessibleAnnotations& annotations)
    : annotations_(annotations),
      caption_(AddChild(parent, WC_STATICW, kAnswerFieldCaption, -1, SS_LEFT | SS_NOPREFIX)),
      field_(AddChild(parent, WC_EDITW, "", kWorkingAnswerFieldId, WS_TABSTOP | ES_AUTOHSCROLL,
                      WS_EX_CLIENTEDGE)),
      button_(AddChild(parent, WC_BUTTONW, kCheckButtonCaption, kWorkingCheckId,
                       WS_TABSTOP | BS_PUSHBUTTON)),
      message_(AddChild(parent, WC_STATICW, "", kWorkingCheckMessageId, SS_LEFT | SS_NOPREFIX)) {
  annotations_.SetName(field_, kAnswerFieldAccessibleName);
  annotations_.SetLiveRegion(message_);
}

AnswerCheckPart::~AnswerCheckPart() {
  for (HWND control : {field_, message_}) {
    annotations_.Clear(control);
  }
}

void AnswerCheckPart::SetFont(HFONT font) const {
  for (HWND control : {caption_, field_, button_, message_}) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
}

int AnswerCheckPart::RowWidth(HDC dc, int textHeight) const {
  return WidthOf(dc, WideOf(kAnswerFieldCaption)) + 10 * textHeight +
         WidthOf(dc, WideOf(kCheckButtonCaption)) + 3 * textHeight;
}

// The field takes what the caption and button leave; the message wraps at the width.
int AnswerCheckPart::Layout(HDC dc, int x, int y, int width, int rowHeight) const {
  const int gap = rowHeight / 3;
  const int captionWidth = WidthOf(dc, WideOf(kAnswerFieldCaption));
  const int buttonWidth = WidthOf(dc, WideOf(kCheckButtonCaption)) + rowHeight;
  const int fieldLeft = x + captionWidth + gap;
  const int buttonLeft = x + width - buttonWidth;
  MoveWindow(caption_, x, y + rowHeight / 4, captionWidth, rowHeight, TRUE);
  MoveWindow(field_, fieldLeft, y, std::max(0, buttonLeft - gap - fieldLeft), rowHeight, TRUE);
  MoveWindow(button_, buttonLeft, y, buttonWidth, rowHeight, TRUE);
  const std::wstring text = TextOf(message_);
  RECT box{0, 0, width, 0};
  if (!text.empty()) {
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  }
  const int top = y + rowHeight + gap;
  MoveWindow(message_, x, top, width, box.bottom, TRUE);
  return top + box.bottom;
}

bool AnswerCheckPart::OnCommand(int id, int notification, const Form1& form) {
  if (id == kWorkingAnswerFieldId && notification == EN_CHANGE) {
    view_.SetAnswer(Utf8Of(TextOf(field_)));
    ShowMessage();
    return true;
  }
  if (id == kWorkingCheckId && notification == BN_CLICKED) {
    Check(form);
    return true;
  }
  return false;
}

bool AnswerCheckPart::OnEnter(HWND focus, const Form1& form) {
  if (focus != field_) {
    return false;
  }
  Check(form);
  return true;
}

void AnswerCheckPart::Update(const Form1& form) {
  view_.Update(form);
  ShowMessage();
}

void AnswerCheckPart::FocusField() const {
  SetFocus(field_);
  SendMessageW(field_, EM_SETSEL, 0, -1);
}

void AnswerCheckPart::Check(const Form1& form) {
  view_.Check(form);
  ShowMessage();
  // The message is the control's name already; the event has it read out.
  if (view_.TakeAnnouncement()) {
    NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED, message_, OBJID_CLIENT, CHILDID_SELF);
  }
}

void AnswerCheckPart::ShowMessage() {
  const std::wstring text = WideOf(view_.MarkedMessage());
  if (TextOf(message_) != text) {
    SetWindowTextW(message_, text.c_str());
    annotations_.SetName(message_, Utf8Of(text));
  }
}

}  // namespace tavolen
