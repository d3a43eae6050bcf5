// The compile and run commands: messages in order, the failing statement
// selected from its first character, the report on success, and the emulator
// opened only after a successful run compile.
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "shell/main_window/compile_session.h"
#include "shell/main_window/data_folders.h"
#include "shell_test_support.h"

namespace zr::shell::testing {

class CompileCommandTest : public QObject {
    Q_OBJECT

  private slots:
    void errorShowsItsMessagesAndSelectsTheStatementFromItsFirstCharacter() {
        QTemporaryDir folder;
        WriteBytes(folder.filePath("bad.bib"), "Dup\r\nDup\r\nDupN 40\r\n");
        QStandardPaths::setTestModeEnabled(true);  // as the test window has it
        // Each message shown, after "!" when it comes with the error icon.
        const QString overflow = "!Переполнение стека!";
        struct Case {
            QString text;
            QStringList messages;
            QString selected;
        } cases[] = {
            {"Dup\n\n   DupN 40\nEnd", {overflow}, "DupN 40"},
            {"' Привет, мир\r\nDimS x\n? \"Ввод\" x\n\n\t DupN 40\nEnd", {overflow}, "DupN 40"},
            // The compiler counts the emoji as one character, the editor as two units.
            {"' \U0001F600\nDupN 1\nEnd", {overflow}, "DupN 1"},
            // The library's error, then the main text's at the directive (not at
            // line 3 of the main text, where the library's own error lies).
            {"Swap\n  Dup\n$Lib bad\nDrop Drop Drop\nEnd",
             {overflow, "Ошибка при подключении библиотеки bad"},
             "$Lib bad"},
            {"Dup\n$Lib nowhere\nEnd",
             {"Произошла ошибка чтения текста из файла!",
              "Файл библиотеки не найден: nowhere.bib; просмотрены папки: " + folder.path() + "; " +
                  UserLibraryFolder()},
             "$Lib nowhere"},
        };
        for (const Case& c : cases) {
            TestWindow test(folder.path());
            test.setText(c.text);
            QVERIFY(!test.window->compile());
            QStringList shown;
            for (const auto& message : test.prompts->compilerMessages)
                shown << (message.style == compiler::MessageStyle::Critical ? "!" : "") +
                             QString::fromStdString(message.text);
            QCOMPARE(shown, c.messages);
            const QTextCursor cursor = test.editor()->textCursor();
            QCOMPARE(cursor.selectedText(), c.selected);
            QCOMPARE(cursor.selectionStart(), test.editor()->toPlainText().indexOf(c.selected));
            QVERIFY(test.prompts->reports.empty());
        }
    }

    void successShowsTheReportAndNoMessages() {
        TestWindow test;
        test.setText("DimS a, b\nDimB c\n3.5 -> a\na Dup * PrtX End");
        QVERIFY(test.window->compile());
        QVERIFY(test.prompts->compilerMessages.empty());
        QCOMPARE(test.prompts->reports.size(), size_t(1));
        const compiler::MemoryReport& report = test.prompts->reports[0];
        QCOMPARE(report.singlesUsed, 2);
        QCOMPARE(report.bytesUsed, 1);
        QCOMPARE(report.integersUsed, 7);  // the predeclared i..o
        QCOMPARE(report.compileAddress, test.window->compileSession().lastCompile().compileAddress);
        QVERIFY(report.compileAddress > 1);
    }

    void runOpensTheEmulatorAfterASuccessfulCompileOnly() {
        TestWindow test;
        std::vector<EmulatorStart> starts;
        int addressSeen = 0;
        test.window->setEmulatorOpener(
            [&](const compiler::Compiler& compiled, EmulatorStart start) {
                starts.push_back(start);
                addressSeen = compiled.compileAddress;
            });
        test.setText("DupN 40");
        test.window->findChild<QAction*>("mnuRun")->trigger();
        QVERIFY(starts.empty());

        test.setText("Dup End");
        test.window->findChild<QAction*>("mnuRun")->trigger();
        QVERIFY(starts == std::vector{EmulatorStart::AfterRun});
        QCOMPARE(addressSeen, 3);
        QCOMPARE(test.prompts->reports.size(), size_t(1));  // the report comes first
    }

    void emulatorCommandUsesTheLastCompileWithoutCompiling() {
        TestWindow test;
        std::vector<EmulatorStart> starts;
        test.window->setEmulatorOpener(
            [&](const compiler::Compiler&, EmulatorStart start) { starts.push_back(start); });
        test.window->findChild<QAction*>("mnuEmulator")->trigger();
        QVERIFY(starts == std::vector{EmulatorStart::LastCompile});
        QVERIFY(test.prompts->reports.empty());
        QVERIFY(!test.window->compileSession().hasCompiled());
    }
};

}  // namespace zr::shell::testing

QTEST_MAIN(zr::shell::testing::CompileCommandTest)
#include "compile_command_test.moc"
