#include "compiler/program_listing.h"

#include "compiler/compiled_statements.h"
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
    const machine::StatementTable statements = StatementTableOf(compiler);
    const auto names = ListingNamesOf(compiler.names);
    std::vector<ListingEntry> listing;
    int current = -1;
    for (auto& instruction :
         machine::DecodeImage(compiler.programImage, 1, compiler.compileAddress, names)) {
        if (const int index = statements.IndexAt(instruction.address); index >= 0) current = index;
        ListingEntry entry;
        entry.instruction = std::move(instruction);
        if (current >= 0) {
            const machine::ProgramStatement& statement = statements[current];
            entry.sourceIndex = statement.sourceIndex;
            entry.line = statement.line;
            entry.lineText =
                machine::Cp1251ToUtf8(LineOf(compiler.TextOf(statement.sourceIndex), entry.line));
            if (statement.sourceIndex > 0)
                entry.file = compiler.libraries[statement.sourceIndex - 1].path.filename().string();
        }
        listing.push_back(std::move(entry));
    }
    return listing;
}

}  // namespace zr::compiler
