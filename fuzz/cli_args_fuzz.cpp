// Feeds arbitrary argument lists to keltoc: the input split at NUL bytes is
// argv. Every run must end with one of the three exit codes. It runs in a
// private folder holding a small source, a library and an image; arguments
// that could reach other files (any '/' or "..") or write one (an output
// option) make the input uninteresting, so the fuzzer never touches the
// machine's files.
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"

namespace {

void Write(const char* name, const std::string& bytes) {
    std::ofstream(name, std::ios::binary) << bytes;
}

// Once per process: a fresh folder with the files the arguments may name.
bool EnterPlayground() {
    char folder[] = "/tmp/keltoc-fuzz-XXXXXX";
    if (::mkdtemp(folder) == nullptr || ::chdir(folder) != 0) std::abort();
    static const std::string kept = folder;
    std::atexit([] { std::filesystem::remove_all(kept); });
    Write("p.txt", "DimS x\n$Lib lib\n2.5 -> x\ncall Twice\n? \"a\"\nPRINT INPUT\nEnd\n");
    Write("lib.bib", "Twice: Dup +\nRet\n");
    Write("serial.txt", "1\n2.5\n");
    std::string image(1024, '\0');
    image[0] = 0x66;  // End
    Write("p.bin", image);
    return true;
}

bool MayWriteOrEscape(const std::string& arg) {
    // ".." would let keltoc test walk the folders above and run what it finds.
    if (arg.find('/') != std::string::npos || arg.find("..") != std::string::npos) return true;
    if (arg.rfind("--o", 0) == 0) return true;  // --output, --output=FILE
    if (arg.rfind("--junit", 0) == 0 || arg.rfind("--snapshot-out", 0) == 0) return true;
    // -o, -oFILE, and short flags run together (-ho FILE)
    return arg.size() > 1 && arg[0] == '-' && arg[1] != '-' && arg.find('o') != std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool ready = EnterPlayground();
    (void)ready;
    std::vector<std::string> args{"keltoc"};
    std::string current;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            args.push_back(current);
            current.clear();
        } else {
            current += static_cast<char>(data[i]);
        }
    }
    args.push_back(current);
    for (const auto& arg : args)
        if (MayWriteOrEscape(arg)) return -1;  // not added to the corpus
    // keltoc lsp reads the process's standard input: lsp_reader_fuzz covers it.
    if (std::find(args.begin() + 1, args.end(), "lsp") != args.end()) return -1;
    std::vector<const char*> argv;
    for (const auto& arg : args) argv.push_back(arg.c_str());
    std::ostringstream out, err;
    const int code = zr::cli::RunKeltoc(static_cast<int>(argv.size()), argv.data(), out, err);
    if (code < 0 || code > 2) std::abort();
    return 0;
}
