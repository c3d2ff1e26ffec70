// The keys and the mouse on the window's controls, handed to the model: the
// focus moves at a press, a button clicks at its release, and a held key
// clicks once.
#include <optional>

#include <QAbstractButton>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include "qt/main_window.h"

namespace tavolen {
namespace {

std::optional<Key> ArrowKey(int key) {
  switch (key) {
    case Qt::Key_Left:
      return Key::Left;
    case Qt::Key_Right:
      return Key::Right;
    case Qt::Key_Up:
      return Key::Up;
    case Qt::Key_Down:
      return Key::Down;
    default:
      return std::nullopt;
  }
}

}  // namespace

bool MainWindow::focusNextPrevChild(bool next) {
  Dispatch([this, next] { form_.PressKey(next ? Key::Tab : Key::ShiftTab); },
           next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
  return true;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  const std::optional<ControlId> id = IdOf(watched);
  if (!id) {
    return QMainWindow::eventFilter(watched, event);
  }
  switch (event->type()) {
    case QEvent::FocusIn:
      OnFocusIn(*id, static_cast<const QFocusEvent&>(*event));
      return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
      return OnMouse(*id, *watched, static_cast<const QMouseEvent&>(*event));
    case QEvent::KeyPress:
      return OnKeyPress(*id, *watched, static_cast<const QKeyEvent&>(*event));
    case QEvent::KeyRelease:
      return OnKeyRelease(*watched, static_cast<const QKeyEvent&>(*event));
    default:
      return false;
  }
}

void MainWindow::OnFocusIn(ControlId id, const QFocusEvent& event) {
  if (syncing_ || id == form_.Focus()) {
    return;
  }
  if (event.reason() == Qt::MouseFocusReason && IsEntryField(id)) {
    Dispatch([this, id] { form_.MoveFocus(id); }, Qt::MouseFocusReason);
    return;
  }
  // Qt moved the focus on its own (or gave it back to another widget when the
  // window was activated): that is no user action, so the model hears nothing,
  // and the focus goes back where the model has it once Qt is done here.
  QMetaObject::invokeMethod(
      this, [this] { Sync(); }, Qt::QueuedConnection);
}

bool MainWindow::OnMouse(ControlId id, QObject& watched, const QMouseEvent& event) {
  if (auto* button = qobject_cast<QAbstractButton*>(&watched)) {
    return OnButtonMouse(id, *button, event);
  }
  // In a window that is not active yet Qt only notes the focus for later,
  // with no FocusIn; the press into a field still moves the focus there.
  if (event.type() == QEvent::MouseButtonPress && IsEntryField(id) && id != form_.Focus()) {
    Dispatch([this, id] { form_.MoveFocus(id); }, Qt::MouseFocusReason);
  }
  return false;
}

// The focus moves at the press; the click comes at the release, and only over
// the same button. The whole rectangle counts, not just a radio button's
// circle and caption.
bool MainWindow::OnButtonMouse(ControlId id, QAbstractButton& button, const QMouseEvent& event) {
  if (event.button() != Qt::LeftButton && !event.buttons().testFlag(Qt::LeftButton)) {
    return false;
  }
  const bool over = button.rect().contains(event.position().toPoint());
  switch (event.type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
      Dispatch([this, id] { form_.Press(id); });
      // A message box opened by the press may have taken the release.
      button.setDown(QGuiApplication::mouseButtons().testFlag(Qt::LeftButton));
      break;
    case QEvent::MouseMove:
      button.setDown(over);
      break;
    default:
      if (button.isDown()) {
        button.setDown(false);
        if (over) {
          Dispatch([this, id] { form_.Click(id); });
        }
      }
      break;
  }
  return true;
}

bool MainWindow::OnKeyPress(ControlId id, QObject& watched, const QKeyEvent& event) {
  const int key = event.key();
  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    if (!event.isAutoRepeat()) {
      Dispatch([this] { form_.PressKey(Key::Enter); });
    }
    return true;
  }
  auto* button = qobject_cast<QAbstractButton*>(&watched);
  if (button == nullptr || !TakesAnswerKeys(id)) {
    return false;
  }
  if (event.matches(QKeySequence::Copy)) {
    Choose(AnswerCommand::CopyAnswer);
    return true;
  }
  // The menu key comes as a context menu event; Shift+F10 does not on every system.
  if (key == Qt::Key_F10 && event.modifiers() == Qt::ShiftModifier) {
    OpenAnswerMenu(button->mapToGlobal(button->rect().bottomLeft()));
    return true;
  }
  if (const std::optional<Key> arrow = ArrowKey(key)) {
    Dispatch([this, arrow] { form_.PressKey(*arrow); });
    return true;
  }
  // Space shows the pressed look; the release clicks.
  if (key == Qt::Key_Space) {
    if (spaceRelease_.isActive() &&
        (event.isAutoRepeat() || event.timestamp() == spaceReleasedAt_)) {
      spaceRelease_.stop();
    } else if (IsCommandButton(id) && !event.isAutoRepeat()) {
      button->setDown(true);
    }
    return true;
  }
  // There is no cancel button, and Escape does not call off a held Space.
  return key == Qt::Key_Escape;
}

bool MainWindow::OnKeyRelease(QObject& watched, const QKeyEvent& event) {
  auto* button = qobject_cast<QAbstractButton*>(&watched);
  if (button == nullptr || event.key() != Qt::Key_Space) {
    return false;
  }
  // Held down, the key repeats press and release; only the last release
  // clicks, and only once: Qt's own click on release never runs.
  if (!event.isAutoRepeat() && button->isDown()) {
    spaceReleasedAt_ = event.timestamp();
    spaceRelease_.start();
  }
  return true;
}

void MainWindow::ClickOnSpaceRelease() {
  auto* button = qobject_cast<QAbstractButton*>(WidgetOf(form_.Focus()));
  if (button != nullptr && button->isDown()) {
    button->setDown(false);
    Dispatch([this] { form_.PressKey(Key::Space); });
  }
}

}  // namespace tavolen
