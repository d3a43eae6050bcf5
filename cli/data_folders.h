// Where keltoc finds the shipped .bib libraries. An installed keltoc lives in
// PREFIX/bin and its data in PREFIX/share/zr7340; the build tree mirrors that
// (build/share/zr7340 beside build/cli). The per-user folder
// ($XDG_DATA_HOME or ~/.local/share, then zr7340/libraries) is searched after
// the shipped one.
#pragma once

#include <filesystem>
#include <vector>

namespace zr::cli {

// PROGRAM_FOLDER/../share/zr7340, as configured by the install layout.
std::filesystem::path DataFolder(const std::filesystem::path& programFolder);

// The shipped library folder when it exists, otherwise the program's folder.
std::filesystem::path ShippedLibraryFolder(const std::filesystem::path& programFolder);

// The per-user library folder; `xdgDataHome` and `home` are the values of
// those environment variables (null when unset). Empty when neither is set.
std::filesystem::path UserLibraryFolder(const char* xdgDataHome, const char* home);

// The shipped folder, then the per-user one (when known).
std::vector<std::filesystem::path> DefaultLibraryFolders(
    const std::filesystem::path& programFolder);

}  // namespace zr::cli
