// tavolen.exe: the calculator's window on Windows. It takes no command line.
#include "win32/main_window.h"
#include "win32/win32_runtime.h"

int main() {
  const tavolen::Win32Program program;
  tavolen::MainWindow window(tavolen::Win32Program::Instance());
  ShowWindow(window.handle(), SW_SHOWNORMAL);
  UpdateWindow(window.handle());
  // No IsDialogMessage for the main window: it would turn Tab and Enter into
  // dialog navigation, and the model owns both.
  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (window.TakeDialogMessage(message)) {
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
