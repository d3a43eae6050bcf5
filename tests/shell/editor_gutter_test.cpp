// The editor's gutter: breakpoints set by a click or Ctrl+B, following their
// lines through edits, remembered per file; the caret line highlighted.
#include "shell/editor/editor_gutter.h"

#include <QAbstractTextDocumentLayout>
#include <QFileInfo>
#include <QScrollBar>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>

#include "shell/debugger/breakpoint_store.h"
#include "shell/editor/source_files.h"
#include "shell_test_support.h"

namespace zr::shell::testing {

class EditorGutterTest : public QObject {
    Q_OBJECT

  private slots:
    void gutterClickAndCtrlBToggleBreakpoint() {
        TestWindow test;
        test.window->show();
        QVERIFY(QTest::qWaitForWindowActive(test.window.get()));
        test.setText("Dup\nSwap\nEnd\n");
        EditorGutter* gutter = test.editor()->gutter();
        QVERIFY(gutter->isVisible() && gutter->width() > 0);

        const QTextBlock second = test.editor()->document()->findBlockByNumber(1);
        const int y = static_cast<int>(test.editor()
                                           ->document()
                                           ->documentLayout()
                                           ->blockBoundingRect(second)
                                           .center()
                                           .y()) -
                      test.editor()->verticalScrollBar()->value();
        QTest::mouseClick(gutter, Qt::LeftButton, {}, QPoint(gutter->width() / 2, y));
        QCOMPARE(gutter->breakpointLines(), QList<int>{2});

        QTextCursor caret(test.editor()->document()->findBlockByNumber(2));
        test.editor()->setTextCursor(caret);
        test.editor()->setFocus();
        QTest::keyClick(test.editor(), Qt::Key_B, Qt::ControlModifier);
        QCOMPARE(gutter->breakpointLines(), (QList<int>{2, 3}));
        QTest::mouseClick(gutter, Qt::LeftButton, {}, QPoint(gutter->width() / 2, y));
        QCOMPARE(gutter->breakpointLines(), QList<int>{3});
    }

    void gutterBreakpointsFollowTheirLinesThroughEdits() {
        TestWindow test;
        test.setText("A = 1\nB = 2\nC = 3\nEnd");
        EditorGutter* gutter = test.editor()->gutter();
        gutter->setBreakpointLines({2, 4, 9});  // 9: past the end, dropped
        QCOMPARE(gutter->breakpointLines(), (QList<int>{2, 4}));

        QTextCursor cursor(test.editor()->document());
        cursor.insertText("' a comment\n' and one more\n");
        QCOMPARE(gutter->breakpointLines(), (QList<int>{4, 6}));

        // Deleting the line takes its breakpoint with it.
        cursor = QTextCursor(test.editor()->document()->findBlockByNumber(3));
        cursor.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        QCOMPARE(gutter->breakpointLines(), QList<int>{5});
        QCOMPARE(test.editor()->document()->findBlockByNumber(4).text(), QString("End"));
    }

    void gutterBreakpointsAreRememberedPerFile() {
        QTemporaryDir folder;
        const QString first = folder.filePath("first.zrt");
        const QString second = folder.filePath("second.zrt");
        QString error;
        for (const QString& path : {first, second})
            QVERIFY(SaveSourceFile(path, formats::RichText{"Dup\nSwap\nEnd"}, &error));
        {
            TestWindow test;
            QVERIFY(test.window->LoadFile(first));
            test.editor()->gutter()->toggleBreakpoint(3);
            // As the Breakpoints pane sets them: disabled, a condition, a hit count.
            test.editor()->gutter()->setBreakpoint({1, false, "a > 5", 4});
            QVERIFY(test.window->LoadFile(second));
            QVERIFY(test.editor()->gutter()->breakpointLines().isEmpty());
        }
        TestWindow again;
        QVERIFY(again.window->LoadFile(first));
        QCOMPARE(again.editor()->gutter()->breakpoints(),
                 (std::vector<BreakpointEntry>{{1, false, "a > 5", 4}, {3}}));
        again.editor()->gutter()->toggleBreakpoint(1);
        again.editor()->gutter()->toggleBreakpoint(3);
        QVERIFY(again.window->LoadFile(first));
        QVERIFY(again.editor()->gutter()->breakpointLines().isEmpty());
    }

    // What each breakpoint asks is read back as stored; settings that hold
    // lines only (as earlier versions wrote them) give plain breakpoints;
    // a breakpoint stored plain again loses what it asked before.
    void breakpointSettingsAreReadBack() {
        QStandardPaths::setTestModeEnabled(true);
        QTemporaryDir folder;
        const QString path = folder.filePath("kept.zrt");
        using Entries = std::vector<BreakpointEntry>;
        const Entries cases[] = {
            {{2, true, "", 0}, {5, false, "", 0}, {7, true, "b1 <> 3", 0}, {9, true, "", 2}},
            {{5, true, "", 0}, {9, false, "i >= 2", 12}},
            {{5}},
            {},
        };
        for (const Entries& entries : cases) {
            StoreBreakpoints(path, entries);
            QCOMPARE(StoredBreakpoints(path), entries);
        }
        const QByteArray key =
            QFileInfo(path).absoluteFilePath().toUtf8().toBase64(QByteArray::Base64UrlEncoding);
        QSettings("zr7340", "zr7340-ide")
            .setValue("breakpoints/" + QString::fromLatin1(key), QVariantList{3, 8});
        QCOMPARE(StoredBreakpoints(path), (Entries{{3}, {8}}));
        StoreBreakpoints(path, {});
        QVERIFY(StoredBreakpoints(path).empty());
    }

    // A comment, a declaration, a blank line and a label write no bytes: a
    // breakpoint there holds at the next statement, and its dot moves there
    // when the text is compiled. After the last statement there is none.
    void gutterBreakpointsMoveToTheirStatementsOnCompile() {
        QTemporaryDir folder;
        const QString path = folder.filePath("moved.zrt");
        QString error;
        QVERIFY(SaveSourceFile(path,
                               formats::RichText{"' a comment\nDimB b1\n\n1 -> b1\nTop:\n"
                                                 "b1 1 + -> b1\n-1 Wait\n' the end\n"},
                               &error));
        {
            TestWindow test;
            QVERIFY(test.window->LoadFile(path));
            EditorGutter* gutter = test.editor()->gutter();
            gutter->setBreakpointLines({1, 3, 4, 5, 8, 9});
            QVERIFY(test.window->compile());
            QCOMPARE(gutter->breakpointLines(), (QList<int>{4, 6}));
            // A moved breakpoint keeps its condition, hit count and state.
            gutter->setBreakpoints({{4, true, "", 0}, {5, false, "b1 > 2", 3}});
            QVERIFY(test.window->compile());
            QCOMPARE(gutter->breakpoints().back(), (BreakpointEntry{6, false, "b1 > 2", 3}));
            gutter->setBreakpointLines({1, 3, 4, 5, 8, 9});
            QVERIFY(test.window->compile());
            // Compiling again changes nothing: the dots stand on statements.
            QVERIFY(test.window->compile());
            QCOMPARE(gutter->breakpointLines(), (QList<int>{4, 6}));
        }
        // The file remembers the lines the dots moved to.
        TestWindow again;
        QVERIFY(again.window->LoadFile(path));
        EditorGutter* gutter = again.editor()->gutter();
        QCOMPARE(gutter->breakpointLines(), (QList<int>{4, 6}));
        // A failed compile knows no statements: the dots stay.
        gutter->toggleBreakpoint(2);
        QTextCursor end(again.editor()->document());
        end.movePosition(QTextCursor::End);
        end.insertText("GoTo Nowhere\n");
        QVERIFY(!again.window->compile());
        QCOMPARE(gutter->breakpointLines(), (QList<int>{2, 4, 6}));
    }

    // The caret's line is tinted on screen without an extra selection, so
    // the extra selections stay free for marks and nothing is selected.
    void caretLineIsHighlighted() {
        TestWindow test;
        test.setText("Dup\nSwap\nEnd");
        test.window->show();
        SourceEditor& editor = *test.editor();
        editor.setTextCursor(QTextCursor(editor.document()->findBlockByNumber(1)));
        const QImage shot = editor.viewport()->grab().toImage();
        const int right = editor.viewport()->width() - 3;
        QCOMPARE(shot.pixelColor(right, editor.cursorRect().center().y()), QColor(255, 250, 205));
        QCOMPARE(
            shot.pixelColor(right, editor.cursorRect().center().y() + editor.cursorRect().height()),
            QColor(Qt::white));
        QVERIFY(editor.extraSelections().isEmpty());
    }
};

}  // namespace zr::shell::testing

QTEST_MAIN(zr::shell::testing::EditorGutterTest)
#include "editor_gutter_test.moc"
