#include "machine/file_read.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace zr::machine {
namespace {

FileRead Failed(FileRead::Failure failure, int errorNumber, std::uintmax_t cap) {
    FileRead result;
    result.failure = failure;
    result.errorNumber = errorNumber;
    result.cap = cap;
    return result;
}

std::string SizeText(std::uintmax_t bytes) {
    constexpr std::uintmax_t kMegabyte = 1u << 20;
    if (bytes >= kMegabyte && bytes % kMegabyte == 0)
        return std::to_string(bytes / kMegabyte) + " MB";
    return std::to_string(bytes) + " bytes";
}

class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

}  // namespace

std::string FileRead::Reason() const {
    switch (failure) {
        case Failure::None:
            return {};
        case Failure::NotRegular:
            return "not a regular file";
        case Failure::TooLarge:
            return "larger than " + SizeText(cap);
        case Failure::System:
            break;
    }
    return std::strerror(errorNumber);
}

FileRead ReadRegularFile(const std::filesystem::path& path, std::uintmax_t maxBytes) {
    using Failure = FileRead::Failure;
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (file.get() < 0) return Failed(Failure::System, errno, maxBytes);
    struct stat status {};
    if (::fstat(file.get(), &status) != 0) return Failed(Failure::System, errno, maxBytes);
    if (S_ISDIR(status.st_mode)) return Failed(Failure::System, EISDIR, maxBytes);
    if (!S_ISREG(status.st_mode)) return Failed(Failure::NotRegular, 0, maxBytes);
    if (static_cast<std::uintmax_t>(status.st_size) > maxBytes)
        return Failed(Failure::TooLarge, 0, maxBytes);

    // The size may change while reading (and files under /proc report 0), so
    // read to the end, but stop one byte past the cap.
    FileRead result;
    result.cap = maxBytes;
    // One byte more than the size, so that the read which finds the end needs no growth.
    result.bytes.resize(static_cast<std::size_t>(status.st_size) + 1);
    std::size_t filled = 0;
    for (;;) {
        if (filled == result.bytes.size()) {
            if (filled > maxBytes) return Failed(Failure::TooLarge, 0, maxBytes);
            const std::uintmax_t grown = std::max<std::uintmax_t>(filled * 2, 4096);
            result.bytes.resize(static_cast<std::size_t>(std::min(grown, maxBytes + 1)));
        }
        const ssize_t got =
            ::read(file.get(), result.bytes.data() + filled, result.bytes.size() - filled);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return Failed(Failure::System, errno, maxBytes);
        if (got == 0) break;
        filled += static_cast<std::size_t>(got);
    }
    if (filled > maxBytes) return Failed(Failure::TooLarge, 0, maxBytes);
    result.bytes.resize(filled);
    return result;
}

}  // namespace zr::machine
