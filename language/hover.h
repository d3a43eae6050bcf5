// The text shown for the word under the mouse: for a keyword its canonical
// spelling, what it does and its stack effect (from the help's instruction
// effects and the keyword table's hint); for a declared name its kind,
// address, size and where it is declared.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "compiler/keywords.h"
#include "language/analysis.h"

namespace zr::language {

struct Hover {
    std::string text;  // UTF-8, lines separated by "\n"
    Span span;         // the word it describes
};

std::optional<Hover> HoverAt(const Analysis& analysis, int sourceIndex, std::int32_t position);

// The Russian effect of an instruction, as the help's instruction table
// states it; empty for an opcode without one.
std::string_view InstructionEffect(std::uint8_t opcode);

// The hover text of a keyword.
std::string KeywordHoverText(const compiler::KeywordRecord& keyword);

}  // namespace zr::language
