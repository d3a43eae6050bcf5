// The main window as the user meets it: toolbar keys with their icons, the
// right-click menu and the one find and replace dialog.
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>

#include "shell/editor/find_replace_dialog.h"
#include "shell_test_support.h"

namespace zr::shell::testing {

class MainWindowLayoutTest : public QObject {
    Q_OBJECT

  private slots:
    void toolbarKeysHaveIconsAndAreComparedExactly() {
        TestWindow test;
        for (QAction* action : test.window->findChild<QToolBar*>("tbMain")->actions())
            QVERIFY2(action->isSeparator() || !action->icon().isNull(),
                     qPrintable(action->objectName()));
        test.setText("Dup End");
        test.prompts->unsavedChoices = {UnsavedChoice::Discard};
        test.window->onToolbarKey("New");  // not a key: nothing happens
        test.window->onToolbarKey("run");
        QCOMPARE(test.prompts->unsavedQuestions, 0);
        QVERIFY(test.prompts->reports.empty());
        test.window->onToolbarKey("Run");
        QCOMPARE(test.prompts->reports.size(), size_t(1));
        test.window->onToolbarKey("new");
        QCOMPARE(test.prompts->unsavedQuestions, 1);
    }

    void rightClickMenuIsTheEditMenu() {
        TestWindow test;
        test.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(test.window.get()));
        auto* editMenu = test.window->findChild<QMenu*>("menuEdit");
        QSignalSpy shown(editMenu, &QMenu::aboutToShow);
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(10, 10),
                                test.editor()->viewport()->mapToGlobal(QPoint(10, 10)));
        QApplication::sendEvent(test.editor()->viewport(), &event);
        QCOMPARE(shown.size(), 1);
        editMenu->hide();
    }

    void findAndReplaceShareOneModelessDialog() {
        TestWindow test;
        test.window->show();
        test.window->findChild<QAction*>("mnuEdit5")->trigger();
        auto* dialog = test.window->findChild<FindReplaceDialog*>();
        QVERIFY(dialog);
        QVERIFY(dialog->isVisible());
        QVERIFY(!dialog->isModal());
        test.window->onToolbarKey("Replace");
        QCOMPARE(test.window->findChildren<FindReplaceDialog*>().size(), 1);
    }
};

}  // namespace zr::shell::testing

QTEST_MAIN(zr::shell::testing::MainWindowLayoutTest)
#include "main_window_layout_test.moc"
