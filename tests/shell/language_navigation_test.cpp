// Navigation: F12 and Ctrl+click to a declaration (into a library file for
// its routine), Shift+F12 to the References pane, the Structure pane in
// text order, Ctrl+G to a line.
#include <QAction>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>

#include "language_test_support.h"
#include "shell/editor/place_list_pane.h"

namespace zr::shell::testing {

constexpr const char* kLibrary = "' geometry\r\nDimS side\r\nHypot: ^2 Swap ^2 + Sqr\r\nRet\r\n";
constexpr const char* kProgram =
    "DimS a\nLoop1: a Dup\nBytes table [1, 2]\n$Lib geometry\nGoTo Loop1\nCall Hypot\nMv a\n";

class LanguageNavigationTest : public QObject {
    Q_OBJECT

    void Trigger(TestWindow& test, const char* action) {
        test.window->findChild<QAction*>(action)->trigger();
    }

  private slots:
    void f12AndCtrlClickGoToTheDeclaration() {
        QTemporaryDir folder;
        WriteBytes(folder.filePath("geometry.bib"), kLibrary);
        TestWindow test(folder.path());
        test.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(test.window.get()));
        test.setText(kProgram);

        PutCaretIn(*test.editor(), "Loop1", 2, 1);  // in "GoTo Loop1"
        Trigger(test, "mnuGoToDeclaration");
        QCOMPARE(test.editor()->textCursor().selectedText(), QString("Loop1"));
        QCOMPARE(test.editor()->textCursor().blockNumber(), 1);

        // Ctrl+click on the last "a".
        PutCaretIn(*test.editor(), "Mv a", 3);
        const QPoint onA = test.editor()->cursorRect().center();
        test.editor()->moveCursor(QTextCursor::Start);
        QTest::mouseClick(test.editor()->viewport(), Qt::LeftButton, Qt::ControlModifier, onA);
        QCOMPARE(test.editor()->textCursor().selectedText(), QString("a"));
        QCOMPARE(test.editor()->textCursor().blockNumber(), 0);

        // A routine of a library: its file opens at the routine's line.
        PutCaretIn(*test.editor(), "Hypot", 1);
        test.prompts->unsavedChoices.push_back(UnsavedChoice::Discard);
        Trigger(test, "mnuGoToDeclaration");
        QCOMPARE(QFileInfo(test.window->currentFileName()).fileName(), QString("geometry.bib"));
        QCOMPARE(test.editor()->textCursor().selectedText(), QString("Hypot"));
        QCOMPARE(test.editor()->textCursor().blockNumber(), 2);
    }

    void shiftF12ListsEveryReference() {
        TestWindow test;
        test.setText("DimS a\na Dup\n1 Mv a\n");
        PutCaretIn(*test.editor(), "DimS a", 5);
        Trigger(test, "mnuFindReferences");
        PlaceListPane* pane = test.window->languageFeatures()->referencesPane();
        QStringList places;
        for (const PlaceRow& row : pane->rows()) places << row.columns.join(" | ");
        QCOMPARE(places,
                 QStringList({"строка 1 | DimS a", "строка 2 | a Dup", "строка 3 | 1 Mv a"}));
        pane->activateRow(2);
        QCOMPARE(test.editor()->textCursor().selectedText(), QString("a"));
        QCOMPARE(test.editor()->textCursor().blockNumber(), 2);
    }

    void structureListsDeclarationsInTextOrder() {
        QTemporaryDir folder;
        WriteBytes(folder.filePath("geometry.bib"), kLibrary);
        TestWindow test(folder.path());
        test.setText(kProgram);
        LanguageFeatures& features = *test.window->languageFeatures();
        QTRY_VERIFY(!features.structurePane()->rows().empty());
        QStringList names;
        for (const PlaceRow& row : features.structurePane()->rows()) names << row.columns[0];
        QCOMPARE(names, QStringList({"a", "Loop1", "table", "side", "Hypot"}));
        const PlaceRow& table = features.structurePane()->rows()[2];
        QCOMPARE(table.columns[2], QString("строка 3"));
        QCOMPARE(features.structurePane()->rows()[4].columns[2],
                 QString("библиотека geometry.bib, строка 3"));
        features.structurePane()->activateRow(2);
        QCOMPARE(test.editor()->textCursor().selectedText(), QString("table"));
    }

    // A statement that stops the compile (being typed, say) leaves the names
    // below it listed, at their places.
    void structureKeepsTheNamesBelowAnError() {
        TestWindow test;
        test.setText("DimS a\n  Then\nLater: 1\nDimI b\n");
        LanguageFeatures& features = *test.window->languageFeatures();
        QTRY_VERIFY(!features.structurePane()->rows().empty());
        QStringList rows;
        for (const PlaceRow& row : features.structurePane()->rows())
            rows << row.columns[0] + " " + row.columns[2];
        QCOMPARE(rows, QStringList({"a строка 1", "Later строка 3", "b строка 4"}));
        QCOMPARE(features.problemsPane()->rows().size(), size_t(1));
    }

    void ctrlGGoesToALine() {
        TestWindow test;
        test.setText("1\n2\n3\n4\n");
        ScriptedLanguagePrompts prompts;
        prompts.lines = {3, 99};
        test.window->languageFeatures()->setPrompts(prompts.Make());
        Trigger(test, "mnuGoToLine");
        QCOMPARE(test.editor()->textCursor().blockNumber(), 2);
        Trigger(test, "mnuGoToLine");  // past the end: the last line
        QCOMPARE(test.editor()->textCursor().blockNumber(), 4);
        Trigger(test, "mnuGoToLine");  // cancelled
        QCOMPARE(test.editor()->textCursor().blockNumber(), 4);
    }
};

}  // namespace zr::shell::testing

QTEST_MAIN(zr::shell::testing::LanguageNavigationTest)
#include "language_navigation_test.moc"
