// The TextSearchTarget of a QTextEdit. QTextEdit::toPlainText() holds one
// character per cursor position (a paragraph break becomes one "\n"), so its
// indices are the editor's cursor positions with no translation.
#pragma once

#include "shell/editor/text_search_target.h"

class QTextEdit;

namespace zr::shell {

class TextSearchEditorTarget : public TextSearchTarget {
  public:
    explicit TextSearchEditorTarget(QTextEdit* editor);

    QString text() const override;
    int selectionStart() const override;
    int selectionLength() const override;
    void select(int start, int length) override;
    void replaceSelection(const QString& replacement) override;
    void beginEditBlock() override;
    void endEditBlock() override;

    // The selected text with paragraph breaks as "\n", matching text().
    QString selectedText() const;

  private:
    QTextEdit* editor_;
};

}  // namespace zr::shell
