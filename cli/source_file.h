// Reading a Kelto source file for the compiler.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace zr::cli {

// The whole file as bytes, or nullopt when it cannot be read.
std::optional<std::string> ReadFileBytes(const std::filesystem::path& path);

// A source file's bytes as compiler text (Windows-1251, CR LF): RTF (a
// leading "{\rtf") through the .zrt reader, otherwise plain text, UTF-8 or,
// when not valid UTF-8, Windows-1251 as it stands.
std::string SourceBytesToCompilerText(const std::string& bytes);

// A .bib library: plain Kelto text, lines ending CR LF or LF.
std::optional<std::string> ReadLibraryText(const std::filesystem::path& path);

}  // namespace zr::cli
