// "Точки останова": conditions and hit counts set in the pane hold the run
// where they say; a refused edit keeps the old value; disable, remove and
// remove all reach the gutter; the gutter draws each kind of breakpoint.
#include "shell/debugger/breakpoints_pane.h"

#include <QAction>
#include <QDockWidget>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTextBlock>
#include <QtTest>

#include "emulator_test_support.h"
#include "shell/debugger/variables_pane.h"
#include "shell/editor/editor_gutter.h"
#include "shell/editor/source_editor.h"

using namespace zr::shell;
using namespace zr::shell::testing;

namespace {

// Red pixels down the middle of the first line's breakpoint dot.
int RedPixelsOfTheDot(EditorGutter& gutter, const QFont& font) {
    const QImage image = gutter.grab().toImage();
    const int dot = QFontMetrics(font).height() - 4;
    int red = 0;
    for (int y = 0; y < QFontMetrics(font).height() + 8 && y < image.height(); ++y) {
        const QColor c = image.pixelColor(3 + dot / 2, y);
        if (c.red() > 150 && c.green() < 100) ++red;
    }
    return red;
}

}  // namespace

class BreakpointsPaneTest : public QObject {
    Q_OBJECT

  private:
    struct Session {
        SourceEditor editor;
        std::unique_ptr<zr::compiler::Compiler> compiled;
        EmulatorWindows windows{nullptr, &editor, nullptr};

        Session() : compiled(Compile(kLoopProgram)) { editor.setPlainText(kLoopProgram); }
        FrmTest* window() const { return windows.emulatorWindow(); }
        BreakpointsPane* pane() const { return window()->breakpointsPane(); }
        void Trigger(const char* command) const {
            window()->findChild<QAction*>(command)->trigger();
        }
        // i as the Variables pane shows it while paused at line 4.
        QString PauseI() const {
            if (!window()->runStateText().startsWith("Пауза") ||
                editor.gutter()->executionLine() != 4)
                return {};
            QTreeWidgetItem* i = window()->variablesPane()->itemNamed("i");
            return i ? i->text(VariablesPane::kValue) : QString();
        }
        void WaitForTheEnd() const {
            QTRY_COMPARE_WITH_TIMEOUT(window()->runStateText(), QString("Ждёт нажатия клавиши"),
                                      kWorkerTimeout);
        }
    };

  private slots:
    void conditionAndHitCountStopWhereTheySay() {
        const struct {
            BreakpointEntry entry;
            const char* i;  // at the one pause
        } cases[] = {{{4, true, "i = 2", 0}, "2"},
                     {{4, true, "", 3}, "3"},
                     {{4, true, "sum > 0", 2}, "3"}};  // sum > 0 from pass 2 on
        for (const auto& c : cases) {
            Session s;
            s.editor.gutter()->setBreakpoint(c.entry);
            QVERIFY(StartAtAddressOne(s.windows, *s.compiled));
            QTRY_COMPARE_WITH_TIMEOUT(s.PauseI(), QString(c.i), kWorkerTimeout);
            s.Trigger("mnuContinue");
            s.WaitForTheEnd();
        }
    }

    void paneEditsReachTheGutterAndTheRun() {
        Session s;
        s.editor.gutter()->toggleBreakpoint(4);
        QVERIFY(StartAtAddressOne(s.windows, *s.compiled));
        QTRY_COMPARE_WITH_TIMEOUT(s.PauseI(), QString("1"), kWorkerTimeout);
        QTreeWidget* tree = s.pane()->tree();
        QTRY_COMPARE(tree->topLevelItemCount(), 1);
        QTreeWidgetItem* row = tree->topLevelItem(0);
        QCOMPARE(row->text(BreakpointsPane::LineColumn), QString("4"));
        QCOMPARE(row->checkState(BreakpointsPane::FileColumn), Qt::Checked);

        // Refused: the message shows, the old value stays.
        row->setText(BreakpointsPane::ConditionColumn, "y > 1");
        QVERIFY(s.pane()->refusal().contains("«y»"));
        QCOMPARE(row->text(BreakpointsPane::ConditionColumn), QString());
        row->setText(BreakpointsPane::HitCountColumn, "x");
        QVERIFY(!s.pane()->refusal().isEmpty());
        QCOMPARE(row->text(BreakpointsPane::HitCountColumn), QString());
        QCOMPARE(s.editor.gutter()->breakpoints().front().condition, QString());

        row->setText(BreakpointsPane::ConditionColumn, "i = 3");
        QVERIFY(s.pane()->refusal().isEmpty());
        QCOMPARE(s.editor.gutter()->breakpoints().front().condition, QString("i = 3"));
        QCOMPARE(tree->topLevelItem(0), row);  // updated in place
        s.Trigger("mnuContinue");
        QTRY_COMPARE_WITH_TIMEOUT(s.PauseI(), QString("3"), kWorkerTimeout);

        // Disabled by a click on its check box (the row lives on).
        ClickCheckBox(*tree, *row);
        QTRY_VERIFY(!s.editor.gutter()->breakpoints().front().enabled);
        QCOMPARE(tree->topLevelItem(0)->checkState(BreakpointsPane::FileColumn), Qt::Unchecked);

        tree->setCurrentItem(row);
        s.pane()->findChild<QPushButton*>("removeBreakpoint")->click();
        QVERIFY(s.editor.gutter()->breakpoints().empty());
        QTRY_COMPARE(tree->topLevelItemCount(), 0);
        s.editor.gutter()->toggleBreakpoint(4);
        s.editor.gutter()->toggleBreakpoint(6);
        QTRY_COMPARE(tree->topLevelItemCount(), 2);
        s.pane()->findChild<QPushButton*>("removeAllBreakpoints")->click();
        QVERIFY(s.editor.gutter()->breakpoints().empty());
        QTRY_COMPARE(tree->topLevelItemCount(), 0);
        s.Trigger("mnuContinue");
        s.WaitForTheEnd();
    }

    // Beside the target, how often the run reached each breakpoint by the
    // pause, as the worker's debugger counts it; a new program starts over.
    void hitsSoFarShowAtEachPause() {
        Session s;
        s.editor.gutter()->setBreakpoint({4, true, "", 3});
        s.editor.gutter()->setBreakpoint({5, true, "i = 2", 0});
        QVERIFY(StartAtAddressOne(s.windows, *s.compiled));
        QTreeWidget* tree = s.pane()->tree();
        const auto hits = [tree](int row) {
            return tree->topLevelItem(row)->text(BreakpointsPane::HitsColumn);
        };
        // Paused on line 5 in the second pass: line 4 was reached twice.
        QTRY_COMPARE_WITH_TIMEOUT(s.editor.gutter()->executionLine(), 5, kWorkerTimeout);
        QTRY_COMPARE(tree->topLevelItemCount(), 2);
        QTRY_COMPARE(hits(0), QString("2"));
        QCOMPARE(hits(1), QString("1"));
        QCOMPARE(tree->topLevelItem(0)->text(BreakpointsPane::HitCountColumn), QString("3"));
        s.Trigger("mnuContinue");
        QTRY_COMPARE_WITH_TIMEOUT(s.PauseI(), QString("3"), kWorkerTimeout);
        QTRY_COMPARE(hits(0), QString("3"));
        // The target stays editable beside the count.
        tree->topLevelItem(0)->setText(BreakpointsPane::HitCountColumn, "5");
        QCOMPARE(s.editor.gutter()->breakpoints().front().hitCount, 5);
        QCOMPARE(hits(0), QString("3"));

        // "Запустить программу" starts the counts afresh: a run that never
        // pauses shows none, not the last run's.
        s.editor.gutter()->setBreakpoint({4, false, "", 5});
        s.editor.gutter()->setBreakpoint({5, false, "i = 2", 0});
        s.Trigger("mnuStartProgram");
        QTRY_COMPARE_WITH_TIMEOUT(hits(0), QString(), kWorkerTimeout);

        s.windows.OpenEmulator(*s.compiled, EmulatorStart::AfterRun);
        QTRY_COMPARE(hits(0), QString());
    }

    void disabledBreakpointDoesNotStopUntilEnabled() {
        Session s;
        s.editor.gutter()->setBreakpoint({4, false, "", 0});
        s.editor.gutter()->setBreakpoint({5, true, "i = 2", 0});
        QVERIFY(StartAtAddressOne(s.windows, *s.compiled));
        QTRY_VERIFY_WITH_TIMEOUT(s.window()->runStateText().startsWith("Пауза"), kWorkerTimeout);
        QTRY_COMPARE(s.editor.gutter()->executionLine(), 5);
        s.editor.gutter()->setBreakpoint({4, true, "", 0});
        s.Trigger("mnuContinue");
        QTRY_COMPARE_WITH_TIMEOUT(s.PauseI(), QString("3"), kWorkerTimeout);
    }

    void conditionRefusals() {
        const auto compiled = Compile(kLoopProgram);
        const struct {
            const char* condition;
            const char* says;  // empty: accepted
        } cases[] = {{"sum >= 10", ""},         {"", ""},       {"nope = 1", "«nope»"},
                     {"sum", "имя знак число"}, {"i <> 0", ""}, {"ADC = 1", "не переменная"}};
        for (const auto& c : cases) {
            const QString refusal = ConditionRefusal(c.condition, compiled->names);
            if (*c.says) {
                QVERIFY2(refusal.contains(c.says), qPrintable(refusal));
            } else {
                QVERIFY2(refusal.isEmpty(), qPrintable(refusal));
            }
        }
        // Nothing compiled yet: only the form counts.
        QVERIFY(ConditionRefusal("nope = 1", {}).isEmpty());
        QVERIFY(!ConditionRefusal("nope 1", {}).isEmpty());
        QCOMPARE(HitCountOf(""), 0);
        QCOMPARE(HitCountOf(" 3 "), 3);
        QCOMPARE(HitCountOf("-2"), -1);
        QCOMPARE(HitCountOf("x"), -1);
    }

    void gutterDrawsDisabledHollowAndConditionalBarred() {
        SourceEditor editor;
        editor.setPlainText("1 Drop\n");
        editor.resize(300, 200);
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        EditorGutter* gutter = editor.gutter();
        int red[3] = {};
        const BreakpointEntry kinds[] = {
            {1, true, "", 0}, {1, true, "a > 1", 0}, {1, false, "", 0}};
        for (int k = 0; k < 3; ++k) {
            gutter->setBreakpoint(kinds[k]);
            red[k] = RedPixelsOfTheDot(*gutter, editor.font());
        }
        QVERIFY2(red[0] > red[1] && red[1] > red[2] && red[2] > 0,
                 qPrintable(QString("%1 %2 %3").arg(red[0]).arg(red[1]).arg(red[2])));
    }
};

QTEST_MAIN(BreakpointsPaneTest)
#include "breakpoints_pane_test.moc"
