// Saving a file so that a failure never costs the old contents.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace zr::formats {

// Writes `bytes` to a new temporary file in the target's folder, flushes it to disk and
// renames it over `target`. An existing target keeps its permissions. On failure returns
// false, leaves the old file untouched, removes the temporary file and, when `error` is
// given, puts a readable reason there (and the errno value in `errorNumber`). Throws nothing.
bool SaveFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                        std::string* error, int* errorNumber = nullptr);

}  // namespace zr::formats
