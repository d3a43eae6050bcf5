#include "cli/serial_out_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "cli/source_file.h"

namespace zr::cli {
namespace {

// Lines are short (a number each); a buffer of this size makes one write of thousands.
constexpr std::size_t kBufferSize = std::size_t{64} * 1024;

}  // namespace

SerialOutFile::~SerialOutFile() {
    if (fd_ >= 0) ::close(fd_);
}

bool SerialOutFile::Open(const std::filesystem::path& path, std::ostream& err) {
    path_ = path;
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd_ < 0) {
        Complain(err, "cannot write " + path.string() + ": " + std::strerror(errno));
        return false;
    }
    buffer_.reserve(kBufferSize);
    return true;
}

void SerialOutFile::WriteLine(std::string_view line) {
    if (errorNumber_ != 0) return;
    if (buffer_.size() + line.size() + 1 > kBufferSize) Flush();
    buffer_.append(line);
    buffer_ += '\n';
}

void SerialOutFile::Flush() {
    std::string_view rest(buffer_);
    while (!rest.empty() && errorNumber_ == 0) {
        const ssize_t written = ::write(fd_, rest.data(), rest.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0)
            errorNumber_ = written < 0 ? errno : EIO;
        else
            rest.remove_prefix(static_cast<std::size_t>(written));
    }
    buffer_.clear();
}

bool SerialOutFile::Close(std::ostream& err) {
    if (fd_ < 0) return true;
    Flush();
    if (::close(fd_) != 0 && errorNumber_ == 0) errorNumber_ = errno;
    fd_ = -1;
    if (errorNumber_ == 0) return true;
    Complain(err, "cannot write " + path_.string() + ": " + std::strerror(errorNumber_));
    return false;
}

}  // namespace zr::cli
