#include "formats/atomic_save.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace zr::formats {
namespace {

// As the kernel allows in one path lookup.
constexpr int kMaxLinks = 40;

SaveResult Failed(SaveResult::Failure failure, int errorNumber) {
    SaveResult result;
    result.failure = failure;
    result.errorNumber = errorNumber;
    return result;
}

SaveResult SystemFailure(int errorNumber) {
    return Failed(SaveResult::Failure::System, errorNumber);
}

SaveResult NotRegular() {
    return Failed(SaveResult::Failure::NotRegular, 0);
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

// A new file beside the one to replace, under a name that no other save (in this or another
// process) uses at once (O_EXCL settles the rare clash). Removed when this object goes,
// unless it was renamed into place: every way out of a failed save removes it.
class TemporaryFile {
  public:
    TemporaryFile() = default;
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (fd_ >= 0) ::close(fd_);
        if (!path_.empty()) ::unlink(path_.c_str());
    }

    // Returns 0 or the errno value of the failure.
    int Create(const std::filesystem::path& beside) {
        static std::atomic<unsigned> counter{0};
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::filesystem::path name = beside;
            name += ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-" +
                    std::to_string(attempt);
            fd_ = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd_ >= 0) {
                path_ = std::move(name);
                return 0;
            }
            if (errno != EEXIST) return errno;
        }
        return EEXIST;
    }

    int fd() const { return fd_; }
    const std::filesystem::path& path() const { return path_; }

    // Returns 0 or the errno value of the failure.
    int Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0 ? 0 : errno;
    }

    // Renamed over the target: nothing is left to remove.
    void Kept() { path_.clear(); }

  private:
    int fd_ = -1;
    std::filesystem::path path_;
};

// A character device or a FIFO takes the bytes as they are written: there is nothing to
// rename over and nothing to flush. Opened without O_CREAT or O_TRUNC, and checked once
// open, so a file put in its place meanwhile is neither made nor cut.
SaveResult WriteOpenDevice(int fd, std::string_view bytes) {
    struct stat status {};
    if (::fstat(fd, &status) != 0) return SystemFailure(errno);
    if (!S_ISCHR(status.st_mode) && !S_ISFIFO(status.st_mode)) return NotRegular();
    if (!WriteAll(fd, bytes)) return SystemFailure(errno);
    return {};
}

SaveResult WriteInPlace(const std::filesystem::path& target, std::string_view bytes) {
    const int fd = ::open(target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return SystemFailure(errno);
    const SaveResult result = WriteOpenDevice(fd, bytes);
    if (::close(fd) != 0 && result.ok()) return SystemFailure(errno);
    return result;
}

// What a save may not replace, by the node's mode; None for a regular file.
SaveResult RefusalOf(mode_t mode) {
    if (S_ISREG(mode)) return {};
    return S_ISDIR(mode) ? SystemFailure(EISDIR) : NotRegular();
}

SaveResult Replace(const std::filesystem::path& target, std::string_view bytes,
                   const struct stat* old) {
    int linkError = 0;
    const std::filesystem::path file = FinalLinkTarget(target, &linkError);
    if (linkError != 0) return SystemFailure(linkError);
    // The links must lead to the file found: a link of /proc to an open descriptor names a
    // file that may have been deleted since ("NAME (deleted)").
    struct stat found {};
    if (old != nullptr && (::stat(file.c_str(), &found) != 0 || found.st_dev != old->st_dev ||
                           found.st_ino != old->st_ino))
        return SystemFailure(ENOENT);

    TemporaryFile temporary;
    if (const int error = temporary.Create(file)) return SystemFailure(error);
    if (old != nullptr) ::fchmod(temporary.fd(), old->st_mode & 07777);
    if (!WriteAll(temporary.fd(), bytes) || ::fsync(temporary.fd()) != 0)
        return SystemFailure(errno);
    if (const int error = temporary.Close()) return SystemFailure(error);
    // A last look: a folder or node put there meanwhile is not replaced either.
    struct stat now {};
    if (::lstat(file.c_str(), &now) == 0) {
        if (SaveResult refusal = RefusalOf(now.st_mode); !refusal.ok()) return refusal;
    }
    if (::rename(temporary.path().c_str(), file.c_str()) != 0) return SystemFailure(errno);
    temporary.Kept();
    return {};
}

}  // namespace

std::string SaveResult::Reason() const {
    switch (failure) {
        case Failure::None:
            return {};
        case Failure::NotRegular:
            return "not a regular file";
        case Failure::System:
            break;
    }
    return std::strerror(errorNumber);
}

std::filesystem::path FinalLinkTarget(const std::filesystem::path& path, int* errorNumber) {
    if (errorNumber != nullptr) *errorNumber = 0;
    std::filesystem::path file = path;
    for (int links = 0;; ++links) {
        struct stat status {};
        // Missing (the save creates it), unreadable (the save reports why) or not a link.
        if (::lstat(file.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return file;
        std::error_code failed;
        const std::filesystem::path next = std::filesystem::read_symlink(file, failed);
        if (failed || links == kMaxLinks) {
            if (errorNumber != nullptr) *errorNumber = failed ? failed.value() : ELOOP;
            return path;
        }
        file = next.is_absolute() ? next : file.parent_path() / next;
    }
}

SaveResult SaveFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                              SpecialTargets special) try {
    // The kernel follows the links here, /proc's links to open descriptors (/dev/stdout)
    // included, so a pipe or a terminal behind them counts as what it is.
    struct stat status {};
    if (::stat(target.c_str(), &status) != 0) {
        if (errno != ENOENT) return SystemFailure(errno);
        return Replace(target, bytes, nullptr);  // a new file, or a link to one
    }
    if (S_ISREG(status.st_mode)) return Replace(target, bytes, &status);
    const bool inPlace = special == SpecialTargets::WriteDevicesAndFifos &&
                         (S_ISCHR(status.st_mode) || S_ISFIFO(status.st_mode));
    return inPlace ? WriteInPlace(target, bytes) : RefusalOf(status.st_mode);
} catch (const std::exception&) {  // only allocation can throw here
    return SystemFailure(ENOMEM);
}

bool SaveFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                        std::string* error, int* errorNumber) {
    const SaveResult result = SaveFileAtomically(target, bytes, SpecialTargets::Refuse);
    if (result.ok()) return true;
    if (errorNumber != nullptr)
        *errorNumber = result.failure == SaveResult::Failure::System ? result.errorNumber : 0;
    if (error != nullptr) {
        try {
            *error = "Cannot save " + target.string() + ": " + result.Reason();
        } catch (const std::exception&) {
            error->clear();
        }
    }
    return false;
}

}  // namespace zr::formats
