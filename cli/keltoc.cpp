#include <filesystem>
#include <ostream>

#include "cli/commands.h"

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
    common.libDir = ExecutableFolder(argc > 0 ? argv[0] : "keltoc");
    app.add_option("--lib-dir", common.libDir,
                   "Folder of the .bib library files, before or after the subcommand (default: "
                   "the folder of keltoc); $Lib looks there first, then in the source's folder");
    // Options of keltoc itself (--lib-dir) may also follow the subcommand.
    app.fallthrough();
    int exitCode = kSuccess;
    AddBuildCommand(app, common, exitCode, out, err);
    AddRunCommand(app, common, exitCode, out, err);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e, out, err);
        return code == 0 ? kSuccess : kUsageError;
    }
    return exitCode;
}

}  // namespace zr::cli
