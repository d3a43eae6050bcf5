// The main window's file commands: new, open and save of .zrt sources and of
// .bib libraries, with the unsaved-changes question before anything replaces
// the text and every failure shown.
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "shell/editor/source_files.h"
#include "shell/editor/start_folders.h"
#include "shell/main_window/data_folders.h"
#include "shell_test_support.h"

namespace zr::shell::testing {

namespace {

const char* kProjectLine = "'---Project: ";

}  // namespace

class MainWindowFilesTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { QVERIFY(folder_.isValid()); }

    void unsavedChangesAreAskedAboutBeforeTheTextGoes() {
        using Command = std::function<void(FrmMain&)>;
        const Command newSource = [](FrmMain& w) { w.newSource(); };
        const Command openSource = [](FrmMain& w) { w.openSource(); };
        const Command close = [](FrmMain& w) { w.close(); };
        const Command exit = [](FrmMain& w) { w.findChild<QAction*>("mnuExit")->trigger(); };
        const QString mine = folder_.filePath("mine.zrt"), other = folder_.filePath("other.zrt");
        const QString badFolder = "no/such/folder/x.zrt";
        WriteBytes(other, "Swap\n");
        using enum UnsavedChoice;
        struct Case {
            const char* name;
            Command command;
            bool changed;
            UnsavedChoice choice;        // the answer, if asked
            QString saveName, openName;  // the answers to the file dialogs, if asked
            const char* textAfter;       // what the text starts with afterwards
            int fileErrors, openAsked, visibleAfter;
        } cases[] = {
            {"new, unchanged", newSource, false, Cancel, "", "", kProjectLine, 0, 0, 1},
            {"new, Cancel", newSource, true, Cancel, "", "", "Dup End", 0, 0, 1},
            {"new, Discard", newSource, true, Discard, "", "", kProjectLine, 0, 0, 1},
            {"open cancelled", openSource, false, Cancel, "", "", kProjectLine, 0, 1, 1},
            {"open, Save", openSource, true, Save, mine, other, "Swap\n", 0, 1, 1},
            {"open, failed Save", openSource, true, Save, folder_.filePath(badFolder), other,
             "Dup End", 1, 0, 1},
            {"open missing, Discard", openSource, true, Discard, "", folder_.filePath("missing"),
             "Dup End", 1, 1, 1},
            {"close, Cancel", close, true, Cancel, "", "", "Dup End", 0, 0, 1},
            {"exit, Discard", exit, true, Discard, "", "", "Dup End", 0, 0, 0},
        };
        for (const Case& c : cases) {
            TestWindow test;
            test.window->show();
            if (c.changed) test.setText("Dup End");
            test.prompts->unsavedChoices = {c.choice};
            if (!c.saveName.isEmpty()) test.prompts->saveNames = {c.saveName};
            if (!c.openName.isEmpty()) test.prompts->openNames = {c.openName};
            c.command(*test.window);

            QVERIFY2(test.editor()->toPlainText().startsWith(c.textAfter), c.name);
            QCOMPARE(test.prompts->unsavedQuestions, c.changed ? 1 : 0);
            QCOMPARE(test.prompts->fileErrors.size(), c.fileErrors);
            QCOMPARE(test.prompts->saveDialogs.size(), size_t(!c.saveName.isEmpty()));
            QCOMPARE(test.prompts->openDialogs.size(), size_t(c.openAsked));
            QCOMPARE(test.window->isVisible(), bool(c.visibleAfter));
            if (QString(c.textAfter) == "Dup End")
                QVERIFY2(test.editor()->document()->isModified(), c.name);
            if (c.saveName == mine) {  // saved first, as a source
                QVERIFY(ReadBytes(mine).startsWith("{\\rtf"));
                QCOMPARE(ReadSourceFile(mine).document->text, std::string("Dup End"));
                QCOMPARE(test.window->currentFileName(), other);
            }
        }
    }

    void dialogsStartWhereTheUserWorks() {
        const QString home = QDir::homePath();
        const struct Case {
            QString current;
            bool example;
            QString remembered, expected;
        } cases[] = {
            {"/work/a.zrt", false, "/last", "/work"},
            {"", false, "/last", "/last"},
            {"", false, "", "/examples"},
            {"/examples/s.zrt", true, "/last", "/last"},  // never into the shipped folder
            {"/examples/s.zrt", true, "", home},
        };
        for (const Case& c : cases)
            QCOMPARE(DialogStartFolder(c.current, c.example, c.remembered, "/examples"),
                     c.expected);
    }

    void dialogsFilterAndRememberTheLastFolderAcrossWindows() {
        const QString path = folder_.filePath("prog.zrt");
        WriteBytes(path, "End\n");
        QStandardPaths::setTestModeEnabled(true);
        QSettings(QSettings::UserScope, "zr7340", "zr7340-ide").clear();
        {
            TestWindow test(folder_.path());
            test.window->setExamplesFolder("/shipped/examples");
            test.window->openSource();
            test.window->editLibrary();
            QCOMPARE(test.prompts->openDialogs[0].filter, QString("*.zrt *.kel"));
            QCOMPARE(test.prompts->openDialogs[0].startAt, QString("/shipped/examples"));
            QCOMPARE(test.prompts->openDialogs[1].filter, QString("*.bib"));
            QVERIFY(test.window->LoadFile(path));
            test.window->saveSourceAs();
            QCOMPARE(test.prompts->saveDialogs.at(0).startAt, path);  // its name offered
            test.window->saveLibrary();
            QCOMPARE(test.prompts->saveDialogs.at(1).startAt, folder_.path());
        }
        TestWindow next;  // as after a restart
        next.window->openSource();
        QCOMPARE(next.prompts->openDialogs.at(0).startAt, folder_.path());
        QCOMPARE(RememberedFolder(), folder_.path());
    }

    // Open may start among the shipped examples; Save never does (installed,
    // that folder is read-only, and it is no place for the user's work).
    void saveNeverStartsInTheExamplesFolder() {
        QStandardPaths::setTestModeEnabled(true);
        QSettings(QSettings::UserScope, "zr7340", "zr7340-ide").clear();
        TestWindow test(folder_.path());
        test.window->setExamplesFolder(folder_.path());
        test.window->openSource();
        QCOMPARE(test.prompts->openDialogs.at(0).startAt, folder_.path());
        test.window->saveSourceAs();
        QCOMPARE(test.prompts->saveDialogs.at(0).startAt, QDir::homePath());
    }

    void failedSaveIsShownAndKeepsTheChanges() {
        // A folder where the file should be: nothing can be renamed over it, not even by root.
        const QString blocked = folder_.filePath("blocked.zrt");
        QVERIFY(QDir(folder_.path()).mkdir("blocked.zrt"));

        TestWindow test;
        test.setText("Dup End");
        test.prompts->saveNames = {blocked, folder_.filePath("missing/folder/x.zrt")};
        QVERIFY(!test.window->saveSource());
        QVERIFY(!test.window->saveSource());

        QCOMPARE(test.prompts->fileErrors.size(), 2);
        QVERIFY(test.prompts->fileErrors[0].contains("blocked.zrt"));
        QVERIFY(test.prompts->fileErrors[1].contains("x.zrt"));
        for (const QString& error : test.prompts->fileErrors)  // never the temporary file
            QVERIFY2(!error.contains(".tmp-"), qPrintable(error));
        QVERIFY(test.editor()->document()->isModified());
        QVERIFY(test.window->currentFileName().isEmpty());
    }

    void libraryIsSavedAsPlainLinesAndOpenedAgain() {
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
        QCOMPARE(test.prompts->saveDialogs.size(), size_t(1));  // saved in place
        QCOMPARE(ReadBytes(library), QByteArray("Ret"));
        QCOMPARE(test.editor()->toPlainText(), QString("Ret"));
    }

    // "Редактировать библиотеку" starts in the first folder $Lib searches
    // that exists and names every folder it searches.
    void editLibraryStartsInTheLibraryFolderAndNamesTheSearch() {
        const QString libraries = folder_.filePath("libs");
        QVERIFY(QDir().mkpath(libraries));
        const QString source = folder_.filePath("src/prog.zrt");
        QVERIFY(QDir().mkpath(folder_.filePath("src")));
        WriteBytes(source, "End\n");
        struct Case {
            QString programFolder, expectedStart;
        };
        for (const Case& c : {Case{libraries, libraries},
                              Case{folder_.filePath("gone"), folder_.filePath("src")}}) {
            TestWindow test(c.programFolder);
            QVERIFY(test.window->LoadFile(source));
            test.window->editLibrary();
            const FileDialogSetup& dialog = test.prompts->openDialogs.at(0);
            QCOMPARE(dialog.filter, QString("*.bib"));
            QVERIFY2(dialog.startAt == c.expectedStart ||
                         QFileInfo(dialog.startAt) == QFileInfo(UserLibraryFolder()),
                     qPrintable(dialog.startAt));
            QVERIFY2(dialog.caption.contains(QDir::toNativeSeparators(c.programFolder)) &&
                         dialog.caption.contains(QDir::toNativeSeparators(folder_.filePath("src"))),
                     qPrintable(dialog.caption));
            QVERIFY(!dialog.places.contains(folder_.filePath("gone")));
        }
    }

  private:
    QTemporaryDir folder_;
};

}  // namespace zr::shell::testing

QTEST_MAIN(zr::shell::testing::MainWindowFilesTest)
#include "main_window_files_test.moc"
