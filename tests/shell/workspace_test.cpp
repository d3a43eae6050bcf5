// "Единое окно": the emulator window's panes as docks of the main window, the
// same widgets moving both ways, the arrangement kept and reset, the choice
// remembered, and the keypad's keys reaching the device from a lent pane.
#include "shell/main_window/workspace.h"

#include <QAction>
#include <QDockWidget>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QSignalSpy>
#include <QToolBar>
#include <QtTest>

#include "emulator_test_support.h"
#include "shell/debugger/variables_pane.h"
#include "shell/device/display_history_pane.h"
#include "shell/device/emulator_windows.h"
#include "shell_test_support.h"

using namespace zr::shell;
using namespace zr::shell::testing;

namespace {

QMainWindow* WindowOf(const QWidget* pane) {
    return qobject_cast<QMainWindow*>(pane->window());
}

QMenu* EmulatorMenu(const FrmMain& main) {
    return main.findChild<QMenu*>("mnuEmulatorMenu");
}

QDockWidget* MainDock(const FrmMain& main, const char* name) {
    return main.findChild<QDockWidget*>(name, Qt::FindDirectChildrenOnly);
}

}  // namespace

class WorkspaceTest : public QObject {
    Q_OBJECT

    // Opens the emulator on the main window's program and waits for the greeting.
    static FrmTest* Run(TestWindow& main, EmulatorWindows& windows) {
        main.setText("! [1,1,clr] \"Hello\"\n-1 Wait\n");
        main.window->findChild<QAction*>("mnuRun")->trigger();
        FrmTest* window = windows.emulatorWindow();
        if (!window) return nullptr;
        [&] { ZR_WAIT_LINE1(window, "ZR-7340 vers.B01"); }();
        return QTest::currentTestFailed() ? nullptr : window;
    }

    // The main window shown with the emulator windows installed, one window chosen.
    static EmulatorWindows* InstallOneWindow(TestWindow& main) {
        main.window->show();
        EmulatorWindows* windows = EmulatorWindows::InstallInto(*main.window);
        windows->workspace()->setOneWindow(true);
        return windows;
    }

  private slots:
    void init() {
        QStandardPaths::setTestModeEnabled(true);
        QSettings(QSettings::UserScope, "zr7340", "zr7340-ide").clear();
    }

    void panesMoveIntoTheMainWindowAndBackWithTheirContents() {
        TestWindow main;
        main.window->show();
        EmulatorWindows* windows = EmulatorWindows::InstallInto(*main.window);
        FrmTest* emulator = Run(main, *windows);
        QVERIFY(emulator);
        VariablesPane* variables = emulator->variablesPane();
        DisplayHistoryPane* history = emulator->displayHistory();
        QTRY_VERIFY(history->toPlainText().contains("ZR-7340"));
        const QString screens = history->toPlainText();
        QVERIFY(!EmulatorMenu(*main.window)->menuAction()->isVisible());

        windows->workspace()->setOneWindow(true);
        QVERIFY(main.window->findChild<QAction*>("mnuOneWindow")->isChecked());
        QVERIFY(emulator->isHidden());
        QCOMPARE(WindowOf(variables), main.window.get());
        // The Watches pane goes with the Variables pane, and greys with it where it stands.
        QDockWidget* watches = MainDock(*main.window, "watchesDock");
        QVERIFY(watches);
        emulator->setStaleNote("Программа завершена");
        QVERIFY(!watches->widget()->isEnabled());
        emulator->setStaleNote({});
        // On the test's small screen the device may float; it is the main window's dock.
        QCOMPARE(emulator->deviceDock()->parentWidget(), main.window.get());
        QVERIFY(emulator->deviceDock()->isAncestorOf(emulator->keypad()));
        auto* debugBar = main.window->findChild<QToolBar*>("debugToolbar");
        QCOMPARE(debugBar->window(), main.window.get());
        QVERIFY(main.window->toolBarBreak(debugBar));  // a row of its own: nothing overflows
        // The same widgets: what they showed goes with them.
        QCOMPARE(emulator->variablesPane(), variables);
        QCOMPARE(history->toPlainText(), screens);
        QCOMPARE(emulator->displayLine(1).trimmed(), QString("ZR-7340 vers.B01"));
        QMenu* menu = EmulatorMenu(*main.window);
        QVERIFY(menu->menuAction()->isVisible());
        QVERIFY(menu->actions().contains(emulator->findChild<QAction*>("mnuEnd")));
        QVERIFY(menu->actions().contains(emulator->findChild<QAction*>("mnuStartProgram")));

        // The device still runs: a key on the lent keypad reaches it.
        ClickKey(*emulator, 1);
        ZR_WAIT_PROMPT(emulator);

        windows->workspace()->setOneWindow(false);
        QVERIFY(emulator->isVisible());
        QCOMPARE(WindowOf(variables), static_cast<QMainWindow*>(emulator));
        QCOMPARE(WindowOf(emulator->keypad()), static_cast<QMainWindow*>(emulator));
        QVERIFY(!MainDock(*main.window, "deviceDock"));
        QVERIFY(!MainDock(*main.window, "variablesDock"));
        QVERIFY(!menu->menuAction()->isVisible());
        QVERIFY(emulator->displayLine(1).startsWith("Adres\\Enter?"));

        // End from the main window's menu while lent: the panes go home first.
        windows->workspace()->setOneWindow(true);
        emulator->findChild<QAction*>("mnuEnd")->trigger();
        QVERIFY(!windows->emulatorWindow());
        QVERIFY(!MainDock(*main.window, "deviceDock"));
        QVERIFY(!menu->menuAction()->isVisible());
    }

    void theArrangementIsKeptAndResetBringsTheDefault() {
        TestWindow main;
        EmulatorWindows* windows = InstallOneWindow(main);
        QVERIFY(Run(main, *windows));
        QCOMPARE(main.window->dockWidgetArea(MainDock(*main.window, "deviceDock")),
                 Qt::RightDockWidgetArea);
        QCOMPARE(main.window->dockWidgetArea(MainDock(*main.window, "variablesDock")),
                 Qt::BottomDockWidgetArea);
        main.window->addDockWidget(Qt::LeftDockWidgetArea, MainDock(*main.window, "variablesDock"));
        MainDock(*main.window, "i2cDock")->close();
        windows->EndEmulator();

        FrmTest* again = Run(main, *windows);
        QVERIFY(again);
        QCOMPARE(main.window->dockWidgetArea(MainDock(*main.window, "variablesDock")),
                 Qt::LeftDockWidgetArea);
        QVERIFY(MainDock(*main.window, "i2cDock")->isHidden());

        main.window->findChild<QAction*>("mnuResetLayout")->trigger();
        QCOMPARE(main.window->dockWidgetArea(MainDock(*main.window, "variablesDock")),
                 Qt::BottomDockWidgetArea);
        QCOMPARE(main.window->dockWidgetArea(MainDock(*main.window, "deviceDock")),
                 Qt::RightDockWidgetArea);
        QVERIFY(!MainDock(*main.window, "i2cDock")->isHidden());
        // The library tab waits for a pause inside a library, also after a reset.
        QVERIFY(MainDock(*main.window, "libraryDock")->isHidden());
        windows->EndEmulator();
    }

    // The View menu lists every pane of the main window, so a closed one comes back.
    void theViewMenuBringsBackAClosedPane() {
        TestWindow main;
        EmulatorWindows* windows = InstallOneWindow(main);
        QVERIFY(Run(main, *windows));
        QDockWidget* console = MainDock(*main.window, "serialDock");
        console->close();
        QMenu* view = main.window->findChild<QMenu*>("mnuView");
        emit view->aboutToShow();
        QVERIFY(view->actions().contains(console->toggleViewAction()));
        QVERIFY(
            view->actions().contains(MainDock(*main.window, "problemsPane")->toggleViewAction()));
        console->toggleViewAction()->trigger();
        QVERIFY(console->isVisible());
        windows->EndEmulator();
    }

    void theChoiceIsRememberedAcrossRuns() {
        {
            TestWindow main;
            EmulatorWindows::InstallInto(*main.window)->workspace()->setOneWindow(true);
        }
        TestWindow main;
        main.window->show();
        EmulatorWindows* windows = EmulatorWindows::InstallInto(*main.window);
        QVERIFY(main.window->findChild<QAction*>("mnuOneWindow")->isChecked());
        FrmTest* emulator = Run(main, *windows);
        QVERIFY(emulator);
        QVERIFY(emulator->panesLent());
        QVERIFY(!emulator->isVisible());
        windows->EndEmulator();
    }

    // With focus in a lent pane the keypad's PC keys reach the device; in the
    // editor they stay the editor's.
    void keypadKeysReachTheDeviceFromALentPane() {
        TestWindow main;
        EmulatorWindows* windows = InstallOneWindow(main);
        FrmTest* emulator = Run(main, *windows);
        QVERIFY(emulator);
        main.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main.window.get()));
        QSignalSpy given(emulator, &FrmTest::keyGiven);
        emulator->variablesPane()->setFocus();
        QTest::keyClick(emulator->variablesPane(), Qt::Key_5);
        QCOMPARE(given.size(), 1);
        QCOMPARE(given.at(0).at(0).toInt(), 5);
        main.editor()->setFocus();
        QTest::keyClick(main.editor(), Qt::Key_5);
        QCOMPARE(given.size(), 1);
        windows->EndEmulator();
    }
};

QTEST_MAIN(WorkspaceTest)
#include "workspace_test.moc"
