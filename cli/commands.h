// keltoc's subcommands. Each registers itself on the application and runs
// when chosen; the exit code follows the shared rule: 0 success, 1 compile
// failure or run error, 2 usage or file error.
#pragma once

#include <CLI/CLI.hpp>
#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

namespace zr::cli {

enum ExitCode { kSuccess = 0, kFailure = 1, kUsageError = 2 };

// Options every command shares.
struct CommonOptions {
    std::filesystem::path libDir;  // --lib-dir; default: the shipped library folder
    std::vector<std::filesystem::path> laterLibDirs;  // searched after libDir (the user's own)
};

// Option checks (a failed check is a usage error): a file name must not be
// empty; a count is a whole number from 1 to 2^64 - 1, written in decimal.
CLI::Validator NonEmptyFileName();
CLI::Validator PositiveCount();
CLI::Validator BreakpointItem();

// Each Add* registers a subcommand; the callback it installs stores the exit
// code in `exitCode` and writes to `out` / `err`.
void AddBuildCommand(CLI::App& app, const CommonOptions& common, int& exitCode, std::ostream& out,
                     std::ostream& err);
void AddRunCommand(CLI::App& app, const CommonOptions& common, int& exitCode, std::ostream& out,
                   std::ostream& err);
// keltoc lsp serves the Language Server Protocol on standard input and output.
void AddLspCommand(CLI::App& app, const CommonOptions& common, int& exitCode);
void AddTestCommand(CLI::App& app, const CommonOptions& common, int& exitCode, std::ostream& out,
                    std::ostream& err);

// Runs keltoc with the given arguments (argv[0] included); returns the exit code.
int RunKeltoc(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace zr::cli
