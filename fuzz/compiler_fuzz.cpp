// Feeds arbitrary bytes to the compiler as source text. Every compile must end
// in success or with at least one message, and never write outside the image.
// Libraries named by $Lib read back the same bytes, so linking is exercised too.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "compiler/compiler.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string source(reinterpret_cast<const char*>(data), size);
    zr::compiler::Compiler compiler;
    compiler.readFile = [&source](const std::filesystem::path&) -> std::optional<std::string> {
        return source;
    };
    const bool ok = compiler.CompileSource(source);
    if (!ok && compiler.messages.empty()) std::abort();
    if (ok && !compiler.messages.empty()) std::abort();
    if (compiler.programImage[0] != 0) std::abort();
    return 0;
}
