// tavolen-screenshot OUTPUT.png: shows the real window, enters 1 1/2 + 2 1/3
// through the model's entry points, presses Calculate and saves the whole
// window (menu bar and client area) as a PNG. Run it on the offscreen platform;
// QT_SCALE_FACTOR=2 gives the same picture at twice the pixels.
// tavolen-screenshot --working OUTPUT.png: enters 1 2/3 + 2 3/4, opens the
// 途中式 window with くわしく and 帯分数のまま chosen, checks the answer 3 5/12
// and saves that window.
#include <array>
#include <cstdint>
#include <cstdio>
#include <string_view>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QWindow>

#include "qt/main_window.h"
#include "qt/text.h"
#include "window/answer_check.h"

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

// 1 2/3 + 2 3/4, whose working keeps its mixed numbers and carries.
constexpr std::array kMixedExample{
    Entry{{ControlName::Text1, 2}, "1"}, Entry{{ControlName::Text1, 1}, "2"},
    Entry{{ControlName::Text1, 0}, "3"}, Entry{{ControlName::Text2, 2}, "2"},
    Entry{{ControlName::Text2, 1}, "3"}, Entry{{ControlName::Text2, 0}, "4"},
};

template <typename Entries>
bool FillAndCalculate(Form1& form, const Entries& entries) {
  for (const auto& [field, text] : entries) {
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

// Works the 途中式 window through its own widgets, as a user would.
int SaveWorking(tavolen::MainWindow& window, const QString& output) {
  if (!FillAndCalculate(window.form(), kMixedExample)) {
    return Fail("the window model refused the example entries");
  }
  window.Sync();
  window.findChild<QAction*>(QStringLiteral("CheckAnswer"))->trigger();
  auto* working = window.findChild<QDialog*>(QStringLiteral("WorkingWindow"));
  for (const char* name : {"WorkingDetails", "WorkingKeepMixed"}) {
    working->findChild<QAbstractButton*>(QLatin1String(name))->click();
  }
  working->findChild<QLineEdit*>(QStringLiteral("AnswerField"))->insert(QStringLiteral("3 5/12"));
  working->findChild<QAbstractButton*>(QStringLiteral("CheckAnswerButton"))->click();
  if (!WaitUntilExposed(*working)) {
    return Fail("the working window was not shown within 5 s");
  }
  // A picture of a right answer, or of no message, must not be published.
  if (!working->findChild<QLabel*>(QStringLiteral("CheckMessage"))
           ->text()
           .startsWith(tavolen::ToQString(tavolen::kNotRightMark))) {
    return Fail("the working window does not show a mistake for 3 5/12");
  }
  if (!working->grab().save(output, "PNG")) {
    return Fail("cannot write the PNG");
  }
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  const QApplication app(argc, argv);
  const QStringList args = QApplication::arguments();
  const bool working = args.size() == 3 && args.at(1) == QStringLiteral("--working");
  if (args.size() != 2 && !working) {
    std::fputs("usage: tavolen-screenshot [--working] OUTPUT.png\n", stderr);
    return 2;
  }

  tavolen::MainWindow window;
  window.show();
  if (!WaitUntilExposed(window)) {
    return Fail("the window was not shown within 5 s");
  }
  if (working) {
    return SaveWorking(window, args.at(2));
  }
  if (!FillAndCalculate(window.form(), kExample)) {
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
