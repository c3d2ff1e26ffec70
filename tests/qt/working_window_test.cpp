// The 途中式 window: opened from the answer's menu beside the main window, it
// shows the working as the model lays it out, follows each calculation, copies
// what it shows, holds its choices while the program runs, hides the answer
// while lines are hidden, and checks the pupil's own answer.
#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include "tests/qt/screen.h"
#include "window/accessible_text.h"
#include "window/answer_check_view.h"

namespace tavolen::testing {
namespace {

QDialog* ShowWorking(Screen& s, const char* command = "ShowWorking") {
  s.window.findChild<QAction*>(command)->trigger();
  auto* shown = s.window.findChild<QDialog*>("WorkingWindow");
  return QTest::qWaitForWindowExposed(shown) ? shown : nullptr;
}

// As many rows as the model's lines, the first read as the model words it.
bool ShowsModelWorking(Screen& s, const QWidget* shown, bool details) {
  const WorkingView model = s.modelWorking(details);
  const QStringList rows = StepsShown(shown);
  return rows.size() == static_cast<qsizetype>(model.lines().size()) &&
         rows.front() == Q(model.lines().front().words);
}

}  // namespace

class WorkingWindowTest : public QObject {
  Q_OBJECT

 private slots:
  // It follows the answer form and a refused calculation, copies what it
  // shows, closes with Escape and goes with the main window.
  void followsEachCalculation() {
    Screen s;
    s.type("Text1_1=1 Text1_0=2 Text2_1=5 Text2_0=3");
    s.click("Command1");
    QDialog* shown = ShowWorking(s);
    QVERIFY(shown != nullptr && !shown->isModal());
    QCOMPARE(shown->windowTitle(), Q(kWorkingWindowCaption));
    const QRect main = s.window.frameGeometry();
    const QRect beside = shown->frameGeometry();
    QVERIFY(beside.left() > main.right() || beside.right() < main.left());
    s.click("Option2_1");
    QVERIFY(ShowsModelWorking(s, shown, false));
    s.click("Option1_3");
    s.enter("Text2(0)= Text2(1)=");
    const MessageBoxCloser closer;
    s.click("Command1");
    QVERIFY(ShowsModelWorking(s, shown, false));
    QTest::mouseClick(shown->findChild<QPushButton*>("CopyWorking"), Qt::LeftButton);
    QCOMPARE(QGuiApplication::clipboard()->text(), Q(s.modelWorking(false).PlainText()));
    QTest::keyClick(shown, Qt::Key_Escape);
    QVERIFY(!shown->isVisible());
    QVERIFY(ShowWorking(s) == shown);
    s.window.close();
    QVERIFY(!shown->isVisible());
  }

  // The choices reach the model's view and hold when the window closes; while
  // 1行ずつ hides lines the answer area is empty and says the answer follows;
  // 次の行 answers Enter and Space, and each line that appears is read out.
  void choicesAndHiddenAnswer() {
    Screen s;
    s.type("Text1_2=1 Text1_1=2 Text1_0=3 Text2_2=2 Text2_1=3 Text2_0=4");
    s.click("Command1");
    QDialog* shown = ShowWorking(s);
    QVERIFY(shown != nullptr);
    auto* oneLine = shown->findChild<QCheckBox*>("WorkingOneLineAtATime");
    auto* next = shown->findChild<QPushButton*>("NextLine");
    auto* rows = shown->findChild<QWidget*>("WorkingSteps");
    oneLine->setFocus();
    QTest::keyClick(oneLine, Qt::Key_Space);
    QTest::mouseClick(shown->findChild<QCheckBox*>("WorkingKeepMixed"), Qt::LeftButton);
    QTest::mouseClick(shown->findChild<QCheckBox*>("WorkingDetails"), Qt::LeftButton);
    QCOMPARE(StepsShown(shown).size(), 1);
    QCOMPARE(s.answer(), "|||");
    QVERIFY(!s.widget("Line3")->isVisible());
    QCOMPARE(s.widget("AnswerArea")->accessibleDescription(), Q(kAnswerAfterWorking));
    next->setFocus();
    QTest::keyClick(next, Qt::Key_Return);
    QTest::keyClick(next, Qt::Key_Space);
    WorkingView model;
    model.SetKeepMixed(true);
    model.SetDetails(true);
    model.Follow(WorkingOf(s.window.form()));
    QCOMPARE(StepsShown(shown)[2], Q(model.lines()[2].words));
    QCOMPARE(rows->accessibleDescription(), Q(model.lines()[2].words));
    QTest::keyClick(shown, Qt::Key_Escape);
    QCOMPARE(s.answer(), "12|5|4|");
    QVERIFY(ShowWorking(s) == shown);
    QCOMPARE(s.answer(), "|||");
    QTest::mouseClick(shown->findChild<QPushButton*>("ShowAllLines"), Qt::LeftButton);
    QCOMPARE(StepsShown(shown).size(), static_cast<qsizetype>(model.lines().size()));
    QCOMPARE(s.answer(), "12|5|4|");
    QVERIFY(!next->isVisible());
  }

  // 答え合わせ… opens the window with the focus in 自分の答え; Enter there
  // checks, and the model's message shows with its mark, read out once; it
  // goes when the problem changes.
  void checksAnAnswer() {
    Screen s;
    s.type("Text1_2=1 Text1_1=2 Text1_0=3 Text2_2=2 Text2_1=3 Text2_0=4");
    QDialog* shown = ShowWorking(s, "CheckAnswer");
    QVERIFY(shown != nullptr);
    auto* field = shown->findChild<QLineEdit*>("AnswerField");
    QTRY_COMPARE(QApplication::focusWidget(), field);
    QCOMPARE(field->accessibleName(), Q(kAnswerFieldAccessibleName));
    auto* message = shown->findChild<QLabel*>("CheckMessage");
    QTest::keyClicks(field, "3 5/12");
    QTest::keyClick(field, Qt::Key_Return);
    AnswerCheckView model;
    model.SetAnswer("3 5/12");
    model.Check(s.window.form());
    const QString seen = Q(model.Mark()) + " " + Q(model.Message());
    s.click("Text1_1");
    QCOMPARE(message->text() + message->accessibleDescription(), seen + Q(model.Message()));
    s.click("Option1_1");
    QCOMPARE(message->text() + message->accessibleDescription(), "");
    QTest::mouseClick(shown->findChild<QPushButton*>("CheckAnswerButton"), Qt::LeftButton);
    QVERIFY(!message->accessibleDescription().isEmpty());
  }
};

}  // namespace tavolen::testing

QTEST_MAIN(tavolen::testing::WorkingWindowTest)
#include "working_window_test.moc"
