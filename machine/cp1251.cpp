#include "machine/cp1251.h"

#include <array>

#include "machine/utf8.h"

namespace zr::machine {
namespace {

// Code points of bytes 80..FF.
constexpr std::array<char16_t, 128> kHighHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0000, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,  // C0
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,  // C8
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,  // D0
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,  // D8
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,  // E0
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,  // E8
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,  // F0
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,  // F8
};

// Upper-case letters of 80..BF that are not in the regular C0..DF block, with their lower case.
constexpr unsigned char kUpperSpecials[][2] = {
    {0x80, 0x90}, {0x81, 0x83}, {0x8A, 0x9A}, {0x8C, 0x9C}, {0x8D, 0x9D},
    {0x8E, 0x9E}, {0x8F, 0x9F}, {0xA1, 0xA2}, {0xA3, 0xBC}, {0xA5, 0xB4},
    {0xA8, 0xB8}, {0xAA, 0xBA}, {0xAF, 0xBF}, {0xB2, 0xB3}, {0xBD, 0xBE},
};

constexpr std::array<char, 256> BuildLowerTable() {
    std::array<char, 256> table{};
    for (int b = 0; b < 256; ++b) table[b] = static_cast<char>(b);
    for (int b = 'A'; b <= 'Z'; ++b) table[b] = static_cast<char>(b + 32);
    for (int b = 0xC0; b <= 0xDF; ++b) table[b] = static_cast<char>(b + 32);
    for (const auto& pair : kUpperSpecials) table[pair[0]] = static_cast<char>(pair[1]);
    return table;
}

constexpr auto kLowerTable = BuildLowerTable();

}  // namespace

char LowerCaseByte(char cp1251) {
    return kLowerTable[static_cast<unsigned char>(cp1251)];
}

std::string LowerCase(std::string_view cp1251) {
    std::string out(cp1251);
    for (char& c : out) c = LowerCaseByte(c);
    return out;
}

char32_t Cp1251ToCodePoint(unsigned char byte) {
    return byte < 0x80 ? byte : kHighHalf[byte - 0x80];
}

int CodePointToCp1251(char32_t codePoint) {
    if (codePoint < 0x80) return static_cast<int>(codePoint);
    for (int i = 0; i < 128; ++i)
        if (kHighHalf[i] != 0 && kHighHalf[i] == codePoint) return 0x80 + i;
    return -1;
}

std::string Utf8ToCp1251(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const int byte = CodePointToCp1251(NextCodePoint(utf8, i));
        out += static_cast<char>(byte < 0 ? '?' : byte);
    }
    return out;
}

std::string Cp1251ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char b : bytes) {
        const char32_t cp = Cp1251ToCodePoint(b);
        AppendUtf8(out, cp == 0 && b != 0 ? 0xFFFD : cp);
    }
    return out;
}

}  // namespace zr::machine
