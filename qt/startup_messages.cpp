#include "qt/startup_messages.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include <QByteArray>
#include <QString>

namespace tavolen {
namespace {

struct Held {
  QtMsgType type;
  QByteArray file, function, category;
  int line;
  QString text;
};

const char* OrNull(const QByteArray& text) {
  return text.isNull() ? nullptr : text.constData();
}

// Qt's message handler takes no context of its own, so the messages wait here.
std::vector<Held>& HeldMessages() {
  static std::vector<Held> held;
  return held;
}

void Hold(QtMsgType type, const QMessageLogContext& context, const QString& text) {
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

}  // namespace

StartupMessages::StartupMessages() : previous_(qInstallMessageHandler(&Hold)) {}

StartupMessages::~StartupMessages() {
  qInstallMessageHandler(previous_);
  for (const Held& message : HeldMessages()) {
    const QMessageLogContext context(OrNull(message.file), message.line, OrNull(message.function),
                                     OrNull(message.category));
    qt_message_output(message.type, context, message.text);
  }
  HeldMessages().clear();
}

}  // namespace tavolen
