#include "qt/qt_runtime.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QString>

#include "qt/main_window.h"

namespace tavolen {
namespace {

QMessageBox::Icon IconOf(Integer style) {
  if (style == kMsgBoxCritical) {
    return QMessageBox::Critical;
  }
  if (style == kMsgBoxInformation) {
    return QMessageBox::Information;
  }
  return QMessageBox::NoIcon;
}

// The program breaks lines with a carriage return alone.
QString WithLineBreaks(const std::string& prompt) {
  QString text = QString::fromStdString(prompt);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

}  // namespace

void QtRuntime::MsgBox(const std::string& prompt, Integer style, const std::string& title) {
  // The box may open halfway through a handler; show what it has written so far.
  window_.Sync();
  QMessageBox box(IconOf(style), QString::fromStdString(title), WithLineBreaks(prompt),
                  QMessageBox::Ok, &window_);
  box.setTextFormat(Qt::PlainText);
  box.exec();
  // Not every window system hands the activation back to the window.
  window_.activateWindow();
}

void QtRuntime::Unloaded() {
  window_.close();
  QCoreApplication::quit();
}

}  // namespace tavolen
