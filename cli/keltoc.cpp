#include <filesystem>
#include <ostream>

#include "cli/commands.h"
#include "cli/data_folders.h"

namespace zr::cli {
namespace {

std::filesystem::path ExecutableFolder(const char* argv0) {
    std::error_code ec;
    auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) self = std::filesystem::absolute(argv0, ec);
    return self.parent_path();
}

}  // namespace

int RunKeltoc(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    CLI::App app{"keltoc: the ZR-7340 Kelto compiler and headless emulator"};
    app.require_subcommand(1);
    CommonOptions common;
    app.set_version_flag("--version", ZR_VERSION);
    auto libraryFolders = DefaultLibraryFolders(ExecutableFolder(argc > 0 ? argv[0] : "keltoc"));
    common.libDir = libraryFolders.front();
    common.laterLibDirs.assign(libraryFolders.begin() + 1, libraryFolders.end());
    app.add_option_function<std::filesystem::path>(
        "--lib-dir",
        [&common](const std::filesystem::path& folder) {
            common.libDir = folder;
            common.laterLibDirs.clear();
        },
        "Folder of the .bib library files, before or after the subcommand (default: the "
        "shipped libraries, then ~/.local/share/zr7340/libraries); $Lib looks there first, "
        "then in the source's folder");
    // Options of keltoc itself (--lib-dir) may also follow the subcommand.
    app.fallthrough();
    int exitCode = kSuccess;
    AddBuildCommand(app, common, exitCode, out, err);
    AddRunCommand(app, common, exitCode, out, err);
    AddLspCommand(app, common, exitCode);
    AddTestCommand(app, common, exitCode, out, err);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e, out, err);
        return code == 0 ? kSuccess : kUsageError;
    }
    return exitCode;
}

}  // namespace zr::cli
