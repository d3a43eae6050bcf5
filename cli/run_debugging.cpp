#include "cli/run_debugging.h"

#include <charconv>
#include <ostream>

#include "cli/visible_text.h"
#include "compiler/compiled_statements.h"
#include "emulator/emulator.h"
#include "emulator/number_text.h"
#include "machine/cp1251.h"

namespace zr::cli {

namespace {

// A whole number >= 1 filling the text.
std::optional<int> PositiveNumber(std::string_view text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto parsed = std::from_chars(text.data(), end, value);
    if (text.empty() || parsed.ec != std::errc() || parsed.ptr != end || value < 1)
        return std::nullopt;
    return value;
}

}  // namespace

std::optional<BreakItem> ParseBreakItem(std::string_view text, std::string& error) {
    BreakItem item;
    const std::size_t colon = text.find(':');
    if (colon != std::string_view::npos) {
        item.condition = std::string(text.substr(colon + 1));
        text = text.substr(0, colon);
        if (item.condition.find_first_not_of(" \t") == std::string::npos) {
            error = "an empty condition after ':'";
            return std::nullopt;
        }
    }
    const std::size_t hash = text.find('#');
    if (hash != std::string_view::npos) {
        const auto hits = PositiveNumber(text.substr(hash + 1));
        if (!hits) {
            error = "the hit count after '#' must be a whole number from 1, not '" +
                    std::string(text.substr(hash + 1)) + "'";
            return std::nullopt;
        }
        item.hitCount = *hits;
        text = text.substr(0, hash);
    }
    const auto line = PositiveNumber(text);
    if (!line) {
        error = "must be a source line number from 1, not '" + std::string(text) + "'";
        return std::nullopt;
    }
    item.line = *line;
    return item;
}

DebugProgram DebugProgramOf(const compiler::Compiler& compiler) {
    DebugProgram program;
    program.statements =
        std::make_shared<const machine::StatementTable>(compiler::StatementTableOf(compiler));
    for (const auto& library : compiler.libraries)
        program.libraryNames.push_back(library.path.filename().string());
    program.names = compiler.names;
    return program;
}

std::unique_ptr<emulator::Debugger> AttachDebugger(const RunDebugOptions& options,
                                                   const DebugProgram& program,
                                                   emulator::Emulator& device,
                                                   emulator::HeadlessHost& host, std::ostream& out,
                                                   std::string& error) {
    if (!options.Wanted()) return nullptr;
    auto debugger = std::make_unique<emulator::Debugger>(device, program.statements);
    const auto lookup = [&program](std::string_view name) {
        return compiler::OneValueOperand(program.names, machine::Utf8ToCp1251(name));
    };
    for (const std::string& text : options.breakpoints) {
        const auto breakpoint = ParseBreakItem(text, error);  // checked as an option already
        if (!breakpoint) return nullptr;
        emulator::BreakpointSettings settings{true, std::nullopt, breakpoint->hitCount};
        if (!breakpoint->condition.empty()) {
            const auto parsed = emulator::ParseBreakCondition(breakpoint->condition, lookup);
            if (!parsed.condition) {
                error = "--break " + text + ": " + emulator::ConditionFaultText(parsed);
                return nullptr;
            }
            settings.condition = parsed.condition;
        }
        debugger->SetBreakpointAtLine(breakpoint->line, std::move(settings));
    }
    debugger->onPause = [&host](emulator::Emulator& e, const emulator::PauseInfo&) {
        host.EndAtPause(e);
    };
    if (options.trace)
        debugger->SetStatementObserver(
            [&out, &program](emulator::Emulator& e, const machine::ProgramStatement& statement) {
                out << TraceLine(e, statement, program) << '\n';
            });
    return debugger;
}

std::string TraceLine(const emulator::Emulator& device, const machine::ProgramStatement& statement,
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
