#include "shell/main_window/companion_windows.h"

#include <QTextEdit>

#include "shell/editor/find_replace_dialog.h"
#include "shell/help/help_viewer.h"

namespace zr::shell {

void OpenFindReplace(QTextEdit* editor, QWidget* owner, bool replaceMode) {
    // One dialog per main window; it keeps no state between openings.
    auto* dialog = owner->findChild<FindReplaceDialog*>(QString(), Qt::FindDirectChildrenOnly);
    if (!dialog) dialog = new FindReplaceDialog(editor, owner);
    if (replaceMode)
        dialog->showReplace();
    else
        dialog->showFind();
}

void OpenHelp(const QString& word, QWidget* owner) {
    HelpViewer::ShowTopic(word, owner);
}

}  // namespace zr::shell
