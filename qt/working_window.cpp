#include "qt/working_window.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStringList>
#include <QVBoxLayout>

#include "qt/fonts.h"
#include "qt/text.h"
#include "window/accessible_text.h"

namespace tavolen {
namespace {

// A piece of the line with its texts as the widget draws them.
struct Piece {
  QString text;
  QString numerator;
  QString denominator;
  bool spaceBefore = true;
};

// One line drawn as a pupil writes it. It is a label with no text of its own,
// so that screen readers read its name, the line in words, and nothing else.
// A detail is drawn lighter, to set it apart from the steps.
class LineView final : public QLabel {
 public:
  LineView(const WorkingLine& line, QWidget* parent)
      : QLabel(parent), name_(ToQString(line.name)), detail_(line.kind == WorkingLineKind::Detail) {
    setAccessibleName(QString::fromStdString(line.words));
    for (const LinePiece& piece : PiecesOf(line)) {
      pieces_.push_back({ToQString(piece.text), ToQString(piece.numerator),
                         ToQString(piece.denominator), piece.spaced});
    }
  }

  [[nodiscard]] int ExpressionWidth() const {
    int width = 0;
    for (const Piece& piece : pieces_) {
      width += (piece.spaceBefore ? Space() : Gap()) + WidthOf(piece);
    }
    return width;
  }

  // Where the step's name starts, the same for every row.
  void SetNameColumn(int x) {
    nameColumn_ = x;
    updateGeometry();
  }

  [[nodiscard]] QSize sizeHint() const override {
    const QFontMetrics metrics = fontMetrics();
    const int name = name_.isEmpty() ? 0 : metrics.horizontalAdvance(name_);
    return {std::max(nameColumn_, ExpressionWidth()) + name + Space(),
            2 * metrics.height() + 3 * kBar};
  }
  [[nodiscard]] QSize minimumSizeHint() const override { return sizeHint(); }

 protected:
  void paintEvent(QPaintEvent* /*event*/) override {
    QPainter painter(this);
    const QColor ink = Ink();
    painter.setPen(ink);
    const QFontMetrics metrics = fontMetrics();
    const int bar = height() / 2;
    // Text on the line is centred on the fraction bars.
    const int baseline = bar + (metrics.ascent() - metrics.descent()) / 2;
    int x = 0;
    for (const Piece& piece : pieces_) {
      x += piece.spaceBefore ? Space() : Gap();
      const int width = WidthOf(piece);
      if (piece.denominator.isEmpty()) {
        painter.drawText(x, baseline, piece.text);
      } else {
        painter.fillRect(x, bar, width, 1, ink);
        const auto centred = [&](const QString& text, const int y) {
          painter.drawText(x + (width - metrics.horizontalAdvance(text)) / 2, y, text);
        };
        centred(piece.numerator, bar - kBar - metrics.descent());
        centred(piece.denominator, bar + kBar + metrics.ascent());
      }
      x += width;
    }
    if (!name_.isEmpty()) {
      painter.drawText(std::max(nameColumn_, x) + Space(), baseline, name_);
    }
  }

 private:
  static constexpr int kBar = 2;  // pixels between a fraction's bar and its digits

  // A detail's ink: two thirds of the way from the background to the text,
  // lighter yet well readable.
  [[nodiscard]] QColor Ink() const {
    const QColor text = palette().color(QPalette::WindowText);
    if (!detail_) {
      return text;
    }
    const QColor back = palette().color(QPalette::Window);
    const auto mix = [](const int t, const int b) { return (2 * t + b) / 3; };
    return {mix(text.red(), back.red()), mix(text.green(), back.green()),
            mix(text.blue(), back.blue())};
  }

  [[nodiscard]] int Space() const { return fontMetrics().horizontalAdvance(QLatin1Char(' ')); }
  [[nodiscard]] static int Gap() { return 1; }
  [[nodiscard]] int WidthOf(const Piece& piece) const {
    const QFontMetrics metrics = fontMetrics();
    if (piece.denominator.isEmpty()) {
      return metrics.horizontalAdvance(piece.text);
    }
    return std::max(metrics.horizontalAdvance(piece.numerator),
                    metrics.horizontalAdvance(piece.denominator)) +
           2 * kBar;
  }

  QString name_;
  bool detail_ = false;
  std::vector<Piece> pieces_;
  int nameColumn_ = 0;
};

}  // namespace

WorkingWindow::WorkingWindow(const Form1& form, WorkingView& view, AnswerCheckView& checks,
                             QWidget* parent)
    : QDialog(parent), form_(form), view_(view), checks_(checks) {
  setObjectName(QStringLiteral("WorkingWindow"));
  setWindowTitle(ToQString(kWorkingWindowCaption));
  setModal(false);
  setFont(JapaneseUiFont());
  auto* layout = new QVBoxLayout(this);
  BuildChoices(*layout);

  auto* steps = new QWidget(this);
  steps->setObjectName(QStringLiteral("WorkingSteps"));
  steps->setAccessibleName(ToQString(kWorkingHeading));
  rows_ = new QVBoxLayout(steps);
  rows_->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(steps);

  auto* buttons = new QHBoxLayout;
  const auto button = [this, buttons](std::string_view caption, const char* name) {
    auto* b = new QPushButton(ToQString(caption), this);
    b->setObjectName(QLatin1String(name));
    buttons->addWidget(b);
    return b;
  };
  // Enter presses whichever of these has the focus, as Space does.
  nextLine_ = button(kNextLineCaption, "NextLine");
  connect(nextLine_, &QPushButton::clicked, this, [this] { Act(&WorkingView::ShowNextLine); });
  showAll_ = button(kShowAllCaption, "ShowAllLines");
  connect(showAll_, &QPushButton::clicked, this, [this] { Act(&WorkingView::ShowAll); });
  buttons->addStretch();
  copy_ = button(kCopyCaption, "CopyWorking");
  connect(copy_, &QPushButton::clicked, this, [this] {
    QGuiApplication::clipboard()->setText(QString::fromStdString(view_.PlainText()));
  });
  layout->addLayout(buttons);
  // Last in the tab order, after the working it checks against.
  BuildChecking(*layout);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  // Room for the title in the title bar, whatever the working's width.
  constexpr int kTitleEms = 16;
  steps->setMinimumWidth(kTitleEms * fontMetrics().height());
  Redraw();
}

void WorkingWindow::BuildChoices(QVBoxLayout& layout) {
  auto* choices = new QHBoxLayout;
  const auto choice = [this, choices](std::string_view caption, const char* name,
                                      void (WorkingView::*set)(bool)) {
    auto* box = new QCheckBox(ToQString(caption), this);
    box->setObjectName(QLatin1String(name));
    choices->addWidget(box);
    connect(box, &QCheckBox::toggled, this, [this, set](const bool on) { Choose(set, on); });
    return box;
  };
  details_ = choice(kDetailsCaption, "WorkingDetails", &WorkingView::SetDetails);
  oneLineAtATime_ =
      choice(kOneLineAtATimeCaption, "WorkingOneLineAtATime", &WorkingView::SetOneLineAtATime);
  keepMixed_ = choice(kKeepMixedCaption, "WorkingKeepMixed", &WorkingView::SetKeepMixed);
  choices->addStretch();
  layout.addLayout(choices);
}

// 自分の答え, 答え合わせ and the message beneath them, read out once when it comes.
void WorkingWindow::BuildChecking(QVBoxLayout& layout) {
  auto* row = new QHBoxLayout;
  auto* caption = new QLabel(ToQString(kAnswerFieldCaption), this);
  answerField_ = new QLineEdit(this);
  answerField_->setObjectName(QStringLiteral("AnswerField"));
  answerField_->setAccessibleName(ToQString(kAnswerFieldAccessibleName));
  caption->setBuddy(answerField_);
  auto* check = new QPushButton(ToQString(kCheckButtonCaption), this);
  check->setObjectName(QStringLiteral("CheckAnswerButton"));
  row->addWidget(caption);
  row->addWidget(answerField_, 1);
  row->addWidget(check);
  layout.addLayout(row);
  message_ = new QLabel(this);
  message_->setObjectName(QStringLiteral("CheckMessage"));
  message_->setTextFormat(Qt::PlainText);
  message_->setWordWrap(true);
  layout.addWidget(message_);
  connect(answerField_, &QLineEdit::textEdited, this, [this](const QString& text) {
    checks_.SetAnswer(text.toStdString());
    RefreshCheck();
  });
  connect(answerField_, &QLineEdit::returnPressed, this, [this] { Check(); });
  connect(check, &QPushButton::clicked, this, [this] { Check(); });
}

void WorkingWindow::Follow() {
  checks_.Update(form_);
  ShowDimmed(form_.AnswerIsStale());
  view_.Follow(WorkingOf(form_));
  Redraw();
}

void WorkingWindow::FocusAnswerField() {
  answerField_->setFocus(Qt::OtherFocusReason);
}

// Minimised, the window has a hide event but is still open (visible).
void WorkingWindow::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  view_.SetShown(isVisible());
  Refresh();
}

void WorkingWindow::hideEvent(QHideEvent* event) {
  QDialog::hideEvent(event);
  view_.SetShown(isVisible());
  Refresh();
}

void WorkingWindow::Act(void (WorkingView::*action)()) {
  (view_.*action)();
  Refresh();
}

void WorkingWindow::Choose(void (WorkingView::*choice)(bool), const bool on) {
  (view_.*choice)(on);
  Refresh();
}

void WorkingWindow::Check() {
  checks_.Check(form_);
  RefreshCheck();
}

void WorkingWindow::Refresh() {
  Redraw();
  if (onChange_) {
    onChange_();
  }
}

void WorkingWindow::Redraw() {
  {
    const QSignalBlocker detailsBlocker(details_);
    const QSignalBlocker oneLineBlocker(oneLineAtATime_);
    const QSignalBlocker keepMixedBlocker(keepMixed_);
    details_->setChecked(view_.details());
    oneLineAtATime_->setChecked(view_.oneLineAtATime());
    keepMixed_->setChecked(view_.keepMixed());
  }
  const bool buttonHadFocus = nextLine_->hasFocus() || showAll_->hasFocus();
  nextLine_->setVisible(view_.OffersMore());
  showAll_->setVisible(view_.OffersMore());
  if (buttonHadFocus && !view_.OffersMore()) {
    copy_->setFocus(Qt::OtherFocusReason);
  }
  RefreshRows();
  RefreshCheck();
}

// The mark, a sign and not only a colour, before the model's message; the
// right answer itself is never shown here.
void WorkingWindow::RefreshCheck() {
  const QString shown = ToQString(checks_.MarkedMessage());
  if (message_->text() != shown) {
    message_->setText(shown);
    QPalette palette = this->palette();
    if (!shown.isEmpty()) {
      palette.setColor(QPalette::WindowText,
                       checks_.IsRight() ? QColor(0, 112, 0) : QColor(176, 0, 0));
    }
    message_->setPalette(palette);
  }
  // Read out once, as the answer area's words are: a description that changes.
  if (const std::optional<std::string> heard = checks_.TakeAnnouncement()) {
    message_->setAccessibleDescription(QString());
    message_->setAccessibleDescription(QString::fromStdString(*heard));
  } else if (shown.isEmpty()) {
    message_->setAccessibleDescription(QString());
  }
}

void WorkingWindow::RefreshRows() {
  const std::string text = view_.PlainText();
  if (text == shown_ && rows_->count() > 0) {
    return;
  }
  shown_ = text;
  while (const std::unique_ptr<QLayoutItem> item{rows_->takeAt(0)}) {
    delete item->widget();
  }
  QWidget* parent = rows_->parentWidget();
  const std::vector<WorkingLine>& lines = view_.lines();
  std::vector<LineView*> views;
  QStringList appeared;
  for (const WorkingLine& line : lines) {
    if (line.kind == WorkingLineKind::Stop) {
      auto* label = new QLabel(ToQString(line.text), parent);
      label->setTextFormat(Qt::PlainText);
      rows_->addWidget(label);
    } else {
      views.push_back(new LineView(line, parent));
      rows_->addWidget(views.back());
    }
    if (line.announce) {
      appeared.append(QString::fromStdString(WorkingLineReadOut(line.words, dimmed_)));
    }
  }
  int column = 0;
  for (const LineView* view : views) {
    column = std::max(column, view->ExpressionWidth());
  }
  for (LineView* view : views) {
    view->SetNameColumn(column);
  }
  if (lines.empty()) {
    auto* label = new QLabel(ToQString(kNoWorkingYet), parent);
    label->setTextFormat(Qt::PlainText);
    rows_->addWidget(label);
  }
  // Each line that appears is read out, as the answer area's words are.
  if (!appeared.isEmpty()) {
    parent->setAccessibleDescription(appeared.join(QStringLiteral("、")));
  }
}

// The steps are drawn grey and said to be the previous calculation's; the
// copy button stays as it is.
void WorkingWindow::ShowDimmed(bool dimmed) {
  QWidget* steps = rows_->parentWidget();
  if (dimmed != dimmed_) {
    dimmed_ = dimmed;
    steps->setAccessibleDescription(ToQString(WorkingDescription(dimmed)));
  }
  QPalette shown = palette();
  if (dimmed) {
    shown.setColor(QPalette::WindowText, PreviousTextColour(shown));
  }
  if (steps->palette().color(QPalette::WindowText) != shown.color(QPalette::WindowText)) {
    steps->setPalette(shown);
  }
}

}  // namespace tavolen
