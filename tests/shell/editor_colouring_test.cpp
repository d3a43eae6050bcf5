// Colouring while typing: the word before the caret takes its keyword's
// spelling and colour when a trigger key goes down, and its hint shows.
#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTest>

#include "compiler/keywords.h"
#include "shell/editor/keyword_colourer.h"
#include "shell/editor/source_line_parts.h"
#include "shell/editor/word_boundaries.h"
#include "shell_test_support.h"

namespace zr::shell::testing {

using namespace compiler::colours;

class EditorColouringTest : public QObject {
    Q_OBJECT

  private slots:
    void wordStartsAfterTheLastWordEnd() {
        // The character before the caret always belongs to the word ("x [").
        const std::pair<std::u16string_view, int> cases[] = {
            {u"x, dup", 3}, {u"a(adc", 2}, {u"t[3]dup", 4}, {u"1\ncall", 2}, {u"dup", 0},
            {u"d", 0},      {u"", 0},      {u"x [", 2},     {u"ab ", 0},
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

    void linesSplitIntoCodeQuotedTextsAndComments() {
        using enum LinePartKind;
        const struct Case {
            std::u16string_view line;
            QList<LinePart> parts;
        } cases[] = {
            {u"Dup End", {{Code, 0, 7, false}}},
            {u"? \"a 'b\" x",
             {{Code, 0, 2, false}, {QuotedText, 2, 6, false}, {Code, 8, 2, false}}},
            {u"x 'it's \"so\"", {{Code, 0, 2, false}, {Comment, 2, 10, true}}},
            {u"\"open", {{QuotedText, 0, 5, true}}},
            {u"\"\"'", {{QuotedText, 0, 2, false}, {Comment, 2, 1, true}}},
            {u"", {}},
        };
        for (const Case& c : cases) QCOMPARE(SplitLine(c.line), c.parts);
    }

    // Words in a quoted text or a comment are what the device shows or what
    // the author wrote: typing never respells them, and they take their own
    // colours; the code around them is coloured as before.
    void quotedTextsAndCommentsKeepWhatWasTyped() {
        const std::uint32_t endColour =
            compiler::KeywordTable::Standard().FindKeyword("End")->colour;
        struct Case {
            const char* typed;
            QString text;
            std::vector<std::pair<int, std::uint32_t>> colours;  // position, colour
        } cases[] = {
            {"! [1,1,clr] \"press dup or end now\" ",
             "! [1,1,clr] \"press dup or end now\" ",
             {{12, kQuotedTextColour}, {19, kQuotedTextColour}, {33, kQuotedTextColour}}},
            {"'my loop ", "'my loop ", {{0, kCommentColour}, {4, kCommentColour}}},
            {"dup 'call swap\ndup ",
             "Dup 'call swap\nDup ",
             {{0, kBlue}, {5, kCommentColour}, {13, kCommentColour}, {15, kBlue}, {18, 0}}},
            {"? \"end\" end ", "? \"end\" End ", {{3, kQuotedTextColour}, {8, endColour}}},
            {"x\"dup\"dup ",
             "x\"dup\"Dup ",
             {{2, kQuotedTextColour}, {7, kBlue}}},  // as the compiler reads it
        };
        for (const Case& c : cases) {
            SourceEditor editor;
            for (const QString& line : QString(c.typed).split('\n')) {
                if (!editor.toPlainText().isEmpty()) QTest::keyClick(&editor, Qt::Key_Return);
                QTest::keyClicks(&editor, line);
            }
            QCOMPARE(editor.toPlainText(), c.text);
            for (const auto& [position, colour] : c.colours)
                QVERIFY2(ColourAt(*editor.document(), position) == colour,
                         qPrintable(QString("%1 at %2").arg(c.typed).arg(position)));
        }
    }

    // Pasted text is coloured as if typed, but keeps its spelling, and is one
    // step for Undo.
    void pastedTextIsColouredNotRespelled() {
        SourceEditor editor;
        QTest::keyClicks(&editor, "x ");
        QApplication::clipboard()->setText("dup 'a loop\n\"end\" swap");
        editor.pastePlainText();
        QCOMPARE(editor.toPlainText(), QString("x dup 'a loop\n\"end\" swap"));
        const std::pair<int, std::uint32_t> colours[] = {
            {0, 0}, {2, kBlue}, {8, kCommentColour}, {15, kQuotedTextColour}, {21, kBlue}};
        for (const auto& [position, colour] : colours)
            QCOMPARE(ColourAt(*editor.document(), position), colour);
        editor.undo();
        QCOMPARE(editor.toPlainText(), QString("x "));
    }
};

}  // namespace zr::shell::testing

QTEST_MAIN(zr::shell::testing::EditorColouringTest)
#include "editor_colouring_test.moc"
