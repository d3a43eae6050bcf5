// Find and replace: the search logic on a real editor (so that the positions
// searched are the positions selected) and the dialog around it.
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextCursor>
#include <QTextEdit>
#include <QtTest>

#include "shell/editor/find_replace_dialog.h"
#include "shell/editor/text_search.h"
#include "shell/editor/text_search_editor_target.h"

using zr::shell::FindReplaceDialog;
using zr::shell::SearchOrigin;
using zr::shell::TextSearch;
using zr::shell::TextSearchEditorTarget;

namespace {

constexpr auto kCurrent = SearchOrigin::CurrentPosition;
constexpr auto kFirst = SearchOrigin::FirstPosition;

void Select(QTextEdit& editor, int start, int length) {
    QTextCursor cursor = editor.textCursor();
    cursor.setPosition(start);
    cursor.setPosition(start + length, QTextCursor::KeepAnchor);
    editor.setTextCursor(cursor);
}

int SelectionStart(const QTextEdit& editor) {
    return editor.textCursor().selectionStart();
}

QString SelectedText(const QTextEdit& editor) {
    return TextSearchEditorTarget(const_cast<QTextEdit*>(&editor)).selectedText();
}

}  // namespace

class FindReplaceTest : public QObject {
    Q_OBJECT

  private slots:
    void findNextSelectsTheNextOccurrence() {
        struct Case {
            const char* text;
            int start, length;  // the selection before
            const char* search;
            SearchOrigin origin;
            int foundAt;  // or -1: the selection stays
        } cases[] = {
            {"Dup Swap Dup", 0, 0, "Dup", kCurrent, 0},  // starts at the caret
            {"Dup Swap Dup Drop", 0, 3, "Dup", kCurrent, 9},
            {"Dup Swap Dup", 9, 3, "Dup", kCurrent, -1},  // no wrapping
            {"Dup Swap Dup", 9, 3, "Dup", kFirst, 0},
            {"a   b", 0, 0, "   ", kFirst, -1},  // blank search text
            {"dup DUP Dup", 0, 0, "Dup", kFirst, 8},
            {"   'x\n  DimS a\n\n\ta -> b", 0, 0, "->", kFirst, 19},
        };
        for (const Case& c : cases) {
            QTextEdit editor;
            editor.setPlainText(c.text);
            Select(editor, c.start, c.length);
            TextSearchEditorTarget target(&editor);
            const bool found = c.foundAt >= 0;
            QCOMPARE(TextSearch(target).FindNext(c.search, c.origin), found);
            QCOMPARE(SelectionStart(editor), found ? c.foundAt : c.start);
            QCOMPARE(SelectedText(editor),
                     found ? QString(c.search) : QString(c.text).mid(c.start, c.length));
        }
    }

    void replaceChangesOnlyASelection() {
        QTextEdit editor;
        editor.setPlainText("Dup Drop");
        TextSearchEditorTarget target(&editor);
        Select(editor, 4, 0);
        QVERIFY(!TextSearch(target).Replace("Swap"));
        QCOMPARE(editor.toPlainText(), QString("Dup Drop"));
        Select(editor, 4, 4);
        QVERIFY(TextSearch(target).Replace("Swap "));  // taken as typed, blanks included
        QCOMPARE(editor.toPlainText(), QString("Dup Swap "));
    }

    void replaceAllReplacesEachOccurrenceOnceAndUndoesInOneStep() {
        struct Case {
            const char *text, *search, *replacement, *result;
            SearchOrigin origin;
            int start, count, caret;  // a one-character selection before, or -1; the caret after
        } cases[] = {
            // The replacement contains the search text: still ends.
            {"Dup Swap Dup\nDup", "Dup", "DupDup", "DupDup Swap DupDup\nDupDup", kFirst, -1, 3, 25},
            {"aaa", "a", "aa", "aaaaaa", kFirst, -1, 3, 6},
            {"aaaaa", "aa", "b", "bba", kFirst, -1, 2, 2},  // overlapping occurrences
            {"ab ab ab tail", "ab", "xyz", "xyz xyz xyz tail", kFirst, -1, 3, 11},
            {"x x x x", "x", "y", "x x y y", kCurrent, 2, 2, 7},  // starts after the second x
            // Blank texts are refused; nothing found changes nothing.
            {"Dup Dup", "Dup", "  ", "Dup Dup", kFirst, -1, 0, -1},
            {"Dup Dup", " ", "x", "Dup Dup", kFirst, -1, 0, -1},
            {"Dup Dup", "Swap", "x", "Dup Dup", kFirst, -1, 0, -1},
        };
        for (const Case& c : cases) {
            QTextEdit editor;
            editor.setPlainText(c.text);
            if (c.start >= 0) Select(editor, c.start, 1);
            TextSearchEditorTarget target(&editor);
            QCOMPARE(TextSearch(target).ReplaceAll(c.search, c.replacement, c.origin), c.count);
            QCOMPARE(editor.toPlainText(), QString(c.result));
            if (c.caret >= 0) {
                QCOMPARE(editor.textCursor().position(), c.caret);
                QVERIFY(!editor.textCursor().hasSelection());
            }
            editor.undo();
            QCOMPARE(editor.toPlainText(), QString(c.text));
        }
    }

    void dialogOpensInFindModeWithTheSelectionThenInReplaceMode() {
        QTextEdit editor;
        editor.setPlainText("Dup Swap");
        Select(editor, 4, 4);
        FindReplaceDialog dialog(&editor, nullptr);
        dialog.showFind();
        QCOMPARE(dialog.findChild<QLineEdit*>("Text1")->text(), QString("Swap"));
        auto enabled = [&dialog] {
            QString states;
            for (const char* name : {"Text2", "Command1", "Command2", "Command3", "Command4"})
                states += dialog.findChild<QWidget*>(name)->isEnabled() ? '1' : '0';
            return states;
        };
        QCOMPARE(enabled(), QString("01001"));
        dialog.showReplace();
        QCOMPARE(enabled(), QString("11111"));

        Select(editor, 2, 0);
        dialog.showFind();
        QCOMPARE(dialog.findChild<QLineEdit*>("Text1")->text(), QString());
        QCOMPARE(enabled(), QString("01001"));
    }

    void dialogFindsAMultiLineSelectionAndFromTheFirstPosition() {
        QTextEdit editor;
        editor.setPlainText("Dup\nSwap\nDup\nSwap");
        Select(editor, 0, 8);
        FindReplaceDialog dialog(&editor, nullptr);
        dialog.showFind();
        auto* findNext = dialog.findChild<QPushButton*>("Command1");
        QTest::mouseClick(findNext, Qt::LeftButton);
        QCOMPARE(SelectionStart(editor), 9);
        QCOMPARE(SelectedText(editor), QString("Dup\nSwap"));

        editor.setPlainText("Call A Call B Call C");
        Select(editor, 14, 4);
        dialog.showFind();
        dialog.findChild<QRadioButton*>("Option2")->setChecked(true);
        QTest::mouseClick(findNext, Qt::LeftButton);
        QCOMPARE(SelectionStart(editor), 0);
        QTest::mouseClick(findNext, Qt::LeftButton);  // then continues
        QCOMPARE(SelectionStart(editor), 7);
    }

    void dialogReplaceAllAndCancel() {
        QTextEdit editor;
        editor.setPlainText("x -> y\nx -> z");
        FindReplaceDialog dialog(&editor, nullptr);
        dialog.showReplace();
        dialog.findChild<QLineEdit*>("Text1")->setText("->");
        dialog.findChild<QLineEdit*>("Text2")->setText("Mv");
        dialog.findChild<QRadioButton*>("Option2")->setChecked(true);
        QTest::mouseClick(dialog.findChild<QPushButton*>("Command3"), Qt::LeftButton);
        QCOMPARE(editor.toPlainText(), QString("x Mv y\nx Mv z"));
        QVERIFY(dialog.isVisible());
        QTest::mouseClick(dialog.findChild<QPushButton*>("Command4"), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
    }
};

QTEST_MAIN(FindReplaceTest)
#include "find_replace_test.moc"
