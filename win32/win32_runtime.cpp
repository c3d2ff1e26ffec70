#include "win32/win32_runtime.h"

#include <commctrl.h>

#include "win32/main_window.h"
#include "win32/wide_text.h"

namespace tavolen {

void Win32Runtime::MsgBox(const std::string& prompt, Integer style, const std::string& title) {
  // The box may open halfway through a handler; show what it has written so far.
  window_.Sync();
  const UINT icon = style == kMsgBoxCritical      ? MB_ICONERROR
                    : style == kMsgBoxInformation ? MB_ICONINFORMATION
                                                  : 0U;
  MessageBoxW(window_.handle(), WithWindowsLineBreaks(prompt).c_str(), WideOf(title).c_str(),
              MB_OK | icon);
}

void Win32Runtime::Unloaded() {
  PostMessageW(window_.handle(), kUnloadedMessage, 0, 0);
}

Win32Program::Win32Program()
    // The annotation service is a COM object of this thread.
    : com_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
}

Win32Program::~Win32Program() {
  if (com_) {
    CoUninitialize();
  }
}

HINSTANCE Win32Program::Instance() {
  return GetModuleHandleW(nullptr);
}

}  // namespace tavolen
