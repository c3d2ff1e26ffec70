// tavolen.exe: the calculator's window on Windows. It takes no command line.
#include "win32/main_window.h"

int main() {
  return tavolen::RunWindowsProgram();
}
