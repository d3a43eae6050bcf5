// Helpers shared by the formats tests.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "formats/rich_text.h"
#include "machine/utf8.h"

namespace zr::formats::testing {

using Runs = std::vector<ColourRun>;

constexpr Colour kRed = 0x0000FF;  // colours are 0xBBGGRR
constexpr Colour kGreen = 0x00FF00;
constexpr Colour kBlue = 0xFF0000;

inline std::filesystem::path DataDir() {
    return std::filesystem::path(ZR_SOURCE_DIR) / "tests" / "formats" / "data";
}

inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

// The single colour of every character of `part` (first occurrence) in `doc`, or -1 when the
// part is missing or mixes colours.
inline long long ColourOf(const RichText& doc, std::string_view part) {
    const std::size_t at = doc.text.find(part);
    if (at == std::string::npos) return -1;
    const int begin = machine::CodePointCount(std::string_view(doc.text).substr(0, at));
    const int end = begin + machine::CodePointCount(part);
    long long found = -2;
    for (int i = begin; i < end; ++i) {
        Colour colour = 0;
        for (const ColourRun& run : doc.runs)
            if (i >= run.start && i < run.start + run.length) colour = run.colour;
        if (found != -2 && found != colour) return -1;
        found = colour;
    }
    return found;
}

}  // namespace zr::formats::testing
