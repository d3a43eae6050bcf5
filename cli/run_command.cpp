#include <ostream>

#include "cli/commands.h"

namespace zr::cli {

// Placeholder until the headless emulator lands.
void AddRunCommand(CLI::App& app, const CommonOptions&, int& exitCode, std::ostream&,
                   std::ostream& err) {
    auto* run = app.add_subcommand("run", "Compile (or load) a program and run it headless");
    run->allow_extras();
    run->callback([&exitCode, &err] {
        err << "keltoc run: the emulator is not available yet\n";
        exitCode = kUsageError;
    });
}

}  // namespace zr::cli
