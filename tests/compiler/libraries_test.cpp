#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "compile_helpers.h"
#include "compiler/messages.h"

namespace zr::compiler {
namespace {

using testing::CodeBytes;
using testing::FirstMessage;
using testing::Hex;

class Libraries : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ =
            std::filesystem::temp_directory_path() /
            ("keltoc-libs-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    void WriteLibrary(const std::string& fileName, const std::string& text) {
        std::ofstream(folder_ / fileName, std::ios::binary) << text;
    }

    std::unique_ptr<Compiler> CompileMain(const std::string& utf8) {
        auto compiler = std::make_unique<Compiler>();
        compiler->libraryFolder = folder_;
        compiler->extraLibraryFolders = extraFolders_;
        compiler->CompileSource(ToCompilerText(utf8));
        return compiler;
    }

    std::filesystem::path folder_;
    std::vector<std::filesystem::path> extraFolders_;
};

TEST_F(Libraries, CodeIsAppendedAndLabelsAreCallable) {
    WriteLibrary("maths.bib", "Square: Dup *\r\nRet\r\n");
    const auto c = CompileMain("$Lib maths\n3 call Square\nPrtX End");
    ASSERT_FALSE(c->compileFailed) << FirstMessage(*c);
    // Main: 71 03, F1 00 08, 7C, 66 (7 bytes); the library from 8.
    EXPECT_EQ(CodeBytes(*c), Hex("71 03 F1 00 08 7C 66 69 02 6C"));
    ASSERT_EQ(c->libraries.size(), 1u);
    EXPECT_EQ(c->statementMap.back().sourceIndex, 1);
}

TEST_F(Libraries, UpperCaseNameOpensLowerCaseFileAndLfLineEndsWork) {
    WriteLibrary("util.bib", "Twice: Dup +\nRet\n");
    const auto c = CompileMain("$LIB UTIL\ncall Twice");
    ASSERT_FALSE(c->compileFailed) << FirstMessage(*c);
    EXPECT_EQ(CodeBytes(*c), Hex("F1 00 04 69 12 6C"));
}

TEST_F(Libraries, EachLibraryIsLinkedOnceEvenWhenTheyNameEachOther) {
    WriteLibrary("a.bib", "$Lib b\r\n$Lib a\r\nFromA: Ret\r\n");
    WriteLibrary("b.bib", "$Lib a\r\nFromB: Ret\r\n");
    const auto c = CompileMain("$Lib a\n$Lib A\n$Lib b\ncall FromA call FromB");
    ASSERT_FALSE(c->compileFailed) << FirstMessage(*c);
    EXPECT_EQ(c->libraries.size(), 2u);
    EXPECT_EQ(CodeBytes(*c), Hex("F1 00 07 F1 00 08 6C 6C"));
}

// $Lib searches the library folder first, then the further folders in order.
TEST_F(Libraries, TheFirstFolderWinsAndLaterOnesFillIn) {
    const auto user = folder_ / "user";
    std::filesystem::create_directories(user);
    extraFolders_ = {user};
    WriteLibrary("both.bib", "Both: Dup\r\nRet\r\n");
    WriteLibrary("user/both.bib", "Both: Drop\r\nRet\r\n");
    WriteLibrary("user/mine.bib", "Mine: Swap\r\nRet\r\n");
    const auto c = CompileMain("$Lib both\n$Lib Mine\ncall Both\ncall Mine");
    ASSERT_FALSE(c->compileFailed) << FirstMessage(*c);
    // Main: two calls (6 bytes); Dup Ret from the first folder, Swap Ret from the user's.
    EXPECT_EQ(CodeBytes(*c), Hex("F1 00 07 F1 00 09 69 6C 0E 6C"));
    ASSERT_EQ(c->libraries.size(), 2u);
    EXPECT_EQ(c->libraries[0].path, folder_ / "both.bib");
    EXPECT_EQ(c->libraries[1].path, user / "mine.bib");
}

TEST_F(Libraries, MissingFileFailsAtTheDirective) {
    const auto c = CompileMain("Dup\n$Lib nothere\nDrop");
    ASSERT_EQ(c->messages.size(), 2u);
    EXPECT_EQ(c->messages[0].text, messages::kFileReadError);
    EXPECT_EQ(c->messages[0].style, MessageStyle::Plain);
    // then the file and the folders searched
    EXPECT_EQ(c->messages[1].text,
              "Файл библиотеки не найден: nothere.bib; просмотрены папки: " + folder_.string());
    EXPECT_EQ(c->messages[1].style, MessageStyle::Plain);
    EXPECT_EQ(c->errorStart, 5);
}

TEST_F(Libraries, ErrorInsideALibraryNamesTheLibraryAndSelectsTheDirective) {
    WriteLibrary("bad.bib", "Dup\r\nnosuchword\r\n");
    const auto c = CompileMain("Dup\n$Lib bad\nEnd");
    ASSERT_EQ(c->messages.size(), 2u);
    EXPECT_EQ(c->messages[0].text, messages::kSyntaxError);
    EXPECT_EQ(c->messages[0].sourceIndex, 1);
    EXPECT_EQ(c->messages[0].errorStart, 5);  // in the library text
    EXPECT_EQ(c->messages[1].text, std::string(messages::kLibraryFailed) + "bad");
    EXPECT_EQ(c->messages[1].style, MessageStyle::Plain);
    EXPECT_EQ(c->messages[1].sourceIndex, 0);
    EXPECT_EQ(c->errorStart, 5);  // the $Lib statement of the main text
    EXPECT_EQ(c->errorLength, 9);
}

// Each failing library reports its own message, then its failure at every
// $Lib up the chain; the selection ends on the $Lib in the main text.
TEST_F(Libraries, FailuresReportEveryLevel) {
    const std::string failed(messages::kLibraryFailed);
    const struct {
        std::vector<std::pair<std::string, std::string>> files;
        std::string main;
        std::vector<std::pair<std::string, int>> messages;  // text, text it refers to
    } cases[] = {
        {{{"late.bib", "call Missing\r\n"}},
         "$Lib late",
         {{std::string(messages::kLabelNotFound), 1}, {failed + "late", 0}}},
        {{{"lists.bib", "Bytes big [1, 2, 300]\r\n"}},
         "$Lib lists",
         {{std::string(messages::kOverflow), 1}, {failed + "lists", 0}}},
        {{{"outer.bib", "$Lib inner\r\n"}, {"inner.bib", "Dup2 ]\r\n"}},
         "$Lib outer",
         {{std::string(messages::kSyntaxError), 2}, {failed + "inner", 1}, {failed + "outer", 0}}},
        // a library cannot close an IF of the main text
        {{{"openif.bib", "=0 if\r\nDup\r\n"}},
         "$Lib openif\nthen",
         {{std::string(messages::kThenWithoutIf), 0}}},
    };
    for (const auto& c : cases) {
        for (const auto& [name, text] : c.files) WriteLibrary(name, text);
        const auto compiled = CompileMain(c.main);
        ASSERT_EQ(compiled->messages.size(), c.messages.size()) << c.main;
        for (std::size_t i = 0; i < c.messages.size(); ++i) {
            EXPECT_EQ(compiled->messages[i].text, c.messages[i].first) << c.main;
            EXPECT_EQ(compiled->messages[i].sourceIndex, c.messages[i].second) << c.main;
        }
    }
}

}  // namespace
}  // namespace zr::compiler
