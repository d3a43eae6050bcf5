#include "formats/rich_text.h"

#include <algorithm>

#include "machine/utf8.h"

namespace zr::formats {
namespace {

// Maps each offset of the text (0..size) from one unit to the other through `map`.
std::vector<ColourRun> RemapRuns(std::span<const ColourRun> runs, const std::vector<int>& map) {
    const long long last = static_cast<long long>(map.size()) - 1;
    std::vector<ColourRun> out;
    out.reserve(runs.size());
    for (const ColourRun& run : runs) {
        const long long begin = std::clamp<long long>(run.start, 0, last);
        const long long end =
            std::clamp<long long>(static_cast<long long>(run.start) + run.length, begin, last);
        out.push_back({map[begin], map[end] - map[begin], run.colour});
    }
    return out;
}

}  // namespace

std::vector<ColourRun> NormalizeRuns(std::span<const ColourRun> runs, int textLength) {
    // Painting each run over a colour per character keeps "later wins" obviously right.
    std::vector<Colour> colours(std::max(textLength, 0), 0);
    for (const ColourRun& run : runs) {
        const long long begin = std::clamp<long long>(run.start, 0, colours.size());
        const long long end = std::clamp<long long>(static_cast<long long>(run.start) + run.length,
                                                    begin, colours.size());
        std::fill(colours.begin() + begin, colours.begin() + end, run.colour);
    }
    std::vector<ColourRun> out;
    for (int i = 0; i < static_cast<int>(colours.size());) {
        int end = i + 1;
        while (end < static_cast<int>(colours.size()) && colours[end] == colours[i]) ++end;
        if (colours[i] != 0) out.push_back({i, end - i, colours[i]});
        i = end;
    }
    return out;
}

std::vector<ColourRun> ToUtf16Runs(std::string_view text, std::span<const ColourRun> runs) {
    std::vector<int> utf16Offset{0};
    for (std::size_t pos = 0; pos < text.size();) {
        const char32_t cp = machine::NextCodePoint(text, pos);
        utf16Offset.push_back(utf16Offset.back() + (cp >= 0x10000 ? 2 : 1));
    }
    return RemapRuns(runs, utf16Offset);
}

std::vector<ColourRun> FromUtf16Runs(std::string_view text, std::span<const ColourRun> runs) {
    // An offset inside a surrogate pair belongs to the character the pair encodes.
    std::vector<int> codePointOffset{0};
    int count = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        const char32_t cp = machine::NextCodePoint(text, pos);
        ++count;
        if (cp >= 0x10000) codePointOffset.push_back(count - 1);
        codePointOffset.push_back(count);
    }
    return RemapRuns(runs, codePointOffset);
}

}  // namespace zr::formats
