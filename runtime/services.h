// The services that the window's handlers take from the hosting runtime.
#pragma once

#include <string>
#include <string_view>

#include "arith/number.h"

namespace tavolen {

// The number at the start of text, as the program reads entry fields and
// answer labels: leading blanks (space, tab, U+3000), an optional sign, digits
// and an optional point and digits, ASCII or full-width; no number gives 0.
[[nodiscard]] Double Val(std::string_view text);

// The title of every box that reports a refusal or an error.
inline constexpr std::string_view kErrorTitle = "エラーメッセージ";

inline constexpr Integer kMsgBoxCritical{16};
inline constexpr Integer kMsgBoxInformation{64};

// What the handlers need of the runtime that hosts the window. Each front end,
// the replay tool and the tests provide one, and 答え合わせ runs its copy of the
// window on one that shows nothing.
class Runtime {
 public:
  Runtime() = default;
  Runtime(const Runtime&) = delete;
  Runtime& operator=(const Runtime&) = delete;
  virtual ~Runtime() = default;

  // Shows a modal message box with one OK button and returns once it is
  // closed. A carriage return alone in the prompt breaks the line.
  virtual void MsgBox(const std::string& prompt, Integer style, const std::string& title) = 0;

  // The window has been unloaded: the program ends once the running event is over.
  virtual void Unloaded() = 0;

  // A run-time error left the handler that the form engine called; the report
  // the user sees follows as a message box. Only a runtime that records what
  // happened (the replay tool, the tests) needs it.
  virtual void ErrorLeftHandler(const RuntimeError& /*error*/, std::string_view /*handler*/) {}
};

// The prompt of the message box that reports the error.
[[nodiscard]] std::string_view ErrorPrompt(const RuntimeError& error);

// How the runtime reports an error that left a handler: the program then waits
// for the next event with the window as the handler left it.
void ReportRuntimeError(Runtime& runtime, const RuntimeError& error, std::string_view handler);

}  // namespace tavolen
