// Form1 on screen: one widget per control of the window definition. The window
// draws the model and hands every user action to the model's entry points; it
// decides nothing about focus, tab order or option choice itself.
#pragma once

#include <optional>
#include <utility>
#include <vector>

#include <QMainWindow>
#include <QTimer>
#include <QTranslator>

#include "qt/qt_runtime.h"
#include "window/answer_check_view.h"
#include "window/answer_menu.h"
#include "window/form1.h"
#include "window/working_view.h"

class QAbstractButton;
class QFocusEvent;
class QKeyEvent;
class QMenu;
class QMouseEvent;

namespace tavolen {

class WorkingWindow;

class MainWindow final : public QMainWindow {
 public:
  // Builds the window with its model in the initial state, ready to show().
  explicit MainWindow(QWidget* parent = nullptr);
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;
  ~MainWindow() override = default;

  [[nodiscard]] Form1& form() { return form_; }

  // Brings every widget, and the keyboard focus, up to date from the model;
  // the reason tells a field moved into by Tab to select its text.
  void Sync(Qt::FocusReason reason = Qt::OtherFocusReason);

 protected:
  bool focusNextPrevChild(bool next) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  struct View {
    ControlId id;
    QWidget* widget;
  };

  void BuildMenu();
  void BuildAnswerArea(QWidget& client);
  void BuildAnswerMenu();
  void BuildControls(QWidget& client);
  void BuildLines(QWidget& client);
  QWidget* CreateWidget(const ControlDef& def, QWidget& parent);
  [[nodiscard]] QWidget* WidgetOf(ControlId id) const;
  [[nodiscard]] std::optional<ControlId> IdOf(const QObject* object) const;

  void ShowControls() const;
  void ShowControl(const View& view) const;
  void ShowAnswerWords() const;
  // Whether the answer area is drawn empty: the working on screen still hides
  // lines, and the answer comes with the last of them.
  [[nodiscard]] bool AnswerHidden() const;
  void OnFocusIn(ControlId id, const QFocusEvent& event);
  bool OnKeyPress(ControlId id, QObject& watched, const QKeyEvent& event);
  bool OnKeyRelease(QObject& watched, const QKeyEvent& event);
  void ClickOnSpaceRelease();
  bool OnMouse(ControlId id, QObject& watched, const QMouseEvent& event);
  bool OnButtonMouse(ControlId id, QAbstractButton& button, const QMouseEvent& event);
  // The answer's commands: copy it, copy the working, show the working,
  // check one's own answer.
  void OpenAnswerMenu(const QPoint& globalPos);
  void Choose(AnswerCommand command);
  void ShowWorkingWindow();

  template <typename Action>
  void Dispatch(Action&& action, Qt::FocusReason reason = Qt::OtherFocusReason);

  QTranslator qtTexts_;
  // A Space release waits here in case a press with its time stamp follows:
  // then it was a key repeat that the window system did not mark as one.
  QTimer spaceRelease_;
  quint64 spaceReleasedAt_ = 0;
  QtRuntime runtime_;
  Form1 form_;
  std::vector<View> views_;
  QWidget* answerArea_ = nullptr;
  QMenu* answerMenu_ = nullptr;
  // The working window's choices and the answer checked, held while the
  // program runs.
  WorkingView workingView_;
  AnswerCheckView checkView_;
  WorkingWindow* workingWindow_ = nullptr;
  bool syncing_ = false;
};

template <typename Action>
void MainWindow::Dispatch(Action&& action, Qt::FocusReason reason) {
  std::forward<Action>(action)();
  Sync(reason);
}

}  // namespace tavolen
