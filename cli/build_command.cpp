// keltoc build SOURCE [-o IMAGE.bin] [--json]
#include <fstream>
#include <ostream>

#include "cli/commands.h"
#include "cli/compile_output.h"
#include "cli/source_file.h"
#include "compiler/compiler.h"

namespace zr::cli {
namespace {

struct BuildOptions {
    std::filesystem::path source;
    std::filesystem::path imageOut;
    bool json = false;
};

bool WriteImage(const machine::ProgramImage& image, const std::filesystem::path& path) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(image.data() + 1), machine::kProgramSize);
    return static_cast<bool>(out.flush());
}

int Build(const BuildOptions& options, const CommonOptions& common, std::ostream& out,
          std::ostream& err) {
    const auto bytes = ReadFileBytes(options.source);
    if (!bytes) {
        err << "keltoc: cannot read " << options.source.string() << '\n';
        return kUsageError;
    }
    compiler::Compiler compiler;
    compiler.libraryFolder = common.libDir;
    compiler.extraLibraryFolders = common.laterLibDirs;
    compiler.readFile = ReadLibraryText;
    const bool ok = compiler.CompileSource(SourceBytesToCompilerText(*bytes));

    if (options.json)
        out << CompileResultJson(compiler).dump(2, ' ', false,
                                                nlohmann::json::error_handler_t::replace)
            << '\n';
    else if (ok)
        PrintMemoryReport(compiler, out);
    else
        PrintCompileMessages(compiler, options.source, err);

    if (ok && !options.imageOut.empty() && !WriteImage(compiler.programImage, options.imageOut)) {
        err << "keltoc: cannot write " << options.imageOut.string() << '\n';
        return kUsageError;
    }
    return ok ? kSuccess : kFailure;
}

}  // namespace

void AddBuildCommand(CLI::App& app, const CommonOptions& common, int& exitCode, std::ostream& out,
                     std::ostream& err) {
    auto options = std::make_shared<BuildOptions>();
    auto* build =
        app.add_subcommand("build", "Compile a Kelto source into the 1024-byte program memory");
    build->add_option("SOURCE", options->source, "Source file: .zrt (RTF) or plain text (UTF-8)")
        ->required();
    build->add_option("-o,--output", options->imageOut,
                      "Write program cells 1..1024 as a 1024-byte file");
    build->add_flag("--json", options->json, "Print the result as one JSON object");
    build->callback([options, &common, &exitCode, &out, &err] {
        exitCode = Build(*options, common, out, err);
    });
}

}  // namespace zr::cli
