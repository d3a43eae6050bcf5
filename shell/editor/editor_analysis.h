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
#include "shell/main_window/compile_session.h"

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

    // Any text: the main one or a library's; `from` is the analysis the span
    // came from (this one, or outline()).
    SourcePlace PlaceOf(const language::Span& span, const language::Analysis* from = nullptr) const;

    // The analysis whose declarations the Structure pane lists: this one, or
    // when the compile stopped at an error in the main text, one of the text
    // with the failing statement's lines blanked, so that the names below a
    // line being typed stay listed. Made when first asked.
    const language::Analysis& outline() const;

    // Where the first error is to be marked in the editor: the failing
    // statement, or for an error inside a library the $Lib that linked it.
    std::optional<EditorRange> ErrorRange() const;

  private:
    QString text_;
    language::TextPositions positions_;
    std::vector<int> lineStarts_;  // editor position of each line's start
    language::Analysis analysis_;
    mutable std::unique_ptr<language::Analysis> outline_;
};

}  // namespace zr::shell
