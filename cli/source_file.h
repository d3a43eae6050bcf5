// Reading the files keltoc is given.
#pragma once

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

namespace zr::cli {

// The whole file if it is a regular file (after following links) of at most
// `maxBytes` bytes; otherwise prints "keltoc: cannot read FILE: REASON" to
// `err` and returns nothing. FIFOs, devices and folders are refused without
// blocking.
std::optional<std::string> ReadInputFile(const std::filesystem::path& path, std::uintmax_t maxBytes,
                                         std::ostream& err);

// A source file (build SOURCE, run PROGRAM) read as ReadInputFile reads it, within the text
// cap; an RTF file cut short is refused as well, with "keltoc: cannot read FILE: the file is
// damaged: it ends in the middle" (the environment opens it with a warning).
std::optional<std::string> ReadSourceFile(const std::filesystem::path& path, std::ostream& err);

// A source file's bytes as compiler text (Windows-1251, CR LF): RTF (a
// leading "{\rtf") through the .zrt reader, otherwise plain text, UTF-8 or,
// when not valid UTF-8, Windows-1251. A byte-order mark is dropped first.
std::string SourceBytesToCompilerText(std::string_view bytes);

// The folder of a source file, where $Lib looks after the library folder.
std::filesystem::path SourceFolder(const std::filesystem::path& source);

// Writes an output file (-o, --snapshot-out): a regular file (or a new one) through a
// temporary file renamed over it, so a full disk or a size limit never leaves a truncated
// file in place of the old one, and links stay links. A character device or a FIFO
// (/dev/null, /dev/stdout on a terminal or a pipe) is written in place; any other target
// that is not a regular file is refused. On failure prints "keltoc: cannot write FILE:
// REASON" and returns false.
bool WriteOutputFile(const std::filesystem::path& path, std::string_view bytes, std::ostream& err);

// Prints "keltoc: TEXT" with control characters made visible.
void Complain(std::ostream& err, std::string_view text);

}  // namespace zr::cli
