// Renaming a name declared in the main text, with every use of it there.
// A new name the compiler would not take for it (a keyword, a predeclared
// or an already declared name, more than one word) is refused with the
// compiler's own message; so is any rename after which the program would
// compile differently.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "language/analysis.h"

namespace zr::language {

struct RenamePlan {
    std::vector<Span> edits;  // spans of the main text, each to become the new name
    std::string refusal;      // UTF-8; empty when the rename may go ahead
    bool ok() const { return refusal.empty(); }
};

RenamePlan PlanRename(const Analysis& analysis, std::int32_t position, std::string_view newName);

// The compiler text with every span replaced by `replacement` (compiler text too).
std::string ApplyEdits(std::string text, std::vector<Span> edits, std::string_view replacement);

}  // namespace zr::language
