// One analysis of the editor's text by the language engine, with the ways
// between the engine's places (compiler positions in the main text or in a
// library) and the editor's (UTF-16 units, a line end counts one).
#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

#include "language/analysis.h"
#include "language/text_positions.h"
#include "shell/compile_session.h"

namespace zr::shell {

// A place to show: the text in the editor (empty path) or a library file.
struct SourcePlace {
    QString path;
    int line = 1;       // 1-based
    EditorRange range;  // in that text's own editor positions
    friend bool operator==(const SourcePlace&, const SourcePlace&) = default;
};

class EditorAnalysis {
  public:
    EditorAnalysis(QString editorText, const language::LibrarySearch& search);

    const language::Analysis& analysis() const { return analysis_; }
    const QString& text() const { return text_; }
    const language::LibrarySearch& search() const { return analysis_.search(); }

    // Main text only.
    int EditorPositionOf(std::int32_t compilerPosition) const;
    std::int32_t CompilerPositionOf(int editorPosition) const;
    EditorRange RangeOf(const language::Span& span) const;

    // Any text: the main one or a library's.
    SourcePlace PlaceOf(const language::Span& span) const;

    // Where the first error is to be marked in the editor: the failing
    // statement, or for an error inside a library the $Lib that linked it.
    std::optional<EditorRange> ErrorRange() const;

  private:
    QString text_;
    language::TextPositions positions_;
    std::vector<int> lineStarts_;  // editor position of each line's start
    language::Analysis analysis_;
};

}  // namespace zr::shell
