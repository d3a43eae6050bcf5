// Kelto sources compiled onto a test device: a snippet or a shipped example.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "compiler/compiler.h"
#include "compiler/source_text.h"
#include "emulator/debugger.h"
#include "emulator/emulator.h"
#include "formats/zrt.h"

namespace zr::emulator::testing {

// Compiles the UTF-8 source (libraries from the shipped folder) into the
// emulator's memory with its variables cleared; the compiler is returned for
// its statement map.
inline std::unique_ptr<compiler::Compiler> LoadCompiled(Emulator& emulator,
                                                        const std::string& utf8Source) {
    auto compiler = std::make_unique<compiler::Compiler>();
    compiler->libraryFolder = std::string(ZR_SOURCE_DIR) + "/libraries";
    EXPECT_TRUE(compiler->CompileSource(compiler::ToCompilerText(utf8Source)))
        << (compiler->messages.empty() ? "" : compiler->messages.front().text);
    emulator.LoadProgram(compiler->programImage);
    emulator.ClearSinglesAndIntegers();
    return compiler;
}

// The main text's statements as the debugger takes them: address, line and
// column of each record.
inline std::vector<DebugStatement> MainTextStatementsOf(const compiler::Compiler& compiled) {
    std::vector<DebugStatement> statements;
    for (const auto& record : compiled.statementMap) {
        const auto at = compiler::LineColumnOf(
            compiled.sourceText, compiler::SkipBlanks(compiled.sourceText, record.position));
        statements.push_back({record.address, at.line, at.column, 0, record.word});
    }
    return statements;
}

// The text of a shipped example (coloured .zrt).
inline std::string ExampleSource(const std::string& name) {
    std::ifstream in(std::string(ZR_SOURCE_DIR) + "/examples/" + name, std::ios::binary);
    EXPECT_TRUE(in) << name;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return formats::ReadZrt(bytes.str()).text;
}

}  // namespace zr::emulator::testing
