// Saving replaces a file whole or not at all.
#include "formats/atomic_save.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <set>
#include <string>

#include "test_support.h"

namespace zr::formats {
namespace {

namespace fs = std::filesystem;

class AtomicSave : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("zr_atomic_save_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // The folder holds exactly these names: no temporary file is left behind.
    void ExpectOnlyFiles(std::initializer_list<std::string> names) {
        std::set<std::string> found;
        for (const auto& entry : fs::directory_iterator(dir_))
            found.insert(entry.path().filename().string());
        EXPECT_EQ(found, std::set<std::string>(names));
    }

    fs::path dir_;
};

TEST_F(AtomicSave, CreatesANewFile) {
    std::string error;
    ASSERT_TRUE(SaveFileAtomically(dir_ / "new.zrt", "{\\rtf1 x}", &error)) << error;
    EXPECT_EQ(testing::ReadBytes(dir_ / "new.zrt"), "{\\rtf1 x}");
    EXPECT_TRUE(error.empty());
    ExpectOnlyFiles({"new.zrt"});
}

TEST_F(AtomicSave, ReplacesAnOldFileAndKeepsItsPermissions) {
    const fs::path target = dir_ / "prog.zrt";
    ASSERT_TRUE(SaveFileAtomically(target, "a much longer old content", nullptr));
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    ASSERT_TRUE(SaveFileAtomically(target, "new", nullptr));
    EXPECT_EQ(testing::ReadBytes(target), "new");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ExpectOnlyFiles({"prog.zrt"});
}

TEST_F(AtomicSave, WritesEmptyAndBinaryContent) {
    const std::string bytes("\0\xff\r\n", 4);
    ASSERT_TRUE(SaveFileAtomically(dir_ / "b", bytes, nullptr));
    EXPECT_EQ(testing::ReadBytes(dir_ / "b"), bytes);
    ASSERT_TRUE(SaveFileAtomically(dir_ / "b", "", nullptr));
    EXPECT_EQ(fs::file_size(dir_ / "b"), 0u);
}

TEST_F(AtomicSave, AMissingFolderIsReported) {
    std::string error;
    EXPECT_FALSE(SaveFileAtomically(dir_ / "no" / "such.zrt", "x", &error));
    EXPECT_NE(error.find("no"), std::string::npos) << error;
    EXPECT_FALSE(SaveFileAtomically(dir_ / "no" / "such.zrt", "x", nullptr));
    ExpectOnlyFiles({});
}

// Renaming over a folder fails after the data is written: the folder survives, the
// temporary file goes.
TEST_F(AtomicSave, AFailedReplaceLeavesTheTargetAndNoTemporaryFile) {
    fs::create_directory(dir_ / "taken.zrt");
    std::ofstream(dir_ / "taken.zrt" / "inside") << "keep";
    std::string error;
    EXPECT_FALSE(SaveFileAtomically(dir_ / "taken.zrt", "x", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(testing::ReadBytes(dir_ / "taken.zrt" / "inside"), "keep");
    ExpectOnlyFiles({"taken.zrt"});
}

}  // namespace
}  // namespace zr::formats
