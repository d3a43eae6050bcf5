// Any input ends in success or in one of the system's messages.
#include <gtest/gtest.h>

#include <random>

#include "compile_helpers.h"
#include "compiler/messages.h"

namespace zr::compiler {
namespace {

using testing::FirstMessage;

void ExpectCleanEnd(const Compiler& c, const std::string& what) {
    if (c.compileFailed) {
        EXPECT_FALSE(c.messages.empty()) << what;
    }
    EXPECT_LE(c.compileAddress, 1025 + 4) << what;
}

TEST(Robustness, RandomBytesNeverCrash) {
    std::mt19937 random(7340);
    for (int round = 0; round < 300; ++round) {
        std::string source(random() % 2000, '\0');
        for (char& c : source) c = static_cast<char>(random());
        Compiler compiler;
        compiler.CompileSource(source);
        ExpectCleanEnd(compiler, "round " + std::to_string(round));
    }
}

TEST(Robustness, RandomKeltoWordsNeverCrash) {
    const char* words[] = {"Dup",    "=0",    "if",    "then",  "else",      "goto", "@",     "x",
                           "(",      ")",     "[",     "]",     ",",         "DimI", "a",     "b",
                           "Do",     "Loop",  "+",     "-",     "i",         "OnX",  "call",  "!",
                           "?",      "\"t\"", "Segm",  "Bytes", "Messanges", "1",    "300",   "2.5",
                           "Top:",   "Top",   "\n",    "#",     "Top#",      "->",   "Stack", "Rol",
                           "$Adres", "DupN",  "Series"};
    std::mt19937 random(1024);
    for (int round = 0; round < 2000; ++round) {
        std::string source;
        for (int n = random() % 60; n > 0; --n)
            source += std::string(words[random() % std::size(words)]) + " ";
        Compiler compiler;
        compiler.CompileSource(source);
        ExpectCleanEnd(compiler, source);
    }
}

TEST(Robustness, HugeInputs) {
    // 10 MB of comments and blank lines.
    std::string big;
    while (big.size() < 10'000'000) big += "' a comment line that says nothing\r\n\r\n";
    Compiler compiler;
    EXPECT_TRUE(compiler.CompileSource(big));

    // A name of 100,000 characters, declared and used.
    const std::string name(100'000, 'q');
    EXPECT_FALSE(testing::Compile("DimS " + name + "\n" + name)->compileFailed);
    EXPECT_EQ(FirstMessage(*testing::Compile(name)), messages::kSyntaxError);

    // Thousands of declarations.
    std::string declarations;
    for (int i = 0; i < 5000; ++i) declarations += "v" + std::to_string(i) + ":\n";
    EXPECT_EQ(FirstMessage(*testing::Compile(declarations)), messages::kNameTableFull);

    // Unterminated string and comment at the end of the text.
    ExpectCleanEnd(*testing::Compile("? \"never closed"), "string");
    ExpectCleanEnd(*testing::Compile("Dup 'comment without line end"), "comment");
}

TEST(Robustness, ACompilerCanBeReused) {
    Compiler compiler;
    EXPECT_FALSE(compiler.CompileSource("nosuchword"));
    EXPECT_TRUE(compiler.CompileSource(ToCompilerText("Dup")));
    EXPECT_TRUE(compiler.messages.empty());
    EXPECT_EQ(compiler.compileAddress, 2);
}

}  // namespace
}  // namespace zr::compiler
