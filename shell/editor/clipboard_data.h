// What the editor puts on the clipboard: rich text with the word colours (RTF
// and HTML, beside plain text) for Copy, plain text for Cut.
#pragma once

#include <QString>

class QMimeData;
class QTextDocument;

namespace zr::shell {

// The MIME types the RTF goes under, for the editors that read either.
inline constexpr const char* kRtfMimeTypes[] = {"text/rtf", "application/rtf"};

// The range [from, to) of `document` as RTF, HTML and plain text. The caller owns the result.
QMimeData* MakeRichClipboardData(const QTextDocument& document, int from, int to);

// Plain text only; `text` may hold the editor's paragraph separators.
QMimeData* MakePlainClipboardData(const QString& text);

}  // namespace zr::shell
