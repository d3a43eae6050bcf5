// Kelto sources compiled onto a test device: a snippet or a shipped example.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "compiler/compiled_statements.h"
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

// The compile's statement table, as the debugger takes it.
inline std::shared_ptr<const machine::StatementTable> StatementsOf(
    const compiler::Compiler& compiled) {
    return std::make_shared<const machine::StatementTable>(compiler::StatementTableOf(compiled));
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
