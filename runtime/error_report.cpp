#include <string>
#include <typeinfo>

#include "runtime/services.h"

namespace tavolen {

std::string_view ErrorPrompt(const RuntimeError& error) {
  if (typeid(error) == typeid(Overflow)) {
    return "数が大きすぎて計算できません。";
  }
  if (typeid(error) == typeid(DivisionByZero)) {
    return "計算の途中で0で割り算が起きたため、計算できません。";
  }
  return "エラーが起きたため、この操作を続けられません。";
}

void ReportRuntimeError(Runtime& runtime, const RuntimeError& error, std::string_view handler) {
  runtime.ErrorLeftHandler(error, handler);
  runtime.MsgBox(std::string(ErrorPrompt(error)), kMsgBoxCritical, std::string(kErrorTitle));
}

}  // namespace tavolen
