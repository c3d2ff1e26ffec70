#include "qt/main_window.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <utility>

#include <QClipboard>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QSignalBlocker>

#include "qt/fonts.h"
#include "qt/text.h"
#include "qt/working_window.h"
#include "window/accessible_text.h"
#include "window/answer_menu.h"
#include "window/working.h"

namespace tavolen {
namespace {

// How long the press of a key-repeat pair may trail its release on X11.
constexpr int kRepeatPairMs = 30;

// "Text1(0)" becomes "Text1_0".
QString ObjectNameOf(ControlId id) {
  std::string name = DisplayName(id);
  std::replace(name.begin(), name.end(), '(', '_');
  std::erase(name, ')');
  return QString::fromStdString(name);
}

// Qt reads "&" in a button's or frame's caption as an access key; the
// captions have none.
QString WithoutAccessKeys(std::string_view caption) {
  return ToQString(caption).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

QRect PixelRect(const ControlDef& def) {
  return {PixelsOf(def.left), PixelsOf(def.top), PixelsOf(def.width), PixelsOf(def.height)};
}

QRect PixelRect(const LineDef& def) {
  return {PixelsOf(def.x1), PixelsOf(def.y1), PixelsOf(def.x2) - PixelsOf(def.x1), 1};
}

Qt::Alignment HorizontalAlignment(TextAlign align) {
  switch (align) {
    case TextAlign::Centre:
      return Qt::AlignHCenter;
    case TextAlign::Right:
      return Qt::AlignRight;
    case TextAlign::Left:
    case TextAlign::Default:
      break;
  }
  return Qt::AlignLeft;
}

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

// A caption wider than its label is drawn smaller, centred on the line it
// would have had, and given whole in the tooltip; the label keeps its size.
void ShowCaption(QLabel& label, const QString& caption, const ControlDef& def) {
  if (label.text() == caption) {
    return;
  }
  label.setText(caption);
  const QFont nominal = FontOf(def.font);
  const QFont shown = FittingFont(nominal, caption, label.contentsRect().width());
  const bool shrunk = shown != nominal;
  label.setFont(shown);
  label.setAlignment(HorizontalAlignment(def.align) | (shrunk ? Qt::AlignVCenter : Qt::AlignTop));
  label.setToolTip(shrunk ? caption : QString());
}

// QLineEdit::setText cuts a text at maxLength, but what the program writes is
// shown whole: the limit is lifted as far as the text needs, and no further.
void ShowText(QLineEdit& field, const QString& text, int limit) {
  // Setting the limit resets the field's undo history, so only when it changes.
  const int wanted = std::max(limit, static_cast<int>(text.size()));
  if (field.maxLength() != wanted) {
    field.setMaxLength(wanted);
  }
  if (field.text() != text) {
    field.setText(text);
  }
}

// While the answer is the previous calculation's, its labels and bar are drawn
// grey; otherwise in the text colour of the window around them.
void ShowDimmed(QWidget& widget, QPalette::ColorRole role, bool dimmed) {
  const QPalette around = widget.parentWidget()->palette();
  const QColor colour =
      dimmed ? PreviousTextColour(around) : around.color(QPalette::Active, QPalette::WindowText);
  if (widget.palette().color(role) != colour) {
    QPalette palette = widget.palette();
    palette.setColor(role, colour);
    widget.setPalette(palette);
  }
}

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent), runtime_(*this), form_(runtime_) {
  // Qt's own texts (the fields' context menu, message box buttons) in
  // Japanese like the rest of the window, whatever the user's locale.
  if (qtTexts_.load(QStringLiteral("qtbase_ja"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(&qtTexts_);
  }
  InstallFontSubstitutes();
  setWindowTitle(ToQString(kFormCaption));
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setWindowIcon([] {
    QIcon icon;  // every size, so that high scale factors get a sharp picture
    for (const int size : {32, 64, 128, 256}) {
      icon.addFile(QStringLiteral(":/icons/tavolen-%1.png").arg(size), QSize(size, size));
    }
    return icon;
  }());
  setFont(JapaneseUiFont());
  // Message boxes take the window's font too.
  setAttribute(Qt::WA_WindowPropagation);

  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("Form1"));
  client->setFixedSize(PixelsOf(kClientWidthTwips), PixelsOf(kClientHeightTwips));
  setCentralWidget(client);

  BuildMenu();
  BuildAnswerArea(*client);
  BuildAnswerMenu();
  BuildControls(*client);
  BuildLines(*client);
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  spaceRelease_.setSingleShot(true);
  spaceRelease_.setInterval(kRepeatPairMs);
  connect(&spaceRelease_, &QTimer::timeout, this, [this] { ClickOnSpaceRelease(); });
  Sync();
}

void MainWindow::BuildMenu() {
  // A desktop's global menu drops actions that have no drop-down of their own.
  menuBar()->setNativeMenuBar(false);
  for (const MenuDef& def : MenuDefinitions()) {
    QAction* action = menuBar()->addAction(WithoutAccessKeys(def.caption));
    action->setObjectName(ObjectNameOf(def.id));
    const ControlId id = def.id;
    connect(action, &QAction::triggered, this,
            [this, id] { Dispatch([this, id] { form_.ChooseMenu(id); }); });
  }
}

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
// window, its tab order or its menu bar.
void MainWindow::BuildAnswerMenu() {
  answerMenu_ = new QMenu(this);
  answerMenu_->setObjectName(QStringLiteral("AnswerMenu"));
  const auto add = [this](std::string_view caption, const char* name, auto&& triggered) {
    QAction* action = answerMenu_->addAction(WithoutAccessKeys(caption));
    action->setObjectName(QLatin1String(name));
    connect(action, &QAction::triggered, this, std::forward<decltype(triggered)>(triggered));
  };
  add(kCopyAnswerCaption, "CopyAnswer", [this] { CopyAnswer(); });
  add(kCopyWorkingCaption, "CopyWorkingText", [this] {
    QGuiApplication::clipboard()->setText(
        QString::fromStdString(CopiedText(AnswerCommand::CopyWorking, form_, workingView_)));
  });
  add(kShowWorkingCaption, "ShowWorking", [this] { ShowWorkingWindow(); });
  workingWindow_ = new WorkingWindow(workingView_, this);
}

void MainWindow::OpenAnswerMenu(const QPoint& globalPos) {
  const QList<QAction*> actions = answerMenu_->actions();
  const auto items = AnswerMenu(form_);
  for (qsizetype i = 0; i < actions.size(); ++i) {
    actions.at(i)->setEnabled(items.at(static_cast<std::size_t>(i)).enabled);
  }
  answerMenu_->popup(globalPos);
}

void MainWindow::CopyAnswer() const {
  QGuiApplication::clipboard()->setText(QString::fromStdString(AnswerText(form_)));
}

// Beside the main window on the right, or on the left where the screen ends.
void MainWindow::ShowWorkingWindow() {
  workingWindow_->Show(WorkingOf(form_), form_.AnswerIsStale());
  if (!workingWindow_->isVisible()) {
    constexpr int kGap = 8;
    const QRect main = frameGeometry();
    const QSize size = workingWindow_->sizeHint();
    const QRect screen = this->screen()->availableGeometry();
    const int right = main.right() + kGap;
    const int x = right + size.width() <= screen.right() || main.left() - kGap - size.width() < 0
                      ? right
                      : main.left() - kGap - size.width();
    // Before it is first shown the dialog places its client area, not its frame.
    workingWindow_->move(x, geometry().top());
  }
  workingWindow_->show();
  workingWindow_->raise();
  workingWindow_->activateWindow();
}

void MainWindow::BuildControls(QWidget& client) {
  for (const ControlDef& def : ControlDefinitions()) {
    QWidget* parent = def.container ? WidgetOf(ControlId{*def.container}) : &client;
    QWidget* widget = CreateWidget(def, *parent);
    widget->setObjectName(ObjectNameOf(def.id));
    widget->setGeometry(PixelRect(def));
    widget->setFont(FontOf(def.font));
    if (def.colour != kDefaultColour) {
      QPalette palette = widget->palette();
      palette.setColor(QPalette::WindowText, QColor::fromRgb(def.colour));
      widget->setPalette(palette);
    }
    if (widget->focusPolicy() != Qt::NoFocus) {
      widget->setAccessibleName(ToQString(AccessibleNameOf(def.id)));
      widget->installEventFilter(this);
    }
    views_.push_back({def.id, widget});
  }
}

void MainWindow::BuildLines(QWidget& client) {
  for (const LineDef& def : LineDefinitions()) {
    // A filled one-pixel strip rather than a frame's drawn line, so that the
    // bar keeps its logical thickness at any scale factor.
    auto* line = new QWidget(&client);
    line->setObjectName(ObjectNameOf(def.id));
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::WindowText));
    line->setPalette(palette);
    line->setAutoFillBackground(true);
    line->setGeometry(PixelRect(def));
    line->setFocusPolicy(Qt::NoFocus);
    views_.push_back({def.id, line});
  }
}

QWidget* MainWindow::CreateWidget(const ControlDef& def, QWidget& parent) {
  const QString caption = WithoutAccessKeys(def.caption);
  const ControlId id = def.id;
  switch (def.type) {
    case ControlType::Frame: {
      auto* frame = new QGroupBox(caption, &parent);
      frame->setFocusPolicy(Qt::NoFocus);
      return frame;
    }
    case ControlType::OptionButton: {
      auto* option = new QRadioButton(caption, &parent);
      // Auto-exclusive so that assistive technology hears a radio button; the
      // model still decides the choice, as the mouse and keys go to it first
      // and only an accessibility action reaches the clicked signal.
      option->setAutoExclusive(true);
      // The model moves the focus at the press, not Qt.
      option->setFocusPolicy(Qt::TabFocus);
      connect(option, &QAbstractButton::clicked, this,
              [this, id] { Dispatch([this, id] { form_.Click(id); }); });
      return option;
    }
    case ControlType::TextBox: {
      auto* field = new QLineEdit(ToQString(def.caption), &parent);
      field->setMaxLength(def.maxLength);
      field->setAlignment(HorizontalAlignment(def.align) | Qt::AlignVCenter);
      field->setAttribute(Qt::WA_InputMethodEnabled, false);
      // A drop writes into a field without giving it the focus, so its text
      // would skip the clean-up on leaving; the fields take no drops.
      field->setAcceptDrops(false);
      connect(field, &QLineEdit::textEdited, this, [this, id](const QString& text) {
        Dispatch([this, id, &text] { form_.EditText(id, text.toStdString()); });
      });
      return field;
    }
    case ControlType::CommandButton: {
      auto* button = new QPushButton(caption, &parent);
      button->setAutoDefault(false);
      button->setDefault(false);
      button->setFocusPolicy(Qt::TabFocus);
      connect(button, &QAbstractButton::clicked, this,
              [this, id] { Dispatch([this, id] { form_.Click(id); }); });
      return button;
    }
    case ControlType::Label:
    case ControlType::Line:
    case ControlType::MenuCommand:
      break;
  }
  auto* label = new QLabel(ToQString(def.caption), &parent);
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(HorizontalAlignment(def.align) | Qt::AlignTop);
  // A pixel to spare on either side of the caption.
  label->setContentsMargins(1, 0, 1, 0);
  label->setFocusPolicy(Qt::NoFocus);
  return label;
}

QWidget* MainWindow::WidgetOf(ControlId id) const {
  const auto view =
      std::find_if(views_.begin(), views_.end(), [id](const View& v) { return v.id == id; });
  return view == views_.end() ? nullptr : view->widget;
}

std::optional<ControlId> MainWindow::IdOf(const QObject* object) const {
  const auto view = std::find_if(views_.begin(), views_.end(),
                                 [object](const View& v) { return v.widget == object; });
  if (view == views_.end()) {
    return std::nullopt;
  }
  return view->id;
}

void MainWindow::Sync(Qt::FocusReason reason) {
  const QScopedValueRollback guard(syncing_, true);
  for (const View& view : views_) {
    ShowControl(view);
  }
  ShowAnswerWords();
  if (workingWindow_->isVisible()) {
    workingWindow_->Show(WorkingOf(form_), form_.AnswerIsStale());
  }
  if (QWidget* focus = WidgetOf(form_.Focus())) {
    focus->setFocus(reason);
  }
}

void MainWindow::ShowControl(const View& view) const {
  const QSignalBlocker blocker(view.widget);
  if (const std::string* text = ModelText(form_, view.id)) {
    const QString shown = QString::fromStdString(*text);
    if (auto* field = qobject_cast<QLineEdit*>(view.widget)) {
      ShowText(*field, shown, DefinitionOf(view.id).maxLength);
    } else if (auto* label = qobject_cast<QLabel*>(view.widget)) {
      ShowCaption(*label, shown, DefinitionOf(view.id));
      if (view.id.name == ControlName::Label1) {
        ShowDimmed(*label, QPalette::WindowText, form_.AnswerIsStale());
      }
    }
  } else if (const Line* line = ModelLine(form_, view.id)) {
    view.widget->setVisible(line->Visible);
    if (view.id.name == ControlName::Line3) {
      ShowDimmed(*view.widget, QPalette::Window, form_.AnswerIsStale());
    }
  } else if (const OptionGroup* group = ModelGroup(form_, view.id)) {
    if (auto* option = qobject_cast<QRadioButton*>(view.widget)) {
      option->setChecked(group->Chosen() == view.id.index);
    }
  }
}

void MainWindow::ShowAnswerWords() const {
  answerArea_->setAccessibleDescription(QString::fromStdString(AnswerDescriptionOf(form_)));
}

template <typename Action>
void MainWindow::Dispatch(Action&& action, Qt::FocusReason reason) {
  std::forward<Action>(action)();
  Sync(reason);
}

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
    CopyAnswer();
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

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!form_.IsUnloaded()) {
    Dispatch([this] { form_.RequestClose(); });
  }
  workingWindow_->close();
  event->accept();
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
