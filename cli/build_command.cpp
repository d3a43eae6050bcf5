// keltoc build SOURCE [-o IMAGE.bin] [--json] [--listing]
#include <ostream>

#include "cli/commands.h"
#include "cli/compile_output.h"
#include "cli/listing_output.h"
#include "cli/source_file.h"
#include "compiler/compiler.h"

namespace zr::cli {
namespace {

struct BuildOptions {
    std::filesystem::path source;
    std::filesystem::path imageOut;
    bool json = false;
    bool listing = false;
};

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec);
}

bool WriteImage(const machine::ProgramImage& image, const std::filesystem::path& path,
                std::ostream& err) {
    return WriteOutputFile(
        path,
        std::string_view(reinterpret_cast<const char*>(image.data() + 1), machine::kProgramSize),
        err);
}

int Build(const BuildOptions& options, const CommonOptions& common, std::ostream& out,
          std::ostream& err) {
    if (!options.imageOut.empty() && SameFile(options.source, options.imageOut)) {
        Complain(err, "the image would overwrite the source " + options.source.string());
        return kUsageError;
    }
    const auto bytes = ReadSourceFile(options.source, err);
    if (!bytes) return kUsageError;
    compiler::Compiler compiler;
    compiler.libraryFolder = common.libDir;
    compiler.extraLibraryFolders = common.laterLibDirs;
    compiler.sourceFolder = SourceFolder(options.source);
    const bool ok = compiler.CompileSource(SourceBytesToCompilerText(*bytes));

    if (options.json) {
        auto result = CompileResultJson(compiler);
        if (options.listing && ok) result["listing"] = ListingJson(MakeListing(compiler));
        out << result.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
    } else if (ok) {
        if (options.listing) PrintListing(MakeListing(compiler), out);
        PrintMemoryReport(compiler, out);
    } else
        PrintCompileMessages(compiler, options.source, err);

    if (ok && !options.imageOut.empty() &&
        !WriteImage(compiler.programImage, options.imageOut, err))
        return kUsageError;
    return ok ? kSuccess : kFailure;
}

}  // namespace

void AddBuildCommand(CLI::App& app, const CommonOptions& common, int& exitCode, std::ostream& out,
                     std::ostream& err) {
    auto options = std::make_shared<BuildOptions>();
    auto* build = app.add_subcommand(
        "build",
        "Compile a Kelto source into the 1024-byte program memory (--listing: the "
        "compiled program decoded)");
    build->add_option("SOURCE", options->source, "Source file: .zrt (RTF) or plain text (UTF-8)")
        ->required();
    build
        ->add_option("-o,--output", options->imageOut,
                     "Write program cells 1..1024 as a 1024-byte file (never over SOURCE; an old "
                     "file is replaced only once the new one is written in full, through its "
                     "links; a character device or FIFO such as /dev/null or /dev/stdout is "
                     "written directly, any other target that is not a regular file is "
                     "refused)")
        ->check(NonEmptyFileName());
    build->add_flag("--json", options->json, "Print the result as one JSON object");
    build->add_flag("--listing", options->listing,
                    "Print the listing before the memory report: per instruction the address, "
                    "the bytes in hex, the name and the decoded operands, each group under its "
                    "source line as a \"; LINE: TEXT\" comment (with --json: a \"listing\" "
                    "list of {address, bytes, name, operands, line})");
    build->footer(
        "SOURCE and the libraries must be regular files (links are followed) of at most 64 MB. "
        "A leading byte-order mark is skipped; UTF-16 text with its mark is decoded.");
    build->callback([options, &common, &exitCode, &out, &err] {
        exitCode = Build(*options, common, out, err);
    });
}

}  // namespace zr::cli
