// tavolen: the calculator's window. It takes no command line of its own; Qt's
// options (-platform, -style, ...) pass through to the toolkit.
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string_view>

#include <QApplication>

#include "qt/main_window.h"

namespace {

bool IsSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

// Without a display Qt aborts with a long plugin diagnostic; say it plainly.
bool HasDisplay(std::span<char* const> args) {
#if defined(__linux__)
  for (const char* arg : args) {
    if (std::string_view(arg) == "-platform") {
      return true;
    }
  }
  return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY") || IsSet("QT_QPA_PLATFORM");
#else
  static_cast<void>(args);
  return true;
#endif
}

}  // namespace

int main(int argc, char* argv[]) {
  if (!HasDisplay(std::span(argv, static_cast<std::size_t>(argc)))) {
    std::fputs(
        "tavolen: no display to show the window on (DISPLAY and WAYLAND_DISPLAY are unset)\n",
        stderr);
    return EXIT_FAILURE;
  }
  QApplication app(argc, argv);
  tavolen::MainWindow window;
  window.show();
  return QApplication::exec();
}
