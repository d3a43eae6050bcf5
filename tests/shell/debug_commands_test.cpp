// The debugger in the emulator window: a run stops before a statement with
// a breakpoint and marks it; the stepping commands, run to cursor, pause and
// step back move the mark; Continue runs to the end.
#include <QAction>
#include <QDockWidget>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTextBlock>
#include <QtTest>
#include <filesystem>

#include "emulator_test_support.h"
#include "shell/debugger/breakpoint_store.h"
#include "shell/debugger/call_stack_pane.h"
#include "shell/debugger/library_view.h"
#include "shell/debugger/listing_pane.h"
#include "shell/debugger/variables_pane.h"
#include "shell/debugger/watches_pane.h"
#include "shell/editor/editor_gutter.h"
#include "shell/editor/source_editor.h"

using namespace zr::shell;
using namespace zr::shell::testing;

namespace {

const char* kProgram =
    "DimB b1\n"
    "1 -> b1\n"
    "b1 1 + -> b1\n"
    "! [1,1,clr] \"Done\"\n"
    "-1 Wait\n";

// Two declared names beside the predeclared ones; b1 changes between the
// breakpoints on lines 4 and 5, the array does not.
const char* kVariablesProgram =
    "DimB b1\n"
    "DimI t(3)\n"
    "1 -> b1\n"
    "b1 1 + -> b1\n"
    "! [1,1,clr] \"Done\"\n"
    "-1 Wait\n";

// A routine called from line 2; the breakpoint goes inside it, on line 5.
const char* kCallProgram =
    "DimB b1\n"
    "Call Twice\n"
    "-1 Wait\n"
    "Twice:\n"
    "2 -> b1\n"
    "Ret\n";

// Runs until stopped: only Pause breaks into it.
const char* kEndlessProgram =
    "Top:\n"
    "1 Drop\n"
    "GoTo Top\n";

}  // namespace

class DebugCommandsTest : public QObject {
    Q_OBJECT

  private:
    struct Session {
        SourceEditor editor;
        std::unique_ptr<zr::compiler::Compiler> compiled;
        EmulatorWindows windows{nullptr, &editor, nullptr};

        explicit Session(const char* program = kProgram) : compiled(Compile(program)) {
            editor.setPlainText(program);
        }
        FrmTest* window() const { return windows.emulatorWindow(); }
        void Trigger(const char* command) const {
            window()->findChild<QAction*>(command)->trigger();
        }
        // Waits for the pause whose mark is on `statement`; a data
        // breakpoint's pause says more after "Пауза".
        void WaitForPauseAt(const QString& statement) const {
            QTRY_COMPARE_WITH_TIMEOUT(editor.executionMarkText(), statement, kWorkerTimeout);
            QTRY_VERIFY_WITH_TIMEOUT(window()->runStateText().startsWith("Пауза"), kWorkerTimeout);
        }
        int MarkedPosition() const {
            return editor.extraSelections().value(0).cursor.selectionStart();
        }
        void PutCaretOnLine(int line) {
            editor.setTextCursor(QTextCursor(editor.document()->findBlockByNumber(line - 1)));
        }
    };

  private slots:
    // Paused inside a routine, the call stack shows the statement about to
    // run and the Call waiting for it; a double click shows the Call's line.
    void callStackShowsTheCallerOfARoutine() {
        Session s(kCallProgram);
        s.editor.gutter()->toggleBreakpoint(5);
        QVERIFY(StartAtAddressOne(s.windows, *s.compiled));
        s.WaitForPauseAt("2");
        CallStackPane* pane = s.window()->callStackPane();
        QTRY_COMPARE(pane->topLevelItemCount(), 2);
        QCOMPARE(pane->topLevelItem(0)->text(0), QString("Текущий оператор"));
        QCOMPARE(pane->topLevelItem(0)->text(1), QString("5"));
        QCOMPARE(pane->topLevelItem(1)->text(0), QString("Вызов (Call)"));
        QCOMPARE(pane->topLevelItem(1)->text(1), QString("2"));
        emit pane->itemDoubleClicked(pane->topLevelItem(1), 0);
        QCOMPARE(s.editor.textCursor().blockNumber() + 1, 2);
        s.Trigger("mnuStepOut");  // past Ret: back in the main text, one level
        QTRY_COMPARE_WITH_TIMEOUT(pane->topLevelItemCount(), 1, kWorkerTimeout);
    }

    // Step into a library routine: the library's text shows in its tab with
    // the statement marked, and the program's own text keeps no mark.
    void stepIntoALibraryRoutineShowsItsText() {
        Session s("$Lib stackmath\n3\nCall Cube\n-1 Wait\n");
        s.compiled = std::make_unique<zr::compiler::Compiler>();
        s.compiled->libraryFolder = std::filesystem::path(ZR_SOURCE_DIR) / "libraries";
        QVERIFY(s.compiled->CompileSource(
            zr::compiler::ToCompilerText("$Lib stackmath\n3\nCall Cube\n-1 Wait\n")));
        s.editor.gutter()->toggleBreakpoint(3);
        QVERIFY(StartAtAddressOne(s.windows, *s.compiled));
        s.WaitForPauseAt("Call Cube");
        QVERIFY(s.window()->findChild<QDockWidget*>("libraryDock")->isHidden());
        // The listing names the library's lines as keltoc --listing does.
        ListingPane* listing = s.window()->listingPane();
        QVERIFY(!listing->findItems("; stackmath.bib 5: Cube: Dup Dup * *", Qt::MatchExactly)
                     .isEmpty());
        s.Trigger("mnuStepInto");
        LibraryView* library = s.window()->libraryView();
        QTRY_COMPARE_WITH_TIMEOUT(library->executionMarkText(), QString("Dup"), kWorkerTimeout);
        QVERIFY(library->toPlainText().contains("Cube: Dup Dup * *"));
        QVERIFY(library->isReadOnly());
        QVERIFY(!s.editor.hasExecutionMark());
        QVERIFY(s.window()
                    ->findChild<QDockWidget*>("libraryDock")
                    ->windowTitle()
                    .endsWith("stackmath.bib"));
        s.Trigger("mnuStepOut");  // back in the program: its own mark again
        QTRY_VERIFY_WITH_TIMEOUT(s.editor.hasExecutionMark(), kWorkerTimeout);
        QVERIFY(!library->hasExecutionMark());
    }

    void runStopsAtBreakpointAndStepsMoveTheMark() {
        Session s;
        s.editor.gutter()->toggleBreakpoint(3);
        QVERIFY(StartAtAddressOne(s.windows, *s.compiled));
        s.WaitForPauseAt("b1");
        QCOMPARE(s.window()->displayLine(1).trimmed(), QString());  // nothing of line 4 yet
        // The mark selects nothing: the caret stays where the user left it,
        // and a key typed into the editor goes there, not over the statement.
        QCOMPARE(s.editor.textCursor().position(), 0);
        QVERIFY(!s.editor.textCursor().hasSelection());
        QCOMPARE(s.editor.gutter()->executionLine(), 3);
        const QString text = s.editor.toPlainText();
        QTest::keyClick(&s.editor, Qt::Key_5);
        QCOMPARE(s.editor.toPlainText(), "5" + text);
        QCOMPARE(s.editor.executionMarkText(), QString("b1"));
        s.editor.undo();

        s.Trigger("mnuStepInto");
        s.WaitForPauseAt("1");
        s.Trigger("mnuStepBack");  // back to the breakpoint's stop, then on again
        s.WaitForPauseAt("b1");
        s.Trigger("mnuStepInto");
        s.WaitForPauseAt("1");
        s.Trigger("mnuStepOver");
        s.WaitForPauseAt("+");
        s.PutCaretOnLine(4);
        s.Trigger("mnuRunToCursor");
        s.WaitForPauseAt("! [1,1,clr] \"Done\"");
        // A breakpoint set now holds the next run through line 5.
        s.editor.gutter()->toggleBreakpoint(5);
        s.Trigger("mnuContinue");
        s.WaitForPauseAt("-1");
        ZR_WAIT_LINE1(s.window(), "Done");

        s.Trigger("mnuContinue");
        QTRY_COMPARE_WITH_TIMEOUT(s.window()->runStateText(), QString("Ждёт нажатия клавиши"),
                                  kWorkerTimeout);
    }

    // Without any breakpoint: Pause breaks into an endless loop, steps keep
    // the history, and step back returns to the stop before.
    void pauseWithoutBreakpointsThenStepBack() {
        Session s(kEndlessProgram);
        QVERIFY(StartAtAddressOne(s.windows, *s.compiled));
        // Paused while the loop runs: a pause that lands before the first
        // instruction, on the heels of the Enter, then a step, does not always
        // move on yet.
        QTRY_VERIFY_WITH_TIMEOUT(s.window()->instructionCountText() != QString("Команд: 0"),
                                 kWorkerTimeout);
        s.Trigger("mnuPause");
        QTRY_COMPARE_WITH_TIMEOUT(s.window()->runStateText(), QString("Пауза"), kWorkerTimeout);
        // The pause holds until the next command, so its mark settles.
        QTRY_VERIFY_WITH_TIMEOUT(!s.editor.executionMarkText().isEmpty(), kWorkerTimeout);
        QTest::qWait(200);
        // Consecutive stops of the three-statement loop lie at different places.
        const int paused = s.MarkedPosition();
        s.Trigger("mnuStepInto");
        QTRY_VERIFY_WITH_TIMEOUT(s.MarkedPosition() != paused, kWorkerTimeout);
        const int first = s.MarkedPosition();
        s.Trigger("mnuStepInto");
        QTRY_VERIFY_WITH_TIMEOUT(s.MarkedPosition() != first, kWorkerTimeout);
        const int second = s.MarkedPosition();
        s.Trigger("mnuStepBack");
        QTRY_COMPARE_WITH_TIMEOUT(s.MarkedPosition(), first, kWorkerTimeout);
        s.Trigger("mnuStepInto");
        QTRY_COMPARE_WITH_TIMEOUT(s.MarkedPosition(), second, kWorkerTimeout);
    }

    // A pause asked for while the program waits for a key pauses in the
    // wait, on the statement that waits, and is gone with its run: the next
    // start runs freely.
    void pauseDuringAKeyWaitPausesThereAndDiesWithTheRun() {
        Session s(kTwoWaits);
        QVERIFY(StartAtAddressOne(s.windows, *s.compiled));
        ZR_WAIT_LINE1(s.window(), "First");
        QTRY_COMPARE_WITH_TIMEOUT(s.window()->runStateText(), QString("Ждёт нажатия клавиши"),
                                  kWorkerTimeout);
        s.Trigger("mnuPause");
        s.WaitForPauseAt("Wait");
        QCOMPARE(s.editor.gutter()->executionLine(), 2);
        s.Trigger("mnuStepBack");  // not from inside a wait: the pause stays
        QTest::qWait(100);
        QCOMPARE(s.editor.executionMarkText(), QString("Wait"));
        s.Trigger("mnuContinue");
        QTRY_COMPARE_WITH_TIMEOUT(s.window()->runStateText(), QString("Ждёт нажатия клавиши"),
                                  kWorkerTimeout);
        QVERIFY(!s.editor.hasExecutionMark());
        ClickKey(*s.window(), 1);
        ZR_WAIT_LINE1(s.window(), "Second");

        // Asked for at the last wait and answered by a new start, it is gone.
        s.Trigger("mnuPause");
        s.WaitForPauseAt("Wait");
        s.Trigger("mnuStepInto");  // armed: would stop at the next statement
        QTRY_COMPARE_WITH_TIMEOUT(s.window()->runStateText(), QString("Ждёт нажатия клавиши"),
                                  kWorkerTimeout);
        s.window()->findChild<QAction*>("mnuStartProgram")->trigger();
        ZR_WAIT_LINE1(s.window(), "First");
        QTRY_COMPARE_WITH_TIMEOUT(s.window()->runStateText(), QString("Ждёт нажатия клавиши"),
                                  kWorkerTimeout);
        QVERIFY(!s.editor.hasExecutionMark());
    }

    void pausedVariablesShowWithChangesHighlighted() {
        Session s(kVariablesProgram);
        s.editor.gutter()->toggleBreakpoint(4);
        s.editor.gutter()->toggleBreakpoint(5);
        QVERIFY(StartAtAddressOne(s.windows, *s.compiled));
        s.WaitForPauseAt("b1");
        VariablesPane* pane = s.window()->variablesPane();
        QTRY_VERIFY_WITH_TIMEOUT(
            pane->itemNamed("b1") && pane->itemNamed("b1")->text(VariablesPane::kValue) == "1",
            kWorkerTimeout);
        // The rows as variable_rows_test checks them, with the paused values.
        QCOMPARE(pane->itemNamed("t")->text(VariablesPane::kKind),
                 QString("массив целых (Integer) из 3"));
        QCOMPARE(pane->itemNamed("t")->childCount(), 3);
        QCOMPARE(pane->itemNamed("t(2)")->text(VariablesPane::kValue), QString("0"));
        QVERIFY(!VariablesPane::IsHighlighted(*pane->itemNamed("b1")));  // the first pause

        s.Trigger("mnuContinue");
        s.WaitForPauseAt("! [1,1,clr] \"Done\"");
        QTRY_COMPARE_WITH_TIMEOUT(pane->itemNamed("b1")->text(VariablesPane::kValue), QString("2"),
                                  kWorkerTimeout);
        QVERIFY(VariablesPane::IsHighlighted(*pane->itemNamed("b1")));
        QVERIFY(!VariablesPane::IsHighlighted(*pane->itemNamed("t(2)")));
        QVERIFY(!VariablesPane::IsHighlighted(*pane->itemNamed("i")));
    }

    void pausedVariablesRefreshAtTheSameBreakpointAgain() {
        Session s(kLoopProgram);
        s.editor.gutter()->toggleBreakpoint(4);
        QVERIFY(StartAtAddressOne(s.windows, *s.compiled));
        s.WaitForPauseAt("sum");
        VariablesPane* pane = s.window()->variablesPane();
        QTRY_COMPARE_WITH_TIMEOUT(pane->itemNamed("i")->text(VariablesPane::kValue), QString("1"),
                                  kWorkerTimeout);
        for (const char* sum : {"1", "3"}) {
            s.Trigger("mnuContinue");
            QTRY_COMPARE_WITH_TIMEOUT(pane->itemNamed("sum")->text(VariablesPane::kValue),
                                      QString(sum), kWorkerTimeout);
            QVERIFY(VariablesPane::IsHighlighted(*pane->itemNamed("sum")));
            QVERIFY(VariablesPane::IsHighlighted(*pane->itemNamed("i")));
            QCOMPARE(s.window()->runStateText(), QString("Пауза"));
        }
    }

    void watchedVariablesPinAndBreakOnChange() {
        Session s(kVariablesProgram);
        s.editor.gutter()->toggleBreakpoint(3);
        QVERIFY(StartAtAddressOne(s.windows, *s.compiled));
        s.WaitForPauseAt("1");
        VariablesPane* pane = s.window()->variablesPane();
        QTRY_VERIFY_WITH_TIMEOUT(pane->itemNamed("b1")->text(VariablesPane::kValue) == "0",
                                 kWorkerTimeout);
        QList<QAction*> actions = pane->ActionsFor(pane->itemNamed("t(2)"));
        QCOMPARE(actions.size(), 2);
        actions[0]->trigger();  // pinned, not breaking
        actions = pane->ActionsFor(pane->itemNamed("b1"));
        QCOMPARE(actions[1]->text(), QString("Останавливать при изменении"));
        actions[1]->trigger();  // pins it and breaks on change
        QCOMPARE(pane->watches(), QStringList({"t(2)", "b1"}));
        QCOMPARE(pane->topLevelItem(1), pane->watchNamed("b1"));
        QCOMPARE(pane->watchNamed("b1")->checkState(VariablesPane::kName), Qt::Checked);
        QCOMPARE(pane->dataBreakpointOperands(), std::vector<int>{33});  // Byte 1
        QVERIFY(!pane->ActionsFor(pane->itemNamed("PORT"))[1]->isEnabled());

        // Without the line breakpoint the change of b1 pauses before the next statement.
        s.editor.gutter()->toggleBreakpoint(3);
        s.Trigger("mnuContinue");
        s.WaitForPauseAt("b1");
        QTRY_COMPARE_WITH_TIMEOUT(pane->watchNamed("b1")->text(VariablesPane::kValue), QString("1"),
                                  kWorkerTimeout);
        QVERIFY(VariablesPane::IsHighlighted(*pane->watchNamed("b1")));
        // The status line names the watch that changed and its new value.
        QTRY_COMPARE_WITH_TIMEOUT(s.window()->runStateText(), QString("Пауза: изменилась b1 = 1"),
                                  kWorkerTimeout);
        s.Trigger("mnuContinue");
        s.WaitForPauseAt("! [1,1,clr] \"Done\"");
        QTRY_COMPARE_WITH_TIMEOUT(s.window()->runStateText(), QString("Пауза: изменилась b1 = 2"),
                                  kWorkerTimeout);
        // A step from there is a plain pause again.
        s.Trigger("mnuStepInto");
        s.WaitForPauseAt("-1");
        QTRY_COMPARE_WITH_TIMEOUT(s.window()->runStateText(), QString("Пауза"), kWorkerTimeout);

        // Cleared by a click on its check box, the watch stays pinned (the
        // same row: Qt is still handling the click on it) and the run goes on.
        QTreeWidgetItem* watch = pane->watchNamed("b1");
        constexpr int kMarkRole = Qt::UserRole + 50;  // a rebuilt row would not carry it
        watch->setData(VariablesPane::kName, kMarkRole, true);
        ClickCheckBox(*pane, *watch);
        QCOMPARE(pane->watchNamed("b1"), watch);
        QVERIFY(watch->data(VariablesPane::kName, kMarkRole).toBool());
        QCOMPARE(watch->checkState(VariablesPane::kName), Qt::Unchecked);
        QVERIFY(pane->dataBreakpointOperands().empty());
        ClickCheckBox(*pane, *watch);
        QCOMPARE(pane->dataBreakpointOperands(), std::vector<int>{33});
        ClickCheckBox(*pane, *watch);
        QVERIFY(pane->dataBreakpointOperands().empty());
        QCOMPARE(pane->watches().size(), 2);
        s.Trigger("mnuContinue");
        ZR_WAIT_LINE1(s.window(), "Done");
    }

    // "Контрольные значения" shows the Variables pane's watches: a pin, a
    // check or an unpin in either shows in both, with the values of the pause.
    void watchesPaneSharesTheWatchesOfTheVariablesPane() {
        Session s(kVariablesProgram);
        s.editor.gutter()->toggleBreakpoint(4);
        QVERIFY(StartAtAddressOne(s.windows, *s.compiled));
        s.WaitForPauseAt("b1");
        VariablesPane* variables = s.window()->variablesPane();
        auto* watches = s.window()->findChild<WatchesPane*>();
        QVERIFY(watches);
        // A tab beside the Variables pane.
        auto* variablesDock = s.window()->findChild<QDockWidget*>("variablesDock");
        QVERIFY(s.window()->tabifiedDockWidgets(variablesDock).contains(watches->parentWidget()));
        QCOMPARE(watches->parentWidget()->objectName(), QString("watchesDock"));
        QTRY_COMPARE_WITH_TIMEOUT(variables->itemNamed("b1")->text(VariablesPane::kValue),
                                  QString("1"), kWorkerTimeout);
        const auto text = [watches](const char* name, int column) {
            QTreeWidgetItem* row = watches->rowNamed(name);
            return row ? row->text(column) : QString("(none)");
        };

        variables->ActionsFor(variables->itemNamed("b1"))[0]->trigger();
        QCOMPARE(text("b1", WatchesPane::ValueColumn), QString("1"));
        QCOMPARE(text("b1", WatchesPane::KindColumn), QString("байт (Byte)"));
        auto* name = watches->findChild<QLineEdit*>("watchName");
        name->setText("nope");
        QTest::keyClick(name, Qt::Key_Return);
        QVERIFY(watches->refusal().contains("«nope»"));
        name->setText("T(2)");
        QTest::keyClick(name, Qt::Key_Return);
        QVERIFY(watches->refusal().isEmpty());
        QCOMPARE(variables->watches(), QStringList({"b1", "t(2)"}));
        QVERIFY(variables->watchNamed("t(2)"));
        QCOMPARE(text("t(2)", WatchesPane::ValueColumn), QString("0"));

        // Checked in the Watches pane: the same row lives on, the Variables
        // pane's copy is checked, and b1's change pauses the run.
        QTreeWidgetItem* b1 = watches->rowNamed("b1");
        ClickCheckBox(*watches->tree(), *b1);
        QCOMPARE(watches->rowNamed("b1"), b1);
        QCOMPARE(variables->watchNamed("b1")->checkState(VariablesPane::kName), Qt::Checked);
        QCOMPARE(variables->dataBreakpointOperands(), std::vector<int>{33});
        s.editor.gutter()->toggleBreakpoint(4);
        s.Trigger("mnuContinue");
        s.WaitForPauseAt("! [1,1,clr] \"Done\"");
        QTRY_COMPARE_WITH_TIMEOUT(text("b1", WatchesPane::ValueColumn), QString("2"),
                                  kWorkerTimeout);
        QVERIFY(WatchesPane::IsHighlighted(*watches->rowNamed("b1")));
        QVERIFY(!WatchesPane::IsHighlighted(*watches->rowNamed("t(2)")));

        // Unpinned in one, gone from both.
        watches->tree()->setCurrentItem(watches->rowNamed("b1"));
        watches->findChild<QPushButton*>("unpinWatch")->click();
        QVERIFY(!variables->watchNamed("b1"));
        QVERIFY(variables->dataBreakpointOperands().empty());
        variables->UnpinWatch("t(2)");
        QCOMPARE(watches->tree()->topLevelItemCount(), 0);
        s.Trigger("mnuContinue");
        ZR_WAIT_LINE1(s.window(), "Done");
    }

    // Closed and opened again, the window shows the same watches, and the
    // one that breaks on change still does; a saved file keeps its own.
    void watchedVariablesOutliveTheWindow() {
        QStandardPaths::setTestModeEnabled(true);
        QTemporaryDir folder;
        QString file;  // the text's file, none at first
        const WatchList kept{{"t(2)", "b1"}, {"b1"}};
        {
            Session s(kVariablesProgram);
            s.windows.setSourceFile([&file] { return file; });
            s.windows.OpenEmulator(*s.compiled, EmulatorStart::AfterRun);
            VariablesPane* pane = s.window()->variablesPane();
            pane->PinWatch("t(2)");
            pane->SetBreakOnChange("b1", true);
            QCOMPARE(pane->watchList(), kept);
            s.windows.EndEmulator();

            QVERIFY(StartAtAddressOne(s.windows, *s.compiled));
            pane = s.window()->variablesPane();
            QCOMPARE(pane->watchList(), kept);
            QCOMPARE(pane->watchNamed("b1")->checkState(VariablesPane::kName), Qt::Checked);
            // b1 changes on line 3 or 4 (it may hold 1 from before): the run pauses.
            QTRY_VERIFY_WITH_TIMEOUT(
                s.window()->runStateText().startsWith("Пауза: изменилась b1 ="), kWorkerTimeout);
            s.windows.EndEmulator();

            // A saved file has watches of its own, none yet.
            file = folder.filePath("saved.zrt");
            s.windows.OpenEmulator(*s.compiled, EmulatorStart::AfterRun);
            pane = s.window()->variablesPane();
            QCOMPARE(pane->watchList(), WatchList{});
            pane->PinWatch("b1");
            s.windows.EndEmulator();
        }
        // The file's watches are there in the next session too.
        Session again(kVariablesProgram);
        again.windows.setSourceFile([&file] { return file; });
        again.windows.OpenEmulator(*again.compiled, EmulatorStart::AfterRun);
        QCOMPARE(again.window()->variablesPane()->watches(), QStringList{"b1"});
        again.windows.EndEmulator();
        StoreWatches(file, {});
    }

    void listingHighlightsTheInstructionAtABreakpoint() {
        Session s;
        s.editor.gutter()->toggleBreakpoint(3);
        QVERIFY(StartAtAddressOne(s.windows, *s.compiled));
        s.WaitForPauseAt("b1");
        ListingPane* listing = s.window()->listingPane();
        QTRY_VERIFY_WITH_TIMEOUT(listing->highlightedRow() > 0, kWorkerTimeout);
        const int row = listing->highlightedRow();
        QCOMPARE(listing->item(row - 1)->text(), QString("; 3: b1 1 + -> b1"));
        QVERIFY2(listing->item(row)->text().contains("b1"), qPrintable(listing->item(row)->text()));

        // A click on a line of the listing shows its source line: the caret
        // goes there, nothing is selected.
        const QList<QListWidgetItem*> headers = listing->findItems("; 4:", Qt::MatchStartsWith);
        QCOMPARE(headers.size(), 1);
        listing->scrollToItem(headers[0]);
        QTest::mouseClick(listing->viewport(), Qt::LeftButton, {},
                          listing->visualItemRect(headers[0]).center());
        QCOMPARE(s.editor.textCursor().blockNumber(), 3);
        QVERIFY(!s.editor.textCursor().hasSelection());
        s.Trigger("mnuContinue");
        QTRY_COMPARE_WITH_TIMEOUT(listing->highlightedRow(), -1, kWorkerTimeout);
    }
};

QTEST_MAIN(DebugCommandsTest)
#include "debug_commands_test.moc"
