// Live diagnostics: once typing pauses the first error is underlined with
// its message, marked in the gutter, counted in the status bar and listed
// in the Problems pane, from which a library's error opens the library.
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>

#include "compiler/messages.h"
#include "shell/editor/editor_analysis.h"
#include "shell/editor/editor_gutter.h"
#include "shell/editor/language_features.h"
#include "shell/editor/language_rows.h"
#include "shell/editor/live_analyser.h"
#include "shell/editor/place_list_pane.h"
#include "shell_test_support.h"

namespace zr::shell::testing {

class LiveDiagnosticsTest : public QObject {
    Q_OBJECT

  private slots:
    void errorIsUnderlinedCountedAndListedAfterThePause() {
        TestWindow test;
        LanguageFeatures& features = *test.window->languageFeatures();
        test.setText("Dup\n  GoTo Nowhere\nEnd\n");
        // Nothing is analysed per key: the change only restarts the timer.
        QVERIFY(features.analyser().pending());
        QTRY_COMPARE(features.problemsField()->text(), QString("1 ошибка"));

        const auto marks = test.editor()->languageMarks();
        QCOMPARE(marks.size(), 1);
        QCOMPARE(marks[0].cursor.selectedText(), QString("GoTo Nowhere"));
        QCOMPARE(marks[0].format.underlineStyle(), QTextCharFormat::WaveUnderline);
        QCOMPARE(marks[0].format.toolTip(), Utf8(compiler::messages::kLabelNotFound));
        QCOMPARE(test.editor()->gutter()->errorLine(), 2);
        const auto rows = features.problemsPane()->rows();
        QCOMPARE(rows.size(), size_t(1));
        QCOMPARE(rows[0].columns,
                 QStringList({Utf8(compiler::messages::kLabelNotFound), QString("строка 2")}));
        QVERIFY(test.prompts->compilerMessages.empty());  // nothing modal

        // Going there from the pane selects the statement.
        test.editor()->moveCursor(QTextCursor::Start);
        features.problemsPane()->activateRow(0);
        QCOMPARE(test.editor()->textCursor().selectedText(), QString("GoTo Nowhere"));

        test.setText("Dup\nNowhere:\n  GoTo Nowhere\nEnd\n");
        QTRY_COMPARE(features.problemsField()->text(), QString("Ошибок нет"));
        QVERIFY(test.editor()->languageMarks().isEmpty());
        QCOMPARE(test.editor()->gutter()->errorLine(), 0);
        QVERIFY(features.problemsPane()->rows().empty());
    }

    void libraryErrorNamesTheLibraryAndOpensIt() {
        QTemporaryDir folder;
        WriteBytes(folder.filePath("broken.bib"), "Half: Dup\r\n  GoTo Nowhere\r\nRet\r\n");
        TestWindow test(folder.path());
        LanguageFeatures& features = *test.window->languageFeatures();
        test.setText("1\n$Lib broken\nCall Half\n");
        QTRY_COMPARE(features.problemsField()->text(), QString("1 ошибка"));
        // The main text's mark is on the $Lib that brought the error in.
        QCOMPARE(test.editor()->languageMarks()[0].cursor.selectedText(), QString("$Lib broken"));
        const auto rows = features.problemsPane()->rows();
        QCOMPARE(rows.size(), size_t(1));
        QCOMPARE(rows[0].columns[1], QString("библиотека broken.bib, строка 2"));

        test.prompts->unsavedChoices.push_back(UnsavedChoice::Discard);
        features.problemsPane()->activateRow(0);
        QCOMPARE(QFileInfo(test.window->currentFileName()).fileName(), QString("broken.bib"));
        QCOMPARE(test.editor()->textCursor().selectedText(), QString("GoTo Nowhere"));
    }

    // Saved into another folder, the text finds the libraries there: the
    // analysis runs again though the text did not change.
    void savingElsewhereSearchesThatFolder() {
        QTemporaryDir empty;
        QTemporaryDir withLibrary;
        WriteBytes(withLibrary.filePath("mine.bib"), "Half: 2 /\r\nRet\r\n");
        TestWindow test(empty.path());
        LanguageFeatures& features = *test.window->languageFeatures();
        test.setText("$Lib mine\n4 Call Half\n");
        QTRY_COMPARE(features.problemsField()->text(), QString("1 ошибка"));
        test.prompts->saveNames = {withLibrary.filePath("prog.kel")};
        QVERIFY(test.window->saveSourceAs());
        QTRY_COMPARE(features.problemsField()->text(), QString("Ошибок нет"));
    }

    // Positions pass through the engine's one mapping: a character beyond
    // U+FFFF takes two editor units and one compiler character. The extent
    // is the one F9 selects.
    void extentsMapAcrossWideCharacters() {
        struct Case {
            const char* text;
            const char* selected;
        };
        const Case cases[] = {
            {"' \xF0\x9F\x98\x80\xF0\x9F\x98\x80\nGoTo Nowhere\n", "GoTo Nowhere"},
            {"! \"\xF0\x9F\x98\x80\" GoTo Nowhere\n", "! \"\xF0\x9F\x98\x80\" GoTo "},
            {"DimS \xD0\xB0\xD0\xB1\nDimS x, \xD0\xB0\xD0\xB1\n", ", \xD0\xB0\xD0\xB1"},
        };
        for (const Case& c : cases) {
            const QString text = QString::fromUtf8(c.text);
            const EditorAnalysis analysis(text, {});
            const auto range = analysis.ErrorRange();
            QVERIFY2(range, c.text);
            QCOMPARE(text.mid(range->start, range->length), QString::fromUtf8(c.selected));
            CompileSession f9({});
            QCOMPARE(f9.Compile(text).errorSelection, range);
            // And back: the editor position of the error's start is its compiler position.
            QCOMPARE(analysis.CompilerPositionOf(range->start),
                     analysis.analysis().error->span.start);
        }
    }

    void problemCountIsWordedInRussian() {
        const std::pair<int, const char*> cases[] = {
            {0, "Ошибок нет"}, {1, "1 ошибка"},   {2, "2 ошибки"},   {4, "4 ошибки"},
            {5, "5 ошибок"},   {11, "11 ошибок"}, {21, "21 ошибка"}, {112, "112 ошибок"},
        };
        for (const auto& [count, text] : cases) QCOMPARE(ProblemCountText(count), QString(text));
    }
};

}  // namespace zr::shell::testing

QTEST_MAIN(zr::shell::testing::LiveDiagnosticsTest)
#include "live_diagnostics_test.moc"
