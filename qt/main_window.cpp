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
  // The working first: whether it still hides lines decides the answer area.
  workingWindow_->Follow();
  ShowControls();
  if (QWidget* focus = WidgetOf(form_.Focus())) {
    focus->setFocus(reason);
  }
}

void MainWindow::ShowControls() const {
  for (const View& view : views_) {
    ShowControl(view);
  }
  ShowAnswerWords();
}

void MainWindow::ShowControl(const View& view) const {
  const QSignalBlocker blocker(view.widget);
  if (const std::string* text = ModelText(form_, view.id)) {
    const bool hidden = InAnswerArea(view.id) && AnswerHidden();
    const QString shown = hidden ? QString() : QString::fromStdString(*text);
    if (auto* field = qobject_cast<QLineEdit*>(view.widget)) {
      ShowText(*field, shown, DefinitionOf(view.id).maxLength);
    } else if (auto* label = qobject_cast<QLabel*>(view.widget)) {
      ShowCaption(*label, shown, DefinitionOf(view.id));
      if (InAnswerArea(view.id)) {
        ShowDimmed(*label, QPalette::WindowText, form_.AnswerIsStale());
      }
    }
  } else if (const Line* line = ModelLine(form_, view.id)) {
    view.widget->setVisible(line->Visible && !(InAnswerArea(view.id) && AnswerHidden()));
    if (InAnswerArea(view.id)) {
      ShowDimmed(*view.widget, QPalette::Window, form_.AnswerIsStale());
    }
  } else if (const OptionGroup* group = ModelGroup(form_, view.id)) {
    if (auto* option = qobject_cast<QRadioButton*>(view.widget)) {
      option->setChecked(group->Chosen() == view.id.index);
    }
  }
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!form_.IsUnloaded()) {
    Dispatch([this] { form_.RequestClose(); });
  }
  workingWindow_->close();
  event->accept();
}

}  // namespace tavolen
