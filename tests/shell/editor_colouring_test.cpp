// Colouring while typing: the word before the caret takes its keyword's
// spelling and colour when a trigger key goes down, and its hint shows.
#include <QSignalSpy>
#include <QTest>

#include "compiler/keywords.h"
#include "shell/keyword_colourer.h"
#include "shell/word_boundaries.h"
#include "shell_test_support.h"

namespace zr::shell::testing {

using namespace compiler::colours;

class EditorColouringTest : public QObject {
    Q_OBJECT

  private slots:
    void wordStartsAfterTheLastWordEnd();
    void wordAtTheStartOfTheTextStartsAtZero();
    void characterBeforeTheCaretAlwaysBelongsToTheWord();
    void dupAndSpaceGivesBlueDupAndEmptyHint();
    void callAndEnterGivesGreenCallAndLabelHintInStatusBar();
    void bracketColoursTheWordBeforeIt();
    void unknownWordIsLeftAsTypedAndEmptiesHint();
    void duplicateWordIsFoundAsItsFirstEntry();
    void wordAfterTabIsColoured();
    void arrowOverColouredWordLeavesDocumentUnchanged();
    void typingAfterKeywordIsBlack();
    void f1AsksHelpForTheWordAtTheCaret();
};

void EditorColouringTest::wordStartsAfterTheLastWordEnd() {
    QCOMPARE(FindWordStart(u"x, dup", 6), 3);
    QCOMPARE(FindWordStart(u"a(adc", 5), 2);
    QCOMPARE(FindWordStart(u"t[3]dup", 7), 4);
    QCOMPARE(FindWordStart(u"1\ncall", 6), 2);
}

void EditorColouringTest::wordAtTheStartOfTheTextStartsAtZero() {
    QCOMPARE(FindWordStart(u"dup", 3), 0);
    QCOMPARE(FindWordStart(u"d", 1), 0);
    QCOMPARE(FindWordStart(u"", 0), 0);
}

void EditorColouringTest::characterBeforeTheCaretAlwaysBelongsToTheWord() {
    // "x [" : the bracket directly before the caret is the word itself.
    QCOMPARE(FindWordStart(u"x [", 3), 2);
    QCOMPARE(FindWordStart(u"ab ", 3), 0);
}

void EditorColouringTest::dupAndSpaceGivesBlueDupAndEmptyHint() {
    SourceEditor editor;
    QSignalSpy hints(&editor, &SourceEditor::hintChanged);
    QTest::keyClicks(&editor, "dup");
    QTest::keyClick(&editor, Qt::Key_Space);

    QCOMPARE(editor.toPlainText(), QString("Dup "));
    for (int i = 0; i < 3; ++i) QCOMPARE(ColourAt(*editor.document(), i), kBlue);
    QCOMPARE(ColourAt(*editor.document(), 3), 0u);
    QCOMPARE(hints.size(), 1);
    QCOMPARE(hints.at(0).at(0).toString(), QString());
}

void EditorColouringTest::callAndEnterGivesGreenCallAndLabelHintInStatusBar() {
    TestWindow test;
    test.setText("");
    QTest::keyClicks(test.editor(), "call");
    QTest::keyClick(test.editor(), Qt::Key_Return);

    QCOMPARE(test.editor()->toPlainText(), QString("Call\n"));
    for (int i = 0; i < 4; ++i) QCOMPARE(ColourAt(*test.editor()->document(), i), kGreen);
    QCOMPARE(test.window->hint(), QString("Label"));
}

void EditorColouringTest::bracketColoursTheWordBeforeIt() {
    SourceEditor editor;
    QSignalSpy hints(&editor, &SourceEditor::hintChanged);
    QTest::keyClicks(&editor, "x adc(");
    QCOMPARE(editor.toPlainText(), QString("x ADC("));
    QCOMPARE(ColourAt(*editor.document(), 2), kOlive);
    QCOMPARE(ColourAt(*editor.document(), 5), 0u);
    QCOMPARE(hints.last().at(0).toString(), QString("(0..3)"));
}

void EditorColouringTest::unknownWordIsLeftAsTypedAndEmptiesHint() {
    TestWindow test;
    test.setText("");
    QTest::keyClicks(test.editor(), "call");
    QTest::keyClick(test.editor(), Qt::Key_Space);
    QTest::keyClicks(test.editor(), "myLabel");
    QTest::keyClick(test.editor(), Qt::Key_Space);
    QCOMPARE(test.editor()->toPlainText(), QString("Call myLabel "));
    QCOMPARE(ColourAt(*test.editor()->document(), 6), 0u);
    QCOMPARE(test.window->hint(), QString());
}

void EditorColouringTest::duplicateWordIsFoundAsItsFirstEntry() {
    SourceEditor editor;
    QTest::keyClicks(&editor, "retn ");
    QCOMPARE(editor.toPlainText(), QString("RetN "));
    QCOMPARE(ColourAt(*editor.document(), 0), kGreen);
}

void EditorColouringTest::wordAfterTabIsColoured() {
    SourceEditor editor;
    QTest::keyClick(&editor, Qt::Key_Tab);
    QTest::keyClicks(&editor, "swap ");
    QCOMPARE(editor.toPlainText(), QString("\tSwap "));
    QCOMPARE(ColourAt(*editor.document(), 1), kBlue);
}

void EditorColouringTest::arrowOverColouredWordLeavesDocumentUnchanged() {
    SourceEditor editor;
    QTest::keyClicks(&editor, "dup");
    QTest::keyClick(&editor, Qt::Key_Down);  // colours "Dup"
    editor.document()->setModified(false);
    QTest::keyClick(&editor, Qt::Key_Down);
    QTest::keyClick(&editor, Qt::Key_Up);
    QVERIFY(!editor.document()->isModified());
    QCOMPARE(ColourAt(*editor.document(), 0), kBlue);
}

void EditorColouringTest::typingAfterKeywordIsBlack() {
    SourceEditor editor;
    QTest::keyClicks(&editor, "drop x");
    QCOMPARE(editor.toPlainText(), QString("Drop x"));
    QCOMPARE(ColourAt(*editor.document(), 3), kBlue);
    QCOMPARE(ColourAt(*editor.document(), 5), 0u);
}

void EditorColouringTest::f1AsksHelpForTheWordAtTheCaret() {
    SourceEditor editor;
    editor.setPlainText("3 DupN 4");
    QTextCursor cursor = editor.textCursor();
    cursor.setPosition(4);  // inside "DupN"
    editor.setTextCursor(cursor);
    QSignalSpy help(&editor, &SourceEditor::helpRequested);
    QTest::keyClick(&editor, Qt::Key_F1);
    QCOMPARE(help.size(), 1);
    QCOMPARE(help.at(0).at(0).toString(), QString("DupN"));
}

}  // namespace zr::shell::testing

QTEST_MAIN(zr::shell::testing::EditorColouringTest)
#include "editor_colouring_test.moc"
