// Saving a file so that a failure never costs the old contents, a symbolic
// link stays a link and a device node is never replaced.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace zr::formats {

// What a save does with a target that exists and, its links followed, is not a regular file.
enum class SpecialTargets : std::uint8_t {
    Refuse,                // every such target is refused (the environment's Save)
    WriteDevicesAndFifos,  // a character device or a FIFO is written in place (/dev/null,
                           // /dev/stdout on a terminal or a pipe); the rest are refused (keltoc -o)
};

struct SaveResult {
    enum class Failure : std::uint8_t {
        None,
        NotRegular,  // a device, FIFO or socket that the save may not replace (not a folder)
        System,      // a system call failed; errorNumber tells why (EISDIR for a folder)
    };
    Failure failure = Failure::None;
    int errorNumber = 0;

    bool ok() const { return failure == Failure::None; }
    // Why the save failed, in English: "not a regular file" or the system's text ("File too
    // large", "Is a directory").
    std::string Reason() const;
};

// The file a save of `path` writes: `path` itself, or, when it is a symbolic link, the final
// target of its chain of links (a relative link read from the link's own folder). A link to
// nothing gives the name it points to, so that the save creates the file the link names.
// More than 40 links in a row fail with ELOOP in `errorNumber` (and return `path`).
std::filesystem::path FinalLinkTarget(const std::filesystem::path& path, int* errorNumber);

// Writes `bytes` to the file `target` names. A regular file (or none) is replaced whole:
// the bytes go to a new temporary file beside the final target of target's links, are
// flushed to disk and renamed over that file, so the links stay links and the old file keeps
// its contents until the new one is complete; an existing file keeps its permissions. A
// target that exists and is not a regular file is never replaced: a folder fails with
// EISDIR, a character device or a FIFO is written in place when `special` allows it,
// anything else is refused (NotRegular). On every failure the temporary file is removed.
// Throws nothing. A file-size limit makes the write fail with EFBIG only when the caller
// ignores SIGXFSZ (keltoc does).
SaveResult SaveFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                              SpecialTargets special = SpecialTargets::Refuse);

// The same save (refusing every special target), reporting as before: on failure returns
// false and, when given, puts a readable reason naming `target` (never the temporary file)
// in `error` and the errno value in `errorNumber` (0 for a target refused as NotRegular).
bool SaveFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                        std::string* error, int* errorNumber = nullptr);

}  // namespace zr::formats
