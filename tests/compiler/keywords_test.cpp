#include "compiler/keywords.h"

#include <gtest/gtest.h>

namespace zr::compiler {
namespace {

TEST(KeywordTable, HoldsTheVocabularyInOrder) {
    const auto& table = KeywordTable::Standard();
    ASSERT_EQ(table.entries().size(), 112u);
    EXPECT_EQ(table.entries().front().word, "+");
    EXPECT_EQ(table.entries().back().word, "$Lib");
    EXPECT_EQ(table.entries()[110].word, "$Adres");
}

TEST(KeywordTable, FirstMatchIgnoringCaseWins) {
    const auto& table = KeywordTable::Standard();
    const KeywordRecord* retn = table.FindKeyword("retn");
    ASSERT_NE(retn, nullptr);
    EXPECT_EQ(retn->colour, colours::kGreen);
    EXPECT_EQ(retn->opcode, 120);
    EXPECT_EQ(table.FindKeyword("#10")->opcode, 134);
    EXPECT_EQ(table.FindKeyword("#10")->colour, colours::kOlive);
    EXPECT_EQ(table.FindKeyword("$lib")->colour, colours::kDarkYellow);
    EXPECT_EQ(table.FindKeyword("$Adres")->colour, colours::kDarkYellow);
    EXPECT_EQ(table.FindKeyword("Call")->hint, "Label");
    EXPECT_EQ(table.FindKeyword("-")->colour, colours::kRed);  // takes the colour before it
    EXPECT_EQ(table.FindKeyword("Incr")->colour, colours::kTeal);
    EXPECT_EQ(table.FindKeyword("nothing"), nullptr);
}

TEST(KeywordTable, CapacityIsRespected) {
    KeywordTable table;
    for (int i = 0; i < 300; ++i) table.AddKeyword("w" + std::to_string(i), 1, 0);
    EXPECT_EQ(table.entries().size(), static_cast<std::size_t>(KeywordTable::kCapacity));
}

}  // namespace
}  // namespace zr::compiler
