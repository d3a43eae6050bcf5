// The windows the main window opens but that live in their own files: find
// and replace, and the language help.
#pragma once

#include <QString>

class QTextEdit;
class QWidget;

namespace zr::shell {

// The find/replace dialog of `owner`, made on first use, in find or replace mode.
void OpenFindReplace(QTextEdit* editor, QWidget* owner, bool replaceMode);

// The help at the topic of `word` (empty: the contents page).
void OpenHelp(const QString& word, QWidget* owner);

}  // namespace zr::shell
