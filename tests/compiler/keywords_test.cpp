#include "compiler/keywords.h"

#include <gtest/gtest.h>

#include <string_view>
#include <utility>

#include "machine/opcodes.h"

namespace zr::compiler {
namespace {

// Each keyword that is one instruction names an opcode of the instruction
// table whose Kelto word it is (or one of that word's other spellings); and
// each instruction with a Kelto word is some keyword's, unless the compiler
// reads that word itself (IF, <>0, SwapN are not in the vocabulary).
TEST(KeywordTable, AgreesWithTheInstructionTable) {
    const auto& table = KeywordTable::Standard();
    const std::pair<std::string_view, std::string_view> otherSpellings[] = {{"><", "<>"},
                                                                            {"Mv", "->"}};
    for (const auto& entry : table.entries()) {
        if (entry.opcode == 0) continue;
        const machine::OpcodeInfo* info = machine::FindOpcode(entry.opcode);
        ASSERT_NE(info, nullptr) << entry.word;
        std::string_view word = entry.word;
        for (const auto& [spelling, standard] : otherSpellings)
            if (word == spelling) word = standard;
        EXPECT_EQ(word, info->word) << entry.word;
    }
    for (const auto& info : machine::kOpcodeTable) {
        if (info.word.empty() || info.word == "IF" || info.word == "<>0" || info.word == "SwapN")
            continue;
        const KeywordRecord* keyword = table.FindKeyword(info.word);
        ASSERT_NE(keyword, nullptr) << info.word;
        EXPECT_EQ(keyword->opcode, info.value) << info.word;
    }
}

TEST(KeywordTable, FirstMatchIgnoringCaseWins) {
    const auto& table = KeywordTable::Standard();
    const KeywordRecord* retn = table.FindKeyword("retn");
    ASSERT_NE(retn, nullptr);
    EXPECT_EQ(retn->opcode, 120);
    EXPECT_EQ(table.FindKeyword("$lib")->colour, colours::kDarkYellow);
    EXPECT_EQ(table.FindKeyword("-")->colour, colours::kRed);  // takes the colour before it
    EXPECT_EQ(table.FindKeyword("nothing"), nullptr);
}

TEST(KeywordTable, CapacityIsRespected) {
    KeywordTable table;
    for (int i = 0; i < 300; ++i) table.AddKeyword("w" + std::to_string(i), 1, 0);
    EXPECT_EQ(table.entries().size(), static_cast<std::size_t>(KeywordTable::kCapacity));
}

}  // namespace
}  // namespace zr::compiler
