// The editor's document <-> the text-plus-colour-runs form that .zrt files and
// the clipboard's rich text are written from.
#pragma once

#include <QString>
#include <functional>
#include <span>

#include "formats/rich_text.h"

class QTextDocument;

namespace zr::shell {

// The document's text from `from` to `to` (editor positions; -1: the end) with
// its colours.
formats::RichText ToRichText(const QTextDocument& document, int from = 0, int to = -1);

// Replaces the whole document by `text`; characters outside every run are black.
void FillDocument(QTextDocument& document, const formats::RichText& text);

// Told how many of the text's UTF-16 units are in so far, and the total;
// returns false to stop.
using FillProgress = std::function<bool(qsizetype done, qsizetype total)>;

// The same for text with runs in UTF-16 units (ascending, not overlapping), in
// time linear in its length; without undo history. With `progress`, reports
// every 256 K units and stops when told to: the function then returns false
// and the document holds only the beginning.
bool FillDocument(QTextDocument& document, const QString& text,
                  std::span<const formats::ColourRun> utf16Runs, const FillProgress& progress = {});

}  // namespace zr::shell
