// keltoc build -o and what the name given stands for: a symbolic link is followed and stays,
// a character device or a FIFO is written in place, anything else that is not a regular file
// is refused, and a file-size limit is a write error that leaves nothing behind.
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>

#include "keltoc_fixture.h"

namespace zr::cli {
namespace {

namespace fs = std::filesystem;
using OutputTargets = KeltocTest;

constexpr const char* kProgram = "Dup\nEnd\n";

bool IsImage(const std::string& bytes) {
    return bytes.size() == 1024 && bytes.substr(0, 3) == std::string("\x69\x66\x00", 3);
}

// Each link as it was made, and the real file that must receive the image.
TEST_F(OutputTargets, LinksAreFollowedToTheRealFileAndStayLinks) {
    const struct {
        const char* name;
        std::vector<std::pair<std::string, std::string>> links;  // link, what it points to
        std::string output;                                      // -o, in the folder
        std::string real;                                        // the file written
    } cases[] = {
        {"relative", {{"link.bin", "real.bin"}}, "link.bin", "real.bin"},
        {"absolute", {{"link.bin", "@/real.bin"}}, "link.bin", "real.bin"},
        {"chain",
         {{"a.bin", "b.bin"}, {"b.bin", "sub/c.bin"}, {"sub/c.bin", "@/real.bin"}},
         "a.bin",
         "real.bin"},
        {"from_another_folder", {{"sub/link.bin", "../real.bin"}}, "sub/link.bin", "real.bin"},
        {"to_another_folder", {{"link.bin", "sub/real.bin"}}, "link.bin", "sub/real.bin"},
        {"dangling", {{"link.bin", "new.bin"}}, "link.bin", "new.bin"},
    };
    const auto source = Write("p.txt", kProgram);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(folder_ / "sub");
        for (const char* name : {"link.bin", "a.bin", "b.bin", "real.bin", "new.bin"})
            fs::remove(folder_ / name);
        fs::create_directory(folder_ / "sub");
        if (std::string(c.name) != "dangling") Write(c.real, "the old image");
        for (const auto& [link, to] : c.links)
            fs::create_symlink(to[0] == '@' ? P(to.substr(2)) : to, folder_ / link);

        ASSERT_EQ(Run({"build", source.string(), "-o", P(c.output)}), kSuccess) << err_.str();
        EXPECT_TRUE(IsImage(Contents(folder_ / c.real)));
        for (const auto& [link, to] : c.links) {
            EXPECT_TRUE(fs::is_symlink(folder_ / link)) << link;
            EXPECT_EQ(fs::read_symlink(folder_ / link).string(),
                      to[0] == '@' ? P(to.substr(2)) : to);
        }
        EXPECT_EQ(LeftoverTemporaryFiles(), 0);
    }

    fs::create_symlink("loop2.bin", folder_ / "loop1.bin");
    fs::create_symlink("loop1.bin", folder_ / "loop2.bin");
    EXPECT_EQ(Run({"build", source.string(), "-o", P("loop1.bin")}), kUsageError);
    EXPECT_EQ(err_.str(),
              "keltoc: cannot write " + P("loop1.bin") + ": Too many levels of symbolic links\n");
}

// A FIFO gets the image as it is written; a private device node (made only where mknod is
// allowed, so that a broken build never replaces the machine's own /dev/null) is written in
// place or gives its write error; a folder, a socket and a block device are refused. The
// node stays what it was.
TEST_F(OutputTargets, DevicesAndFifosAreWrittenInPlaceTheRestRefused) {
    const auto source = Write("p.txt", kProgram);
    ASSERT_EQ(::mkfifo(P("fifo").c_str(), 0600), 0);
    fs::create_directory(folder_ / "folder");
    fs::create_symlink("fifo", folder_ / "fifo-link");
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = P("socket");
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    socketPath.copy(address.sun_path, socketPath.size());
    ASSERT_EQ(::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    const bool nodes = ::mknod(P("null").c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0 &&
                       ::mknod(P("full").c_str(), S_IFCHR | 0666, ::makedev(1, 7)) == 0 &&
                       ::mknod(P("block").c_str(), S_IFBLK | 0600, ::makedev(7, 200)) == 0;

    const std::string refused = ": not a regular file, a character device or a FIFO\n";
    const struct {
        const char* name;
        bool needsNodes;
        int exitCode;
        std::string error;  // after "keltoc: cannot write PATH"
        fs::file_type after;
    } cases[] = {
        {"fifo", false, kSuccess, "", fs::file_type::fifo},
        {"fifo-link", false, kSuccess, "", fs::file_type::symlink},
        {"folder", false, kUsageError, ": Is a directory\n", fs::file_type::directory},
        {"socket", false, kUsageError, refused, fs::file_type::socket},
        {"null", true, kSuccess, "", fs::file_type::character},
        {"full", true, kUsageError, ": No space left on device\n", fs::file_type::character},
        {"block", true, kUsageError, refused, fs::file_type::block},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.needsNodes && !nodes) continue;
        // A reader open before keltoc opens the FIFO, so that neither waits for the other;
        // the image fits the pipe's buffer.
        const bool fifo = std::string(c.name).starts_with("fifo");
        const int reader = fifo ? ::open(P("fifo").c_str(), O_RDONLY | O_NONBLOCK) : -1;
        EXPECT_EQ(Run({"build", source.string(), "-o", P(c.name)}), c.exitCode);
        if (fifo) {
            EXPECT_TRUE(IsImage(ReadAll(reader)));
            EXPECT_EQ(fs::status(folder_ / c.name).type(), fs::file_type::fifo);
        }
        EXPECT_EQ(err_.str(), c.error.empty() ? "" : "keltoc: cannot write " + P(c.name) + c.error);
        EXPECT_EQ(fs::symlink_status(folder_ / c.name).type(), c.after);
    }
    ::close(listener);
    EXPECT_EQ(LeftoverTemporaryFiles(), 0);
}

// -o /dev/stdout, here through a link of the test's own so that a broken build replaces
// nothing of the machine's: the image goes down the pipe before the report.
TEST_F(OutputTargets, StandardOutputIsWrittenInPlace) {
    const auto source = Write("p.txt", kProgram);
    fs::create_symlink("/dev/stdout", folder_ / "stdout");
    const auto run = RunProgram({"build", source.string(), "-o", P("stdout")});
    EXPECT_EQ(run.exitCode, kSuccess) << run.err;
    ASSERT_GE(run.out.size(), 1024u);
    EXPECT_TRUE(IsImage(run.out.substr(0, 1024)));
    EXPECT_NE(run.out.find("busy  0% of memory", 1024), std::string::npos);
    EXPECT_TRUE(fs::is_symlink(folder_ / "stdout"));
}

// Under ulimit -f, keltoc is not killed by SIGXFSZ: the write fails with EFBIG, reported as
// any write error with exit code 2; the old image stays whole and no temporary file is left.
TEST_F(OutputTargets, AFileSizeLimitIsAWriteErrorThatLeavesNothingBehind) {
    const auto source = Write("p.txt", kProgram);
    const struct {
        const char* name;
        rlim_t limit;
        bool oldImage;
    } cases[] = {
        {"nothing_may_grow_new_file", 0, false},
        {"nothing_may_grow_old_file", 0, true},
        {"half_an_image", 512, true},
        {"one_byte_short", 1023, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(folder_ / "img.bin");
        if (c.oldImage) Write("img.bin", "the old image");
        const auto run = RunProgram({"build", source.string(), "-o", P("img.bin")}, c.limit);
        EXPECT_EQ(run.signal, 0);
        EXPECT_EQ(run.exitCode, kUsageError);
        EXPECT_EQ(run.err, "keltoc: cannot write " + P("img.bin") + ": File too large\n");
        EXPECT_EQ(fs::exists(folder_ / "img.bin"), c.oldImage);
        if (c.oldImage) {
            EXPECT_EQ(Contents(folder_ / "img.bin"), "the old image");
        }
        EXPECT_EQ(LeftoverTemporaryFiles(), 0);
    }
    // The image fits a limit of its own size.
    const auto fits = RunProgram({"build", source.string(), "-o", P("img.bin")}, 1024);
    EXPECT_EQ(fits.exitCode, kSuccess) << fits.err;
    EXPECT_TRUE(IsImage(Contents(folder_ / "img.bin")));
}

}  // namespace
}  // namespace zr::cli
