// Small helpers for compiler tests: compile a snippet, compare its bytes or
// its first message.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/compiler.h"
#include "compiler/messages.h"
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

inline std::string Repeat(const std::string& text, int times) {
    std::string result;
    for (int i = 0; i < times; ++i) result += text;
    return result;
}

// A snippet and the bytes it compiles to, from address 1.
struct BytesCase {
    std::string source;
    const char* bytes;
};

// A snippet and the first message its compile raises.
struct MessageCase {
    std::string source;
    std::string_view message;
};

inline void ExpectBytes(const BytesCase& c) {
    const auto compiled = Compile(c.source);
    EXPECT_FALSE(compiled->compileFailed) << c.source << ": " << FirstMessage(*compiled);
    EXPECT_EQ(CodeBytes(*compiled), Hex(c.bytes)) << c.source;
}

inline void ExpectMessage(const MessageCase& c) {
    const auto compiled = Compile(c.source);
    EXPECT_TRUE(compiled->compileFailed) << c.source;
    EXPECT_EQ(FirstMessage(*compiled), c.message) << c.source.substr(0, 60);
}

}  // namespace zr::compiler::testing
