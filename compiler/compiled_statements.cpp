#include "compiler/compiled_statements.h"

#include "compiler/program_listing.h"

namespace zr::compiler {

machine::StatementTable StatementTableOf(const Compiler& compiled) {
    std::vector<machine::ProgramStatement> statements;
    statements.reserve(compiled.statementMap.size());
    for (const StatementRecord& record : compiled.statementMap) {
        const StatementPlace place = PlaceOfStatement(compiled, record);
        statements.push_back({record.address, place.line, place.column, record.sourceIndex,
                              record.word, record.position});
    }
    return machine::StatementTable(std::move(statements));
}

}  // namespace zr::compiler
