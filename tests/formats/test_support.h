// Helpers shared by the formats tests.
#pragma once

#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include "formats/rich_text.h"
#include "machine/utf8.h"

namespace zr::formats::testing {

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

// A test name made of the words of a case description: "a run to the end" -> ARunToTheEnd.
inline std::string TestName(std::string_view description) {
    std::string name;
    bool wordStart = true;
    for (char c : description) {
        if (!std::isalnum(static_cast<unsigned char>(c))) {
            wordStart = true;
            continue;
        }
        name += wordStart ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : c;
        wordStart = false;
    }
    return name;
}

}  // namespace zr::formats::testing
