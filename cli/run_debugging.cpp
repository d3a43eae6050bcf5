#include "cli/run_debugging.h"

#include <ostream>

#include "cli/listing_output.h"
#include "cli/visible_text.h"
#include "emulator/emulator.h"
#include "emulator/number_text.h"
#include "machine/cp1251.h"

namespace zr::cli {

DebugProgram DebugProgramOf(const compiler::Compiler& compiler) {
    DebugProgram program;
    for (const auto& record : compiler.statementMap) {
        const StatementPlace place = PlaceOfStatement(compiler, record);
        program.statements.push_back(
            {record.address, place.line, place.column, record.sourceIndex, record.word});
    }
    for (const auto& library : compiler.libraries)
        program.libraryNames.push_back(library.path.filename().string());
    return program;
}

std::unique_ptr<emulator::Debugger> AttachDebugger(const RunDebugOptions& options,
                                                   const DebugProgram& program,
                                                   emulator::Emulator& device,
                                                   emulator::HeadlessHost& host,
                                                   std::ostream& out) {
    if (!options.Wanted()) return nullptr;
    auto debugger = std::make_unique<emulator::Debugger>(device, program.statements);
    for (const int line : options.breakLines) debugger->AddBreakpointAtLine(line);
    debugger->onPause = [&host](emulator::Emulator& e, const emulator::PauseInfo&) {
        host.EndAtPause(e);
    };
    if (options.trace)
        debugger->SetStatementObserver(
            [&out, &program](emulator::Emulator& e, const emulator::DebugStatement& statement) {
                out << TraceLine(e, statement, program) << '\n';
            });
    return debugger;
}

std::string TraceLine(const emulator::Emulator& device, const emulator::DebugStatement& statement,
                      const DebugProgram& program) {
    std::string line;
    if (statement.sourceIndex > 0 &&
        statement.sourceIndex <= static_cast<int>(program.libraryNames.size()))
        line = program.libraryNames[statement.sourceIndex - 1] + ":";
    line += std::to_string(statement.line) + ":" + std::to_string(statement.column) + "  " +
            std::to_string(statement.address) + "  " +
            EscapeControls(machine::Cp1251ToUtf8(statement.word)) + " ";
    const auto& m = device.machine;
    for (int slot = 1; slot <= m.stackPointer; ++slot) {
        const std::string number = emulator::FormatTraceNumber(m.valueStack[slot]);
        line += " " + number.substr(number.front() == ' ' ? 1 : 0);  // no sign place
    }
    return line;
}

void AddPausePlace(nlohmann::json& result, const emulator::Debugger& debugger,
                   const emulator::Emulator& device) {
    const auto* statement = debugger.StatementAt(device.machine.ProgramCounter());
    if (!statement) return;
    result["line"] = statement->line;
    result["column"] = statement->column;
}

}  // namespace zr::cli
