#include "qt/working_window.h"

#include <algorithm>
#include <memory>
#include <vector>

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "qt/fonts.h"
#include "qt/text.h"
#include "window/accessible_text.h"

namespace tavolen {
namespace {

// A run of text on the line, or a fraction stacked over its bar.
struct Piece {
  QString text;
  QString numerator;
  QString denominator;
  bool spaceBefore = true;
};

void AddNumber(std::vector<Piece>& pieces, const WorkingNumber& number) {
  const QString lead = ToQString(number.negative ? "-" : "") + ToQString(number.whole);
  if (!lead.isEmpty()) {
    pieces.push_back({lead, {}, {}, true});
  }
  if (!number.denominator.empty()) {
    pieces.push_back(
        {{}, ToQString(number.numerator), ToQString(number.denominator), lead.isEmpty()});
  }
}

// One step drawn as a pupil writes it. It is a label with no text of its own,
// so that screen readers read its name, the step in words, and nothing else.
class StepView final : public QLabel {
 public:
  StepView(const WorkingStep& step, bool first, QWidget* parent)
      : QLabel(parent), name_(ToQString(step.name)) {
    setAccessibleName(QString::fromStdString(StepWords(step)));
    if (!first) {
      pieces_.push_back({QStringLiteral("="), {}, {}, false});
    }
    AddNumber(pieces_, step.left);
    if (step.op) {
      pieces_.push_back({ToQString(OperatorSymbol(*step.op)), {}, {}, true});
      AddNumber(pieces_, step.right);
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
    painter.setPen(palette().color(QPalette::WindowText));
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
        painter.fillRect(x, bar, width, 1, palette().color(QPalette::WindowText));
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
  std::vector<Piece> pieces_;
  int nameColumn_ = 0;
};

}  // namespace

WorkingWindow::WorkingWindow(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("WorkingWindow"));
  setWindowTitle(ToQString(kWorkingWindowCaption));
  setModal(false);
  setFont(JapaneseUiFont());
  auto* layout = new QVBoxLayout(this);
  auto* steps = new QWidget(this);
  steps->setObjectName(QStringLiteral("WorkingSteps"));
  steps->setAccessibleName(ToQString(kWorkingHeading));
  rows_ = new QVBoxLayout(steps);
  rows_->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(steps);
  auto* copy = new QPushButton(ToQString(kCopyCaption), this);
  copy->setObjectName(QStringLiteral("CopyWorking"));
  copy->setAutoDefault(false);
  connect(copy, &QPushButton::clicked, this,
          [this] { QGuiApplication::clipboard()->setText(QString::fromStdString(shown_)); });
  layout->addWidget(copy, 0, Qt::AlignRight);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  // Room for the title in the title bar, whatever the working's width.
  constexpr int kTitleEms = 16;
  steps->setMinimumWidth(kTitleEms * fontMetrics().height());
  Show({});
}

void WorkingWindow::Show(const WorkingLines& working, bool dimmed) {
  ShowDimmed(dimmed);
  std::string text = PlainText(working);
  if (text == shown_ && rows_->count() > 0) {
    return;
  }
  shown_ = std::move(text);
  while (const std::unique_ptr<QLayoutItem> item{rows_->takeAt(0)}) {
    delete item->widget();
  }
  QWidget* parent = rows_->parentWidget();
  std::vector<StepView*> views;
  for (const WorkingStep& step : working.steps) {
    views.push_back(new StepView(step, views.empty(), parent));
    rows_->addWidget(views.back());
  }
  int column = 0;
  for (const StepView* view : views) {
    column = std::max(column, view->ExpressionWidth());
  }
  for (StepView* view : views) {
    view->SetNameColumn(column);
  }
  if (working.stop || working.steps.empty()) {
    const std::string line = working.stop ? StopText(*working.stop) : std::string(kNoWorkingYet);
    auto* label = new QLabel(QString::fromStdString(line), parent);
    label->setTextFormat(Qt::PlainText);
    rows_->addWidget(label);
  }
}

// The steps are drawn grey; the copy button stays as it is.
void WorkingWindow::ShowDimmed(bool dimmed) {
  QWidget* steps = rows_->parentWidget();
  QPalette shown = palette();
  if (dimmed) {
    shown.setColor(QPalette::WindowText, PreviousTextColour(shown));
  }
  if (steps->palette().color(QPalette::WindowText) != shown.color(QPalette::WindowText)) {
    steps->setPalette(shown);
  }
}

}  // namespace tavolen
