// Completion: Ctrl+Space and two typed letters open the list; typing narrows
// it; Enter inserts the canonical spelling; nothing inside quoted texts or
// comments; labels after GoTo.
#include "shell/editor/completion_popup.h"

#include <QListWidget>
#include <QTest>

#include "shell/editor/language_features.h"
#include "shell/editor/live_analyser.h"
#include "shell_test_support.h"

namespace zr::shell::testing {

class CompletionPopupTest : public QObject {
    Q_OBJECT

    // A shown window with `text` in the editor and the caret at its end.
    static void Prepare(TestWindow& test, const QString& text) {
        test.window->show();
        QVERIFY(QTest::qWaitForWindowActive(test.window.get()));
        test.editor()->setFocus();
        test.setText(text);
        test.editor()->moveCursor(QTextCursor::End);
    }

  private slots:
    void twoLettersOpenTheListAndEnterInsertsTheCanonicalSpelling() {
        TestWindow test;
        Prepare(test, "1\n");
        CompletionPopup& popup = test.window->languageFeatures()->completion();
        QTest::keyClicks(test.editor(), "d");
        QVERIFY(!popup.isVisible());
        QTest::keyClicks(test.editor(), "u");
        QVERIFY(popup.isVisible());
        QVERIFY(popup.shownWords().contains("Dup"));
        QVERIFY(popup.shownWords().contains("DupN"));
        // "du" does not compile, but is not underlined while the list is open.
        QTest::qWait(LiveAnalyser::kPauseMilliseconds * 2);
        QVERIFY(popup.isVisible());
        QVERIFY(test.editor()->languageMarks().isEmpty());
        QVERIFY(test.window->languageFeatures()->analyser().pending());
        QTest::keyClicks(test.editor(), "p");  // typing goes on and narrows the list
        QCOMPARE(popup.shownWords(), QStringList({"Dup", "Dup2", "DupN"}));
        QTest::keyClick(test.editor(), Qt::Key_Down);
        QTest::keyClick(test.editor(), Qt::Key_Down);
        QTest::keyClick(test.editor(), Qt::Key_Return);
        QVERIFY(!popup.isVisible());
        QCOMPARE(test.editor()->toPlainText(), QString("1\nDupN"));    // no line end typed
        QCOMPARE(ColourAt(*test.editor()->document(), 2), 0xFF0000u);  // blue, as typed
    }

    void ctrlSpaceOffersLabelsAfterGoTo() {
        TestWindow test;
        Prepare(test, "Loop1: 1\nLater: 2\nGoTo L");
        CompletionPopup& popup = test.window->languageFeatures()->completion();
        test.window->findChild<QAction*>("mnuComplete")->trigger();
        QVERIFY(popup.isVisible());
        QCOMPARE(popup.shownWords(), QStringList({"Loop1", "Later"}));
        QTest::keyClick(test.editor(), Qt::Key_Down);
        QTest::keyClick(test.editor(), Qt::Key_Tab);
        QCOMPARE(test.editor()->toPlainText(), QString("Loop1: 1\nLater: 2\nGoTo Later"));
    }

    // $Lib offers the libraries of the folders F9 searches: here the
    // program's folder, where the shipped library lies.
    void libraryNamesAfterLib() {
        TestWindow test(ZR_SOURCE_DIR "/libraries");
        Prepare(test, "$Lib st");
        CompletionPopup& popup = test.window->languageFeatures()->completion();
        popup.Complete();
        QCOMPARE(popup.shownWords(), QStringList{"stackmath"});
        QTest::keyClick(test.editor(), Qt::Key_Return);
        QCOMPARE(test.editor()->toPlainText(), QString("$Lib stackmath"));
    }

    void neverInsideQuotedTextsOrComments() {
        const char* lines[] = {"' du", "! \"du", "1 ' a comment du"};
        for (const char* line : lines) {
            TestWindow test;
            Prepare(test, QString::fromUtf8(line).chopped(2));
            CompletionPopup& popup = test.window->languageFeatures()->completion();
            QTest::keyClicks(test.editor(), "du");
            QVERIFY2(!popup.isVisible(), line);
            popup.Complete();
            QVERIFY2(!popup.isVisible(), line);
        }
    }

    void escapeAndWordEndsCloseTheList() {
        TestWindow test;
        Prepare(test, "");
        CompletionPopup& popup = test.window->languageFeatures()->completion();
        QTest::keyClicks(test.editor(), "sw");
        QVERIFY(popup.isVisible());
        QTest::keyClick(test.editor(), Qt::Key_Escape);
        QVERIFY(!popup.isVisible());
        QCOMPARE(test.editor()->toPlainText(), QString("sw"));

        QTest::keyClicks(test.editor(), " sw");
        QVERIFY(popup.isVisible());
        QTest::keyClick(test.editor(), Qt::Key_Space);  // the word ends: typed as it is
        QVERIFY(!popup.isVisible());
        // A word typed out in full closes it, so Enter ends the line.
        QTest::keyClicks(test.editor(), "wai");
        QVERIFY(popup.isVisible());
        QTest::keyClicks(test.editor(), "t");
        QVERIFY(!popup.isVisible());
        QTest::keyClick(test.editor(), Qt::Key_Return);
        QVERIFY(test.editor()->toPlainText().endsWith("Wait\n"));
        // Third and later letters of a word do not reopen it.
        QTest::keyClicks(test.editor(), "swa");
        QTest::keyClick(test.editor(), Qt::Key_Escape);
        QTest::keyClicks(test.editor(), "p");
        QVERIFY(!popup.isVisible());
    }
};

}  // namespace zr::shell::testing

QTEST_MAIN(zr::shell::testing::CompletionPopupTest)
#include "completion_popup_test.moc"
