// The editor's keys and menus as users expect them: Replace on Ctrl+H, Undo
// and Redo in the Edit and context menus, status tips, "not found" and the
// wrap-around note in the find dialog, Qt's own texts in Russian, and the
// compile message for a name that is not an array.
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include "shell/editor/find_replace_dialog.h"
#include "shell/main_window/qt_translation.h"
#include "shell_test_support.h"

namespace zr::shell::testing {

class EditorCommandsTest : public QObject {
    Q_OBJECT

  private slots:
    void ctrlHOpensReplace() {
        TestWindow test;
        test.window->show();
        QVERIFY(QTest::qWaitForWindowActive(test.window.get()));
        test.editor()->setFocus();
        QTest::keyClick(test.editor(), Qt::Key_H, Qt::ControlModifier);
        auto* dialog = test.window->findChild<FindReplaceDialog*>();
        QVERIFY(dialog && dialog->isVisible());
        QVERIFY(dialog->findChild<QLineEdit*>("Text2")->isEnabled());  // replace mode
        dialog->close();
    }

    void undoAndRedoAreInTheEditAndContextMenu() {
        TestWindow test;
        auto* undo = test.window->findChild<QAction*>("mnuEditUndo");
        auto* redo = test.window->findChild<QAction*>("mnuEditRedo");
        QVERIFY(test.window->findChild<QMenu*>("menuEdit")->actions().contains(undo));
        QVERIFY(!undo->isEnabled());
        QTest::keyClicks(test.editor(), "swap");
        QVERIFY(undo->isEnabled());
        const QString typed = test.editor()->toPlainText();
        undo->trigger();
        QVERIFY(test.editor()->toPlainText() != typed);
        QVERIFY(redo->isEnabled());
        redo->trigger();
        QCOMPARE(test.editor()->toPlainText(), typed);
    }

    void everyMenuItemHasAStatusTip() {
        TestWindow test;
        for (QMenu* menu : test.window->findChildren<QMenu*>())
            for (QAction* action : menu->actions())
                if (!action->isSeparator() && action->isEnabled() &&
                    action->parent() == test.window.get())
                    QVERIFY2(!action->statusTip().isEmpty(), qPrintable(action->objectName()));
    }

    void findNextSaysNotFoundAndWrapsAroundWithANote() {
        QTextEdit editor;
        editor.setPlainText("Dup Swap Dup");
        QTextCursor cursor = editor.textCursor();
        cursor.setPosition(9);
        cursor.setPosition(12, QTextCursor::KeepAnchor);
        editor.setTextCursor(cursor);
        FindReplaceDialog dialog(&editor, nullptr);
        dialog.showFind();
        auto* note = dialog.findChild<QLabel*>("searchNote");
        auto* findNext = dialog.findChild<QPushButton*>("Command1");
        QTest::mouseClick(findNext, Qt::LeftButton);  // after the last one: from the start
        QCOMPARE(editor.textCursor().selectionStart(), 0);
        QVERIFY(note->text().contains("с начала"));
        QTest::mouseClick(findNext, Qt::LeftButton);
        QCOMPARE(editor.textCursor().selectionStart(), 9);
        QVERIFY(note->text().isEmpty());
        dialog.findChild<QLineEdit*>("Text1")->setText("Over");
        QTest::mouseClick(findNext, Qt::LeftButton);
        QCOMPARE(editor.textCursor().selectionStart(), 9);  // unchanged
        QCOMPARE(note->text(), QString("Не найдено: «Over»"));
    }

    void qtsOwnTextsAreRussian() {
        QVERIFY(InstallQtTranslation(*QCoreApplication::instance()));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString("Отмена"));
        // The help viewer's search widgets have a catalogue of their own.
        QCOMPARE(QCoreApplication::translate("QHelpSearchQueryWidget", "Search"), QString("Поиск"));
        QCOMPARE(QCoreApplication::translate("QHelpSearchResultWidget", "0 - 0 of 0 Hits"),
                 QString("0 - 0 из 0 совпадений"));
    }

    void seriesOnANameThatIsNotAnArraySaysSo() {
        TestWindow test;
        test.setText("DimB a\nSend a\n");
        QVERIFY(!test.window->compile());
        QCOMPARE(test.prompts->compilerMessages.at(0).text, std::string("Ожидается массив!"));
    }
};

}  // namespace zr::shell::testing

QTEST_MAIN(zr::shell::testing::EditorCommandsTest)
#include "editor_commands_test.moc"
