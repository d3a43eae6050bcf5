#include "shell/editor/editor_analysis.h"

#include <algorithm>

#include "compiler/source_text.h"
#include "language/tokens.h"

namespace zr::shell {

using language::UnitEncoding;

EditorAnalysis::EditorAnalysis(QString editorText, const language::LibrarySearch& search)
    : text_(std::move(editorText)),
      positions_(text_.toStdString()),
      analysis_(language::Analysis::Of(compiler::ToCompilerText(positions_.text()), search)) {
    // The same line breaks as the engine's positions: CR LF, LF and CR.
    lineStarts_.push_back(0);
    for (int i = 0; i < text_.size(); ++i) {
        if (text_[i] == u'\r' && i + 1 < text_.size() && text_[i + 1] == u'\n') ++i;
        if (text_[i] == u'\r' || text_[i] == u'\n') lineStarts_.push_back(i + 1);
    }
}

int EditorAnalysis::EditorPositionOf(std::int32_t compilerPosition) const {
    const language::LineCharacter at =
        positions_.LineCharacterOf(compilerPosition, UnitEncoding::Utf16);
    if (at.line >= static_cast<int>(lineStarts_.size())) return static_cast<int>(text_.size());
    return std::min(lineStarts_[at.line] + at.character, static_cast<int>(text_.size()));
}

std::int32_t EditorAnalysis::CompilerPositionOf(int editorPosition) const {
    const auto after =
        std::upper_bound(lineStarts_.begin(), lineStarts_.end(), std::max(editorPosition, 0));
    const int line = static_cast<int>(after - lineStarts_.begin()) - 1;
    return positions_.CompilerPositionOf({line, editorPosition - lineStarts_[line]},
                                         UnitEncoding::Utf16);
}

EditorRange EditorAnalysis::RangeOf(const language::Span& span) const {
    const int start = EditorPositionOf(span.start);
    return {start, EditorPositionOf(span.end()) - start};
}

SourcePlace EditorAnalysis::PlaceOf(const language::Span& span,
                                    const language::Analysis* from) const {
    const language::Analysis& analysis = from ? *from : analysis_;
    SourcePlace place;
    if (span.sourceIndex == 0) {
        // Through the line table: the outline asks this for every declaration.
        place.line = positions_.LineCharacterOf(span.start, UnitEncoding::Utf16).line + 1;
        place.range = RangeOf(span);
        return place;
    }
    const std::string& text = analysis.TextOf(span.sourceIndex);
    place.line = compiler::LineColumnOf(text, span.start).line;
    // A library's text came from single bytes: one editor unit per character.
    place.path = QString::fromStdU16String(analysis.PathOf(span.sourceIndex).u16string());
    const int start = compiler::EditorOffsetOf(text, span.start);
    place.range = {start, compiler::EditorOffsetOf(text, span.end()) - start};
    return place;
}

const language::Analysis& EditorAnalysis::outline() const {
    const auto& error = analysis_.error;
    if (!error || error->span.sourceIndex != 0) return analysis_;
    if (!outline_) {
        // Blanks keep every position where it was.
        std::string text = analysis_.TextOf(0);
        const std::int32_t first = language::LineAround(text, error->span.start).first;
        const std::int32_t end = language::LineAround(text, error->span.end()).end;
        for (std::int32_t at = first; at < end; ++at)
            if (text[at - 1] != '\r' && text[at - 1] != '\n') text[at - 1] = ' ';
        outline_ = std::make_unique<language::Analysis>(
            language::Analysis::Of(std::move(text), analysis_.search()));
    }
    return *outline_;
}

std::optional<EditorRange> EditorAnalysis::ErrorRange() const {
    const auto& error = analysis_.error;
    if (!error) return std::nullopt;
    if (error->span.sourceIndex == 0) return RangeOf(error->span);
    if (error->libraryStatement) return RangeOf(*error->libraryStatement);
    return std::nullopt;
}

}  // namespace zr::shell
