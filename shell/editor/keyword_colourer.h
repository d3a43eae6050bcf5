// Colouring of Kelto words on a document without a window: the word before
// the caret while typing, and whole ranges of text that were opened or pasted.
#pragma once

#include <QColor>
#include <QString>
#include <vector>

#include "compiler/keywords.h"
#include "formats/rich_text.h"

class QTextDocument;

namespace zr::shell {

class KeywordColourer {
  public:
    explicit KeywordColourer(
        const compiler::KeywordTable& keywords = compiler::KeywordTable::Standard());

    struct Result {
        bool found = false;
        QString hint;  // the keyword's status-bar hint; empty when not found
    };

    // ColorText: looks up the word that ends at `caret` (see FindWordStart) and,
    // when it is a keyword, rewrites it in the keyword's spelling and colour.
    // Text already in that spelling and colour is left untouched, so moving the
    // caret over coloured code does not mark the document changed. A word in a
    // quoted text or a comment is never respelled: the quoted text or comment
    // takes its own colour instead.
    Result ColorText(QTextDocument& document, int caret) const;

    // Colours the text from `from` to `to` as if it had been typed: keywords,
    // quoted texts and comments take their colours, nothing is respelled, other
    // text keeps its colour.
    void ColourRange(QTextDocument& document, int from, int to) const;

    // The colours the whole of `text` (lines split by '\n') takes when it is
    // coloured as if typed: runs in UTF-16 units, ascending, black left out.
    // Works on the text alone, so an opened file is coloured before it is put
    // into a document, in time linear in its length.
    std::vector<formats::ColourRun> RunsOf(const QString& text) const;

    // The colour for a character typed at `position`: that of the quoted text
    // or comment it would belong to, else black.
    static QColor TypingColourAt(const QTextDocument& document, int position);

  private:
    const compiler::KeywordTable& keywords_;
};

}  // namespace zr::shell
