// The window driven and read through its widgets, as the user would.
#pragma once

#include <iterator>
#include <string_view>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

#include "qt/main_window.h"
#include "window/controls.h"
#include "window/working.h"
#include "window/working_view.h"

namespace tavolen::testing {

inline QString Q(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// "Text1_1" is the model's Text1(1).
inline ControlId IdOf(QString name) {
  name = name.contains('_') ? name.replace('_', '(') + ')' : name;
  return *ParseControlName(name.toStdString());
}

inline QString FocusName() {
  const QWidget* focus = QApplication::focusWidget();
  return focus == nullptr ? QString() : focus->objectName();
}

struct Screen {
  Screen() {
    window.show();
    active = QTest::qWaitForWindowActive(&window);
  }
  [[nodiscard]] QWidget* widget(const QString& name) const {
    return window.findChild<QWidget*>(name);
  }
  // A field's text or a label's caption.
  [[nodiscard]] QString text(const QString& name) const {
    return widget(name)->property("text").toString();
  }
  [[nodiscard]] QString answer() const {
    return QStringList{text("Label1_0"), text("Label1_1"), text("Label1_2"), text("Label1_3")}.join(
        '|');
  }
  void click(const QString& name) const { QTest::mouseClick(widget(name), Qt::LeftButton); }
  // Clicks into each field and types its text: "Text1_1=1 Text2_0=3".
  void type(const QString& entries) const {
    for (const QString& entry : entries.split(' ')) {
      click(entry.section('=', 0, 0));
      QTest::keyClicks(widget(entry.section('=', 0, 0)), entry.section('=', 1));
    }
  }
  // Gives the model's focus to a control, "Command1" or "Text1_1".
  void focus(const QString& name) {
    window.form().MoveFocus(IdOf(name));
    window.Sync();
  }
  // The working as the model lays it out now, for the working window to match.
  [[nodiscard]] WorkingView modelWorking(bool details, bool keepMixed = false) {
    WorkingView view;
    view.SetDetails(details);
    view.SetKeepMixed(keepMixed);
    view.Follow(WorkingOf(window.form()));
    return view;
  }

  MainWindow window;
  bool active = false;
};

// Notes every message box that opens while it lives, as "icon title: text",
// and presses its OK button.
struct MessageBoxCloser {
  MessageBoxCloser() {
    QObject::connect(&timer, &QTimer::timeout, [this] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        seen.append(QString(QMetaEnum::fromType<QMessageBox::Icon>().valueToKey(box->icon())) +
                    " " + box->windowTitle() + ": " + box->text());
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
      }
    });
    timer.start(10);
  }
  QStringList seen;
  QTimer timer;
};

// The column of each pixel of a widget's picture that passes the test, which
// also sees the top left pixel, the background.
template <typename Test>
QList<int> Columns(QWidget* widget, Test test) {
  const QImage image = widget->grab().toImage();
  QList<int> columns;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (test(image.pixel(x, y), image.pixel(0, 0))) {
        columns.append(x);
      }
    }
  }
  return columns;
}

// The working's rows as a screen reader reads them, top first.
inline QStringList StepsShown(const QWidget* workingWindow) {
  QStringList rows;
  const auto* steps = workingWindow->findChild<QWidget*>("WorkingSteps");
  for (const QLabel* label : steps->findChildren<QLabel*>()) {
    rows.append(label->accessibleName().isEmpty() ? label->text() : label->accessibleName());
  }
  return rows;
}

// One data row per table row, named as the table names it.
template <typename Rows>
void AddRows(const Rows& rows) {
  QTest::addColumn<int>("row");
  for (int i = 0; i < static_cast<int>(std::size(rows)); ++i) {
    QTest::newRow(rows[i].name) << i;
  }
}

}  // namespace tavolen::testing
