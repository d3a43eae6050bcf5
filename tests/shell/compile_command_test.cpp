// The compile and run commands: messages in order, the failing statement
// selected from its first character, the report on success, and the emulator
// opened only after a successful run compile.
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "shell/compile_session.h"
#include "shell_test_support.h"

namespace zr::shell::testing {

namespace {

QString SelectedText(const SourceEditor& editor) {
    return editor.textCursor().selectedText().replace(QChar::ParagraphSeparator, u'\n');
}

}  // namespace

class CompileCommandTest : public QObject {
    Q_OBJECT

  private slots:
    void init();

    void mainTextErrorSelectsTheStatementFromItsFirstCharacter();
    void errorAfterCyrillicAndLineEndsSelectsTheRightPlace();
    void errorAfterCharacterBeyondTheBasicPlaneSelectsTheRightPlace();
    void libraryErrorShowsBothMessagesAndSelectsTheLibDirective();
    void missingLibraryShowsThePlainReadErrorAtTheDirective();
    void successShowsTheReportAndNoMessages();
    void runOpensTheEmulatorAfterASuccessfulCompileOnly();
    void emulatorCommandUsesTheLastCompileWithoutCompiling();
    void withoutAnEmulatorWindowRunSaysSo();

  private:
    void WriteLibrary(const QString& name, const QByteArray& text);
    QTemporaryDir folder_;
};

void CompileCommandTest::init() {
    QVERIFY(folder_.isValid());
}

void CompileCommandTest::WriteLibrary(const QString& name, const QByteArray& text) {
    QFile file(folder_.filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

void CompileCommandTest::mainTextErrorSelectsTheStatementFromItsFirstCharacter() {
    TestWindow test;
    test.setText("Dup\n\n   DupN 40\nEnd");
    QVERIFY(!test.window->compile());

    QCOMPARE(test.prompts->compilerMessages.size(), size_t(1));
    QCOMPARE(QString::fromStdString(test.prompts->compilerMessages[0].text),
             QString("Переполнение стека!"));
    QCOMPARE(test.prompts->compilerMessages[0].style, compiler::MessageStyle::Critical);
    QCOMPARE(test.editor()->textCursor().selectionStart(), 8);
    QCOMPARE(SelectedText(*test.editor()), QString("DupN 40"));
    QVERIFY(test.prompts->reports.empty());
}

void CompileCommandTest::errorAfterCyrillicAndLineEndsSelectsTheRightPlace() {
    TestWindow test;
    test.setText("' Привет, мир\r\nDimS x\n? \"Ввод\" x\n\n\t DupN 40\nEnd");
    QVERIFY(!test.window->compile());
    QCOMPARE(QString::fromStdString(test.prompts->compilerMessages.at(0).text),
             QString("Переполнение стека!"));
    QCOMPARE(SelectedText(*test.editor()), QString("DupN 40"));
    QCOMPARE(test.editor()->textCursor().selectionStart(),
             test.editor()->toPlainText().indexOf("DupN"));
}

void CompileCommandTest::errorAfterCharacterBeyondTheBasicPlaneSelectsTheRightPlace() {
    // The compiler counts the emoji as one character, the editor as two units.
    const QString text = QString::fromUtf8("' \xF0\x9F\x98\x80\nDupN 1\nEnd");
    TestWindow test;
    test.setText(text);
    QVERIFY(!test.window->compile());
    QCOMPARE(SelectedText(*test.editor()), QString("DupN 1"));
}

void CompileCommandTest::libraryErrorShowsBothMessagesAndSelectsTheLibDirective() {
    WriteLibrary("bad.bib", "Dup\r\nDup\r\nDupN 40\r\n");
    TestWindow test(folder_.path());
    test.setText("Swap\n  Dup\n$Lib bad\nDrop Drop Drop\nEnd");
    QVERIFY(!test.window->compile());

    const auto& messages = test.prompts->compilerMessages;
    QCOMPARE(messages.size(), size_t(2));
    QCOMPARE(QString::fromStdString(messages[0].text), QString("Переполнение стека!"));
    QCOMPARE(messages[0].style, compiler::MessageStyle::Critical);
    QCOMPARE(QString::fromStdString(messages[1].text),
             QString("Ошибка при подключении библиотеки bad"));
    QCOMPARE(messages[1].style, compiler::MessageStyle::Plain);
    // Not line 3 of the main text, where the library's own error lies.
    QCOMPARE(SelectedText(*test.editor()), QString("$Lib bad"));
}

void CompileCommandTest::missingLibraryShowsThePlainReadErrorAtTheDirective() {
    TestWindow test(folder_.path());
    test.setText("Dup\n$Lib nowhere\nEnd");
    QVERIFY(!test.window->compile());
    QCOMPARE(test.prompts->compilerMessages.size(), size_t(1));
    QCOMPARE(QString::fromStdString(test.prompts->compilerMessages[0].text),
             QString("Произошла ошибка чтения текста из файла!"));
    QCOMPARE(test.prompts->compilerMessages[0].style, compiler::MessageStyle::Plain);
    QCOMPARE(SelectedText(*test.editor()), QString("$Lib nowhere"));
}

void CompileCommandTest::successShowsTheReportAndNoMessages() {
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

void CompileCommandTest::runOpensTheEmulatorAfterASuccessfulCompileOnly() {
    TestWindow test;
    std::vector<EmulatorStart> starts;
    int addressSeen = 0;
    test.window->setEmulatorOpener([&](const compiler::Compiler& compiled, EmulatorStart start) {
        starts.push_back(start);
        addressSeen = compiled.compileAddress;
    });

    test.setText("DupN 40");
    test.window->findChild<QAction*>("mnuRun")->trigger();
    QVERIFY(starts.empty());

    test.setText("Dup End");
    test.window->findChild<QAction*>("mnuRun")->trigger();
    QCOMPARE(starts.size(), size_t(1));
    QCOMPARE(starts[0], EmulatorStart::AfterRun);
    QCOMPARE(addressSeen, 3);
    QCOMPARE(test.prompts->reports.size(), size_t(1));  // the report comes first
}

void CompileCommandTest::emulatorCommandUsesTheLastCompileWithoutCompiling() {
    TestWindow test;
    std::vector<EmulatorStart> starts;
    test.window->setEmulatorOpener(
        [&](const compiler::Compiler&, EmulatorStart start) { starts.push_back(start); });
    test.window->findChild<QAction*>("mnuEmulator")->trigger();
    QCOMPARE(starts.size(), size_t(1));
    QCOMPARE(starts[0], EmulatorStart::LastCompile);
    QVERIFY(test.prompts->reports.empty());
    QVERIFY(!test.window->compileSession().hasCompiled());
}

void CompileCommandTest::withoutAnEmulatorWindowRunSaysSo() {
    TestWindow test;
    test.setText("End");
    test.window->compileAndRun();
    QCOMPARE(test.prompts->reports.size(), size_t(1));
    QCOMPARE(test.prompts->notices.size(), 1);
    test.window->findChild<QAction*>("mnuTrass")->trigger();
    QCOMPARE(test.prompts->notices.size(), 2);
}

}  // namespace zr::shell::testing

QTEST_MAIN(zr::shell::testing::CompileCommandTest)
#include "compile_command_test.moc"
