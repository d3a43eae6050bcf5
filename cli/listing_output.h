// The listing of a compile: decoded instructions grouped under the source
// lines that produced them; as text and as JSON.
#pragma once

#include <iosfwd>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "compiler/compiler.h"
#include "machine/listing.h"

namespace zr::cli {

// Where a statement starts: 1-based line and column in its text.
struct StatementPlace {
    int line = 0;
    int column = 0;
};
StatementPlace PlaceOfStatement(const compiler::Compiler& compiler,
                                const compiler::StatementRecord& record);

struct ListingEntry {
    machine::DecodedInstruction instruction;
    int sourceIndex = 0;   // 0: main text; k: library k
    int line = 0;          // 0: before any statement
    std::string lineText;  // that source line, UTF-8
    std::string file;      // a library's file name; empty for the main text
};

// Cells 1 up to the compile address.
std::vector<ListingEntry> MakeListing(const compiler::Compiler& compiler);

// Each group under its source line as a comment: "; LINE: TEXT".
void PrintListing(const std::vector<ListingEntry>& listing, std::ostream& out);

// [{address, bytes, name, operands, line}]; line is null outside the main text.
nlohmann::json ListingJson(const std::vector<ListingEntry>& listing);

}  // namespace zr::cli
