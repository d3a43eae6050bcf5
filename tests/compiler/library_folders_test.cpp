// $Lib searches the library folder first, then the further folders in order.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "compile_helpers.h"

namespace zr::compiler {
namespace {

namespace fs = std::filesystem;
using testing::CodeBytes;
using testing::FirstMessage;
using testing::Hex;

class LibraryFolders : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("keltoc-folders-" +
                 std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::create_directories(root_ / "shipped");
        fs::create_directories(root_ / "user");
    }
    void TearDown() override { fs::remove_all(root_); }

    void Write(const std::string& folder, const std::string& name, const std::string& text) {
        std::ofstream(root_ / folder / name, std::ios::binary) << text;
    }

    std::unique_ptr<Compiler> Compile(const std::string& utf8) {
        auto compiler = std::make_unique<Compiler>();
        compiler->libraryFolder = root_ / "shipped";
        compiler->extraLibraryFolders = {root_ / "user"};
        compiler->CompileSource(ToCompilerText(utf8));
        return compiler;
    }

    fs::path root_;
};

TEST_F(LibraryFolders, TheFirstFolderWinsAndLaterOnesFillIn) {
    Write("shipped", "both.bib", "Both: Dup\r\nRet\r\n");
    Write("user", "both.bib", "Both: Drop\r\nRet\r\n");
    Write("user", "mine.bib", "Mine: Swap\r\nRet\r\n");
    const auto c = Compile("$Lib both\n$Lib Mine\ncall Both\ncall Mine");
    ASSERT_FALSE(c->compileFailed) << FirstMessage(*c);
    // Main: two calls (6 bytes); Dup Ret from the shipped folder, Swap Ret from the user's.
    EXPECT_EQ(CodeBytes(*c), Hex("F1 00 07 F1 00 09 69 6C 0E 6C"));
    ASSERT_EQ(c->libraries.size(), 2u);
    EXPECT_EQ(c->libraries[0].path, root_ / "shipped" / "both.bib");
    EXPECT_EQ(c->libraries[1].path, root_ / "user" / "mine.bib");
}

}  // namespace
}  // namespace zr::compiler
