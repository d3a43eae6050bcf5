#include "shell/editor/text_search_editor_target.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include "shell/editor/source_editor.h"

namespace zr::shell {

TextSearchEditorTarget::TextSearchEditorTarget(QTextEdit* editor) : editor_(editor) {}

QString TextSearchEditorTarget::text() const {
    return editor_->toPlainText();
}

int TextSearchEditorTarget::selectionStart() const {
    return editor_->textCursor().selectionStart();
}

int TextSearchEditorTarget::selectionLength() const {
    const QTextCursor cursor = editor_->textCursor();
    return cursor.selectionEnd() - cursor.selectionStart();
}

void TextSearchEditorTarget::select(int start, int length) {
    SelectRange(*editor_, start, length);
}

void TextSearchEditorTarget::replaceSelection(const QString& replacement) {
    QTextCursor cursor = editor_->textCursor();
    // Typed into the editor, the replacement takes the format at the
    // selection; the colouring of words is the editor's business.
    cursor.insertText(replacement);
    editor_->setTextCursor(cursor);
}

void TextSearchEditorTarget::beginEditBlock() {
    editor_->textCursor().beginEditBlock();
}

void TextSearchEditorTarget::endEditBlock() {
    editor_->textCursor().endEditBlock();
}

QString TextSearchEditorTarget::selectedText() const {
    QString selected = editor_->textCursor().selectedText();
    selected.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    selected.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return selected;
}

}  // namespace zr::shell
