#include <algorithm>
#include <functional>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

#include "qt/main_window.h"
#include "window/controls.h"

namespace tavolen {
namespace {

QString FocusName() {
  const QWidget* focus = QApplication::focusWidget();
  return focus == nullptr ? QString() : focus->objectName();
}

// The window on screen, driven and read through its widgets as the user would.
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
  // Sets entry fields as the program would, bypassing the character limit:
  // "Text1(0)=30370005 Text2(1)=1".
  void enter(const QString& entries) {
    for (const QString& entry : entries.split(' ')) {
      const ControlId id = *ParseControlName(entry.section('=', 0, 0).toStdString());
      Form1& form = window.form();
      (id.name == ControlName::Text1 ? form.Text1(Integer{id.index})
                                     : form.Text2(Integer{id.index}))
          .Text = entry.section('=', 1).toStdString();
    }
    window.Sync();
  }
  void chooseMenu(const QString& command) {
    QMenuBar* bar = window.menuBar();
    const QRect place = bar->actionGeometry(window.findChild<QAction*>(command));
    QTest::mouseClick(bar, Qt::LeftButton, {}, place.center());
  }

  MainWindow window;
  bool active = false;
};

// Notes every message box that opens while it lives, as "icon title: text",
// and presses its OK button.
class MessageBoxCloser {
 public:
  MessageBoxCloser() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        seen.append(QString(QMetaEnum::fromType<QMessageBox::Icon>().valueToKey(box->icon())) +
                    " " + box->windowTitle() + ": " + box->text());
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
      }
    });
    timer_.start(10);
  }
  QStringList seen;

 private:
  QTimer timer_;
};

// The columns of a widget's picture, one entry for each pixel that passes the
// test, which also sees the top left pixel as the background.
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

// Written out from the window definition, twips / 15 (520 twips is 34 2/3,
// drawn as 35); fonts as resolved pixel heights, 0 for the default font and -1
// for none.
const struct {
  const char* name;
  const char* parent;
  QRect rect;
  int pixels;
  bool bold;
  Qt::Alignment align;
} kControls[] = {
    {"Frame1", "Form1", {8, 8, 241, 73}, 0, false, {}},
    {"Option1_0", "Frame1", {32, 16, 57, 25}, 21, false, {}},
    {"Option1_1", "Frame1", {32, 48, 65, 17}, 21, false, {}},
    {"Option1_2", "Frame1", {120, 16, 57, 25}, 21, false, {}},
    {"Option1_3", "Frame1", {120, 48, 65, 17}, 21, false, {}},
    {"Frame2", "Form1", {256, 8, 105, 73}, 0, false, {}},
    {"Option2_0", "Frame2", {16, 16, 73, 25}, 0, false, {}},
    {"Option2_1", "Frame2", {16, 48, 73, 20}, 0, false, {}},
    {"Label7", "Form1", {8, 88, 105, 41}, 32, false, Qt::AlignLeft},
    {"Text1_2", "Form1", {8, 156, 35, 25}, 16, true, Qt::AlignRight},
    {"Text1_1", "Form1", {56, 136, 49, 25}, 16, true, Qt::AlignHCenter},
    {"Text1_0", "Form1", {56, 176, 49, 25}, 16, true, Qt::AlignHCenter},
    {"Label3", "Form1", {120, 156, 33, 33}, 27, false, Qt::AlignLeft},
    {"Text2_2", "Form1", {160, 157, 35, 25}, 16, true, Qt::AlignRight},
    {"Text2_1", "Form1", {208, 136, 49, 25}, 16, true, Qt::AlignHCenter},
    {"Text2_0", "Form1", {208, 176, 49, 25}, 16, true, Qt::AlignHCenter},
    {"Label4", "Form1", {272, 152, 17, 33}, 32, false, Qt::AlignLeft},
    {"Label1_3", "Form1", {296, 155, 17, 25}, 29, false, Qt::AlignHCenter},
    {"Label1_2", "Form1", {312, 156, 41, 25}, 19, true, Qt::AlignRight},
    {"Label1_1", "Form1", {368, 136, 57, 17}, 19, true, Qt::AlignHCenter},
    {"Label1_0", "Form1", {368, 176, 57, 17}, 19, true, Qt::AlignHCenter},
    {"Command3", "Form1", {24, 216, 97, 41}, 0, false, {}},
    {"Command1", "Form1", {176, 216, 97, 41}, 15, false, {}},
    {"Command2", "Form1", {328, 216, 97, 41}, 15, false, {}},
    {"Line1", "Form1", {48, 168, 64, 1}, -1, false, {}},
    {"Line2", "Form1", {200, 168, 64, 1}, -1, false, {}},
    {"Line3", "Form1", {360, 168, 72, 1}, -1, false, {}},
};

// The press moves the focus (the field is cleaned and the hint cleared); the
// release clicks, anywhere in the button's box, or nothing when the mouse was
// dragged off.
const struct {
  const char* name;
  const char* button;
  bool atCorner;
  bool releasedOver;
  const char* seen;  // answer and Label3
} kMouseRows[] = {
    {"calculate", "Command1", false, true, "6|5|| ＋"},
    {"calculate dragged off", "Command1", false, false, "||| ＋"},
    {"divide at its box's corner", "Option1_3", true, true, "||| ÷"},
    {"minus dragged off", "Option1_1", false, false, "||| ＋"},
};

// With 1/2 + 1/3 entered, each key on each kind of control.
const struct {
  const char* name;
  int tabs;  // from the last field
  Qt::Key key;
  Qt::KeyboardModifiers modifiers;
  const char* seen;  // answer, Text1(1), Text2(0), focus
} kKeyRows[] = {
    {"Enter on calculate", 1, Qt::Key_Return, {}, "6|5|| 1 3 Command1"},
    {"keypad Enter on calculate", 1, Qt::Key_Enter, Qt::KeypadModifier, "6|5|| 1 3 Command1"},
    {"Space on calculate", 1, Qt::Key_Space, {}, "6|5|| 1 3 Command1"},
    {"Escape on calculate", 1, Qt::Key_Escape, {}, "||| 1 3 Command1"},
    {"Enter on clear", 2, Qt::Key_Return, {}, "|||   Command2"},
    {"Enter in a field", 0, Qt::Key_Return, {}, "||| 1 3 Text2_0"},
    {"Space in a field", 0, Qt::Key_Space, {}, "||| 1 3  Text2_0"},
    {"Escape in a field", 0, Qt::Key_Escape, {}, "||| 1 3 Text2_0"},
    {"Enter on an operator", 4, Qt::Key_Return, {}, "||| 1 3 Option1_0"},
    {"Space on an operator", 4, Qt::Key_Space, {}, "||| 1 3 Option1_0"},
};

// (999 9998/9999)^2 = 99979981002001/99980001 = 999999 79982002/99980001 and
// 1/30370005 + 1/30370004 = 60740009/922337173330020 (exact fractions).
const char* const kLargest =
    "Text1(2)=999 Text1(1)=9998 Text1(0)=9999 Text2(2)=999 Text2(1)=9998 Text2(0)=9999";
const struct {
  const char* name;
  const char* entries;
  const char* buttons;  // operator and answer form
  const char* label;
  const char* caption;
} kLongAnswers[] = {
    {"15-digit denominator", "Text1(1)=1 Text1(0)=30370005 Text2(1)=1 Text2(0)=30370004",
     "Option1_0 Option2_1", "Label1_0", "922337173330020"},
    {"14-digit numerator", kLargest, "Option1_2 Option2_1", "Label1_1", "99979981002001"},
    {"6-digit whole part", kLargest, "Option1_2 Option2_0", "Label1_2", "999999"},
};

// Where the answer's menu opens, and where a control keeps its own.
enum class Trigger { RightClick, MenuKey, ShiftF10 };
const struct {
  const char* name;
  const char* focus;  // the control that has the focus first
  const char* at;     // where the right click lands or the key goes
  Trigger trigger;
  bool opens;
} kMenuRows[] = {
    {"right click on the numerator", "Text1_1", "Label1_1", Trigger::RightClick, true},
    {"right click on the bar", "Text1_1", "Line3", Trigger::RightClick, true},
    {"right click on a button", "Text1_1", "Command1", Trigger::RightClick, false},
    {"menu key on an operator", "Option1_0", "Option1_0", Trigger::MenuKey, true},
    {"menu key on calculate", "Command1", "Command1", Trigger::MenuKey, true},
    {"menu key in a field", "Text1_1", "Text1_1", Trigger::MenuKey, false},
    {"Shift+F10 on clear", "Command2", "Command2", Trigger::ShiftF10, true},
    {"Shift+F10 in a field", "Text2_0", "Text2_0", Trigger::ShiftF10, false},
};

QStringList StepsShown(const QWidget* workingWindow) {
  QStringList rows;
  for (const QLabel* label : workingWindow->findChildren<QLabel*>()) {
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

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void window() {
    Screen s;
    QVERIFY(s.active);
    QCOMPARE(s.window.windowTitle(), "Tavolen");
    QCOMPARE(FocusName(), "Option1_0");
    const QSize size = s.window.size();
    s.window.resize(800, 600);
    QCoreApplication::processEvents();
    QCOMPARE(s.window.size(), size);
    QCOMPARE(s.window.minimumSize(), s.window.maximumSize());
    QCOMPARE(s.window.centralWidget()->size(), QSize(439, 264));
    const QList<QSize> iconSizes{QSize(32, 32), QSize(64, 64), QSize(128, 128), QSize(256, 256)};
    QCOMPARE(s.window.windowIcon().availableSizes(), iconSizes);
    // Each larger icon is the 32-pixel one with every pixel a whole square: crisp, not blurred.
    const QImage small = s.window.windowIcon().pixmap(QSize(32, 32), 1.0).toImage();
    for (const QSize& iconSize : iconSizes) {
      const QImage image = s.window.windowIcon().pixmap(iconSize, 1.0).toImage();
      QCOMPARE(image.size(), iconSize);
      QCOMPARE(image.convertToFormat(QImage::Format_RGB32),
               small.scaled(iconSize, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                   .convertToFormat(QImage::Format_RGB32));
    }
  }

  // Kept in the window on every desktop: a global menu drops commands that
  // have no drop-down of their own. A command leaves the focus and the hint.
  void menuBarInWindow() {
    Screen s;
    QMenuBar* bar = s.window.menuBar();
    QVERIFY(!bar->isNativeMenuBar());
    QVERIFY(bar->isVisible());
    QStringList shown;
    for (QAction* action : bar->actions()) {
      QVERIFY(action->menu() == nullptr);
      QVERIFY(bar->rect().contains(bar->actionGeometry(action)));
      shown.append(action->isVisible() ? action->text() : QString());
    }
    QCOMPARE(shown, QStringList({"終了", "バージョン情報"}));
    s.type("Text1_1=-");
    const MessageBoxCloser closer;
    s.chooseMenu("FileBer");
    QCOMPARE(closer.seen.size(), 1);
    QVERIFY(closer.seen.front().startsWith("Information バージョン情報: TavolenVer2.4.2\n"));
    QCOMPARE(closer.seen.front().count('\n'), 2);
    QTRY_COMPARE(FocusName(), "Text1_1");
    // No LostFocus ran, so the lone minus was not cleaned away.
    QCOMPARE(s.text("Text1_1") + s.text("Label7"), "-分子");
  }

  void controls_data() { AddRows(kControls); }

  void controls() {
    QFETCH(int, row);
    const auto& c = kControls[row];
    const MainWindow window;
    const auto* widget = window.findChild<QWidget*>(c.name);
    QVERIFY(widget != nullptr);
    QCOMPARE(widget->parentWidget()->objectName(), c.parent);
    QCOMPARE(widget->geometry(), c.rect);
    if (c.pixels >= 0) {
      const QFontInfo font(widget->font());
      QCOMPARE(font.pixelSize(),
               c.pixels == 0 ? QFontInfo(QApplication::font()).pixelSize() : c.pixels);
      QCOMPARE(font.bold(), c.bold);
      QVERIFY(!font.italic() && !font.underline() && !font.strikeOut());
    }
    if (const auto* field = qobject_cast<const QLineEdit*>(widget)) {
      QCOMPARE(field->alignment() & Qt::AlignHorizontal_Mask, c.align);
    } else if (const auto* label = qobject_cast<const QLabel*>(widget)) {
      QCOMPARE(label->alignment() & Qt::AlignHorizontal_Mask, c.align);
    }
  }

  void hintIsPureBlueMincho() {
    const Screen s;
    s.click("Text1_0");
    QCOMPARE(s.text("Label7"), "分母");
    QVERIFY(QFontInfo(s.widget("Label7")->font()).family().contains("Mincho"));
    const auto blue =
        Columns(s.widget("Label7"), [](QRgb p, QRgb) { return p == qRgb(0, 0, 255); });
    QVERIFY2(blue.size() > 50, qPrintable(QString::number(blue.size())));
  }

  // Screen readers hear radio buttons in groups named by their frames, and
  // the checked state follows the model's choice, here made with an arrow key.
  void optionButtonsAreRadioButtons() {
    const Screen s;
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    QCOMPARE(FocusName() + " " + s.text("Label3"), "Option1_3 ÷");
    s.click("Option2_1");
    // Role, name, state and group, as a screen reader announces them.
    QStringList heard;
    for (const char* name :
         {"Option1_0", "Option1_1", "Option1_2", "Option1_3", "Option2_0", "Option2_1"}) {
      QAccessibleInterface* button = QAccessible::queryAccessibleInterface(s.widget(name));
      heard.append(QStringList{button->role() == QAccessible::RadioButton ? "radio" : "other",
                               button->text(QAccessible::Name),
                               button->state().checked ? "checked" : "unchecked",
                               button->parent()->role() == QAccessible::Grouping ? "in group" : "",
                               button->parent()->text(QAccessible::Name)}
                       .join(' '));
    }
    QCOMPARE(heard, QStringList({"radio たし算 unchecked in group 計算の方法",
                                 "radio ひき算 unchecked in group 計算の方法",
                                 "radio かけ算 unchecked in group 計算の方法",
                                 "radio わり算 checked in group 計算の方法",
                                 "radio 帯分数 unchecked in group 答えの出し方",
                                 "radio 仮分数 checked in group 答えの出し方"}));
  }

  // Tab selects the whole text so that typing replaces it, and the field keeps
  // its undo history; a click puts the caret where it lands.
  void fieldEntry() {
    const Screen s;
    s.type("Text1_1=1234");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
    auto* field = qobject_cast<QLineEdit*>(s.widget("Text1_1"));
    QCOMPARE(field->selectedText(), "1234");
    QTest::keyClicks(field, "56");
    QCOMPARE(field->text(), "56");
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(field->text(), "56");
    QTest::keyClick(field, Qt::Key_Tab);
    QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(3, field->height() / 2));
    QCOMPARE(FocusName(), "Text1_1");
    QCOMPARE(field->selectedText(), "");
    QCOMPARE(field->cursorPosition(), 0);
  }

  // Typed into, each field keeps its own limit and is read out by its own name.
  void fieldLimitsAndNames() {
    const Screen s;
    const char* const kFields[][3] = {
        {"Text1_2", "123", "1つ目の数の整数"},  {"Text1_1", "1234", "1つ目の数の分子"},
        {"Text1_0", "1234", "1つ目の数の分母"}, {"Text2_2", "123", "2つ目の数の整数"},
        {"Text2_1", "1234", "2つ目の数の分子"}, {"Text2_0", "1234", "2つ目の数の分母"},
    };
    for (const auto& [field, kept, name] : kFields) {
      s.type(QString(field) + "=12345");
      QCOMPARE(s.text(field), kept);
      QCOMPARE(QAccessible::queryAccessibleInterface(s.widget(field))->text(QAccessible::Name),
               name);
    }
  }

  void contextMenuInJapanese() {
    const Screen s;
    const std::unique_ptr<QMenu> menu(
        qobject_cast<QLineEdit*>(s.widget("Text1_1"))->createStandardContextMenu());
    QStringList texts;
    for (const QAction* action : menu->actions()) {
      texts.append(action->text().section('\t', 0, 0));
    }
    QVERIFY2(texts.contains("貼り付け(&P)") && texts.contains("すべてを選択"),
             qPrintable(texts.join(' ')));
  }

  void mousePressAndRelease_data() { AddRows(kMouseRows); }

  void mousePressAndRelease() {
    QFETCH(int, row);
    const auto& c = kMouseRows[row];
    const Screen s;
    s.type("Text1_1=1 Text1_0=2 Text2_0=3 Text2_1=-1");
    auto* pressed = qobject_cast<QAbstractButton*>(s.widget(c.button));
    const QPoint at = c.atCorner ? pressed->rect().bottomRight() - QPoint(1, 1) : QPoint();
    QTest::mousePress(pressed, Qt::LeftButton, {}, at);
    QCOMPARE(s.text("Text2_1") + s.text("Label7"), "1");
    QCOMPARE(FocusName(), c.button);
    QVERIFY(pressed->isDown());
    QCOMPARE(s.answer(), "|||");
    // Qt sends the release to the pressed button, wherever the mouse is.
    QTest::mouseRelease(pressed, Qt::LeftButton, {}, c.releasedOver ? at : QPoint(-40, 8));
    QVERIFY(!pressed->isDown());
    QCOMPARE(s.answer() + " " + s.text("Label3"), c.seen);
    QCOMPARE(FocusName(), c.button);
  }

  void keys_data() { AddRows(kKeyRows); }

  void keys() {
    QFETCH(int, row);
    const auto& c = kKeyRows[row];
    const Screen s;
    s.type("Text1_1=1 Text1_0=2 Text2_1=1 Text2_0=3");
    for (int i = 0; i < c.tabs; ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QTest::keyClick(QApplication::focusWidget(), c.key, c.modifiers);
    QTRY_COMPARE(
        QStringList({s.answer(), s.text("Text1_1"), s.text("Text2_0"), FocusName()}).join(' '),
        c.seen);
  }

  // Space held on a button: pressed look while down, one click at the
  // release. On X11 a repeat's release can come unmarked, but its press
  // carries the same time stamp.
  void spaceHeldClicksOnce() {
    const Screen s;
    s.click("Option1_3");
    s.type("Text1_2=5");
    for (int i = 0; i < 6; ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    auto* calculate = qobject_cast<QAbstractButton*>(s.widget("Command1"));
    QCOMPARE(QApplication::focusWidget(), calculate);
    const MessageBoxCloser closer;
    QTest::keyPress(calculate, Qt::Key_Space);
    QVERIFY(calculate->isDown());
    for (const bool marked : {true, false}) {
      for (const QEvent::Type type : {QEvent::KeyRelease, QEvent::KeyPress}) {
        QKeyEvent repeat(type, Qt::Key_Space, Qt::NoModifier, " ", marked);
        repeat.setTimestamp(100);
        QApplication::sendEvent(calculate, &repeat);
      }
    }
    QTest::qWait(100);
    QVERIFY(calculate->isDown());
    QCOMPARE(s.answer(), "|||");
    QTest::keyRelease(calculate, Qt::Key_Space);
    QTRY_COMPARE(closer.seen,
                 QStringList{"Critical エラーメッセージ: 0で割り算しようとしています。"});
    QVERIFY(!calculate->isDown());
    QCOMPARE(s.answer(), "|||");
    QVERIFY(s.widget("Line3")->isVisible());
    QTRY_COMPARE(FocusName(), "Command1");
  }

  // Enter held on 計算 over a refused entry: the key repeats, the box shows once.
  void enterHeldClicksOnce() {
    const Screen s;
    s.type("Text1_1=3");
    for (int i = 0; i < 5; ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QWidget* calculate = s.widget("Command1");
    QCOMPARE(QApplication::focusWidget(), calculate);
    const MessageBoxCloser closer;
    QTest::keyPress(calculate, Qt::Key_Return);
    for (int i = 0; i < 3; ++i) {
      QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r", true);
      QApplication::sendEvent(calculate, &repeat);
    }
    QTest::keyRelease(calculate, Qt::Key_Return);
    QTest::qWait(100);
    QCOMPARE(closer.seen,
             QStringList{"Critical エラーメッセージ: 分母を１以上の整数にしてください。"});
  }

  // A caption wider than its label is drawn smaller, never cut, and given whole
  // in the tooltip and to screen readers; the label keeps its size.
  void longAnswerShownWhole_data() { AddRows(kLongAnswers); }

  void longAnswerShownWhole() {
    QFETCH(int, row);
    const auto& c = kLongAnswers[row];
    Screen s;
    for (const QString& button : QString(c.buttons).split(' ')) {
      s.click(button);
    }
    s.enter(c.entries);
    QWidget* shown = s.widget(c.label);
    const QSize size = shown->size();
    s.click("Command1");
    QCOMPARE(s.text(c.label), c.caption);
    QCOMPARE(shown->toolTip(), c.caption);
    QVERIFY(s.widget("AnswerArea")->accessibleDescription().contains(c.caption));
    QCOMPARE(shown->size(), size);
    QVERIFY(QFontInfo(shown->font()).pixelSize() >= 8);
    const QList<int> ink =
        Columns(shown, [](QRgb p, QRgb background) { return qGray(p) < qGray(background) - 64; });
    QVERIFY(!ink.isEmpty());
    const auto [first, last] = std::ranges::minmax(ink);
    QVERIFY2(first >= 1 && last <= shown->width() - 2 && last - first > shown->width() / 2,
             qPrintable(QString("ink from %1 to %2").arg(first).arg(last)));
  }

  void answerMenu_data() { AddRows(kMenuRows); }

  void answerMenu() {
    QFETCH(int, row);
    const auto& c = kMenuRows[row];
    Screen s;
    // "Text1_1" is the model's Text1(1).
    QString focus(c.focus);
    const ControlId id = *ParseControlName(
        (focus.contains('_') ? focus.replace('_', '(') + ')' : focus).toStdString());
    if (!IsOptionButton(id)) {
      s.window.form().MoveFocus(id);
      s.window.Sync();
    }
    QCOMPARE(FocusName(), c.focus);
    QWidget* at = s.widget(c.at);
    const QPoint middle = at->rect().center();
    if (c.trigger == Trigger::ShiftF10) {
      QTest::keyClick(at, Qt::Key_F10, Qt::ShiftModifier);
    } else {
      QContextMenuEvent event(
          c.trigger == Trigger::RightClick ? QContextMenuEvent::Mouse : QContextMenuEvent::Keyboard,
          middle, at->mapToGlobal(middle));
      QApplication::sendEvent(at, &event);
    }
    auto* menu = s.window.findChild<QMenu*>("AnswerMenu");
    QCOMPARE(menu->isVisible(), c.opens);
    QStringList captions;
    for (const QAction* action : menu->actions()) {
      captions.append(action->text() + (action->isEnabled() ? "" : " (off)"));
    }
    // Nothing to copy before the first calculation.
    QVERIFY(!c.opens || captions == QStringList({"答えをコピー (off)", "途中式をコピー (off)",
                                                 "途中式を表示"}));
    while (QWidget* popup = QApplication::activePopupWidget()) {
      popup->close();
    }
    QCOMPARE(FocusName(), c.focus);
  }

  // The answer copies as one line, the working as plain text, and in a field
  // the copy key copies the field's own text. The working also has a window of
  // its own beside the main one, following each calculation in words for
  // screen readers; Escape closes it, and it goes with the window.
  void copiesAndWorkingWindow() {
    Screen s;
    s.click("Option1_1");
    s.type("Text1_1=1 Text1_0=2 Text2_1=5 Text2_0=3");  // 1/2 - 5/3 = -7/6, shown as -1 1/6
    s.click("Command1");
    auto* menu = s.window.findChild<QMenu*>("AnswerMenu");
    QClipboard* clipboard = QGuiApplication::clipboard();
    menu->findChild<QAction*>("CopyAnswer")->trigger();
    QCOMPARE(clipboard->text(), "-1 1/6");
    s.window.findChild<QAction*>("ShowWorking")->trigger();
    auto* shown = s.window.findChild<QDialog*>("WorkingWindow");
    QVERIFY(QTest::qWaitForWindowExposed(shown));
    QCOMPARE(shown->windowTitle(), "途中式 — Tavolen");
    QVERIFY(!shown->isModal());
    const QRect main = s.window.frameGeometry();
    const QRect beside = shown->frameGeometry();
    QVERIFY(beside.left() > main.right() || beside.right() < main.left());
    QCOMPARE(StepsShown(shown),
             QStringList({"2分の1 ひく 3分の5", "6分の3 ひく 6分の10、通分する",
                          "マイナス6分の7、計算する", "マイナス1と6分の1、帯分数に直す"}));
    s.click("Option2_1");
    QTest::keyClick(s.widget("Option2_1"), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboard->text(), "-7/6");
    menu->findChild<QAction*>("CopyWorkingText")->trigger();
    QCOMPARE(clipboard->text(), "1/2 － 5/3\n= 3/6 － 10/6（通分する）\n= -7/6（計算する）\n");
    QCOMPARE(StepsShown(shown).size(), 3);
    s.click("Text1_1");
    qobject_cast<QLineEdit*>(s.widget("Text1_1"))->selectAll();
    QTest::keyClick(s.widget("Text1_1"), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboard->text(), "1");

    s.click("Option1_3");
    s.enter("Text2(0)= Text2(1)=");
    const MessageBoxCloser closer;
    s.click("Command1");
    QCOMPARE(StepsShown(shown),
             QStringList({"2分の1 わる 0", "計算できません：0で割り算しようとしています。"}));
    QTest::mouseClick(shown->findChild<QPushButton*>("CopyWorking"), Qt::LeftButton);
    QCOMPARE(clipboard->text(), "1/2 ÷ 0\n計算できません：0で割り算しようとしています。\n");
    QTest::keyClick(shown, Qt::Key_Escape);
    QVERIFY(!shown->isVisible());
    QCOMPARE(s.answer(), "|||");

    s.click("Command2");
    s.window.findChild<QAction*>("ShowWorking")->trigger();
    QVERIFY(shown->isVisible());
    QCOMPARE(StepsShown(shown), QStringList({"「計算」を押すと、ここに途中式が出ます。"}));
    s.window.close();
    QVERIFY(!shown->isVisible());
  }

  // くわしく and 1行ずつ start off and hold while the program runs, also when the
  // window closes; 次の行 answers Enter and Space and goes once all is shown;
  // each line that appears is read out through the rows' description.
  void workingChoicesAndNextLine() {
    Screen s;
    s.type("Text1_2=1 Text1_1=1 Text1_0=2 Text2_2=2 Text2_1=1 Text2_0=3");
    s.click("Command1");
    s.window.findChild<QAction*>("ShowWorking")->trigger();
    auto* shown = s.window.findChild<QDialog*>("WorkingWindow");
    QVERIFY(QTest::qWaitForWindowExposed(shown));
    auto* details = shown->findChild<QCheckBox*>("WorkingDetails");
    auto* oneLine = shown->findChild<QCheckBox*>("WorkingOneLineAtATime");
    auto* next = shown->findChild<QPushButton*>("NextLine");
    auto* rows = shown->findChild<QWidget*>("WorkingSteps");
    QVERIFY(!details->isChecked() && !oneLine->isChecked() && !next->isVisible());
    QCOMPARE(StepsShown(shown).size(), 5);

    oneLine->setFocus();
    QTest::keyClick(oneLine, Qt::Key_Space);
    s.click("Command1");
    QCOMPARE(StepsShown(shown), QStringList({"1と2分の1 たす 2と3分の1"}));
    QVERIFY(next->isVisible() && (next->focusPolicy() & Qt::TabFocus) != 0);
    next->setFocus();
    QTest::keyClick(next, Qt::Key_Return);
    QTest::keyClick(next, Qt::Key_Space);
    QCOMPARE(StepsShown(shown).size(), 3);
    QCOMPARE(rows->accessibleDescription(), "6分の9 たす 6分の14、通分する");

    QTest::mouseClick(details, Qt::LeftButton);
    QCOMPARE(StepsShown(shown),
             QStringList({"1と2分の1 たす 2と3分の1",
                          "分母 2、分子 1かける2たす1 たす 分母 3、分子 2かける3たす1",
                          "2分の3 たす 3分の7、仮分数に直す",
                          "分母 2かける3、分子 3かける3 たす 分母 3かける2、分子 7かける2",
                          "6分の9 たす 6分の14、通分する"}));
    QTest::keyClick(shown, Qt::Key_Escape);
    s.window.findChild<QAction*>("ShowWorking")->trigger();
    QVERIFY(details->isChecked() && oneLine->isChecked() && next->isVisible());
    s.click("Option1_2");
    QCOMPARE(rows->accessibleDescription(), "前の計算の途中式");
    QTest::mouseClick(next, Qt::LeftButton);
    QCOMPARE(rows->accessibleDescription(), "前の計算の途中式、分母 6、分子 9たす14");

    QTest::mouseClick(shown->findChild<QPushButton*>("ShowAllLines"), Qt::LeftButton);
    QVERIFY(!next->isVisible());
    QTest::mouseClick(shown->findChild<QPushButton*>("CopyWorking"), Qt::LeftButton);
    QCOMPARE(QGuiApplication::clipboard()->text(),
             "1 1/2 ＋ 2 1/3\n= (1×2＋1)/2 ＋ (2×3＋1)/3\n= 3/2 ＋ 7/3（仮分数に直す）\n"
             "= (3×3)/(2×3) ＋ (7×2)/(3×2)\n= 9/6 ＋ 14/6（通分する）\n= (9＋14)/6\n"
             "= 23/6（計算する）\n= 3 5/6（帯分数に直す）\n");
  }

  // From an input that differs from what the last calculation read until the
  // inputs match again, its answer and working are drawn dimmed and described
  // as the previous calculation's.
  void staleAnswerDimmed() {
    Screen s;
    s.type("Text1_1=1 Text1_0=2 Text2_1=1 Text2_0=3");  // 1/2 + 1/3 = 5/6
    s.click("Command1");
    s.window.findChild<QAction*>("ShowWorking")->trigger();
    const QList<QWidget*> shown{s.widget("Label1_1"), s.widget("Label1_0"), s.widget("Line3"),
                                s.window.findChild<QWidget*>("WorkingSteps")};
    const struct {
      std::function<void()> change;
      bool stale;
    } steps[] = {
        {[] {}, false},
        {[&] { QTest::keyClicks(s.widget("Text2_0"), "0"); }, true},
        {[&] { QTest::keyClick(s.widget("Text2_0"), Qt::Key_Backspace); }, false},
        {[&] { s.click("Option1_2"); }, true},
        {[&] { s.click("Option1_0"); }, false},
    };
    for (const auto& step : steps) {
      step.change();
      for (QWidget* widget : shown) {
        const QList<int> black = Columns(widget, [](QRgb p, QRgb) { return qGray(p) < 64; });
        QCOMPARE(black.isEmpty(), step.stale);
      }
      QCOMPARE(s.widget("AnswerArea")->accessibleDescription(),
               step.stale ? "前の計算の答え、6分の5" : "6分の5");
      QCOMPARE(s.answer(), "6|5||");
    }
  }

  void clickIntoInactiveWindowMovesFocus() {
    Screen s;
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    s.click("Text1_1");
    QCOMPARE(s.text("Label7"), "分子");
    s.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&s.window));
    QTest::keyClicks(QApplication::focusWidget(), "5");
    QCOMPARE(FocusName(), "Text1_1");
    QCOMPARE(s.text("Text1_1"), "5");
  }

  void exitEndsEventLoop_data() {
    QTest::addColumn<int>("way");
    QTest::newRow("exit button") << 0;
    QTest::newRow("exit menu command") << 1;
    QTest::newRow("close request") << 2;
  }

  void exitEndsEventLoop() {
    QFETCH(int, way);
    Screen s;
    const std::function<void()> ways[] = {
        [&] { s.click("Command3"); },
        [&] { s.chooseMenu("FileExit"); },
        [&] { s.window.close(); },
    };
    QTimer::singleShot(0, &s.window, ways[way]);
    QTimer stuck;
    QObject::connect(&stuck, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    stuck.start(10000);
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(!s.window.isVisible());
    QVERIFY(s.window.form().IsUnloaded());
  }
};

}  // namespace tavolen

QTEST_MAIN(tavolen::MainWindowTest)
#include "main_window_test.moc"
