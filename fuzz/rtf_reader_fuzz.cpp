// Feeds arbitrary bytes to the .zrt reader. Beyond not crashing, what it reads must be valid
// UTF-8 with canonical runs, and must survive writing and reading again unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "formats/zrt.h"
#include "machine/utf8.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zr::formats;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const RichText doc = ReadZrt(bytes);
    if (!zr::machine::IsValidUtf8(doc.text)) std::abort();
    if (doc.runs != NormalizeRuns(doc.runs, zr::machine::CodePointCount(doc.text))) std::abort();
    if (ReadZrt(WriteZrt(doc)) != doc) std::abort();
    return 0;
}
