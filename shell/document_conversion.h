// The editor's document <-> the text-plus-colour-runs form that .zrt files and
// the clipboard's rich text are written from.
#pragma once

#include "formats/rich_text.h"

class QTextDocument;

namespace zr::shell {

// The document's text from `from` to `to` (editor positions; -1: the end) with
// its colours.
formats::RichText ToRichText(const QTextDocument& document, int from = 0, int to = -1);

// Replaces the whole document by `text`; characters outside every run are black.
void FillDocument(QTextDocument& document, const formats::RichText& text);

}  // namespace zr::shell
