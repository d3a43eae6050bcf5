// Saving replaces a file whole or not at all, through its links, and never a folder, a
// device, a FIFO or a socket (keltoc's mode writes a device or a FIFO in place).
#include "formats/atomic_save.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "test_support.h"

namespace zr::formats {
namespace {

namespace fs = std::filesystem;
using Failure = SaveResult::Failure;

class AtomicSave : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Files in the folder: a temporary file left behind counts too.
    long Files() const { return std::distance(fs::directory_iterator(dir_), {}); }

    fs::path Make(const std::string& name, const std::string& bytes) {
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
        return dir_ / name;
    }

    const fs::path dir_ =
        fs::temp_directory_path() / ("zr_atomic_save_" + std::to_string(getpid()));
};

TEST_F(AtomicSave, CreatesAndReplacesAFileKeepingItsPermissions) {
    const fs::path target = dir_ / "prog.zrt";
    const std::string bytes("{\\rtf1 \0\xff\r\n}", 11);
    ASSERT_TRUE(SaveFileAtomically(target, bytes).ok());
    EXPECT_EQ(testing::ReadBytes(target), bytes);
    const fs::perms perms = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(target, perms);
    ASSERT_TRUE(SaveFileAtomically(target, "").ok());
    EXPECT_EQ(fs::file_size(target), 0u);
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all, perms);
    EXPECT_EQ(Files(), 1);
}

// A missing folder fails at once; the older form of the call names the file asked for.
TEST_F(AtomicSave, AFailureLeavesTheOldFileAndNoTemporaryFile) {
    const SaveResult missing = SaveFileAtomically(dir_ / "no" / "such.zrt", "x");
    EXPECT_EQ(missing.failure, Failure::System);
    EXPECT_EQ(missing.errorNumber, ENOENT);
    EXPECT_EQ(missing.Reason(), "No such file or directory");
    std::string error;
    int errorNumber = 0;
    EXPECT_FALSE(SaveFileAtomically(dir_ / "no" / "such.zrt", "x", &error, &errorNumber));
    EXPECT_NE(error.find("such.zrt: No such file"), std::string::npos) << error;
    EXPECT_EQ(error.find(".tmp-"), std::string::npos) << error;  // the user's name, not ours
    EXPECT_EQ(errorNumber, ENOENT);
    EXPECT_EQ(Files(), 0);
}

// The link stays a link and the file at the end of its chain gets the bytes, with its
// permissions; a link to nothing creates the file it names.
TEST_F(AtomicSave, ALinkIsSavedThroughToItsFile) {
    const struct {
        const char* name;
        std::vector<std::pair<std::string, std::string>> links;  // link, what it points to
        std::string real;
    } cases[] = {
        {"relative", {{"link.zrt", "real.zrt"}}, "real.zrt"},
        {"absolute", {{"link.zrt", "@real.zrt"}}, "real.zrt"},
        {"chain",
         {{"link.zrt", "sub/mid.zrt"},
          {"sub/mid.zrt", "../sub/end.zrt"},
          {"sub/end.zrt", "@real.zrt"}},
         "real.zrt"},
        {"into_a_folder", {{"link.zrt", "sub/real.zrt"}}, "sub/real.zrt"},
        {"to_nothing", {{"link.zrt", "sub/new.zrt"}}, "sub/new.zrt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "sub");
        const bool existing = std::string(c.name) != "to_nothing";
        if (existing) {
            Make(c.real, "old");
            fs::permissions(dir_ / c.real, fs::perms::owner_read | fs::perms::owner_write);
        }
        const auto target = [&](const std::string& to) {
            return to[0] == '@' ? (dir_ / to.substr(1)).string() : to;
        };
        for (const auto& [link, to] : c.links) fs::create_symlink(target(to), dir_ / link);

        const SaveResult saved = SaveFileAtomically(dir_ / "link.zrt", "new");
        ASSERT_TRUE(saved.ok()) << saved.Reason();
        EXPECT_EQ(testing::ReadBytes(dir_ / c.real), "new");
        if (existing) {
            EXPECT_EQ(fs::status(dir_ / c.real).permissions() & fs::perms::all,
                      fs::perms::owner_read | fs::perms::owner_write);
        }
        for (const auto& [link, to] : c.links) {
            EXPECT_TRUE(fs::is_symlink(dir_ / link)) << link;
            EXPECT_EQ(fs::read_symlink(dir_ / link).string(), target(to)) << link;
        }
        for (const auto& entry : fs::recursive_directory_iterator(dir_))
            EXPECT_EQ(entry.path().string().find(".tmp-"), std::string::npos) << entry.path();
    }

    fs::create_symlink("b.zrt", dir_ / "a.zrt");
    fs::create_symlink("a.zrt", dir_ / "b.zrt");
    const SaveResult loop = SaveFileAtomically(dir_ / "a.zrt", "x");
    EXPECT_EQ(loop.errorNumber, ELOOP);
    EXPECT_TRUE(fs::is_symlink(dir_ / "a.zrt"));
    int errorNumber = 0;
    EXPECT_EQ(FinalLinkTarget(dir_ / "a.zrt", &errorNumber), dir_ / "a.zrt");
    EXPECT_EQ(errorNumber, ELOOP);
}

// Every target that is not a regular file keeps what it is. The device nodes are private
// ones, made only where mknod is allowed, so a broken build never touches the machine's own.
TEST_F(AtomicSave, NeverReplacesAFolderDeviceFifoOrSocket) {
    ASSERT_EQ(::mkfifo((dir_ / "fifo").c_str(), 0600), 0);
    fs::create_directory(dir_ / "folder");
    fs::create_symlink("fifo", dir_ / "fifo-link");
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = (dir_ / "socket").string();
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    socketPath.copy(address.sun_path, socketPath.size());
    ASSERT_EQ(::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    const bool nodes = ::mknod((dir_ / "null").c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0 &&
                       ::mknod((dir_ / "full").c_str(), S_IFCHR | 0666, ::makedev(1, 7)) == 0 &&
                       ::mknod((dir_ / "block").c_str(), S_IFBLK | 0600, ::makedev(7, 200)) == 0;

    using enum SpecialTargets;
    const struct {
        const char* name;
        SpecialTargets special;
        bool needsNodes;
        Failure failure;
        int errorNumber;
    } cases[] = {
        {"folder", Refuse, false, Failure::System, EISDIR},
        {"folder", WriteDevicesAndFifos, false, Failure::System, EISDIR},
        {"fifo", Refuse, false, Failure::NotRegular, 0},
        {"fifo-link", Refuse, false, Failure::NotRegular, 0},
        {"fifo", WriteDevicesAndFifos, false, Failure::None, 0},
        {"fifo-link", WriteDevicesAndFifos, false, Failure::None, 0},
        {"socket", Refuse, false, Failure::NotRegular, 0},
        {"socket", WriteDevicesAndFifos, false, Failure::NotRegular, 0},
        {"null", Refuse, true, Failure::NotRegular, 0},
        {"null", WriteDevicesAndFifos, true, Failure::None, 0},
        {"full", WriteDevicesAndFifos, true, Failure::System, ENOSPC},
        {"block", Refuse, true, Failure::NotRegular, 0},
        {"block", WriteDevicesAndFifos, true, Failure::NotRegular, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + (c.special == Refuse ? " refuse" : " write"));
        if (c.needsNodes && !nodes) continue;
        const fs::file_type before = fs::symlink_status(dir_ / c.name).type();
        // A reader already there, so that neither side waits; the bytes fit the pipe.
        const int reader = ::open((dir_ / "fifo").c_str(), O_RDONLY | O_NONBLOCK);
        const SaveResult saved = SaveFileAtomically(dir_ / c.name, "bytes", c.special);
        EXPECT_EQ(saved.failure, c.failure) << saved.Reason();
        EXPECT_EQ(saved.errorNumber, c.errorNumber);
        char got[16] = {};
        const ssize_t read = ::read(reader, got, sizeof got);
        ::close(reader);
        const bool fifo = std::string(c.name).starts_with("fifo");
        EXPECT_EQ(std::string(got, read > 0 ? read : 0),
                  fifo && c.failure == Failure::None ? "bytes" : "");
        EXPECT_EQ(fs::symlink_status(dir_ / c.name).type(), before);
    }
    EXPECT_EQ((SaveResult{Failure::NotRegular, 0}).Reason(), "not a regular file");
    std::string error;
    int errorNumber = -1;
    EXPECT_FALSE(SaveFileAtomically(dir_ / "fifo", "x", &error, &errorNumber));
    EXPECT_EQ(error, "Cannot save " + (dir_ / "fifo").string() + ": not a regular file");
    EXPECT_EQ(errorNumber, 0);
    ::close(listener);
    for (const auto& entry : fs::directory_iterator(dir_))
        EXPECT_EQ(entry.path().string().find(".tmp-"), std::string::npos) << entry.path();
}

// Under a file-size limit, with SIGXFSZ ignored as keltoc ignores it (in a child, so the
// limit ends with it): EFBIG, the old file whole, no temporary file.
TEST_F(AtomicSave, AFileSizeLimitFailsTheSaveWithEfbig) {
    const fs::path target = Make("old.zrt", "the old text");
    for (const rlim_t limit : {rlim_t{0}, rlim_t{100}}) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit small{limit, limit};
            ::setrlimit(RLIMIT_FSIZE, &small);
            const SaveResult saved = SaveFileAtomically(target, std::string(1000, 'x'));
            ::_exit(saved.failure == Failure::System ? saved.errorNumber : 0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), EFBIG) << limit;
        EXPECT_EQ(testing::ReadBytes(target), "the old text");
        EXPECT_EQ(Files(), 1);
    }
}

}  // namespace
}  // namespace zr::formats
