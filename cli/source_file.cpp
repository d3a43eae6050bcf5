#include "cli/source_file.h"

#include <fstream>
#include <sstream>

#include "compiler/source_text.h"
#ifdef ZR_HAVE_FORMATS
#include "formats/zrt.h"
#endif

namespace zr::cli {

std::optional<std::string> ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return bytes.str();
}

std::string SourceBytesToCompilerText(const std::string& bytes) {
#ifdef ZR_HAVE_FORMATS
    if (bytes.rfind("{\\rtf", 0) == 0)
        return compiler::ToCompilerText(formats::ReadZrt(bytes).text);
#endif
    return compiler::PlainBytesToCompilerText(bytes);
}

std::optional<std::string> ReadLibraryText(const std::filesystem::path& path) {
    auto bytes = ReadFileBytes(path);
    if (!bytes) return std::nullopt;
    return SourceBytesToCompilerText(*bytes);
}

}  // namespace zr::cli
