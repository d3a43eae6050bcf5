// keltoc lsp
#include <iostream>

#include "cli/commands.h"
#include "cli/lsp_server.h"

namespace zr::cli {

void AddLspCommand(CLI::App& app, const CommonOptions& common, int& exitCode) {
    auto* lsp = app.add_subcommand(
        "lsp",
        "Serve the Language Server Protocol on standard input and output, so that any "
        "editor with an LSP client checks, completes and navigates Kelto as you type");
    lsp->footer(
        "Diagnostics (the first compile error, as F9 reports it), hover, completion, "
        "definition, references, document symbols, rename and semantic tokens. Documents "
        "are synchronised in full or incrementally; positions count UTF-16 units, or UTF-8 "
        "bytes when the client offers them. Libraries named by $Lib are found as by "
        "keltoc build: --lib-dir, then the document's folder. Exit code 0 after shutdown "
        "and exit, 1 otherwise.");
    lsp->callback([&common, &exitCode] {
        std::ios::sync_with_stdio(false);
        language::LibrarySearch search{common.libDir, common.laterLibDirs, {}};
        exitCode = RunLanguageServer(std::cin, std::cout, search);
    });
}

}  // namespace zr::cli
