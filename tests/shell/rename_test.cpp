// Rename: F2 renames a name and every use of it in one step for Undo; a new
// name the compiler would not take is refused with its own message.
#include <QAction>
#include <QTest>

#include "compiler/messages.h"
#include "language_test_support.h"

namespace zr::shell::testing {

constexpr const char* kProgram = "DimS total, b\n1 Mv total\ntotal Dup Mv b\n' total stays\n";

class RenameTest : public QObject {
    Q_OBJECT

  private slots:
    void renamesEveryUseAsOneUndoStep() {
        TestWindow test;
        test.setText(kProgram);
        ScriptedLanguagePrompts prompts;
        prompts.newNames = {"sum"};
        test.window->languageFeatures()->setPrompts(prompts.Make());
        PutCaretIn(*test.editor(), "total", 2, 1);
        test.window->findChild<QAction*>("mnuRename")->trigger();
        QVERIFY(prompts.refusals.isEmpty());
        QCOMPARE(test.editor()->toPlainText(),
                 QString("DimS sum, b\n1 Mv sum\nsum Dup Mv b\n' total stays\n"));
        test.editor()->undo();
        QCOMPARE(test.editor()->toPlainText(), QString(kProgram));
    }

    void refusesWhatTheCompilerWouldNotTake() {
        const std::pair<const char*, std::string_view> cases[] = {
            {"Dup", compiler::messages::kNameDeclared},  // a keyword
            {"RX", compiler::messages::kNameDeclared},   // predeclared
            {"b", compiler::messages::kNameDeclared},    // already declared
            {"two words", compiler::messages::kSyntaxError},
        };
        for (const auto& [name, message] : cases) {
            TestWindow test;
            test.setText(kProgram);
            ScriptedLanguagePrompts prompts;
            prompts.newNames = {name};
            test.window->languageFeatures()->setPrompts(prompts.Make());
            PutCaretIn(*test.editor(), "total", 1);
            test.window->findChild<QAction*>("mnuRename")->trigger();
            QCOMPARE(prompts.refusals, QStringList{Utf8(message)});
            QCOMPARE(test.editor()->toPlainText(), QString(kProgram));
        }
    }
};

}  // namespace zr::shell::testing

QTEST_MAIN(zr::shell::testing::RenameTest)
#include "rename_test.moc"
