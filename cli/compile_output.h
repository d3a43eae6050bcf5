// What keltoc reports about a compile, in text and JSON.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <nlohmann/json.hpp>

#include "compiler/compiler.h"

namespace zr::cli {

// Each message as "FILE:LINE:COL: error: MESSAGE", placed in the text it refers to;
// control characters in names and messages are written as \xNN.
void PrintCompileMessages(const compiler::Compiler& compiler, const std::filesystem::path& source,
                          std::ostream& err);

// The memory report shown after a successful compile.
void PrintMemoryReport(const compiler::Compiler& compiler, std::ostream& out);

// The build result object of `keltoc build --json`.
nlohmann::json CompileResultJson(const compiler::Compiler& compiler);

// Cells 1..1024 as 2048 upper-case hex digits.
std::string ImageHex(const machine::ProgramImage& image);

}  // namespace zr::cli
