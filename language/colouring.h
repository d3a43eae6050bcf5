// What kind of text each word of a source is, for an editor to colour it as
// the environment does: keywords, declared names, labels, numbers, quoted
// texts and comments.
#pragma once

#include <cstdint>
#include <vector>

#include "language/analysis.h"

namespace zr::language {

enum class WordClass : std::uint8_t { Keyword, Variable, Label, Number, QuotedText, Comment };

struct ClassifiedWord {
    Span span;  // never crosses a line end
    WordClass wordClass = WordClass::Keyword;
};

// Every classified word of text `sourceIndex`, in order; words of no class
// (an undeclared name, a stray sign) are left out.
std::vector<ClassifiedWord> ClassifyText(const Analysis& analysis, int sourceIndex);

}  // namespace zr::language
