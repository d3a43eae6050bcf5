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
    void wordStartsAfterTheLastWordEnd() {
        const std::pair<std::u16string_view, int> cases[] = {
            {u"x, dup", 3},
            {u"a(adc", 2},
            {u"t[3]dup", 4},
            {u"1\ncall", 2},
            {u"dup", 0},
            {u"d", 0},
            {u"", 0},
            {u"x [", 2},  // the character before the caret always
                          // belongs to the word
            {u"ab ", 0},
        };
        for (const auto& [text, start] : cases)
            QCOMPARE(FindWordStart(text, int(text.size())), start);
    }

    void typedWordsTakeTheirKeywordsSpellingColourAndHint() {
        struct Case {
            const char* typed;
            QString text;
            std::vector<std::pair<int, std::uint32_t>> colours;  // position, colour
            QString hint;                                        // the last one shown
        } cases[] = {
            {"dup ", "Dup ", {{0, kBlue}, {1, kBlue}, {2, kBlue}, {3, 0}}, ""},
            {"x adc(", "x ADC(", {{2, kOlive}, {5, 0}}, "(0..3)"},  // a bracket triggers
            {"call myLabel ", "Call myLabel ", {{6, 0}}, ""},       // unknown: left as typed
            {"retn ", "RetN ", {{0, kGreen}}, ""},  // a duplicate word: its first entry
            {"\tswap ", "\tSwap ", {{1, kBlue}}, ""},
            {"drop x", "Drop x", {{3, kBlue}, {5, 0}}, ""},  // typing after a keyword is black
        };
        for (const Case& c : cases) {
            SourceEditor editor;
            QSignalSpy hints(&editor, &SourceEditor::hintChanged);
            QTest::keyClicks(&editor, c.typed);
            QCOMPARE(editor.toPlainText(), c.text);
            for (const auto& [position, colour] : c.colours)
                QCOMPARE(ColourAt(*editor.document(), position), colour);
            QVERIFY(!hints.isEmpty());
            QCOMPARE(hints.last().at(0).toString(), c.hint);
        }
    }

    void callAndEnterGivesGreenCallAndLabelHintInStatusBar() {
        TestWindow test;
        test.setText("");
        QTest::keyClicks(test.editor(), "call");
        QTest::keyClick(test.editor(), Qt::Key_Return);
        QCOMPARE(test.editor()->toPlainText(), QString("Call\n"));
        for (int i = 0; i < 4; ++i) QCOMPARE(ColourAt(*test.editor()->document(), i), kGreen);
        QCOMPARE(test.window->hint(), QString("Label"));
    }

    void arrowOverColouredWordLeavesDocumentUnchanged() {
        SourceEditor editor;
        QTest::keyClicks(&editor, "dup");
        QTest::keyClick(&editor, Qt::Key_Down);  // colours "Dup"
        editor.document()->setModified(false);
        QTest::keyClick(&editor, Qt::Key_Down);
        QTest::keyClick(&editor, Qt::Key_Up);
        QVERIFY(!editor.document()->isModified());
        QCOMPARE(ColourAt(*editor.document(), 0), kBlue);
    }

    void f1AsksHelpForTheWordAtTheCaret() {
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
};

}  // namespace zr::shell::testing

QTEST_MAIN(zr::shell::testing::EditorColouringTest)
#include "editor_colouring_test.moc"
