// Where keltoc looks for libraries: installed (bin/ beside share/zr7340), in
// the build tree, and the per-user folder after the shipped one.
#include "cli/data_folders.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace zr::cli {
namespace {

namespace fs = std::filesystem;

class DataFolders : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("keltoc-data-" +
                 std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(root_);
        fs::create_directories(root_ / "usr/bin");
    }
    void TearDown() override { fs::remove_all(root_); }

    fs::path root_;
};

// Installed, bin/ has share/zr7340/libraries beside it; otherwise the
// program's own folder holds the libraries.
TEST_F(DataFolders, SharedLibrariesBesideTheProgramComeFirst) {
    EXPECT_EQ(ShippedLibraryFolder(root_ / "usr/bin"), root_ / "usr/bin");
    fs::create_directories(root_ / "usr/share/zr7340/libraries");
    EXPECT_EQ(DataFolder(root_ / "usr/bin"), root_ / "usr/share/zr7340");
    EXPECT_EQ(ShippedLibraryFolder(root_ / "usr/bin"), root_ / "usr/share/zr7340/libraries");
}

TEST(UserLibraryFolder, FollowsTheXdgRules) {
    struct Case {
        const char* xdgDataHome;
        const char* home;
        fs::path expected;
    };
    const Case cases[] = {
        {"/data", "/home/u", "/data/zr7340/libraries"},
        {nullptr, "/home/u", "/home/u/.local/share/zr7340/libraries"},
        {"relative/data", "/home/u", "/home/u/.local/share/zr7340/libraries"},
        {"", "/home/u", "/home/u/.local/share/zr7340/libraries"},
        {nullptr, nullptr, fs::path()},
        {nullptr, "", fs::path()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(UserLibraryFolder(c.xdgDataHome, c.home), c.expected)
            << (c.xdgDataHome ? c.xdgDataHome : "(unset)") << " / "
            << (c.home ? c.home : "(unset)");
}

TEST(DefaultLibraryFolders, TheBuildTreeMirrorsTheInstalledLayout) {
    // build/cli/keltoc and build/tests/cli_tests both reach build/share/zr7340.
    const fs::path build(ZR_BINARY_DIR);
    const auto folders = DefaultLibraryFolders(build / "cli");
    ASSERT_FALSE(folders.empty());
    EXPECT_EQ(folders.front(), build / "share/zr7340/libraries");
    EXPECT_TRUE(fs::exists(folders.front() / "stackmath.bib"));
    if (folders.size() > 1) {
        EXPECT_EQ(folders[1].filename(), "libraries");
    }
}

}  // namespace
}  // namespace zr::cli
