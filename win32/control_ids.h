// The child-window identifier of each control, so that a tool outside the
// program (a test driver, an automation script) finds it with GetDlgItem.
#pragma once

#include "window/controls.h"

namespace tavolen {

// 1000 + the control's place in the window definition; the answer area is 999.
inline constexpr int kAnswerAreaId = 999;
[[nodiscard]] int ChildIdOf(ControlId id);
// The menu commands: 100 + their place in the menu bar.
[[nodiscard]] int MenuCommandIdOf(ControlId id);

// The answer area's pop-up menu: 200 + the command's place in it.
inline constexpr int kAnswerMenuFirstCommand = 200;

// The 途中式 window's children: its buttons (clear of IDOK and IDCANCEL, which
// stand for Enter and Escape there), and its lines from 2000 on, top first.
inline constexpr int kWorkingCopyId = 10;
inline constexpr int kWorkingDetailsId = 11;
inline constexpr int kWorkingOneLineId = 12;
inline constexpr int kWorkingNextLineId = 13;
inline constexpr int kWorkingShowAllId = 14;
inline constexpr int kWorkingKeepMixedId = 15;
// The 答え合わせ part: 自分の答え, its button, and the message with its mark.
inline constexpr int kWorkingAnswerFieldId = 16;
inline constexpr int kWorkingCheckId = 17;
inline constexpr int kWorkingCheckMessageId = 18;
inline constexpr int kWorkingFirstLineId = 2000;

}  // namespace tavolen
