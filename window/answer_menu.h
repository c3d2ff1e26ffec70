// The answer area's pop-up menu, the same in every front end: its commands in
// order, when each can be chosen, and what the copy commands copy. It opens on
// a right click on the answer, and from a button by the menu key or Shift+F10.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "window/controls.h"

namespace tavolen {

class Form1;
class WorkingView;

inline constexpr std::string_view kCopyAnswerCaption = "答えをコピー";
inline constexpr std::string_view kCopyWorkingCaption = "途中式をコピー";
inline constexpr std::string_view kShowWorkingCaption = "途中式を表示";
inline constexpr std::string_view kCheckAnswerCaption = "答え合わせ…";

enum class AnswerCommand : std::uint8_t { CopyAnswer, CopyWorking, ShowWorking, CheckAnswer };

struct AnswerMenuItem {
  AnswerCommand command;
  std::string_view caption;
  bool enabled;
};

// The commands as the menu lists them now: copying the answer needs an
// answer, the working's two need a working; checking an answer is always open.
[[nodiscard]] std::array<AnswerMenuItem, 4> AnswerMenu(const Form1& form);

// Whether the copy key, the menu key and Shift+F10 act on the answer while
// this control has the focus: on a command or option button, not in an entry
// field, which keeps its own.
[[nodiscard]] bool TakesAnswerKeys(ControlId focus);

// The answer on one line as the answer labels show it: "-1 1/6", "23/6", "0".
[[nodiscard]] std::string AnswerText(const Form1& form);

// What a copy command puts on the clipboard: the answer, or the whole working
// with the view's choices (くわしく, 帯分数のまま); "" for the other commands.
[[nodiscard]] std::string CopiedText(AnswerCommand command, const Form1& form,
                                     const WorkingView& view);

}  // namespace tavolen
