// Completion candidates for a place in the main text, by what may stand
// there: library names after $Lib, labels where a jump target is expected
// (after GoTo, Call, Timer, Events, Segm, "@", in an OnX list), variables
// after Mv and "->", otherwise keywords in their canonical spelling and the
// declared names. Nothing inside a quoted text or a comment, nor where a new
// name is being declared.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "language/analysis.h"

namespace zr::language {

enum class CandidateKind : std::uint8_t { Keyword, Name, Label, Library };

struct Candidate {
    std::string text;  // UTF-8, as it is to be inserted
    CandidateKind kind = CandidateKind::Keyword;
    std::string detail;  // a keyword's hint, a name's kind, a library's file
};

struct Completion {
    // The typed part the candidate replaces: from `replaceFrom` to the position asked.
    std::int32_t replaceFrom = 1;
    std::vector<Candidate> candidates;  // those starting with the typed part, ignoring case
};

Completion CompletionAt(const Analysis& analysis, std::int32_t position);

// The libraries $Lib can name: NAME for every NAME.bib in `folders` (the
// compiler's search order), each once.
std::vector<std::string> LibraryNames(const std::vector<std::filesystem::path>& folders);

}  // namespace zr::language
