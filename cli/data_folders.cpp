#include "cli/data_folders.h"

#include <cstdlib>

#ifndef ZR_DATA_FROM_PROGRAM
#define ZR_DATA_FROM_PROGRAM "../share/zr7340"
#endif

namespace zr::cli {

std::filesystem::path DataFolder(const std::filesystem::path& programFolder) {
    return (programFolder / ZR_DATA_FROM_PROGRAM).lexically_normal();
}

std::filesystem::path ShippedLibraryFolder(const std::filesystem::path& programFolder) {
    const auto shipped = DataFolder(programFolder) / "libraries";
    std::error_code ec;
    return std::filesystem::is_directory(shipped, ec) ? shipped : programFolder;
}

std::filesystem::path UserLibraryFolder(const char* xdgDataHome, const char* home) {
    // A relative XDG_DATA_HOME is invalid and ignored, as the XDG rules say.
    std::filesystem::path dataHome;
    if (xdgDataHome && std::filesystem::path(xdgDataHome).is_absolute())
        dataHome = xdgDataHome;
    else if (home && *home)
        dataHome = std::filesystem::path(home) / ".local/share";
    else
        return {};
    return dataHome / "zr7340/libraries";
}

std::vector<std::filesystem::path> DefaultLibraryFolders(
    const std::filesystem::path& programFolder) {
    std::vector<std::filesystem::path> folders{ShippedLibraryFolder(programFolder)};
    const auto user = UserLibraryFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
    if (!user.empty()) folders.push_back(user);
    return folders;
}

}  // namespace zr::cli
