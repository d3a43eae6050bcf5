// Find and replace: the search logic on a real editor (so that the positions
// searched are the positions selected) and the dialog around it.
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextCursor>
#include <QTextEdit>
#include <QtTest>

#include "shell/find_replace_dialog.h"
#include "shell/text_search.h"
#include "shell/text_search_editor_target.h"

using zr::shell::FindReplaceDialog;
using zr::shell::SearchOrigin;
using zr::shell::TextSearch;
using zr::shell::TextSearchEditorTarget;

namespace {

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
    void findNextStartsAtTheCaret();
    void findNextMovesForwardWithoutWrapping();
    void firstPositionFindsAnOccurrenceBeforeTheSelection();
    void blankSearchTextDoesNothing();
    void searchIsCaseSensitive();
    void foundPositionIsTheSelectedPositionAcrossLinesAndLeadingBlanks();
    void replaceChangesOnlyASelection();
    void replaceAllWithReplacementContainingTheSearchTextEnds();
    void replaceAllOfOverlappingTextReplacesEachOccurrenceOnce();
    void replaceAllFromTheCurrentPositionLeavesEarlierOccurrences();
    void replaceAllLeavesTheCaretAfterTheLastReplacementAndUndoesInOneStep();
    void replaceAllRefusesBlankTexts();
    void dialogOpensInFindModeWithTheSelection();
    void dialogOpensInReplaceMode();
    void dialogPrefillsAMultiLineSelectionAsSearchableText();
    void dialogFindFromFirstPositionThenContinues();
    void dialogReplaceAllAndCancel();
};

void FindReplaceTest::findNextStartsAtTheCaret() {
    QTextEdit editor;
    editor.setPlainText("Dup Swap Dup");
    Select(editor, 0, 0);
    TextSearchEditorTarget target(&editor);
    QVERIFY(TextSearch(target).findNext("Dup", SearchOrigin::CurrentPosition));
    QCOMPARE(SelectionStart(editor), 0);
    QCOMPARE(SelectedText(editor), QString("Dup"));
}

void FindReplaceTest::findNextMovesForwardWithoutWrapping() {
    QTextEdit editor;
    editor.setPlainText("Dup Swap Dup Drop");
    TextSearchEditorTarget target(&editor);
    TextSearch search(target);
    Select(editor, 0, 0);
    QVERIFY(search.findNext("Dup", SearchOrigin::CurrentPosition));
    QVERIFY(search.findNext("Dup", SearchOrigin::CurrentPosition));
    QCOMPARE(SelectionStart(editor), 9);
    // No third occurrence: the selection stays on the last one found.
    QVERIFY(!search.findNext("Dup", SearchOrigin::CurrentPosition));
    QCOMPARE(SelectionStart(editor), 9);
    QCOMPARE(SelectedText(editor), QString("Dup"));
}

void FindReplaceTest::firstPositionFindsAnOccurrenceBeforeTheSelection() {
    QTextEdit editor;
    editor.setPlainText("Dup Swap Dup");
    Select(editor, 9, 3);
    TextSearchEditorTarget target(&editor);
    QVERIFY(!TextSearch(target).findNext("Dup", SearchOrigin::CurrentPosition));
    QVERIFY(TextSearch(target).findNext("Dup", SearchOrigin::FirstPosition));
    QCOMPARE(SelectionStart(editor), 0);
}

void FindReplaceTest::blankSearchTextDoesNothing() {
    QTextEdit editor;
    editor.setPlainText("a   b");
    Select(editor, 0, 0);
    TextSearchEditorTarget target(&editor);
    QVERIFY(!TextSearch(target).findNext("   ", SearchOrigin::FirstPosition));
    QCOMPARE(editor.textCursor().hasSelection(), false);
}

void FindReplaceTest::searchIsCaseSensitive() {
    QTextEdit editor;
    editor.setPlainText("dup DUP Dup");
    TextSearchEditorTarget target(&editor);
    QVERIFY(TextSearch(target).findNext("Dup", SearchOrigin::FirstPosition));
    QCOMPARE(SelectionStart(editor), 8);
}

void FindReplaceTest::foundPositionIsTheSelectedPositionAcrossLinesAndLeadingBlanks() {
    QTextEdit editor;
    editor.setPlainText("   'x\n  DimS a\n\n\ta -> b");
    TextSearchEditorTarget target(&editor);
    QVERIFY(TextSearch(target).findNext("->", SearchOrigin::FirstPosition));
    QCOMPARE(SelectedText(editor), QString("->"));
    QCOMPARE(SelectionStart(editor), int(editor.toPlainText().indexOf("->")));
    QCOMPARE(editor.textCursor().blockNumber(), 3);
}

void FindReplaceTest::replaceChangesOnlyASelection() {
    QTextEdit editor;
    editor.setPlainText("Dup Drop");
    TextSearchEditorTarget target(&editor);
    Select(editor, 4, 0);
    QVERIFY(!TextSearch(target).replace("Swap"));
    QCOMPARE(editor.toPlainText(), QString("Dup Drop"));
    Select(editor, 4, 4);
    QVERIFY(TextSearch(target).replace("Swap "));  // taken as typed, blanks included
    QCOMPARE(editor.toPlainText(), QString("Dup Swap "));
}

void FindReplaceTest::replaceAllWithReplacementContainingTheSearchTextEnds() {
    QTextEdit editor;
    editor.setPlainText("Dup Swap Dup\nDup");
    TextSearchEditorTarget target(&editor);
    QCOMPARE(TextSearch(target).replaceAll("Dup", "DupDup", SearchOrigin::FirstPosition), 3);
    QCOMPARE(editor.toPlainText(), QString("DupDup Swap DupDup\nDupDup"));

    editor.setPlainText("aaa");
    QCOMPARE(TextSearch(target).replaceAll("a", "aa", SearchOrigin::FirstPosition), 3);
    QCOMPARE(editor.toPlainText(), QString("aaaaaa"));
}

void FindReplaceTest::replaceAllOfOverlappingTextReplacesEachOccurrenceOnce() {
    QTextEdit editor;
    editor.setPlainText("aaaaa");
    TextSearchEditorTarget target(&editor);
    QCOMPARE(TextSearch(target).replaceAll("aa", "b", SearchOrigin::FirstPosition), 2);
    QCOMPARE(editor.toPlainText(), QString("bba"));
}

void FindReplaceTest::replaceAllFromTheCurrentPositionLeavesEarlierOccurrences() {
    QTextEdit editor;
    editor.setPlainText("x x x x");
    Select(editor, 2, 1);  // the second x: the search starts after it
    TextSearchEditorTarget target(&editor);
    QCOMPARE(TextSearch(target).replaceAll("x", "y", SearchOrigin::CurrentPosition), 2);
    QCOMPARE(editor.toPlainText(), QString("x x y y"));
}

void FindReplaceTest::replaceAllLeavesTheCaretAfterTheLastReplacementAndUndoesInOneStep() {
    QTextEdit editor;
    editor.setPlainText("ab ab ab tail");
    TextSearchEditorTarget target(&editor);
    QCOMPARE(TextSearch(target).replaceAll("ab", "xyz", SearchOrigin::FirstPosition), 3);
    QCOMPARE(editor.toPlainText(), QString("xyz xyz xyz tail"));
    QCOMPARE(editor.textCursor().position(), 11);
    QVERIFY(!editor.textCursor().hasSelection());
    editor.undo();
    QCOMPARE(editor.toPlainText(), QString("ab ab ab tail"));
}

void FindReplaceTest::replaceAllRefusesBlankTexts() {
    QTextEdit editor;
    editor.setPlainText("Dup Dup");
    TextSearchEditorTarget target(&editor);
    QCOMPARE(TextSearch(target).replaceAll("Dup", "  ", SearchOrigin::FirstPosition), 0);
    QCOMPARE(TextSearch(target).replaceAll(" ", "x", SearchOrigin::FirstPosition), 0);
    QCOMPARE(TextSearch(target).replaceAll("Swap", "x", SearchOrigin::FirstPosition), 0);
    QCOMPARE(editor.toPlainText(), QString("Dup Dup"));
}

void FindReplaceTest::dialogOpensInFindModeWithTheSelection() {
    QTextEdit editor;
    editor.setPlainText("Dup Swap");
    Select(editor, 4, 4);
    FindReplaceDialog dialog(&editor, nullptr);
    dialog.showFind();
    QCOMPARE(dialog.windowTitle(), QString(" Find & Replace"));
    QVERIFY(!dialog.isModal());
    QCOMPARE(dialog.findChild<QLineEdit*>("Text1")->text(), QString("Swap"));
    QVERIFY(!dialog.findChild<QLineEdit*>("Text2")->isEnabled());
    QVERIFY(!dialog.findChild<QPushButton*>("Command2")->isEnabled());
    QVERIFY(!dialog.findChild<QPushButton*>("Command3")->isEnabled());
    QVERIFY(dialog.findChild<QPushButton*>("Command1")->isEnabled());
    QVERIFY(dialog.findChild<QPushButton*>("Command4")->isEnabled());

    Select(editor, 2, 0);
    dialog.showFind();
    QCOMPARE(dialog.findChild<QLineEdit*>("Text1")->text(), QString());
}

void FindReplaceTest::dialogOpensInReplaceMode() {
    QTextEdit editor;
    FindReplaceDialog dialog(&editor, nullptr);
    dialog.showFind();
    dialog.showReplace();
    QVERIFY(dialog.findChild<QLineEdit*>("Text2")->isEnabled());
    QVERIFY(dialog.findChild<QPushButton*>("Command2")->isEnabled());
    QVERIFY(dialog.findChild<QPushButton*>("Command3")->isEnabled());
    QCOMPARE(dialog.findChild<QPushButton*>("Command3")->text(), QString("Replace ALL"));
    QCOMPARE(dialog.findChild<QRadioButton*>("Option1")->text(),
             QString("Search on the current position"));
    QCOMPARE(dialog.findChild<QRadioButton*>("Option2")->text(),
             QString("Search from the first position"));
}

void FindReplaceTest::dialogPrefillsAMultiLineSelectionAsSearchableText() {
    QTextEdit editor;
    editor.setPlainText("Dup\nSwap\nDup\nSwap");
    Select(editor, 0, 8);
    FindReplaceDialog dialog(&editor, nullptr);
    dialog.showFind();
    QTest::mouseClick(dialog.findChild<QPushButton*>("Command1"), Qt::LeftButton);
    QCOMPARE(SelectionStart(editor), 9);
    QCOMPARE(SelectedText(editor), QString("Dup\nSwap"));
}

void FindReplaceTest::dialogFindFromFirstPositionThenContinues() {
    QTextEdit editor;
    editor.setPlainText("Call A Call B Call C");
    Select(editor, 14, 4);
    FindReplaceDialog dialog(&editor, nullptr);
    dialog.showFind();
    auto* findNext = dialog.findChild<QPushButton*>("Command1");
    dialog.findChild<QRadioButton*>("Option2")->setChecked(true);
    QTest::mouseClick(findNext, Qt::LeftButton);
    QCOMPARE(SelectionStart(editor), 0);
    QTest::mouseClick(findNext, Qt::LeftButton);
    QCOMPARE(SelectionStart(editor), 7);
}

void FindReplaceTest::dialogReplaceAllAndCancel() {
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

QTEST_MAIN(FindReplaceTest)
#include "find_replace_test.moc"
