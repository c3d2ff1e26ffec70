// The answer area: the region screen readers read the answer from, drawn
// empty while the working still hides lines, and its pop-up menu.
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>

#include "qt/main_window.h"
#include "qt/text.h"
#include "qt/working_window.h"
#include "window/accessible_text.h"
#include "window/controls.h"
#include "window/working.h"

namespace tavolen {
namespace {

QString ActionNameOf(const AnswerCommand command) {
  switch (command) {
    case AnswerCommand::CopyAnswer:
      return QStringLiteral("CopyAnswer");
    case AnswerCommand::CopyWorking:
      return QStringLiteral("CopyWorkingText");
    case AnswerCommand::ShowWorking:
      return QStringLiteral("ShowWorking");
    case AnswerCommand::CheckAnswer:
      break;
  }
  return QStringLiteral("CheckAnswer");
}

}  // namespace

// One region under the answer labels and bar that reads the answer as words.
void MainWindow::BuildAnswerArea(QWidget& client) {
  const TwipsRect twips = AnswerAreaTwips();
  const QRect area{QPoint{PixelsOf(twips.left), PixelsOf(twips.top)},
                   QPoint{PixelsOf(twips.right) - 1, PixelsOf(twips.bottom) - 1}};
  answerArea_ = new QWidget(&client);
  answerArea_->setObjectName(QStringLiteral("AnswerArea"));
  answerArea_->setGeometry(area);
  answerArea_->setFocusPolicy(Qt::NoFocus);
  answerArea_->setAccessibleName(ToQString(kAnswerAreaName));
}

// A pop-up menu and a window of their own: neither takes a place in the
// window, its tab order or its menu bar. The commands, their captions and
// when each can be chosen are the model's.
void MainWindow::BuildAnswerMenu() {
  answerMenu_ = new QMenu(this);
  answerMenu_->setObjectName(QStringLiteral("AnswerMenu"));
  for (const AnswerMenuItem& item : AnswerMenu(form_)) {
    QAction* action = answerMenu_->addAction(WithoutAccessKeys(item.caption));
    action->setObjectName(ActionNameOf(item.command));
    const AnswerCommand command = item.command;
    connect(action, &QAction::triggered, this, [this, command] { Choose(command); });
  }
  workingWindow_ = new WorkingWindow(form_, workingView_, checkView_, this);
  // Shown or hidden, or with a line more, the working decides whether the answer is drawn.
  workingWindow_->SetOnChange([this] { ShowControls(); });
}

void MainWindow::OpenAnswerMenu(const QPoint& globalPos) {
  const QList<QAction*> actions = answerMenu_->actions();
  const auto items = AnswerMenu(form_);
  for (qsizetype i = 0; i < actions.size(); ++i) {
    actions.at(i)->setEnabled(items.at(static_cast<std::size_t>(i)).enabled);
  }
  answerMenu_->popup(globalPos);
}

void MainWindow::Choose(const AnswerCommand command) {
  switch (command) {
    case AnswerCommand::CopyAnswer:
    case AnswerCommand::CopyWorking:
      QGuiApplication::clipboard()->setText(
          QString::fromStdString(CopiedText(command, form_, workingView_)));
      break;
    case AnswerCommand::ShowWorking:
      ShowWorkingWindow();
      break;
    case AnswerCommand::CheckAnswer:
      ShowWorkingWindow();
      workingWindow_->FocusAnswerField();
      break;
  }
}

bool MainWindow::AnswerHidden() const {
  return workingView_.HidesAnswer();
}

void MainWindow::ShowAnswerWords() const {
  answerArea_->setAccessibleDescription(ToQString(AnswerDescriptionOf(form_, AnswerHidden())));
}

// Beside the main window on the right, or on the left where the screen ends.
void MainWindow::ShowWorkingWindow() {
  if (!workingWindow_->isVisible()) {
    const QRect main = frameGeometry();
    const QRect screen = this->screen()->availableGeometry();
    const int x = BesideOwnerLeft(main.left(), main.right(), workingWindow_->sizeHint().width(),
                                  kBesideGapPixels, screen.left(), screen.right());
    // Before it is first shown the dialog places its client area, not its frame.
    workingWindow_->move(x, geometry().top());
  }
  workingWindow_->show();
  workingWindow_->raise();
  workingWindow_->activateWindow();
}

// A right click on the answer area; the menu key on a command or option button.
// A field takes its own menu and never passes the event on.
void MainWindow::contextMenuEvent(QContextMenuEvent* event) {
  if (event->reason() == QContextMenuEvent::Mouse) {
    if (answerArea_->rect().contains(answerArea_->mapFrom(this, event->pos()))) {
      OpenAnswerMenu(event->globalPos());
      return;
    }
  } else if (QWidget* focus = WidgetOf(form_.Focus()); focus && TakesAnswerKeys(form_.Focus())) {
    OpenAnswerMenu(focus->mapToGlobal(focus->rect().bottomLeft()));
    return;
  }
  QMainWindow::contextMenuEvent(event);
}

}  // namespace tavolen
