#include "shell/editor/rename_edit.h"

#include <QTextEdit>
#include <algorithm>

namespace zr::shell {

void ApplyRename(QTextEdit& editor, const EditorAnalysis& analysis,
                 const language::RenamePlan& plan, const QString& newName) {
    std::vector<EditorRange> ranges;
    for (const language::Span& span : plan.edits) ranges.push_back(analysis.RangeOf(span));
    // From the end back, so each range is still where the analysis saw it.
    std::sort(ranges.begin(), ranges.end(),
              [](const EditorRange& a, const EditorRange& b) { return a.start > b.start; });
    QTextCursor cursor(editor.document());
    const int caret = editor.textCursor().position();
    int caretShift = 0;
    cursor.beginEditBlock();
    for (const EditorRange& range : ranges) {
        cursor.setPosition(range.start);
        cursor.setPosition(range.start + range.length, QTextCursor::KeepAnchor);
        // The name keeps the colour of its first character.
        QTextCursor first(editor.document());
        first.setPosition(range.start + 1);
        cursor.insertText(newName, first.charFormat());
        if (range.start + range.length <= caret) caretShift += newName.size() - range.length;
    }
    cursor.endEditBlock();
    QTextCursor moved = editor.textCursor();
    moved.setPosition(std::clamp(caret + caretShift, 0, editor.document()->characterCount() - 1));
    editor.setTextCursor(moved);
}

}  // namespace zr::shell
