#include "formats/atomic_save.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace zr::formats {
namespace {

struct Reasons {
    std::string* text;
    int* number;
};

bool Fail(Reasons reasons, const std::string& what, const std::filesystem::path& path,
          int errorNumber) {
    if (reasons.text != nullptr)
        *reasons.text = what + " " + path.string() + ": " + std::strerror(errorNumber);
    if (reasons.number != nullptr) *reasons.number = errorNumber;
    return false;
}

// A name beside the target that no other save (in this or another process) uses at once;
// O_EXCL settles the rare clash.
std::filesystem::path TemporaryName(const std::filesystem::path& target, int attempt) {
    static std::atomic<unsigned> counter{0};
    std::filesystem::path name = target;
    name += ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-" +
            std::to_string(attempt);
    return name;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written == 0) errno = EIO;
        if (written <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

bool SaveFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                        std::string* error, int* errorNumber) try {
    const Reasons reasons{error, errorNumber};
    std::filesystem::path temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temporary = TemporaryName(target, attempt);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) return Fail(reasons, "Cannot create", temporary, errno);
    }
    if (fd < 0) return Fail(reasons, "Cannot create", temporary, EEXIST);

    struct stat old {};
    if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode))
        ::fchmod(fd, old.st_mode & 07777);

    const bool written = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    const int writeError = errno;
    const bool closed = ::close(fd) == 0;
    const int closeError = errno;
    if (!written || !closed) {
        ::unlink(temporary.c_str());
        return Fail(reasons, "Cannot write", temporary, !written ? writeError : closeError);
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        const int renameError = errno;
        ::unlink(temporary.c_str());
        return Fail(reasons, "Cannot replace", target, renameError);
    }
    return true;
} catch (const std::exception& e) {  // only allocation can throw here
    if (error != nullptr) *error = e.what();
    if (errorNumber != nullptr) *errorNumber = ENOMEM;
    return false;
}

}  // namespace zr::formats
