// Colouring of the Kelto word before the caret, on a document without a window.
#pragma once

#include <QString>

#include "compiler/keywords.h"

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
    // caret over coloured code does not mark the document changed.
    Result ColorText(QTextDocument& document, int caret) const;

  private:
    const compiler::KeywordTable& keywords_;
};

}  // namespace zr::shell
