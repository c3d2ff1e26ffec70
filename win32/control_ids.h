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

}  // namespace tavolen
