#include "compiler/program_listing.h"

#include "compiler/listing_names.h"
#include "compiler/source_text.h"
#include "machine/cp1251.h"

namespace zr::compiler {
namespace {

// Line `line` (1-based) of a CR LF text, without its line end.
std::string LineOf(const std::string& text, int line) {
    std::size_t start = 0;
    for (int n = 1; n < line && start != std::string::npos; ++n) {
        start = text.find('\n', start);
        if (start != std::string::npos) ++start;
    }
    if (start == std::string::npos || start > text.size()) return {};
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    if (end > start && text[end - 1] == '\r') --end;
    return text.substr(start, end - start);
}

}  // namespace

StatementPlace PlaceOfStatement(const Compiler& compiler, const StatementRecord& record) {
    const std::string& text = compiler.TextOf(record.sourceIndex);
    const auto at = LineColumnOf(text, SkipBlanks(text, record.position));
    return {at.line, at.column};
}

std::vector<ListingEntry> MakeListing(const Compiler& compiler) {
    // The last record of an address is the statement whose instruction is
    // there (declarations and labels share the address of the next one).
    std::vector<int> statementAt(machine::kProgramSize + 1, -1);
    for (std::size_t i = 0; i < compiler.statementMap.size(); ++i) {
        const int address = compiler.statementMap[i].address;
        if (address >= 1 && address <= machine::kProgramSize)
            statementAt[address] = static_cast<int>(i);
    }
    const auto names = ListingNamesOf(compiler.names);
    std::vector<ListingEntry> listing;
    int current = -1;
    for (auto& instruction :
         machine::DecodeImage(compiler.programImage, 1, compiler.compileAddress, names)) {
        if (statementAt[instruction.address] >= 0) current = statementAt[instruction.address];
        ListingEntry entry;
        entry.instruction = std::move(instruction);
        if (current >= 0) {
            const auto& record = compiler.statementMap[current];
            entry.sourceIndex = record.sourceIndex;
            entry.line = PlaceOfStatement(compiler, record).line;
            entry.lineText =
                machine::Cp1251ToUtf8(LineOf(compiler.TextOf(record.sourceIndex), entry.line));
            if (record.sourceIndex > 0)
                entry.file = compiler.libraries[record.sourceIndex - 1].path.filename().string();
        }
        listing.push_back(std::move(entry));
    }
    return listing;
}

}  // namespace zr::compiler
