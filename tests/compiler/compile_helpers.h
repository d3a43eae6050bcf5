// Small helpers for compiler tests: compile a snippet, read back bytes.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/compiler.h"
#include "compiler/source_text.h"

namespace zr::compiler::testing {

// Compiles UTF-8 source with LF line ends (converted to CR LF, Windows-1251).
inline std::unique_ptr<Compiler> Compile(std::string_view utf8Source) {
    auto compiler = std::make_unique<Compiler>();
    compiler->CompileSource(ToCompilerText(utf8Source));
    return compiler;
}

// "73 00 60" -> {0x73, 0x00, 0x60}
inline std::vector<int> Hex(std::string_view text) {
    std::vector<int> bytes;
    std::istringstream in{std::string(text)};
    std::string item;
    while (in >> item) bytes.push_back(std::stoi(item, nullptr, 16));
    return bytes;
}

// The program bytes from address 1 up to the compile address.
inline std::vector<int> CodeBytes(const Compiler& compiler) {
    return {compiler.programImage.begin() + 1,
            compiler.programImage.begin() + std::max(1, std::min(compiler.compileAddress, 1025))};
}

inline std::vector<int> BytesAt(const Compiler& compiler, int address, int count) {
    return {compiler.programImage.begin() + address,
            compiler.programImage.begin() + address + count};
}

// The first message's text, or "" when the compile succeeded without one.
inline std::string FirstMessage(const Compiler& compiler) {
    return compiler.messages.empty() ? "" : compiler.messages.front().text;
}

}  // namespace zr::compiler::testing
