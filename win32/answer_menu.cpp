// The answer area's menu, built from the window model's commands, and the
// 途中式 window it opens.
#include <memory>

#include "win32/clipboard.h"
#include "win32/control_ids.h"
#include "win32/main_window.h"
#include "win32/wide_text.h"
#include "window/answer_menu.h"
#include "window/working_view.h"

namespace tavolen {

// A right click on the answer area, or the menu key or Shift+F10 on a button
// (where the menu opens below it); a field keeps its own menu. Returns
// whether the menu was for the answer.
bool MainWindow::OnContextMenu(LPARAM lParam) {
  if (lParam == -1) {
    const View* focus = ViewOf(form_.Focus());
    if (focus == nullptr || !TakesAnswerKeys(focus->id)) {
      return false;
    }
    RECT rect{};
    GetWindowRect(focus->control, &rect);
    OpenAnswerMenu({rect.left, rect.bottom});
    return true;
  }
  const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  RECT area{};
  GetWindowRect(answerArea_, &area);
  if (PtInRect(&area, at) == 0) {
    return false;
  }
  OpenAnswerMenu(at);
  return true;
}

void MainWindow::OpenAnswerMenu(POINT at) {
  HMENU menu = CreatePopupMenu();
  const auto items = AnswerMenu(form_);
  for (const AnswerMenuItem& item : items) {
    const int command = kAnswerMenuFirstCommand + static_cast<int>(item.command);
    AppendMenuW(menu, item.enabled ? UINT{MF_STRING} : UINT{MF_STRING | MF_GRAYED},
                static_cast<UINT_PTR>(command), WideOf(item.caption).c_str());
  }
  const int chosen = static_cast<int>(
      TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y,
                     0, window_, nullptr));
  DestroyMenu(menu);
  for (const AnswerMenuItem& item : items) {
    if (chosen == kAnswerMenuFirstCommand + static_cast<int>(item.command)) {
      RunAnswerCommand(item.command);
    }
  }
}

void MainWindow::RunAnswerCommand(AnswerCommand command) {
  switch (command) {
    case AnswerCommand::CopyAnswer:
    case AnswerCommand::CopyWorking:
      CopyToClipboard(window_,
                      CopiedText(command, form_, working_ ? working_->view() : WorkingView{}));
      break;
    case AnswerCommand::ShowWorking:
      Working().Open();
      break;
    case AnswerCommand::CheckAnswer:
      Working().OpenToCheck();
      break;
  }
}

// Made on first use, so that starting the program does not pay for it; once
// made it is only hidden, and its choices hold while the program runs.
WorkingWindow& MainWindow::Working() {
  if (!working_) {
    working_ = std::make_unique<WorkingWindow>(window_, form_, annotations_);
  }
  return *working_;
}

}  // namespace tavolen
