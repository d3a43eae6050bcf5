#include "compiler/scanner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zr::compiler {
namespace {

// Every token of a text, line ends shown as "CR", string literals as "'text'".
std::vector<std::string> Tokens(const std::string& text) {
    std::vector<std::string> tokens;
    std::int32_t position = 1;
    for (int guard = 0; guard < 1000; ++guard) {
        bool literal = false;
        const std::string token = ScanToken(text, position, literal);
        if (token.empty() && !literal && position > static_cast<std::int32_t>(text.size())) break;
        tokens.push_back(literal ? "'" + token + "'" : token == "\r" ? "CR" : token);
    }
    return tokens;
}

using V = std::vector<std::string>;

TEST(Scanner, SplitsWordsSeparatorsAndSigns) {
    const struct {
        const char* text;
        V tokens;
    } cases[] = {
        {"  Dup", {"Dup"}},
        {"a(5)", {"a", "(", "5", ")"}},
        {"Dup Swap Drop", {"Dup", "Swap", "Drop"}},
        {"<=0 stack>x -> $adres a=5 L: x# @L",
         {"<=0", "stack>x", "->", "$adres", "a=5", "L:", "x#", "@L"}},
        {"x-1", {"x", "-1"}},
        {"x - 1", {"x", "-", "1"}},
        {"-(", {"-", "("}},
        {"1E-5", {"1E-5"}},
        {"1e+5", {"1E+5"}},
        {"2.5E-3", {"2.5E-3"}},
        {"1E0", {"1", "E0"}},
        {"1ex", {"1", "ex"}},
        {"abcE5", {"abcE5"}},
        {"12 . x", {"12", ".", "x"}},
        {"3.25", {"3.25"}},
        {"12. x", {"12", ".", "x"}},
        {"? \"N=\"", {"?", "'N='"}},
        {"\"\"", {"''"}},
        {"a\"b c\"d", {"a", "'b c'", "d"}},
        {"Dup 'comment\r\nDrop", {"Dup", "CR", "Drop"}},
        {"Dup'comment\r\nDrop", {"Dup", "CR", "Drop"}},
        {"Dup\r\nDrop", {"Dup", "CR", "Drop"}},
        {"^2", {"^", "2"}},
        {"a,b;c{d}", {"a", ",", "b", ";", "c", "{", "d", "}"}},
        {"Dup\tSwap", {"Dup", "Swap"}},
        {"-", {"-"}},
        {"", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(Tokens(c.text), c.tokens) << c.text;
}

TEST(Scanner, PositionStandsAfterTheSpaceThatEndedAWord) {
    std::int32_t position = 1;
    bool literal = false;
    EXPECT_EQ(ScanToken("Dup  Swap", position, literal), "Dup");
    EXPECT_EQ(position, 5);
    EXPECT_EQ(ScanToken("a(5)", position = 1, literal), "a");
    EXPECT_EQ(position, 2);  // left on the separator
}

TEST(Scanner, UnterminatedStringAndCommentEndTheText) {
    std::int32_t position = 1;
    bool literal = false;
    EXPECT_EQ(ScanToken("\"abc", position, literal), "abc");
    EXPECT_TRUE(literal);
    EXPECT_EQ(ScanToken("\"abc", position, literal), "");
    EXPECT_FALSE(literal);

    position = 1;
    EXPECT_EQ(ScanToken("'only a comment", position, literal), "\r");
    EXPECT_EQ(ScanToken("'only a comment", position, literal), "");
}

TEST(Scanner, PositionBelowOneStartsAtOne) {
    std::int32_t position = -5;
    bool literal = false;
    EXPECT_EQ(ScanToken("Dup", position, literal), "Dup");
}

}  // namespace
}  // namespace zr::compiler
