// Saving replaces a file whole or not at all.
#include "formats/atomic_save.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <iterator>
#include <string>

#include "test_support.h"

namespace zr::formats {
namespace {

namespace fs = std::filesystem;

class AtomicSave : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Files in the folder: a temporary file left behind counts too.
    long Files() const { return std::distance(fs::directory_iterator(dir_), {}); }

    const fs::path dir_ =
        fs::temp_directory_path() / ("zr_atomic_save_" + std::to_string(getpid()));
};

TEST_F(AtomicSave, CreatesAndReplacesAFileKeepingItsPermissions) {
    const fs::path target = dir_ / "prog.zrt";
    const std::string bytes("{\\rtf1 \0\xff\r\n}", 11);
    std::string error;
    ASSERT_TRUE(SaveFileAtomically(target, bytes, &error)) << error;
    EXPECT_EQ(testing::ReadBytes(target), bytes);
    const fs::perms perms = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(target, perms);
    ASSERT_TRUE(SaveFileAtomically(target, "", nullptr));
    EXPECT_EQ(fs::file_size(target), 0u);
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all, perms);
    EXPECT_EQ(Files(), 1);
}

// A missing folder fails at once; a folder in the target's place fails at the rename, after
// the data is written: the folder survives, the temporary file goes.
TEST_F(AtomicSave, AFailureLeavesTheOldFileAndNoTemporaryFile) {
    std::string error;
    int errorNumber = 0;
    EXPECT_FALSE(SaveFileAtomically(dir_ / "no" / "such.zrt", "x", &error, &errorNumber));
    EXPECT_NE(error.find("such.zrt"), std::string::npos) << error;
    EXPECT_EQ(error.find(".tmp-"), std::string::npos) << error;  // the user's name, not ours
    EXPECT_EQ(errorNumber, ENOENT);
    fs::create_directory(dir_ / "taken.zrt");
    std::ofstream(dir_ / "taken.zrt" / "inside") << "keep";
    error.clear();
    EXPECT_FALSE(SaveFileAtomically(dir_ / "taken.zrt", "x", &error));
    EXPECT_NE(error.find("taken.zrt:"), std::string::npos) << error;
    EXPECT_FALSE(SaveFileAtomically(dir_ / "taken.zrt", "x", nullptr));
    EXPECT_EQ(testing::ReadBytes(dir_ / "taken.zrt" / "inside"), "keep");
    EXPECT_EQ(Files(), 1);
}

}  // namespace
}  // namespace zr::formats
