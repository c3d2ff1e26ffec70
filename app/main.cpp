// tavolen: the calculator's window. It takes no command line of its own; Qt's
// options (-platform, -style, ...) pass through to the toolkit.
#include <optional>
#include <utility>

#include <QApplication>

#include "qt/main_window.h"
#include "qt/startup_messages.h"

int main(int argc, char* argv[]) {
  std::optional<tavolen::StartupMessages> startup(std::in_place);
  QApplication app(argc, argv);
  startup.reset();
  tavolen::MainWindow window;
  window.show();
  return QApplication::exec();
}
