#include "formats/rtf_writer.h"

#include <algorithm>
#include <string>
#include <unordered_map>
#include <vector>

#include "machine/cp1251.h"
#include "machine/utf8.h"

namespace zr::formats {
namespace {

constexpr std::string_view kHeader =
    "{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049"
    "{\\fonttbl{\\f0\\fmodern\\fprq1\\fcharset204 Courier New;}}\n";
constexpr std::string_view kBodyStart = "\\viewkind4\\uc1\\pard\\f0\\fs20 ";

// Windows-1251 bytes 80..FF by code point, for a lookup faster than a scan of the code page.
int Cp1251Byte(char32_t cp) {
    static const auto kByteOf = [] {
        std::vector<std::pair<char32_t, unsigned char>> table;
        for (int byte = 0x80; byte <= 0xFF; ++byte)
            if (const char32_t c = machine::Cp1251ToCodePoint(byte); c != 0)
                table.emplace_back(c, byte);
        std::ranges::sort(table);
        return table;
    }();
    const auto it = std::ranges::lower_bound(kByteOf, std::pair{cp, static_cast<unsigned char>(0)});
    return it != kByteOf.end() && it->first == cp ? it->second : -1;
}

void AppendHexByte(std::string& out, int byte) {
    constexpr char kDigits[] = "0123456789abcdef";
    out += "\\'";
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0xF];
}

void AppendCharacter(std::string& out, char32_t cp) {
    switch (cp) {
        case '\n':
            out += "\\par\n";
            return;
        case '\t':
            out += "\\tab ";
            return;
        case '\\':
        case '{':
        case '}':
            out += '\\';
            out += static_cast<char>(cp);
            return;
    }
    if (cp < 0x20) return AppendHexByte(out, static_cast<int>(cp));
    if (cp < 0x80) {
        out += static_cast<char>(cp);
        return;
    }
    if (const int byte = Cp1251Byte(cp); byte >= 0) return AppendHexByte(out, byte);
    // \u takes a signed 16-bit number; characters past U+FFFF go as a surrogate pair.
    auto appendUnit = [&out](int unit) {
        out += "\\u" + std::to_string(unit < 0x8000 ? unit : unit - 0x10000) + '?';
    };
    if (cp < 0x10000) return appendUnit(static_cast<int>(cp));
    const int offset = static_cast<int>(cp) - 0x10000;
    appendUnit(0xD800 + (offset >> 10));
    appendUnit(0xDC00 + (offset & 0x3FF));
}

}  // namespace

std::string WriteRtf(const RichText& document) {
    const std::string_view text = document.text;
    const std::vector<ColourRun> runs = NormalizeRuns(document.runs, machine::CodePointCount(text));

    std::vector<Colour> palette;  // \colortbl entries after the automatic one
    std::unordered_map<Colour, int> indexOfColour;
    std::vector<int> paletteIndex;  // per run
    for (const ColourRun& run : runs) {
        auto [it, added] = indexOfColour.try_emplace(run.colour, palette.size() + 1);
        if (added) palette.push_back(run.colour);
        paletteIndex.push_back(it->second);
    }

    std::string out(kHeader);
    out += "{\\colortbl ;";
    for (Colour c : palette)
        out += "\\red" + std::to_string(c & 0xFF) + "\\green" + std::to_string((c >> 8) & 0xFF) +
               "\\blue" + std::to_string((c >> 16) & 0xFF) + ';';
    out += "}\n";
    out += kBodyStart;
    out.reserve(out.size() + text.size() * 2);

    std::size_t run = 0;
    int index = 0;
    for (std::size_t pos = 0; pos < text.size(); ++index) {
        if (run < runs.size() && index == runs[run].start + runs[run].length) {
            out += "\\cf0 ";
            ++run;
        }
        if (run < runs.size() && index == runs[run].start)
            out += "\\cf" + std::to_string(paletteIndex[run]) + ' ';
        AppendCharacter(out, machine::NextCodePoint(text, pos));
    }
    out += "}\n";
    return out;
}

}  // namespace zr::formats
