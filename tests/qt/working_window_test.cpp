// The 途中式 window: its lines, choices and buttons wired to the model's
// WorkingView, the answer area hidden with them, and 答え合わせ.
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

}  // namespace

class WorkingWindowTest : public QObject {
  Q_OBJECT

 private slots:
  // Beside the main window, it follows the answer form, copies what it shows,
  // closes with Escape and goes with the main window.
  void followsEachCalculation() {
    Screen s;
    s.type("Text1_1=1 Text1_0=2 Text2_1=5 Text2_0=3");
    s.click("Command1");
    QDialog* shown = ShowWorking(s);
    QVERIFY(shown != nullptr && !shown->isModal());
    QVERIFY(!shown->frameGeometry().intersects(s.window.frameGeometry()));
    s.click("Option2_1");
    const WorkingView model = s.modelWorking(false);
    QCOMPARE(StepsShown(shown).back(), Q(model.lines().back().words));
    QTest::mouseClick(shown->findChild<QPushButton*>("CopyWorking"), Qt::LeftButton);
    QCOMPARE(QGuiApplication::clipboard()->text(), Q(model.PlainText()));
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
    const WorkingView model = s.modelWorking(true, true);
    QCOMPARE(StepsShown(shown)[2], Q(model.lines()[2].words));
    QCOMPARE(shown->findChild<QWidget*>("WorkingSteps")->accessibleDescription(),
             Q(model.lines()[2].words));
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
    s.click("Text1_1");
    QCOMPARE(message->text() + message->accessibleDescription(),
             Q(model.MarkedMessage()) + Q(model.Message()));
    s.click("Option1_1");
    QCOMPARE(message->text() + message->accessibleDescription(), "");
    QTest::mouseClick(shown->findChild<QPushButton*>("CheckAnswerButton"), Qt::LeftButton);
    QVERIFY(!message->accessibleDescription().isEmpty());
  }
};

}  // namespace tavolen::testing

QTEST_MAIN(tavolen::testing::WorkingWindowTest)
#include "working_window_test.moc"
