// The main window's file commands: new, open and save of .zrt sources and of
// .bib libraries, with the unsaved-changes question before anything replaces
// the text and every failure shown.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "compiler/keywords.h"
#include "shell/source_files.h"
#include "shell_test_support.h"

namespace zr::shell::testing {

namespace {

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

}  // namespace

class MainWindowFilesTest : public QObject {
    Q_OBJECT

  private slots:
    void init();

    void startsWithTheProjectLineUnchanged();
    void newWithoutChangesDoesNotAsk();
    void newWithChangesAndCancelKeepsTheText();
    void newWithChangesAndDiscardReplacesTheText();
    void openWithChangesAndSaveSavesFirst();
    void failedSaveInTheQuestionStopsTheOpen();
    void cancelledOpenDialogChangesNothing();
    void saveOffersTheCurrentFileName();
    void failedSaveIsShownAndKeepsTheOldFileAndTheChanges();
    void failedOpenIsShownAndKeepsTheEditor();
    void closingWithChangesAsksAndCancelKeepsTheWindow();
    void exitWithChangesAndDiscardCloses();
    void libraryIsSavedAsPlainLinesAndOpenedAgain();
    void filterAndStartFolderOfTheDialogs();

  private:
    QTemporaryDir folder_;
};

void MainWindowFilesTest::init() {
    QVERIFY(folder_.isValid());
}

void MainWindowFilesTest::startsWithTheProjectLineUnchanged() {
    TestWindow test;
    QVERIFY(test.editor()->toPlainText().startsWith("'---Project: "));
    QVERIFY(test.editor()->toPlainText().endsWith("---\n"));
    QVERIFY(!test.editor()->document()->isModified());
    QVERIFY(test.window->currentFileName().isEmpty());
}

void MainWindowFilesTest::newWithoutChangesDoesNotAsk() {
    TestWindow test;
    test.window->newSource();
    QCOMPARE(test.prompts->unsavedQuestions, 0);
}

void MainWindowFilesTest::newWithChangesAndCancelKeepsTheText() {
    TestWindow test;
    test.setText("Dup End");
    test.prompts->unsavedChoices = {UnsavedChoice::Cancel};
    test.window->newSource();
    QCOMPARE(test.prompts->unsavedQuestions, 1);
    QCOMPARE(test.editor()->toPlainText(), QString("Dup End"));
    QVERIFY(test.editor()->document()->isModified());
}

void MainWindowFilesTest::newWithChangesAndDiscardReplacesTheText() {
    TestWindow test;
    test.setText("Dup End");
    test.prompts->unsavedChoices = {UnsavedChoice::Discard};
    test.window->newSource();
    QVERIFY(test.editor()->toPlainText().startsWith("'---Project: "));
    QVERIFY(test.prompts->saveDialogs.empty());
}

void MainWindowFilesTest::openWithChangesAndSaveSavesFirst() {
    const QString other = folder_.filePath("other.zrt");
    WriteBytes(other, "Swap\n");
    const QString mine = folder_.filePath("mine.zrt");

    TestWindow test;
    test.setText("Dup End");
    test.prompts->unsavedChoices = {UnsavedChoice::Save};
    test.prompts->saveNames = {mine};
    test.prompts->openNames = {other};
    test.window->openSource();

    QVERIFY(ReadBytes(mine).startsWith("{\\rtf"));
    QCOMPARE(ReadSourceFile(mine).document->text, std::string("Dup End"));
    QCOMPARE(test.editor()->toPlainText(), QString("Swap\n"));
    QCOMPARE(test.window->currentFileName(), other);
}

void MainWindowFilesTest::failedSaveInTheQuestionStopsTheOpen() {
    TestWindow test;
    test.setText("Dup End");
    test.prompts->unsavedChoices = {UnsavedChoice::Save};
    test.prompts->saveNames = {folder_.filePath("no/such/folder/x.zrt")};
    test.prompts->openNames = {folder_.filePath("never-asked.zrt")};
    test.window->openSource();

    QCOMPARE(test.prompts->fileErrors.size(), 1);
    QVERIFY(test.prompts->openDialogs.empty());
    QCOMPARE(test.editor()->toPlainText(), QString("Dup End"));
    QVERIFY(test.editor()->document()->isModified());
}

void MainWindowFilesTest::cancelledOpenDialogChangesNothing() {
    TestWindow test;
    const QString before = test.editor()->toPlainText();
    test.window->openSource();  // no answer queued: the dialog is cancelled
    QCOMPARE(test.prompts->openDialogs.size(), size_t(1));
    QCOMPARE(test.editor()->toPlainText(), before);
    QVERIFY(test.prompts->fileErrors.isEmpty());
}

void MainWindowFilesTest::saveOffersTheCurrentFileName() {
    const QString path = folder_.filePath("prog.zrt");
    WriteBytes(path, "End\n");
    TestWindow test(folder_.path());
    QVERIFY(test.window->loadFile(path));
    test.window->saveSource();
    QCOMPARE(test.prompts->saveDialogs.size(), size_t(1));
    QCOMPARE(test.prompts->saveDialogs[0].startAt, path);
}

void MainWindowFilesTest::failedSaveIsShownAndKeepsTheOldFileAndTheChanges() {
    // A folder where the file should be: nothing can be renamed over it, not even by root.
    const QString blocked = folder_.filePath("blocked.zrt");
    QVERIFY(QDir(folder_.path()).mkdir("blocked.zrt"));
    WriteBytes(folder_.filePath("blocked.zrt/inside"), "kept");

    TestWindow test;
    test.setText("Dup End");
    test.prompts->saveNames = {blocked, folder_.filePath("missing/folder/x.zrt")};
    QVERIFY(!test.window->saveSource());
    QVERIFY(!test.window->saveSource());

    QCOMPARE(test.prompts->fileErrors.size(), 2);
    QVERIFY(test.prompts->fileErrors[0].contains("blocked.zrt"));
    QVERIFY(test.prompts->fileErrors[1].contains("x.zrt"));
    QCOMPARE(ReadBytes(folder_.filePath("blocked.zrt/inside")), QByteArray("kept"));
    QVERIFY(test.editor()->document()->isModified());
    QVERIFY(test.window->currentFileName().isEmpty());
}

void MainWindowFilesTest::failedOpenIsShownAndKeepsTheEditor() {
    TestWindow test;
    test.setText("Dup End");
    test.prompts->unsavedChoices = {UnsavedChoice::Discard};
    test.prompts->openNames = {folder_.filePath("missing.zrt")};
    test.window->openSource();
    QCOMPARE(test.prompts->fileErrors.size(), 1);
    QVERIFY(test.prompts->fileErrors[0].contains("missing.zrt"));
    QCOMPARE(test.editor()->toPlainText(), QString("Dup End"));
}

void MainWindowFilesTest::closingWithChangesAsksAndCancelKeepsTheWindow() {
    TestWindow test;
    test.window->show();
    test.setText("Dup End");
    test.prompts->unsavedChoices = {UnsavedChoice::Cancel};
    QVERIFY(!test.window->close());
    QVERIFY(test.window->isVisible());
    QCOMPARE(test.prompts->unsavedQuestions, 1);
}

void MainWindowFilesTest::exitWithChangesAndDiscardCloses() {
    TestWindow test;
    test.window->show();
    test.setText("Dup End");
    test.prompts->unsavedChoices = {UnsavedChoice::Discard};
    test.window->findChild<QAction*>("mnuExit")->trigger();
    QVERIFY(!test.window->isVisible());
    QCOMPARE(test.prompts->unsavedQuestions, 1);
}

void MainWindowFilesTest::libraryIsSavedAsPlainLinesAndOpenedAgain() {
    const QString library = folder_.filePath("maths.bib");
    TestWindow test;
    test.setText("Square: Dup *\nRet");
    test.prompts->saveNames = {library};
    QVERIFY(test.window->saveLibrary());
    QCOMPARE(ReadBytes(library), QByteArray("Square: Dup *\r\nRet"));
    QVERIFY(!test.editor()->document()->isModified());

    // With a library open, the question's Save saves the library again.
    test.setText("Ret");
    test.prompts->unsavedChoices = {UnsavedChoice::Save};
    test.prompts->saveNames = {library};
    test.prompts->openNames = {library};
    test.window->editLibrary();
    QCOMPARE(test.prompts->saveDialogs.back().filter, QString("*.bib"));
    QCOMPARE(test.editor()->toPlainText(), QString("Ret"));
}

void MainWindowFilesTest::filterAndStartFolderOfTheDialogs() {
    TestWindow test(folder_.path());
    test.window->openSource();
    test.window->editLibrary();
    QCOMPARE(test.prompts->openDialogs[0].filter, QString("*.zrt"));
    QCOMPARE(test.prompts->openDialogs[0].startAt, folder_.path());
    QCOMPARE(test.prompts->openDialogs[1].filter, QString("*.bib"));
    QCOMPARE(test.prompts->openDialogs[1].startAt, folder_.path());
}

}  // namespace zr::shell::testing

QTEST_MAIN(zr::shell::testing::MainWindowFilesTest)
#include "main_window_files_test.moc"
