// The main window's widgets, each reaching the model and shown as it answers.
#include <algorithm>

#include <QAccessible>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include "tests/qt/screen.h"
#include "window/accessible_text.h"
#include "window/answer_menu.h"

namespace tavolen::testing {
namespace {

// The press moves the focus (cleaning the field); the release clicks, anywhere
// in the button's box, or nothing when the mouse was dragged off.
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

// Where the answer's menu opens, and where a control keeps its own.
enum class Trigger { RightClick, MenuKey, ShiftF10 };
const struct {
  const char* name;
  const char* focus;  // the control that has the focus first
  const char* at;     // where the right click lands or the key goes
  Trigger trigger;
  bool opens;
} kMenuRows[] = {
    {"right click on the bar", "Text1_1", "Line3", Trigger::RightClick, true},
    {"right click on a button", "Text1_1", "Command1", Trigger::RightClick, false},
    {"menu key on calculate", "Command1", "Command1", Trigger::MenuKey, true},
    {"menu key in a field", "Text1_1", "Text1_1", Trigger::MenuKey, false},
    {"Shift+F10 on clear", "Command2", "Command2", Trigger::ShiftF10, true},
};

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  // A fixed size, each larger icon the 32-pixel one with every pixel a whole
  // square (crisp at any scale factor), the menu bar and the way out.
  void window() {
    Screen s;
    QVERIFY(s.active);
    QCOMPARE(FocusName(), "Option1_0");
    const QSize size = s.window.size();
    s.window.resize(800, 600);
    QCoreApplication::processEvents();
    QCOMPARE(s.window.size(), size);
    const QList<QSize> iconSizes{QSize(32, 32), QSize(64, 64), QSize(128, 128), QSize(256, 256)};
    QCOMPARE(s.window.windowIcon().availableSizes(), iconSizes);
    const auto picture = [&s](QSize side) {
      return s.window.windowIcon().pixmap(side, 1.0).toImage().convertToFormat(
          QImage::Format_RGB32);
    };
    for (const QSize& iconSize : iconSizes) {
      QCOMPARE(picture(iconSize), picture(QSize(32, 32)).scaled(iconSize));
    }
    // A global menu would drop commands with no drop-down; a box keeps the focus.
    QMenuBar* bar = s.window.menuBar();
    QVERIFY(!bar->isNativeMenuBar() && bar->isVisible());
    s.type("Text1_1=-");
    const MessageBoxCloser closer;
    const QRect place = bar->actionGeometry(s.window.findChild<QAction*>("FileBer"));
    QTest::mouseClick(bar, Qt::LeftButton, {}, place.center());
    QCOMPARE(closer.seen.size(), 1);
    QVERIFY(closer.seen.front().startsWith("Information バージョン情報: "));
    QTRY_COMPARE(FocusName(), "Text1_1");
    // The close request reaches the model's unload, which ends the event loop.
    QTimer::singleShot(0, &s.window, [&] { s.window.close(); });
    QTimer::singleShot(10000, &s.window, [] { QCoreApplication::exit(1); });
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(!s.window.isVisible() && s.window.form().IsUnloaded());
  }

  // Radio buttons in groups named by their frames, checked as the model chose.
  void optionButtonsAreRadioButtons() {
    const Screen s;
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    const auto heard = [&s](const char* name) {
      QAccessibleInterface* button = QAccessible::queryAccessibleInterface(s.widget(name));
      return QStringList{button->role() == QAccessible::RadioButton ? "radio" : "other",
                         button->text(QAccessible::Name),
                         button->state().checked ? "checked" : "unchecked",
                         button->parent()->text(QAccessible::Name)}
          .join(' ');
    };
    QCOMPARE(heard("Option1_0") + ", " + heard("Option1_3"),
             "radio たし算 unchecked 計算の方法, radio わり算 checked 計算の方法");
  }

  // Tab selects the text, undo history kept, a click puts the caret where it
  // lands; limits and names; the hint pure blue Mincho; Qt's texts Japanese.
  void fieldEntry() {
    Screen s;
    QWidget other;  // a click into an inactive window's field moves the focus there
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    s.click("Text1_1");
    QCOMPARE(s.text("Label7"), "分子");
    s.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&s.window));
    QTest::keyClicks(QApplication::focusWidget(), "1234");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
    auto* field = qobject_cast<QLineEdit*>(s.widget("Text1_1"));
    QCOMPARE(field->selectedText(), "1234");
    QTest::keyClicks(field, "56");
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(field->text(), "56");
    QTest::keyClick(field, Qt::Key_Tab);
    QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(3, field->height() / 2));
    QCOMPARE(FocusName(), "Text1_1");
    QCOMPARE(field->selectedText(), "");
    QCOMPARE(field->cursorPosition(), 0);
    QTest::keyClick(field, Qt::Key_Space);
    QCOMPARE(field->text(), " 56");
    for (const char* name : {"Text1_2", "Text2_0"}) {
      s.type(QString(name) + "=12345");
      QCOMPARE(s.text(name).size(), DefinitionOf(IdOf(name)).maxLength);
      QCOMPARE(QAccessible::queryAccessibleInterface(s.widget(name))->text(QAccessible::Name),
               Q(AccessibleNameOf(IdOf(name))));
    }
    QCOMPARE(s.text("Label7"), "分母");
    QVERIFY(QFontInfo(s.widget("Label7")->font()).family().contains("Mincho"));
    QVERIFY(Columns(s.widget("Label7"), [](QRgb p, QRgb) { return p == qRgb(0, 0, 255); }).size() >
            50);
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

  // A key held on 計算 over a refused entry repeats; the box shows once, Space
  // at its release. On X11 a repeat's release can come unmarked (same stamp).
  void heldKeyClicksOnce() {
    for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter}) {
      Screen s;
      s.type("Text1_1=3");
      s.focus("Command1");
      auto* calculate = qobject_cast<QAbstractButton*>(s.widget("Command1"));
      const MessageBoxCloser closer;
      QTest::keyPress(calculate, key);
      QVERIFY(calculate->isDown() == (key == Qt::Key_Space));
      for (const bool marked : {true, key != Qt::Key_Space}) {
        for (const QEvent::Type type : {QEvent::KeyRelease, QEvent::KeyPress}) {
          QKeyEvent repeat(type, key, Qt::NoModifier, QString(), marked);
          repeat.setTimestamp(100);
          QApplication::sendEvent(calculate, &repeat);
        }
      }
      QTest::qWait(100);
      QCOMPARE(closer.seen.size(), key == Qt::Key_Space ? 0 : 1);
      QTest::keyRelease(calculate, key);
      QTRY_COMPARE(closer.seen,
                   QStringList{"Critical エラーメッセージ: 分母を１以上の整数にしてください。"});
      QVERIFY(!calculate->isDown());
      QTRY_COMPARE(FocusName(), "Command1");
    }
  }

  // A caption wider than its label is drawn smaller, never cut, whole in the
  // tooltip; the label keeps its size.
  void longAnswerShownWhole() {
    Screen s;
    s.click("Option2_1");
    // 1/30370005 + 1/30370004 = 60740009/922337173330020 (exact fractions).
    s.type("Text1_1=1 Text2_1=1");
    s.window.form().Text1(Integer{0}).Text = "30370005";
    s.window.form().Text2(Integer{0}).Text = "30370004";
    QWidget* shown = s.widget("Label1_0");
    const QSize size = shown->size();
    s.click("Command1");
    QCOMPARE(s.text("Label1_0") + shown->toolTip(), "922337173330020922337173330020");
    QCOMPARE(shown->size(), size);
    QVERIFY(QFontInfo(shown->font()).pixelSize() >= 8);
    const QList<int> ink =
        Columns(shown, [](QRgb p, QRgb background) { return qGray(p) < qGray(background) - 64; });
    const auto [first, last] = std::ranges::minmax(ink);
    QVERIFY2(first >= 1 && last <= shown->width() - 2 && last - first > shown->width() / 2,
             qPrintable(QString("ink from %1 to %2").arg(first).arg(last)));
  }

  // The model's commands as it enables them; closing leaves the focus as it was.
  void answerMenu_data() { AddRows(kMenuRows); }

  void answerMenu() {
    QFETCH(int, row);
    const auto& c = kMenuRows[row];
    Screen s;
    s.focus(c.focus);
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
    for (const AnswerMenuItem& item : AnswerMenu(s.window.form())) {
      if (!c.opens) {
        break;
      }
      const QAction* action = menu->actions().at(static_cast<int>(item.command));
      QCOMPARE(action->text() + QString::number(action->isEnabled()),
               Q(item.caption) + QString::number(item.enabled));
    }
    while (QWidget* popup = QApplication::activePopupWidget()) {
      popup->close();
    }
    QCOMPARE(FocusName(), c.focus);
  }

  // The copy key copies the answer on a button, its own text in a field.
  void copies() {
    Screen s;
    s.click("Option1_1");
    s.type("Text1_1=1 Text1_0=2 Text2_1=5 Text2_0=3");  // 1/2 - 5/3 = -7/6
    s.click("Command1");
    auto* menu = s.window.findChild<QMenu*>("AnswerMenu");
    QClipboard* clipboard = QGuiApplication::clipboard();
    s.click("Option2_1");
    QTest::keyClick(s.widget("Option2_1"), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboard->text(), "-7/6");
    menu->findChild<QAction*>("CopyWorkingText")->trigger();
    QCOMPARE(clipboard->text(), Q(s.modelWorking(false).PlainText()));
    s.click("Text1_1");
    qobject_cast<QLineEdit*>(s.widget("Text1_1"))->selectAll();
    QTest::keyClick(s.widget("Text1_1"), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboard->text(), "1");
  }

  // While the answer is stale, it and the working are drawn dimmed.
  void staleAnswerDimmed() {
    Screen s;
    s.type("Text1_1=1 Text1_0=2 Text2_1=1 Text2_0=3");  // 1/2 + 1/3 = 5/6
    s.click("Command1");
    s.window.findChild<QAction*>("ShowWorking")->trigger();
    const QList<QWidget*> shown{s.widget("Label1_1"), s.widget("Label1_0"), s.widget("Line3"),
                                s.window.findChild<QWidget*>("WorkingSteps")};
    const auto expect = [&](bool stale) {
      for (QWidget* widget : shown) {
        QCOMPARE(Columns(widget, [](QRgb p, QRgb) { return qGray(p) < 64; }).isEmpty(), stale);
      }
      QCOMPARE(s.widget("AnswerArea")->accessibleDescription(),
               Q(AnswerDescriptionOf(s.window.form())));
      QCOMPARE(s.answer(), "6|5||");
    };
    expect(false);
    QTest::keyClicks(s.widget("Text2_0"), "0");
    expect(true);
    QTest::keyClick(s.widget("Text2_0"), Qt::Key_Backspace);
    expect(false);
  }
};

}  // namespace tavolen::testing

QTEST_MAIN(tavolen::testing::MainWindowTest)
#include "main_window_test.moc"
