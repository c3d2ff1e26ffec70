#include <functional>
#include <string>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

#include "runtime/qt/main_window.h"
#include "window/controls.h"

namespace tavolen {
namespace {

QString ObjectName(ControlId id) {
  QString name = QString::fromStdString(DisplayName(id));
  return name.replace(QLatin1Char('('), QLatin1Char('_')).remove(QLatin1Char(')'));
}

template <typename Widget = QWidget>
Widget* Find(const MainWindow& window, const QString& name) {
  return window.findChild<Widget*>(name);
}

QString FocusName() {
  const QWidget* focus = QApplication::focusWidget();
  return focus == nullptr ? QString() : focus->objectName();
}

QString Caption(const MainWindow& window, const QString& label) {
  return Find<QLabel>(window, label)->text();
}

bool LineShown(const MainWindow& window) {
  return Find(window, QStringLiteral("Line3"))->isVisible();
}

void ShowActive(MainWindow& window) {
  window.show();
  QVERIFY(QTest::qWaitForWindowActive(&window));
}

// Clicks into a field and types as the user would.
void TypeInto(MainWindow& window, const QString& field, const QString& text) {
  auto* edit = Find<QLineEdit>(window, field);
  QVERIFY(edit != nullptr);
  QTest::mouseClick(edit, Qt::LeftButton);
  QTest::keyClicks(edit, text);
}

void ClickMenu(MainWindow& window, const QString& command) {
  QMenuBar* bar = window.menuBar();
  auto* action = window.findChild<QAction*>(command);
  QVERIFY(action != nullptr);
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(action).center());
}

struct SeenBox {
  QString title;
  QString text;
  QMessageBox::Icon icon;
};

// Notes every message box that opens while it lives and presses its OK button.
class MessageBoxCloser {
 public:
  MessageBoxCloser() {
    QObject::connect(&timer_, &QTimer::timeout, [this] { CloseOpenBox(); });
    timer_.start(10);
  }
  [[nodiscard]] const QList<SeenBox>& seen() const { return seen_; }

 private:
  void CloseOpenBox() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) {
      return;
    }
    seen_.append({box->windowTitle(), box->text(), box->icon()});
    QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
  }

  QTimer timer_;
  QList<SeenBox> seen_;
};

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initialState();
  void geometry_data();
  void geometry();
  void fieldRefusesCharacterBeyondLimit_data();
  void fieldRefusesCharacterBeyondLimit();
  void calculateSeesTheCleanedText();
  void clickIntoInactiveWindowMovesFocus();
  void tabVisitsStopsInOrderAndWraps();
  void arrowKeyChangesOperator_data();
  void arrowKeyChangesOperator();
  void versionMenuLeavesFocusAndHint();
  void messageBox_data();
  void messageBox();
  void exitEndsEventLoop_data();
  void exitEndsEventLoop();
};

void MainWindowTest::initialState() {
  MainWindow window;
  ShowActive(window);

  QCOMPARE(window.windowTitle(), QStringLiteral("Tavolen"));
  QCOMPARE(window.centralWidget()->size(), QSize(439, 264));
  QCOMPARE(FocusName(), QStringLiteral("Option1_0"));
  const QStringList chosen{QStringLiteral("Option1_0"), QStringLiteral("Option2_0")};
  for (QRadioButton* option : window.findChildren<QRadioButton*>()) {
    QCOMPARE(option->isChecked(), chosen.contains(option->objectName()));
  }
  for (QLineEdit* field : window.findChildren<QLineEdit*>()) {
    QVERIFY2(field->text().isEmpty(), qPrintable(field->objectName()));
  }
  for (const char* label : {"Label1_0", "Label1_1", "Label1_2", "Label1_3", "Label7"}) {
    QVERIFY2(Caption(window, QString::fromLatin1(label)).isEmpty(), label);
  }
  QCOMPARE(Caption(window, QStringLiteral("Label3")), QStringLiteral("＋"));
  QCOMPARE(Caption(window, QStringLiteral("Label4")), QStringLiteral("="));
  for (const char* line : {"Line1", "Line2", "Line3"}) {
    QVERIFY2(Find(window, QString::fromLatin1(line))->isVisible(), line);
  }
  QStringList menu;
  for (const QAction* action : window.menuBar()->actions()) {
    QVERIFY(action->menu() == nullptr);
    menu.append(action->text());
  }
  QCOMPARE(menu, QStringList({QStringLiteral("終了"), QStringLiteral("バージョン情報")}));
}

void MainWindowTest::geometry_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("parent");
  QTest::addColumn<QRect>("rect");
  for (const ControlDef& def : ControlDefinitions()) {
    const QString parent = def.container ? ObjectName(ControlId{*def.container}) : "Form1";
    QTest::newRow(DisplayName(def.id).c_str())
        << ObjectName(def.id) << parent
        << QRect(PixelsOf(def.left), PixelsOf(def.top), PixelsOf(def.width), PixelsOf(def.height));
  }
  for (const LineDef& def : LineDefinitions()) {
    QTest::newRow(DisplayName(def.id).c_str())
        << ObjectName(def.id) << QStringLiteral("Form1")
        << QRect(QPoint(PixelsOf(def.x1), PixelsOf(def.y1)),
                 QPoint(PixelsOf(def.x2) - 1, PixelsOf(def.y2)));
  }
}

void MainWindowTest::geometry() {
  QFETCH(QString, name);
  QFETCH(QString, parent);
  QFETCH(QRect, rect);
  MainWindow window;
  const QWidget* widget = Find(window, name);
  QVERIFY(widget != nullptr);
  QCOMPARE(widget->parentWidget()->objectName(), parent);
  QCOMPARE(widget->geometry(), rect);
}

void MainWindowTest::fieldRefusesCharacterBeyondLimit_data() {
  QTest::addColumn<QString>("field");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("kept");
  QTest::newRow("whole part keeps three") << "Text1_2"
                                          << "1234"
                                          << "123";
  QTest::newRow("numerator keeps four") << "Text2_1"
                                        << "12345"
                                        << "1234";
  QTest::newRow("denominator keeps four") << "Text1_0"
                                          << "98765"
                                          << "9876";
}

void MainWindowTest::fieldRefusesCharacterBeyondLimit() {
  QFETCH(QString, field);
  QFETCH(QString, typed);
  QFETCH(QString, kept);
  MainWindow window;
  ShowActive(window);
  TypeInto(window, field, typed);
  QCOMPARE(Find<QLineEdit>(window, field)->text(), kept);
}

void MainWindowTest::calculateSeesTheCleanedText() {
  MainWindow window;
  ShowActive(window);
  TypeInto(window, QStringLiteral("Text1_1"), QStringLiteral("1"));
  TypeInto(window, QStringLiteral("Text1_0"), QStringLiteral("2"));
  TypeInto(window, QStringLiteral("Text2_0"), QStringLiteral("2"));
  TypeInto(window, QStringLiteral("Text2_1"), QStringLiteral("-1"));
  QCOMPARE(Caption(window, QStringLiteral("Label7")), QStringLiteral("分子"));

  QTest::mouseClick(Find(window, QStringLiteral("Command1")), Qt::LeftButton);

  // 1/2 + 1/2 once the field has become "1"; read as -1 it would give 0.
  QCOMPARE(Find<QLineEdit>(window, QStringLiteral("Text2_1"))->text(), QStringLiteral("1"));
  QCOMPARE(Caption(window, QStringLiteral("Label1_2")), QStringLiteral("1"));
  QCOMPARE(Caption(window, QStringLiteral("Label7")), QString());
  QVERIFY(!LineShown(window));
  QCOMPARE(FocusName(), QStringLiteral("Command1"));
  QCOMPARE(Find(window, QStringLiteral("AnswerArea"))->accessibleDescription(),
           QStringLiteral("1"));
}

void MainWindowTest::clickIntoInactiveWindowMovesFocus() {
  MainWindow window;
  ShowActive(window);
  QWidget other;
  other.show();
  other.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&other));

  QTest::mouseClick(Find(window, QStringLiteral("Text1_1")), Qt::LeftButton);
  QCOMPARE(Caption(window, QStringLiteral("Label7")), QStringLiteral("分子"));
  window.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&window));
  QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("5"));

  QCOMPARE(FocusName(), QStringLiteral("Text1_1"));
  QCOMPARE(Find<QLineEdit>(window, QStringLiteral("Text1_1"))->text(), QStringLiteral("5"));
}

void MainWindowTest::tabVisitsStopsInOrderAndWraps() {
  MainWindow window;
  ShowActive(window);
  QStringList visited;
  for (int i = 0; i < 11; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    visited.append(FocusName());
  }
  QCOMPARE(visited, QStringList({"Option2_0", "Text1_2", "Text1_1", "Text1_0", "Text2_2", "Text2_1",
                                 "Text2_0", "Command1", "Command2", "Command3", "Option1_0"}));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
  QCOMPARE(FocusName(), QStringLiteral("Command3"));
}

void MainWindowTest::arrowKeyChangesOperator_data() {
  QTest::addColumn<int>("key");
  QTest::addColumn<QString>("chosen");
  QTest::addColumn<QString>("symbol");
  QTest::newRow("right chooses minus") << int{Qt::Key_Right} << "Option1_1"
                                       << "－";
  QTest::newRow("down chooses minus") << int{Qt::Key_Down} << "Option1_1"
                                      << "－";
  QTest::newRow("left wraps to divide") << int{Qt::Key_Left} << "Option1_3"
                                        << "÷";
  QTest::newRow("up wraps to divide") << int{Qt::Key_Up} << "Option1_3"
                                      << "÷";
}

void MainWindowTest::arrowKeyChangesOperator() {
  QFETCH(int, key);
  QFETCH(QString, chosen);
  QFETCH(QString, symbol);
  MainWindow window;
  ShowActive(window);
  QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key));

  QCOMPARE(FocusName(), chosen);
  QCOMPARE(Caption(window, QStringLiteral("Label3")), symbol);
  for (QRadioButton* option : window.findChildren<QRadioButton*>()) {
    const bool expected = option->objectName() == chosen || option->objectName() == "Option2_0";
    QCOMPARE(option->isChecked(), expected);
  }
}

void MainWindowTest::versionMenuLeavesFocusAndHint() {
  MainWindow window;
  ShowActive(window);
  TypeInto(window, QStringLiteral("Text1_1"), QStringLiteral("-"));
  const MessageBoxCloser closer;
  ClickMenu(window, QStringLiteral("FileBer"));

  QCOMPARE(closer.seen().size(), 1);
  QCOMPARE(closer.seen().front().icon, QMessageBox::Information);
  QCOMPARE(closer.seen().front().title, QStringLiteral("バージョン情報"));
  QVERIFY(closer.seen().front().text.startsWith(QStringLiteral("TavolenVer2.4.2\n")));
  QCOMPARE(closer.seen().front().text.count(QLatin1Char('\n')), 2);
  QTRY_COMPARE(FocusName(), QStringLiteral("Text1_1"));
  QCOMPARE(Caption(window, QStringLiteral("Label7")), QStringLiteral("分子"));
  // No LostFocus ran, so the lone minus was not cleaned away.
  QCOMPARE(Find<QLineEdit>(window, QStringLiteral("Text1_1"))->text(), QStringLiteral("-"));
}

void MainWindowTest::messageBox_data() {
  QTest::addColumn<QStringList>("entries");  // field, text, field, text, ...
  QTest::addColumn<QString>("operatorButton");
  QTest::addColumn<bool>("bySpaceKey");
  QTest::addColumn<QString>("message");
  QTest::addColumn<QString>("whole");
  QTest::addColumn<bool>("lineShown");
  const QString refused = QStringLiteral("分母を１以上の整数にしてください。");
  const QString byZero = QStringLiteral("0で割り算しようとしています。");
  const QString overflow = QStringLiteral("数が大きすぎて計算できません。");
  const QStringList fiveByNothing{"Text1_2", "5", "Text2_0", ""};
  // 999 1/9999 is 9989002/9999, and 9989002 * 9998 leaves the Long range.
  const QStringList tooLarge{"Text1_2", "999",     "Text1_1", "1",       "Text1_0",
                             "9999",    "Text2_1", "1",       "Text2_0", "9998"};
  QTest::newRow("zero denominator is refused")
      << QStringList{"Text2_1", "3"} << "Option1_0" << false << refused << "" << true;
  QTest::newRow("division by zero answers 0")
      << fiveByNothing << "Option1_3" << false << byZero << "0" << false;
  QTest::newRow("space on calculate divides once")
      << fiveByNothing << "Option1_3" << true << byZero << "0" << false;
  QTest::newRow("overflow leaves the answer empty")
      << tooLarge << "Option1_3" << false << overflow << "" << true;
}

void MainWindowTest::messageBox() {
  QFETCH(QStringList, entries);
  QFETCH(QString, operatorButton);
  QFETCH(QString, message);
  QFETCH(QString, whole);
  QFETCH(bool, lineShown);
  QFETCH(bool, bySpaceKey);
  MainWindow window;
  ShowActive(window);
  QTest::mouseClick(Find(window, operatorButton), Qt::LeftButton);
  for (qsizetype i = 0; i + 1 < entries.size(); i += 2) {
    TypeInto(window, entries.at(i), entries.at(i + 1));
  }
  const MessageBoxCloser closer;
  if (bySpaceKey) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(FocusName(), QStringLiteral("Command1"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
  } else {
    QTest::mouseClick(Find(window, QStringLiteral("Command1")), Qt::LeftButton);
  }

  QCOMPARE(closer.seen().size(), 1);
  QCOMPARE(closer.seen().front().icon, QMessageBox::Critical);
  QCOMPARE(closer.seen().front().title, QStringLiteral("エラーメッセージ"));
  QCOMPARE(closer.seen().front().text, message);
  QCOMPARE(Caption(window, QStringLiteral("Label1_2")), whole);
  for (const char* label : {"Label1_0", "Label1_1", "Label1_3"}) {
    QVERIFY2(Caption(window, QString::fromLatin1(label)).isEmpty(), label);
  }
  QCOMPARE(LineShown(window), lineShown);
  QTRY_COMPARE(FocusName(), QStringLiteral("Command1"));
}

void MainWindowTest::exitEndsEventLoop_data() {
  QTest::addColumn<int>("way");
  QTest::newRow("exit button") << 0;
  QTest::newRow("exit menu command") << 1;
  QTest::newRow("close request") << 2;
}

void MainWindowTest::exitEndsEventLoop() {
  QFETCH(int, way);
  MainWindow window;
  ShowActive(window);
  const std::function<void()> ways[] = {
      [&] { QTest::mouseClick(Find(window, QStringLiteral("Command3")), Qt::LeftButton); },
      [&] { ClickMenu(window, QStringLiteral("FileExit")); },
      [&] { window.close(); },
  };
  QTimer::singleShot(0, &window, ways[way]);
  QTimer stuck;
  QObject::connect(&stuck, &QTimer::timeout, [] { QCoreApplication::exit(1); });
  stuck.start(10000);

  QCOMPARE(QCoreApplication::exec(), 0);
  QVERIFY(!window.isVisible());
  QVERIFY(window.form().IsUnloaded());
}

}  // namespace tavolen

QTEST_MAIN(tavolen::MainWindowTest)
#include "main_window_test.moc"
