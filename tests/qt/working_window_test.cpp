// The 途中式 window: opened from the answer's menu beside the main window, it
// shows the working as the model lays it out, follows each calculation, copies
// what it shows, and holds くわしく and 1行ずつ while the program runs.
#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QPushButton>

#include "tests/qt/screen.h"
#include "window/accessible_text.h"

namespace tavolen::testing {

namespace {

QString Q(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QDialog* ShowWorking(Screen& s) {
  s.window.findChild<QAction*>("ShowWorking")->trigger();
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
    s.click("Option1_1");
    s.type("Text1_1=1 Text1_0=2 Text2_1=5 Text2_0=3");
    s.click("Command1");
    QDialog* shown = ShowWorking(s);
    QVERIFY(shown != nullptr);
    QCOMPARE(shown->windowTitle(), Q(kWorkingWindowCaption));
    QVERIFY(!shown->isModal());
    const QRect main = s.window.frameGeometry();
    const QRect beside = shown->frameGeometry();
    QVERIFY(beside.left() > main.right() || beside.right() < main.left());
    QVERIFY(ShowsModelWorking(s, shown, false));
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

    s.click("Command2");
    QVERIFY(ShowWorking(s) == shown);
    QCOMPARE(StepsShown(shown), QStringList({Q(kNoWorkingYet)}));
    s.window.close();
    QVERIFY(!shown->isVisible());
  }

  // くわしく and 1行ずつ start off and hold while the program runs, also when the
  // window closes; 次の行 answers Enter and Space and goes once all is shown;
  // each line that appears is read out through the rows' description.
  void choicesAndNextLine() {
    Screen s;
    s.type("Text1_2=1 Text1_1=1 Text1_0=2 Text2_2=2 Text2_1=1 Text2_0=3");
    s.click("Command1");
    QDialog* shown = ShowWorking(s);
    QVERIFY(shown != nullptr);
    auto* details = shown->findChild<QCheckBox*>("WorkingDetails");
    auto* oneLine = shown->findChild<QCheckBox*>("WorkingOneLineAtATime");
    auto* next = shown->findChild<QPushButton*>("NextLine");
    auto* rows = shown->findChild<QWidget*>("WorkingSteps");
    QVERIFY(!details->isChecked() && !oneLine->isChecked() && !next->isVisible());

    oneLine->setFocus();
    QTest::keyClick(oneLine, Qt::Key_Space);
    s.click("Command1");
    QCOMPARE(StepsShown(shown).size(), 1);
    QVERIFY(next->isVisible() && (next->focusPolicy() & Qt::TabFocus) != 0);
    next->setFocus();
    QTest::keyClick(next, Qt::Key_Return);
    QTest::keyClick(next, Qt::Key_Space);
    QCOMPARE(StepsShown(shown).size(), 3);
    QCOMPARE(rows->accessibleDescription(), Q(s.modelWorking(false).lines()[2].words));

    // The details come before the steps already shown.
    QTest::mouseClick(details, Qt::LeftButton);
    QCOMPARE(StepsShown(shown).size(), 5);
    QCOMPARE(StepsShown(shown)[1], Q(s.modelWorking(true).lines()[1].words));
    QTest::keyClick(shown, Qt::Key_Escape);
    QVERIFY(ShowWorking(s) == shown);
    QVERIFY(details->isChecked() && oneLine->isChecked() && next->isVisible());
    // Once an input differs, the working is said to be the previous calculation's.
    s.click("Option1_2");
    QCOMPARE(rows->accessibleDescription(), Q(WorkingDescription(true)));
    QTest::mouseClick(next, Qt::LeftButton);
    QCOMPARE(rows->accessibleDescription(),
             Q(WorkingLineReadOut(s.modelWorking(true).lines()[5].words, true)));

    QTest::mouseClick(shown->findChild<QPushButton*>("ShowAllLines"), Qt::LeftButton);
    QVERIFY(!next->isVisible());
    QTest::mouseClick(shown->findChild<QPushButton*>("CopyWorking"), Qt::LeftButton);
    QCOMPARE(QGuiApplication::clipboard()->text(), Q(s.modelWorking(true).PlainText()));
  }
};

}  // namespace tavolen::testing

QTEST_MAIN(tavolen::testing::WorkingWindowTest)
#include "working_window_test.moc"
