// Helpers for the tests of the editor's language features.
#pragma once

#include <QTest>
#include <QTextCursor>
#include <deque>
#include <optional>

#include "shell/editor/language_features.h"
#include "shell/editor/live_analyser.h"
#include "shell_test_support.h"

namespace zr::shell::testing {

// Puts the caret `offset` characters into the `occurrence`-th (0-based) `word` of the text.
inline void PutCaretIn(SourceEditor& editor, const QString& word, int offset = 1,
                       int occurrence = 0) {
    const QString text = editor.toPlainText();
    int at = -1;
    for (int n = 0; n <= occurrence; ++n) at = text.indexOf(word, at + 1);
    QVERIFY2(at >= 0, qPrintable(word));
    QTextCursor caret = editor.textCursor();
    caret.setPosition(at + offset);
    editor.setTextCursor(caret);
}

// Answers the language commands' questions from queues and keeps what they told.
struct ScriptedLanguagePrompts {
    std::deque<QString> newNames;
    std::deque<int> lines;
    QStringList refusals;

    LanguagePrompts Make() {
        LanguagePrompts prompts;
        prompts.askNewName = [this](const QString&) -> std::optional<QString> {
            if (newNames.empty()) return std::nullopt;
            QString name = newNames.front();
            newNames.pop_front();
            return name;
        };
        prompts.askLine = [this](int, int) -> std::optional<int> {
            if (lines.empty()) return std::nullopt;
            const int line = lines.front();
            lines.pop_front();
            return line;
        };
        prompts.showRefusal = [this](const QString& text) { refusals << text; };
        return prompts;
    }
};

}  // namespace zr::shell::testing
