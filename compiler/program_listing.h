// The listing of a compile: its decoded instructions, each with the source
// line (and library file) of the statement that produced it. keltoc prints
// it; the emulator window's listing pane shows it.
#pragma once

#include <string>
#include <vector>

#include "compiler/compiler.h"
#include "machine/listing.h"

namespace zr::compiler {

// Where a statement starts: 1-based line and column in its text.
struct StatementPlace {
    int line = 0;
    int column = 0;
};

StatementPlace PlaceOfStatement(const Compiler& compiler, const StatementRecord& record);

struct ListingEntry {
    machine::DecodedInstruction instruction;
    int sourceIndex = 0;   // 0: main text; k: library k
    int line = 0;          // 0: before any statement
    std::string lineText;  // that source line, UTF-8
    std::string file;      // a library's file name; empty for the main text
};

// Cells 1 up to the compile address.
std::vector<ListingEntry> MakeListing(const Compiler& compiler);

}  // namespace zr::compiler
