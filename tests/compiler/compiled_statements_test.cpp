// The statement table of a compile: which statement owns each address (the
// last record there: declarations, labels, directives and THEN write nothing),
// the places of main-text and library statements, and where breakpoints hold.
#include "compiler/compiled_statements.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "compile_helpers.h"

namespace zr::compiler {
namespace {

using testing::FirstMessage;

// Main text: DimI, $Lib, Top: and 3 all at address 1; THEN and End at 14.
// The library follows the main text at 15: "Twice:" and Dup there.
constexpr const char* kMain =
    "DimI cnt\n"        // 1
    "$Lib twice\n"      // 2
    "Top:\n"            // 3
    "  3 call Twice\n"  // 4: 3 at 1, call at 3
    "cnt =0 if\n"       // 5: cnt at 6, =0 at 8, if at 9
    "cnt PrtX\n"        // 6: cnt at 11, PrtX at 13
    "then\n"            // 7
    "End\n";            // 8
constexpr const char* kLibrary = "Twice: Dup +\r\nRet\r\n";

class CompiledStatements : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("keltoc-statements-" +
                   std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
        std::filesystem::create_directories(folder_);
        std::ofstream(folder_ / "twice.bib", std::ios::binary) << kLibrary;
        compiler_.libraryFolder = folder_;
        compiler_.CompileSource(ToCompilerText(kMain));
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::filesystem::path folder_;
    Compiler compiler_;
};

TEST_F(CompiledStatements, EachAddressIsOwnedByTheLastRecordThere) {
    ASSERT_FALSE(compiler_.compileFailed) << FirstMessage(compiler_);
    const machine::StatementTable table = StatementTableOf(compiler_);
    ASSERT_EQ(table.size(), static_cast<int>(compiler_.statementMap.size()));
    struct Case {
        int address;
        const char* word;  // nullptr: no statement starts there
        int line, column, sourceIndex;
    };
    const Case cases[] = {
        {0, nullptr, 0, 0, 0},    {1, "3", 4, 3, 0},      {2, nullptr, 0, 0, 0},
        {3, "call", 4, 5, 0},     {6, "cnt", 5, 1, 0},    {9, "if", 5, 8, 0},
        {14, "End", 8, 1, 0},     {15, "Dup", 1, 8, 1},   {16, "+", 1, 12, 1},
        {17, "Ret", 2, 1, 1},     {18, nullptr, 0, 0, 0}, {1024, nullptr, 0, 0, 0},
        {1025, nullptr, 0, 0, 0},
    };
    for (const Case& c : cases) {
        const int index = table.IndexAt(c.address);
        const machine::ProgramStatement* statement = table.At(c.address);
        if (!c.word) {
            EXPECT_EQ(index, -1) << c.address;
            EXPECT_EQ(statement, nullptr) << c.address;
            continue;
        }
        ASSERT_GE(index, 0) << c.address;
        ASSERT_EQ(statement, &table[index]) << c.address;
        // The same index as the compiler's record, so either can be shown.
        const StatementRecord& record = compiler_.statementMap[index];
        EXPECT_EQ(record.address, c.address);
        EXPECT_EQ(record.position, statement->position);
        EXPECT_EQ(statement->word, c.word) << c.address;
        EXPECT_EQ(statement->line, c.line) << c.address;
        EXPECT_EQ(statement->column, c.column) << c.address;
        EXPECT_EQ(statement->sourceIndex, c.sourceIndex) << c.address;
    }
}

TEST_F(CompiledStatements, OperandBytesBelongToTheStatementBeforeThem) {
    ASSERT_FALSE(compiler_.compileFailed) << FirstMessage(compiler_);
    const machine::StatementTable table = StatementTableOf(compiler_);
    const struct {
        int address;
        const char* word;  // nullptr: before any statement
    } cases[] = {{0, nullptr}, {-5, nullptr}, {1, "3"},    {2, "3"},      {4, "call"},
                 {5, "call"},  {12, "cnt"},   {18, "Ret"}, {1024, "Ret"}, {4000, "Ret"}};
    for (const auto& c : cases) {
        const int index = table.IndexContaining(c.address);
        if (!c.word) {
            EXPECT_EQ(index, -1) << c.address;
            continue;
        }
        ASSERT_GE(index, 0) << c.address;
        EXPECT_EQ(table[index].word, c.word) << c.address;
    }
}

// A line without a statement of its own (declarations, a directive, a label,
// THEN) holds at the next statement; library lines never count, although
// the library's first lines have statements.
TEST_F(CompiledStatements, ABreakpointLineHoldsAtTheNextStatementOfTheMainText) {
    ASSERT_FALSE(compiler_.compileFailed) << FirstMessage(compiler_);
    const machine::StatementTable table = StatementTableOf(compiler_);
    const struct {
        int line;
        int address;  // -1: no statement follows
        const char* word;
    } cases[] = {{1, 1, "3"},    {2, 1, "3"},    {3, 1, "3"},    {4, 1, "3"}, {5, 6, "cnt"},
                 {6, 11, "cnt"}, {7, 14, "End"}, {8, 14, "End"}, {9, -1, ""}};
    for (const auto& c : cases) {
        const int index = table.BreakpointIndex(c.line);
        if (c.address < 0) {
            EXPECT_EQ(index, -1) << c.line;
            continue;
        }
        ASSERT_GE(index, 0) << c.line;
        EXPECT_EQ(table[index].address, c.address) << c.line;
        EXPECT_EQ(table[index].word, c.word) << c.line;
        EXPECT_EQ(table[index].sourceIndex, 0) << c.line;
    }
}

TEST(StatementTable, AnEmptyTableOwnsNothing) {
    const machine::StatementTable table;
    for (const int address : {-1, 0, 1, 1024, 1025}) {
        EXPECT_EQ(table.IndexAt(address), -1);
        EXPECT_EQ(table.IndexContaining(address), -1);
    }
    EXPECT_EQ(table.BreakpointIndex(1), -1);
}

}  // namespace
}  // namespace zr::compiler
