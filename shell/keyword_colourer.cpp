#include "shell/keyword_colourer.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "shell/editor_colours.h"
#include "shell/word_boundaries.h"

namespace zr::shell {

KeywordColourer::KeywordColourer(const compiler::KeywordTable& keywords) : keywords_(keywords) {}

KeywordColourer::Result KeywordColourer::ColorText(QTextDocument& document, int caret) const {
    // A word never spans a line end, so scanning the caret's block is enough.
    const QTextBlock block = document.findBlock(caret);
    if (!block.isValid()) return {};
    const QString line = block.text();
    const int caretInLine = caret - block.position();
    const int startInLine = FindWordStart(line, caretInLine);
    const QString word = line.mid(startInLine, caretInLine - startInLine);
    if (word.isEmpty()) return {};

    const compiler::KeywordRecord* keyword = keywords_.FindKeyword(word.toStdString());
    if (!keyword) return {};

    const QString spelling = QString::fromStdString(keyword->word);
    const QColor colour = ToQColor(keyword->colour);
    QTextCursor cursor(&document);
    cursor.setPosition(block.position() + startInLine);
    cursor.setPosition(caret, QTextCursor::KeepAnchor);

    if (cursor.selectedText() != spelling || !HasUniformColour(cursor, colour)) {
        QTextCharFormat format = cursor.charFormat();
        format.setForeground(colour);
        cursor.insertText(spelling, format);
    }
    return {true, QString::fromStdString(keyword->hint)};
}

}  // namespace zr::shell
