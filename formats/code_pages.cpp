#include "formats/code_pages.h"

#include <errno.h>
#include <iconv.h>

#include <array>
#include <string>

#include "machine/cp1251.h"

namespace zr::formats {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Code points of bytes 80..FF; 0 marks an unassigned byte.
constexpr std::array<char16_t, 128> kCp1250High = {
    0x20AC, 0x0000, 0x201A, 0x0000, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x0000, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,  // 88
    0x0000, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0000, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,  // 98
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,  // A0
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,  // A8
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,  // B8
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,  // C0
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,  // C8
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,  // D0
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,  // D8
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,  // E0
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,  // E8
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,  // F0
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,  // F8
};

// Code points of bytes 80..9F; A0..FF are Latin-1 itself.
constexpr std::array<char16_t, 32> kCp1252C1 = {
    0x20AC, 0x0000, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x0000, 0x017D, 0x0000,  // 88
    0x0000, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x0000, 0x017E, 0x0178,  // 98
};

bool HasTable(int codePage) {
    return codePage == 1250 || codePage == 1251 || codePage == 1252;
}

// iconv's name for the pages we accept beyond the tables. A fixed list keeps a hostile file
// from making us probe the converter library with arbitrary numbers.
const char* IconvName(int codePage) {
    switch (codePage) {
        case 437:
            return "CP437";
        case 850:
            return "CP850";
        case 852:
            return "CP852";
        case 866:
            return "CP866";
        case 874:
            return "CP874";
        case 932:
            return "CP932";
        case 936:
            return "CP936";
        case 949:
            return "CP949";
        case 950:
            return "CP950";
        case 1253:
            return "CP1253";
        case 1254:
            return "CP1254";
        case 1255:
            return "CP1255";
        case 1256:
            return "CP1256";
        case 1257:
            return "CP1257";
        case 1258:
            return "CP1258";
        case 10000:
            return "MACINTOSH";
        case 65001:
            return "UTF-8";
        default:
            return nullptr;
    }
}

void DecodeWithTable(int codePage, std::string_view bytes, std::u32string& out) {
    for (unsigned char byte : bytes) out += SingleByteToCodePoint(codePage, byte);
}

void DecodeWithIconv(iconv_t cd, std::string_view bytes, std::u32string& out) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);  // forget any shift state
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    while (inLeft > 0) {
        char buffer[256];
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        const int error = errno;
        for (const char* p = buffer; p + 4 <= outPtr; p += 4) {
            const auto* u = reinterpret_cast<const unsigned char*>(p);
            out += static_cast<char32_t>(u[0] | u[1] << 8 | u[2] << 16 | u[3] << 24);
        }
        if (result != static_cast<std::size_t>(-1) || error == E2BIG) continue;
        // A malformed or truncated sequence: replace its first byte and go on after it.
        out += kReplacement;
        ++in;
        --inLeft;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
}

}  // namespace

int CodePageOfCharset(int charset) {
    switch (charset) {
        case 77:
            return 10000;
        case 128:
            return 932;
        case 129:
            return 949;
        case 134:
            return 936;
        case 136:
            return 950;
        case 161:
            return 1253;
        case 162:
            return 1254;
        case 163:
            return 1258;
        case 177:
            return 1255;
        case 178:
            return 1256;
        case 186:
            return 1257;
        case 204:
            return 1251;
        case 222:
            return 874;
        case 238:
            return 1250;
        case 254:
            return 437;
        case 255:
            return 850;
        default:
            return 0;  // 0 ANSI, 1 default, 2 symbol and the rest follow \ansicpg
    }
}

char32_t SingleByteToCodePoint(int codePage, unsigned char byte) {
    if (byte < 0x80) return byte;
    char32_t cp = 0;
    switch (codePage) {
        case 1250:
            cp = kCp1250High[byte - 0x80];
            break;
        case 1251:
            cp = machine::Cp1251ToCodePoint(byte);
            break;
        case 1252:
            cp = byte >= 0xA0 ? byte : kCp1252C1[byte - 0x80];
            break;
        default:
            break;
    }
    return cp == 0 ? kReplacement : cp;
}

CodePageDecoder::~CodePageDecoder() {
    for (auto& [page, cd] : converters_)
        if (cd != nullptr) iconv_close(static_cast<iconv_t>(cd));
}

void* CodePageDecoder::Converter(int codePage) {
    const char* name = IconvName(codePage);
    if (name == nullptr) return nullptr;
    auto [it, inserted] = converters_.try_emplace(codePage, nullptr);
    if (inserted) {
        iconv_t cd = iconv_open("UTF-32LE", name);
        // (iconv_t)-1 is iconv_open's failure value.
        // NOLINTNEXTLINE(performance-no-int-to-ptr)
        if (cd != reinterpret_cast<iconv_t>(-1)) it->second = cd;
    }
    return it->second;
}

void CodePageDecoder::Decode(int codePage, std::string_view bytes, std::u32string& out) {
    if (HasTable(codePage)) return DecodeWithTable(codePage, bytes, out);
    if (void* cd = Converter(codePage))
        return DecodeWithIconv(static_cast<iconv_t>(cd), bytes, out);
    DecodeWithTable(kWindowsLatin1, bytes, out);
}

}  // namespace zr::formats
