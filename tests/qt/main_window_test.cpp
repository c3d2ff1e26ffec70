#include <functional>

#include <QApplication>
#include <QImage>
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

QString ObjectName(ControlId id) {
  return QString::fromStdString(DisplayName(id)).replace('(', '_').remove(')');
}

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
  void type(const QString& field, const QString& text) const {
    click(field);
    QTest::keyClicks(widget(field), text);
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

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initialState() {
    const Screen s;
    QVERIFY(s.active);
    QCOMPARE(s.window.windowTitle(), "Tavolen");
    QCOMPARE(s.window.centralWidget()->size(), QSize(439, 264));
    QCOMPARE(FocusName(), "Option1_0");
    for (const QRadioButton* option : s.window.findChildren<QRadioButton*>()) {
      const bool chosen =
          option->objectName() == "Option1_0" || option->objectName() == "Option2_0";
      QCOMPARE(option->isChecked(), chosen);
    }
    for (const char* empty : {"Text1_0", "Text1_1", "Text1_2", "Text2_0", "Text2_1", "Text2_2",
                              "Label1_0", "Label1_1", "Label1_2", "Label1_3", "Label7"}) {
      QVERIFY2(s.text(empty).isEmpty(), empty);
    }
    QCOMPARE(s.text("Label3"), "＋");
    QCOMPARE(s.text("Label4"), "=");
    for (const char* line : {"Line1", "Line2", "Line3"}) {
      QVERIFY2(s.widget(line)->isVisible(), line);
    }
    QStringList menu;
    for (const QAction* action : s.window.menuBar()->actions()) {
      QVERIFY(action->menu() == nullptr);
      menu.append(action->text());
    }
    QCOMPARE(menu, QStringList({"終了", "バージョン情報"}));
    const QList<QSize> iconSizes{QSize(32, 32), QSize(64, 64), QSize(128, 128), QSize(256, 256)};
    QCOMPARE(s.window.windowIcon().availableSizes(), iconSizes);
    // Each larger icon is the 32-pixel one with every pixel a whole square: crisp, not blurred.
    const QImage small = s.window.windowIcon().pixmap(QSize(32, 32), 1.0).toImage();
    for (const QSize& size : iconSizes) {
      const QImage image = s.window.windowIcon().pixmap(size, 1.0).toImage();
      QCOMPARE(image.size(), size);
      QCOMPARE(image.convertToFormat(QImage::Format_RGB32),
               small.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                   .convertToFormat(QImage::Format_RGB32));
    }
  }

  void geometry_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("rect");
    for (const ControlDef& def : ControlDefinitions()) {
      QTest::newRow(DisplayName(def.id).c_str())
          << ObjectName(def.id) << (def.container ? ObjectName({*def.container}) : "Form1")
          << QRect(PixelsOf(def.left), PixelsOf(def.top), PixelsOf(def.width),
                   PixelsOf(def.height));
    }
    for (const LineDef& def : LineDefinitions()) {
      QTest::newRow(DisplayName(def.id).c_str())
          << ObjectName(def.id) << "Form1"
          << QRect(QPoint(PixelsOf(def.x1), PixelsOf(def.y1)),
                   QPoint(PixelsOf(def.x2) - 1, PixelsOf(def.y2)));
    }
  }

  void geometry() {
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QRect, rect);
    const MainWindow window;
    const auto* widget = window.findChild<QWidget*>(name);
    QVERIFY(widget != nullptr);
    QCOMPARE(widget->parentWidget()->objectName(), parent);
    QCOMPARE(widget->geometry(), rect);
  }

  // A text the program writes beyond the limit is shown whole; typing is limited again after.
  void wholePartRefusesFourthCharacter() {
    Screen s;
    s.type("Text1_2", "1234");
    QCOMPARE(s.text("Text1_2"), "123");
    TextBox& whole = s.window.form().Text1(Integer{2});
    whole.Text = "12345";
    s.window.Sync();
    QCOMPARE(s.text("Text1_2"), "12345");
    whole.Text.clear();
    s.window.Sync();
    s.type("Text1_2", "6789");
    QCOMPARE(s.text("Text1_2"), "678");
  }

  void calculateSeesTheCleanedText() {
    const Screen s;
    s.type("Text1_1", "1");
    s.type("Text1_0", "2");
    s.type("Text2_0", "2");
    s.type("Text2_1", "-1");
    QCOMPARE(s.text("Label7"), "分子");
    s.click("Command1");
    // 1/2 + 1/2 once the field has become "1"; read as -1 it would give 0.
    QCOMPARE(s.text("Text2_1"), "1");
    QCOMPARE(s.text("Label1_2"), "1");
    QCOMPARE(s.text("Label7"), "");
    QVERIFY(!s.widget("Line3")->isVisible());
    QCOMPARE(FocusName(), "Command1");
    QCOMPARE(s.widget("AnswerArea")->accessibleDescription(), "1");
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

  void tabVisitsStopsInOrderAndWraps() {
    const Screen s;
    QStringList visited;
    for (int i = 0; i < 11; ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      visited.append(FocusName());
    }
    QCOMPARE(visited,
             QStringList({"Option2_0", "Text1_2", "Text1_1", "Text1_0", "Text2_2", "Text2_1",
                          "Text2_0", "Command1", "Command2", "Command3", "Option1_0"}));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(FocusName(), "Command3");
  }

  void arrowKeyChangesOperator_data() {
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("symbol");
    QTest::newRow("right chooses minus") << "Option1_1" << int{Qt::Key_Right} << "－";
    QTest::newRow("down chooses minus") << "Option1_1" << int{Qt::Key_Down} << "－";
    QTest::newRow("left wraps to divide") << "Option1_3" << int{Qt::Key_Left} << "÷";
    QTest::newRow("up wraps to divide") << "Option1_3" << int{Qt::Key_Up} << "÷";
  }

  void arrowKeyChangesOperator() {
    QFETCH(QString, chosen);
    QFETCH(int, key);
    QFETCH(QString, symbol);
    const Screen s;
    QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key));
    QCOMPARE(FocusName(), chosen);
    QCOMPARE(s.text("Label3"), symbol);
    for (const QRadioButton* option : s.window.findChildren<QRadioButton*>()) {
      QCOMPARE(option->isChecked(),
               option->objectName() == chosen || option->objectName() == "Option2_0");
    }
  }

  void versionMenuLeavesFocusAndHint() {
    Screen s;
    s.type("Text1_1", "-");
    const MessageBoxCloser closer;
    s.chooseMenu("FileBer");
    QCOMPARE(closer.seen.size(), 1);
    QVERIFY(closer.seen.front().startsWith("Information バージョン情報: TavolenVer2.4.2\n"));
    QCOMPARE(closer.seen.front().count('\n'), 2);
    QTRY_COMPARE(FocusName(), "Text1_1");
    QCOMPARE(s.text("Label7"), "分子");
    // No LostFocus ran, so the lone minus was not cleaned away.
    QCOMPARE(s.text("Text1_1"), "-");
  }

  void messageBox_data() {
    QTest::addColumn<QString>("entries");  // "field=text field=text ..."
    QTest::addColumn<bool>("bySpaceKey");
    QTest::addColumn<QString>("operatorButton");
    QTest::addColumn<bool>("lineShown");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("message");
    const QString refused = "分母を１以上の整数にしてください。";
    const QString byZero = "0で割り算しようとしています。";
    const QString tooLarge = "数が大きすぎて計算できません。";
    QTest::newRow("zero denominator is refused")
        << "Text2_1=3" << false << "Option1_0" << true << "|||" << refused;
    QTest::newRow("division by zero answers 0")
        << "Text1_2=5 Text2_0=" << false << "Option1_3" << false << "||0|" << byZero;
    QTest::newRow("space on calculate divides once")
        << "Text1_2=5 Text2_0=" << true << "Option1_3" << false << "||0|" << byZero;
    // 999 1/9999 is 9989002/9999, and 9989002 * 9998 leaves the Long range.
    QTest::newRow("overflow leaves the answer empty")
        << "Text1_2=999 Text1_1=1 Text1_0=9999 Text2_1=1 Text2_0=9998" << false << "Option1_3"
        << true << "|||" << tooLarge;
  }

  void messageBox() {
    QFETCH(QString, entries);
    QFETCH(QString, operatorButton);
    QFETCH(bool, bySpaceKey);
    QFETCH(QString, message);
    QFETCH(QString, answer);
    QFETCH(bool, lineShown);
    const Screen s;
    s.click(operatorButton);
    for (const QString& entry : entries.split(' ')) {
      s.type(entry.section('=', 0, 0), entry.section('=', 1));
    }
    const MessageBoxCloser closer;
    if (bySpaceKey) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      QCOMPARE(FocusName(), "Command1");
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    } else {
      s.click("Command1");
    }
    QCOMPARE(closer.seen, QStringList{"Critical エラーメッセージ: " + message});
    QCOMPARE(s.answer(), answer);
    QCOMPARE(s.widget("Line3")->isVisible(), lineShown);
    QTRY_COMPARE(FocusName(), "Command1");
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
