// Reading a whole file that a user named: a source, a library, an image, an
// input script. Only regular files are read (after following links), and only
// up to a size cap, so a FIFO, a folder or /dev/zero can neither hang the
// program nor fill its memory.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace zr::machine {

// The cap for text files: sources, libraries, serial input.
inline constexpr std::uintmax_t kMaxTextFileSize = 64u << 20;

struct FileRead {
    enum class Failure : std::uint8_t {
        None,
        NotRegular,  // a FIFO, a device, a socket
        TooLarge,    // more than the cap
        System,      // open or read failed; errorNumber tells why (ENOENT, EISDIR, ...)
    };
    Failure failure = Failure::None;
    int errorNumber = 0;
    std::uintmax_t cap = 0;
    std::string bytes;  // the whole file when failure is None

    bool ok() const { return failure == Failure::None; }
    // Why the read failed, in English: "not a regular file", "larger than 64 MB",
    // or the system's text ("No such file or directory", "Is a directory").
    std::string Reason() const;
};

// The whole file at `path` if it is a regular file of at most `maxBytes`
// bytes. Never blocks on a FIFO and never reads more than maxBytes + 1 bytes.
FileRead ReadRegularFile(const std::filesystem::path& path, std::uintmax_t maxBytes);

}  // namespace zr::machine
