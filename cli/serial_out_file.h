// keltoc run --serial-out FILE: every line the program writes to serial channel 1,
// streamed to a file as the run goes, so that no line has to stay in memory.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <string_view>

namespace zr::cli {

class SerialOutFile {
  public:
    SerialOutFile() = default;
    SerialOutFile(const SerialOutFile&) = delete;
    SerialOutFile& operator=(const SerialOutFile&) = delete;
    ~SerialOutFile();

    // Opens the file as a shell's ">" does: created or emptied, written through its links, a
    // character device or a FIFO written as it is. On failure prints "keltoc: cannot write
    // FILE: REASON" to `err` and returns false.
    bool Open(const std::filesystem::path& path, std::ostream& err);

    // The line and a line feed, through a buffer. After a failed write the rest is dropped;
    // Close reports the failure.
    void WriteLine(std::string_view line);

    // Writes what is buffered and closes the file. False, with the message printed, when any
    // write failed (a full disk, a file-size limit: EFBIG).
    bool Close(std::ostream& err);

  private:
    void Flush();

    std::filesystem::path path_;
    int fd_ = -1;
    int errorNumber_ = 0;  // of the first failed write
    std::string buffer_;
};

}  // namespace zr::cli
