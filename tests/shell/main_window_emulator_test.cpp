// The main window with the emulator windows installed: the run command opens
// the emulator window, the trace command's check mark follows TraceOn.
#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

#include "emulator_test_support.h"
#include "shell/debugger/frm_trac.h"
#include "shell/debugger/variables_pane.h"
#include "shell/debugger/watches_pane.h"
#include "shell/device/emulator_windows.h"
#include "shell/editor/editor_gutter.h"
#include "shell/editor/editor_hover.h"
#include "shell/editor/language_features.h"
#include "shell_test_support.h"

using namespace zr::shell;
using namespace zr::shell::testing;

class MainWindowEmulatorTest : public QObject {
    Q_OBJECT

  private slots:
    void runCommandOpensTheEmulatorWindowAndClosingTheMainWindowEndsIt() {
        TestWindow main;
        EmulatorWindows* windows = EmulatorWindows::InstallInto(*main.window);
        main.setText("! [1,1,clr] \"Hello\"\n-1 Wait\n");
        main.window->findChild<QAction*>("mnuRun")->trigger();
        QVERIFY(windows->emulatorWindow());
        QTRY_COMPARE_WITH_TIMEOUT(windows->emulatorWindow()->displayLine(1).trimmed(),
                                  QString("ZR-7340 vers.B01"), kWorkerTimeout);
        // The emulator command with the window open brings the same window forward.
        FrmTest* open = windows->emulatorWindow();
        main.window->findChild<QAction*>("mnuEmulator")->trigger();
        QCOMPARE(windows->emulatorWindow(), open);
        // Closing the main window ends the emulator.
        main.prompts->unsavedChoices = {UnsavedChoice::Discard};
        main.window->show();
        QVERIFY(main.window->close());
        QTRY_VERIFY(!windows->emulatorWindow());
        QVERIFY(!windows->worker().running());
    }

    // The panes say when what they show is no longer current, and F9 in the
    // emulator window compiles the editor's text as in the main window.
    void panesSayWhenTheyAreStaleAndF9CompilesFromTheEmulatorWindow() {
        TestWindow main;
        EmulatorWindows* windows = EmulatorWindows::InstallInto(*main.window);
        main.setText("! [1,1,clr] \"Hello\"\nEnd\n");
        main.window->findChild<QAction*>("mnuRun")->trigger();
        FrmTest* window = windows->emulatorWindow();
        QVERIFY(window);
        QCOMPARE(window->staleNote(), QString());  // not run yet: nothing has ended
        ZR_WAIT_LINE1(window, "ZR-7340 vers.B01");
        ClickKey(*window, 1);
        ZR_WAIT_PROMPT(window);
        ClickKey(*window, kKeyEnter);  // runs "Hello", then End: back at the prompt
        QTRY_COMPARE_WITH_TIMEOUT(window->staleNote(), QString("Программа завершена"),
                                  kWorkerTimeout);
        QVERIFY(!window->variablesPane()->isEnabled());
        QVERIFY(!window->findChild<WatchesPane*>()->isEnabled());

        QTest::keyClicks(main.editor(), "Dup ");
        QTRY_COMPARE_WITH_TIMEOUT(window->staleNote(),
                                  QString("Текст изменён — скомпилируйте заново (F9)"), 3000);
        for (int i = 0; i < 4; ++i) QTest::keyClick(main.editor(), Qt::Key_Backspace);
        QTRY_COMPARE_WITH_TIMEOUT(window->staleNote(), QString("Программа завершена"), 3000);

        // F9 from the emulator window: the text is compiled and loaded afresh.
        QVERIFY(window->actions().contains(main.window->findChild<QAction*>("mnuRun")));
        main.setText("! [1,1,clr] \"Again\"\n-1 Wait\n");
        const int reports = static_cast<int>(main.prompts->reports.size());
        main.window->findChild<QAction*>("mnuRun")->trigger();
        QCOMPARE(static_cast<int>(main.prompts->reports.size()), reports + 1);
        QCOMPARE(window->staleNote(), QString());

        // "Запустить программу" after the text changed (as after opening
        // another file) compiles and runs what the editor shows.
        main.setText("! [1,1,clr] \"Other\"\n-1 Wait\n");
        window->findChild<QAction*>("mnuStartProgram")->trigger();
        QCOMPARE(static_cast<int>(main.prompts->reports.size()), reports + 2);
        QCOMPARE(window->staleNote(), QString());
        windows->EndEmulator();
    }

    // While paused, the hover on a declared name adds its value; not before
    // the pause, nor once the text changed.
    void hoverShowsAValueWhilePaused() {
        TestWindow main;
        EmulatorWindows* windows = EmulatorWindows::InstallInto(*main.window);
        main.setText("DimB b1\n7 -> b1\nb1 1 + -> b1\n-1 Wait\n");
        main.editor()->gutter()->toggleBreakpoint(3);
        main.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(main.window.get()));
        EditorHover& hover = main.window->languageFeatures()->hover();
        const int word = main.editor()->toPlainText().indexOf("b1 1");
        QTextCursor at(main.editor()->document());
        at.setPosition(word + 1);
        const QPoint point = main.editor()->cursorRect(at).center();
        QVERIFY(!hover.TextAt(point).contains("Значение"));

        main.window->findChild<QAction*>("mnuRun")->trigger();
        FrmTest* window = windows->emulatorWindow();
        QVERIFY(window);
        ZR_WAIT_LINE1(window, "ZR-7340 vers.B01");
        ClickKey(*window, 1);
        ZR_WAIT_PROMPT(window);
        ClickKey(*window, kKeyEnter);
        QTRY_VERIFY_WITH_TIMEOUT(window->runStateText().startsWith("Пауза"), kWorkerTimeout);
        QTRY_VERIFY2(hover.TextAt(point).contains("Значение (пауза): 7"),
                     qPrintable(hover.TextAt(point)));
        windows->EndEmulator();
    }

    void debugMenuHoldsTheBreakpointAndStepCommandsWhileTheEmulatorIsOpen() {
        TestWindow main;
        EmulatorWindows* windows = EmulatorWindows::InstallInto(*main.window);
        auto* debugMenu = main.window->findChild<QMenu*>("mnuTool1");
        QVERIFY(debugMenu->actions().contains(main.window->findChild<QAction*>("mnuBreakpoint")));
        main.setText("-1 Wait\n");
        main.window->findChild<QAction*>("mnuRun")->trigger();
        QVERIFY(windows->emulatorWindow());
        QVERIFY(debugMenu->actions().contains(
            windows->emulatorWindow()->findChild<QAction*>("mnuContinue")));
        windows->EndEmulator();
        QTRY_VERIFY(main.window->findChildren<FrmTest*>().isEmpty());
        for (QAction* action : debugMenu->actions()) QVERIFY(action->objectName() != "mnuContinue");
    }

    void traceCheckMarkFollowsTraceOn() {
        TestWindow main;
        EmulatorWindows* windows = EmulatorWindows::InstallInto(*main.window);
        QAction* trace = main.window->findChild<QAction*>("mnuTrass");
        trace->trigger();
        QVERIFY(trace->isChecked());
        QVERIFY(windows->traceWindow());
        windows->traceWindow()->findChild<QPushButton*>("Command1")->click();
        QVERIFY(!trace->isChecked());
        trace->trigger();
        QVERIFY(trace->isChecked());
        trace->trigger();
        QVERIFY(!trace->isChecked());
        QVERIFY(!windows->traceWindow());
    }
};

QTEST_MAIN(MainWindowEmulatorTest)
#include "main_window_emulator_test.moc"
