// The instruction table page of the help takes its effect column from
// help/instruction_effects.txt. The page generator stops the build when an
// opcode has no line there; what it cannot see is a line that was filled in
// with the English effect of opcodes.def just to get past it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "machine/opcodes.h"

namespace {

// 0xNN<tab>text lines by their byte; comments and empty lines skipped.
std::map<int, std::string> ReadEffects(const std::filesystem::path& path) {
    std::map<int, std::string> effects;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        const auto tab = line.find('\t');
        if (line.empty() || line.starts_with('#') || tab == std::string::npos) continue;
        effects[std::stoi(line.substr(0, tab), nullptr, 16)] = line.substr(tab + 1);
    }
    return effects;
}

// Cyrillic letters are two bytes in UTF-8, the first of them D0 or D1.
bool HasCyrillic(const std::string& text) {
    for (const unsigned char c : text)
        if (c == 0xD0 || c == 0xD1) return true;
    return false;
}

TEST(InstructionEffects, EveryOpcodeIsDescribedInRussian) {
    const auto effects =
        ReadEffects(std::filesystem::path(ZR_SOURCE_DIR) / "help" / "instruction_effects.txt");
    for (const auto& opcode : zr::machine::kOpcodeTable) {
        SCOPED_TRACE(std::string(opcode.name));
        const auto found = effects.find(opcode.value);
        ASSERT_NE(found, effects.end()) << "no line for this opcode";
        EXPECT_TRUE(HasCyrillic(found->second)) << found->second;
    }
}

}  // namespace
