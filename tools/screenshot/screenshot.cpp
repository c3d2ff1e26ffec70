// tavolen-screenshot OUTPUT.png: shows the real window, enters 1 1/2 + 2 1/3
// through the model's entry points, presses Calculate and saves the whole
// window (menu bar and client area) as a PNG. Run it on the offscreen platform;
// QT_SCALE_FACTOR=2 gives the same picture at twice the pixels.
#include <array>
#include <cstdint>
#include <cstdio>
#include <string_view>

#include <QApplication>
#include <QDeadlineTimer>
#include <QPixmap>
#include <QWindow>

#include "qt/main_window.h"

namespace {

using tavolen::ControlId;
using tavolen::ControlName;
using tavolen::Form1;

struct Entry {
  ControlId field;
  std::string_view text;
};

// Typed in tab order, as a user would: whole part, numerator, denominator.
constexpr std::array kExample{
    Entry{{ControlName::Text1, 2}, "1"}, Entry{{ControlName::Text1, 1}, "1"},
    Entry{{ControlName::Text1, 0}, "2"}, Entry{{ControlName::Text2, 2}, "2"},
    Entry{{ControlName::Text2, 1}, "1"}, Entry{{ControlName::Text2, 0}, "3"},
};

bool FillAndCalculate(Form1& form) {
  for (const auto& [field, text] : kExample) {
    if (!form.MoveFocus(field) || !form.Type(text)) {
      return false;
    }
  }
  return form.Click({ControlName::Command1});
}

// 1 1/2 + 2 1/3 = 3 5/6: a picture of any other answer must not be published.
bool ShowsExpectedAnswer(const Form1& form) {
  const auto caption = [&form](std::int16_t index) { return form.Label1({index}).Caption; };
  return caption(3).empty() && caption(2) == "3" && caption(1) == "5" && caption(0) == "6";
}

bool WaitUntilExposed(const QWidget& window) {
  const QDeadlineTimer deadline(5000);
  while (window.windowHandle() == nullptr || !window.windowHandle()->isExposed()) {
    if (deadline.hasExpired()) {
      return false;
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  }
  QCoreApplication::processEvents();
  return true;
}

int Fail(const char* message) {
  std::fprintf(stderr, "tavolen-screenshot: %s\n", message);
  return 1;
}

}  // namespace

int main(int argc, char* argv[]) {
  const QApplication app(argc, argv);
  const QStringList args = QApplication::arguments();
  if (args.size() != 2) {
    std::fputs("usage: tavolen-screenshot OUTPUT.png\n", stderr);
    return 2;
  }

  tavolen::MainWindow window;
  window.show();
  if (!WaitUntilExposed(window)) {
    return Fail("the window was not shown within 5 s");
  }
  if (!FillAndCalculate(window.form())) {
    return Fail("the window model refused the example entries");
  }
  window.Sync();
  QCoreApplication::processEvents();
  if (!ShowsExpectedAnswer(window.form())) {
    return Fail("the window does not show 3 5/6 for 1 1/2 + 2 1/3");
  }
  if (!window.grab().save(args.at(1), "PNG")) {
    return Fail("cannot write the PNG");
  }
  return 0;
}
