// Files as in any editor: Save writes in place, "Сохранить как…" asks, a
// library is always plain text for $Lib, the status bar names the file, the
// shipped examples are never overwritten, and files that are no source are
// refused or warned about.
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>

#include "shell/editor/source_files.h"
#include "shell_test_support.h"

namespace zr::shell::testing {
namespace {

QString FileField(const TestWindow& test) {
    return test.window->findChild<QLabel*>("fileField")->text();
}

}  // namespace

class EditorFilesTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { QVERIFY(folder_.isValid()); }

    void saveWritesInPlaceAndSaveAsAsks() {
        const QString path = folder_.filePath("prog.zrt"), copy = folder_.filePath("copy.zrt");
        WriteBytes(path, "End\n");
        TestWindow test;
        QVERIFY(test.window->LoadFile(path));
        QTest::keyClicks(test.editor(), "dup ");
        test.window->findChild<QAction*>("mnuFile2")->trigger();  // Save, as Ctrl+S
        QVERIFY(test.prompts->saveDialogs.empty());
        QCOMPARE(ReadSourceFile(path).document->text, test.editor()->toPlainText().toStdString());

        test.prompts->saveNames = {copy};
        test.window->findChild<QAction*>("mnuFileSaveAs")->trigger();
        QCOMPARE(test.prompts->saveDialogs.size(), size_t(1));
        QCOMPARE(test.window->currentFileName(), copy);
        QVERIFY(ReadBytes(copy).startsWith("{\\rtf"));
    }

    // Save, its toolbar button and the unsaved-changes question all write a
    // library as the plain lines $Lib compiles, to its .bib.
    void librarySavesAsPlainTextThatLibCompiles() {
        const QString library = folder_.filePath("maths.bib");
        WriteBytes(library, "Square: Dup *\r\nRet\r\n");
        TestWindow test(folder_.path());
        test.prompts->openNames = {library};
        test.window->editLibrary();
        QCOMPARE(test.editor()->textCursor().position(), 0);  // a file opens at its top
        test.editor()->moveCursor(QTextCursor::End);
        QTest::keyClicks(test.editor(), "' squares");
        QTest::keyClick(test.editor(), Qt::Key_Return);
        test.window->findChild<QAction*>("mnuFile2")->trigger();
        QVERIFY(test.prompts->saveDialogs.empty());
        QCOMPARE(ReadBytes(library), QByteArray("Square: Dup *\r\nRet\r\n' squares\r\n"));
        test.editor()->moveCursor(QTextCursor::End);
        QTest::keyClicks(test.editor(), "Cube: Dup Dup * * Ret");
        test.window->onToolbarKey("save");
        QVERIFY(ReadBytes(library).endsWith("Cube: Dup Dup * * Ret"));
        QVERIFY(test.prompts->saveDialogs.empty());

        TestWindow program(folder_.path());
        program.setText("DimS x\n$Lib maths\n3 Call Cube PrtX\nEnd\n");
        QVERIFY(program.window->compile());
    }

    void compileSearchesTheSourcesFolderAndOpensALibraryAtItsError() {
        const QString library = folder_.filePath("broken.bib");
        WriteBytes(library, "Fine: Ret\r\nBad: Dup Frobnicate\r\nRet\r\n");
        const QString program = folder_.filePath("main.zrt");
        WriteBytes(program, "$Lib broken\nCall Fine\nEnd\n");
        TestWindow test(folder_.path());
        QVERIFY(test.window->LoadFile(program));
        test.prompts->confirmAnswers = {true};
        QVERIFY(!test.window->compile());
        QCOMPARE(test.window->compileSession().lastCompile().sourceFolder,
                 std::filesystem::path(folder_.path().toStdString()));
        QCOMPARE(test.prompts->confirmations.size(), 1);
        QVERIFY2(test.prompts->confirmations[0].contains("broken.bib") &&
                     test.prompts->confirmations[0].contains("строка 2"),
                 qPrintable(test.prompts->confirmations[0]));
        QCOMPARE(test.window->currentFileName(), library);
        const QTextCursor selection = test.editor()->textCursor();
        QCOMPARE(selection.block().blockNumber(), 1);
        QVERIFY(selection.hasSelection());
    }

    void statusBarNamesTheFileAndMarksChanges() {
        const QString path = folder_.filePath("lamp.zrt");
        WriteBytes(path, "End\n");
        TestWindow test;
        QCOMPARE(FileField(test), QString("Без имени"));
        QVERIFY(test.window->LoadFile(path));
        QCOMPARE(FileField(test), QString("lamp.zrt"));
        QCOMPARE(test.window->findChild<QLabel*>("fileField")->toolTip(), path);
        QTest::keyClicks(test.editor(), "x");
        QCOMPARE(FileField(test), QString("lamp.zrt *"));
        test.window->saveSource();
        QCOMPARE(FileField(test), QString("lamp.zrt"));
        QCOMPARE(test.window->windowTitle(), QString("Code Highlight Test"));
    }

    void plainFilesOpenColouredAsTyped() {
        const QString path = folder_.filePath("plain.zrt");
        WriteBytes(path, "dup ? \"end\"\r\n'swap\r\n");
        TestWindow test;
        QVERIFY(test.window->LoadFile(path));
        QCOMPARE(test.editor()->toPlainText(), QString("dup ? \"end\"\n'swap\n"));
        QCOMPARE(ColourAt(*test.editor()->document(), 0), compiler::colours::kBlue);
        QCOMPARE(ColourAt(*test.editor()->document(), 7), kQuotedTextColour);
        QCOMPARE(ColourAt(*test.editor()->document(), 13), kCommentColour);
        QVERIFY(!test.editor()->document()->isModified());
        QVERIFY(!test.editor()->document()->isUndoAvailable());
    }

    void examplesAreListedAndNeverOverwritten() {
        QTemporaryDir examples;
        const QString shipped = examples.filePath("blink.zrt");
        WriteBytes(shipped, "End\n");
        WriteBytes(examples.filePath("clock.zrt"), "End\n");
        WriteBytes(examples.filePath("notes.txt"), "");
        TestWindow test;
        test.window->setExamplesFolder(examples.path());
        auto* menu = test.window->findChild<QMenu*>("menuExamples");
        emit menu->aboutToShow();
        QStringList listed;
        for (QAction* action : menu->actions()) listed << action->text();
        QCOMPARE(listed, QStringList({"blink", "clock"}));

        menu->actions().constFirst()->trigger();
        QCOMPARE(test.window->currentFileName(), shipped);
        QTest::keyClicks(test.editor(), "dup ");
        const QString mine = folder_.filePath("blink.zrt");
        test.prompts->saveNames = {mine};
        QVERIFY(test.window->saveSource());  // asks for a new name
        QCOMPARE(test.prompts->saveDialogs.size(), size_t(1));
        QVERIFY(!test.prompts->saveDialogs[0].startAt.startsWith(examples.path()));
        QCOMPARE(ReadBytes(shipped), QByteArray("End\n"));
        QCOMPARE(test.window->currentFileName(), mine);
        test.window->saveSource();  // now the user's own file: in place
        QCOMPARE(test.prompts->saveDialogs.size(), size_t(1));
    }

    void binaryFilesWarnBeforeOpening() {
        const QString path = folder_.filePath("image.zrt");
        WriteBytes(path, QByteArray("PK\x03\x04\0\0binary", 12));
        for (const bool openAnyway : {false, true}) {
            TestWindow test;
            test.prompts->confirmAnswers = {openAnyway};
            QCOMPARE(test.window->LoadFile(path), openAnyway);
            QCOMPARE(test.prompts->confirmations.size(), 1);
            QVERIFY(test.prompts->confirmations[0].contains("image.zrt"));
            QCOMPARE(test.window->currentFileName().isEmpty(), !openAnyway);
        }
        QVERIFY(!LooksBinary("Dup\tEnd\r\n\f\x1A"));
        QVERIFY(LooksBinary(QByteArray("a\0b", 3)));
        QVERIFY(LooksBinary("\x01\x02\x03 text"));
    }

    void cutShortRtfOpensWhatCouldBeReadAndSaysSo() {
        const QString path = folder_.filePath("cut.zrt");
        WriteBytes(path,
                   "{\\rtf1\\ansi{\\colortbl;\\red0\\green0\\blue255;}\\cf1 Dup\\cf0  End\\par Sw");
        TestWindow test;
        QVERIFY(test.window->LoadFile(path));
        QCOMPARE(test.editor()->toPlainText(), QString("Dup End\nSw"));
        QCOMPARE(test.prompts->fileErrors.size(), 1);
        QVERIFY(test.prompts->fileErrors[0].contains("повреждён"));
    }

    void foldersPipesAndHugeFilesAreRefused() {
        QVERIFY(::mkfifo(folder_.filePath("pipe").toLocal8Bit().constData(), 0600) == 0);
        QFile huge(folder_.filePath("huge.zrt"));
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(qint64(kLargestSourceFile) + 1));
        huge.close();
        const struct {
            const char* name;
            const char* reason;
        } cases[] = {{"", "папка"}, {"pipe", "не обычный файл"}, {"huge.zrt", "велик"}};
        for (const auto& c : cases) {
            TestWindow test;
            QVERIFY(!test.window->LoadFile(folder_.filePath(c.name)));  // returns, never blocks
            QCOMPARE(test.prompts->fileErrors.size(), 1);
            QVERIFY2(test.prompts->fileErrors[0].contains(c.reason),
                     qPrintable(test.prompts->fileErrors[0]));
        }
    }

    // The shipped examples are coloured .zrt files, coloured as typing would
    // colour them, and compile.
    void shippedExamplesAreColouredSourcesThatCompile() {
        const QFileInfoList examples =
            QDir(ZR_SOURCE_DIR "/examples").entryInfoList({"*.zrt"}, QDir::Files);
        QVERIFY(examples.size() >= 6);
        for (const QFileInfo& example : examples) {
            const ReadResult read = ReadSourceFile(example.filePath());
            QVERIFY2(read.document && !read.plainText && !read.damaged,
                     qPrintable(example.fileName()));
            SourceEditor editor;
            editor.LoadDocument({read.document->text, {}}, true);
            QVERIFY2(editor.richText() == *read.document, qPrintable(example.fileName()));
            QVERIFY2(read.document->text.find("Wait") != std::string::npos,
                     qPrintable(example.fileName()));

            // Some examples name the shipped libraries, as installed.
            TestWindow test(ZR_SOURCE_DIR "/libraries");
            QVERIFY(test.window->LoadFile(example.filePath()));
            QVERIFY2(test.window->compile(), qPrintable(example.fileName()));
        }
    }

  private:
    QTemporaryDir folder_;
};

}  // namespace zr::shell::testing

QTEST_MAIN(zr::shell::testing::EditorFilesTest)
#include "editor_files_test.moc"
