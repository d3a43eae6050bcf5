// Writes seed inputs for run_loop_fuzz: each example program compiled into
// its 1024 program cells, followed by a few key bytes (digits and Enter).
// Usage: run_loop_seeds OUTPUT_DIR SOURCE...  (.zrt sources, RTF or plain text)
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "compiler/compiler.h"
#include "compiler/source_text.h"
#include "formats/zrt.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: run_loop_seeds OUTPUT_DIR SOURCE...\n";
        return 2;
    }
    const std::filesystem::path output = argv[1];
    std::filesystem::create_directories(output);
    // Key bytes as run_loop_fuzz reads them: keys 1, 2 and Enter (index 15).
    const std::string keys = {1, 2, 15, 3, 15, 15};
    for (int i = 2; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        zr::compiler::Compiler compiler;
        // The examples' libraries ship beside them: examples/../libraries.
        compiler.libraryFolder =
            std::filesystem::path(argv[i]).parent_path().parent_path() / "libraries";
        if (!compiler.CompileSource(
                zr::compiler::ToCompilerText(zr::formats::ReadZrt(bytes).text))) {
            std::cerr << argv[i] << ": does not compile, skipped\n";
            continue;
        }
        const auto& image = compiler.programImage;
        std::ofstream seed(output / std::filesystem::path(argv[i]).stem(), std::ios::binary);
        seed.write(reinterpret_cast<const char*>(image.data() + 1),
                   static_cast<std::streamsize>(image.size() - 1));
        seed << keys;
    }
    return 0;
}
