#include "cli/compile_output.h"

#include <cstddef>
#include <ostream>

#include "cli/visible_text.h"
#include "compiler/memory_report.h"
#include "compiler/source_text.h"
#include "machine/cp1251.h"

namespace zr::cli {
namespace {

compiler::LineColumn PlaceOf(const std::string& text, std::int32_t errorStart) {
    return compiler::LineColumnOf(text, compiler::SkipBlanks(text, errorStart));
}

}  // namespace

void PrintCompileMessages(const compiler::Compiler& compiler, const std::filesystem::path& source,
                          std::ostream& err) {
    for (const compiler::Message& message : compiler.messages) {
        const bool inLibrary = message.sourceIndex > 0;
        const auto& file = inLibrary ? compiler.libraries[message.sourceIndex - 1].path : source;
        const auto at = PlaceOf(compiler.TextOf(message.sourceIndex), message.errorStart);
        err << EscapeControls(file.string()) << ':' << at.line << ':' << at.column
            << ": error: " << EscapeControls(message.text) << '\n';
    }
}

void PrintMemoryReport(const compiler::Compiler& compiler, std::ostream& out) {
    const auto report = compiler::MakeMemoryReport(compiler);
    out << report.BusyText() << '\n'
        << "Program: " << report.compileAddress - 1 << " of " << machine::kProgramSize
        << " bytes (compile address " << report.compileAddress << ")\n"
        << "Byte:    " << report.bytesUsed << " of " << machine::kByteCount << '\n'
        << "Integer: " << report.integersUsed << " of " << machine::kIntegerCount << '\n'
        << "Single:  " << report.singlesUsed << " of " << machine::kSingleCount << '\n';
}

std::string ImageHex(const machine::ProgramImage& image) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    hex.reserve(std::size_t{2} * machine::kProgramSize);
    for (int address = 1; address <= machine::kProgramSize; ++address) {
        hex += kDigits[image[address] >> 4];
        hex += kDigits[image[address] & 15];
    }
    return hex;
}

nlohmann::json CompileResultJson(const compiler::Compiler& compiler) {
    using nlohmann::json;
    json messages = json::array();
    for (const auto& message : compiler.messages)
        messages.push_back(
            {{"text", message.text},
             {"style", message.style == compiler::MessageStyle::Critical ? "critical" : "plain"}});
    json statements = json::array();
    for (const auto& statement : compiler.statementMap)
        statements.push_back({{"position", statement.position},
                              {"word", machine::Cp1251ToUtf8(statement.word)},
                              {"address", statement.address}});
    json result = {
        {"ok", !compiler.compileFailed},
        {"messages", messages},
        {"errorStart", compiler.errorStart},
        {"errorLength", compiler.errorLength},
        {"line", nullptr},
        {"column", nullptr},
        {"compileAddress", compiler.compileAddress},
        {"image", ImageHex(compiler.programImage)},
        {"nextSingle", compiler.names.nextSingle},
        {"nextInteger", compiler.names.nextInteger},
        {"nextByte", compiler.names.nextByte},
        {"statements", statements},
    };
    if (compiler.compileFailed) {
        const auto at = PlaceOf(compiler.sourceText, compiler.errorStart);
        result["line"] = at.line;
        result["column"] = at.column;
    }
    return result;
}

}  // namespace zr::cli
