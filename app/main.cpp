// tavolen: the calculator's window. It takes no command line of its own; Qt's
// options (-platform, -style, ...) pass through to the toolkit.
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <utility>
#include <vector>

#include <QApplication>
#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include "qt/main_window.h"

namespace {

// A display that cannot be opened makes Qt print a few warnings and then
// abort with a core dump. While the application is being created its messages
// are held back: a fatal one ends the program with one line and status 1, and
// the others are passed on once the application stands.
class StartupMessages {
 public:
  StartupMessages() : previous_(qInstallMessageHandler(&Hold)) {}
  StartupMessages(const StartupMessages&) = delete;
  StartupMessages& operator=(const StartupMessages&) = delete;
  ~StartupMessages() {
    qInstallMessageHandler(previous_);
    for (const Held& message : HeldMessages()) {
      const QMessageLogContext context(OrNull(message.file), message.line, OrNull(message.function),
                                       OrNull(message.category));
      qt_message_output(message.type, context, message.text);
    }
    HeldMessages().clear();
  }

 private:
  struct Held {
    QtMsgType type;
    QByteArray file, function, category;
    int line;
    QString text;
  };

  static const char* OrNull(const QByteArray& text) {
    return text.isNull() ? nullptr : text.constData();
  }

  // Qt's message handler takes no context of its own, so the messages wait here.
  static std::vector<Held>& HeldMessages() {
    static std::vector<Held> held;
    return held;
  }

  static void Hold(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type != QtFatalMsg) {
      HeldMessages().push_back(
          {type, context.file, context.function, context.category, context.line, text});
      return;
    }
    // The first warning names the cause ("could not connect to display :9").
    const QString cause = HeldMessages().empty() ? text : HeldMessages().front().text;
    std::fprintf(stderr, "tavolen: cannot open the display: %s\n",
                 qPrintable(cause.section(QLatin1Char('\n'), 0, 0)));
    std::_Exit(EXIT_FAILURE);
  }

  QtMessageHandler previous_;
};

}  // namespace

int main(int argc, char* argv[]) {
  std::optional<StartupMessages> startup(std::in_place);
  QApplication app(argc, argv);
  startup.reset();
  tavolen::MainWindow window;
  window.show();
  return QApplication::exec();
}
