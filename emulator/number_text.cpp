#include "emulator/number_text.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "machine/numbers.h"

namespace zr::emulator {
namespace {

constexpr int kSignificantDigits = 7;

void TrimFraction(std::string& digits) {
    if (digits.find('.') == std::string::npos) return;
    while (!digits.empty() && digits.back() == '0') digits.pop_back();
    if (!digits.empty() && digits.back() == '.') digits.pop_back();
}

// The magnitude's text with "." as separator, to 7 significant digits.
std::string FormatMagnitude(double magnitude) {
    char buffer[64];
    // The exponent after rounding to 7 digits decides the form (9999999.6 is 1E+07).
    std::snprintf(buffer, sizeof buffer, "%.*e", kSignificantDigits - 1, magnitude);
    const char* e = std::strchr(buffer, 'e');
    const int exponent = std::atoi(e + 1);
    if (exponent >= kSignificantDigits || exponent < -4) {
        std::string mantissa(buffer, static_cast<std::size_t>(e - buffer));
        TrimFraction(mantissa);
        std::snprintf(buffer, sizeof buffer, "E%c%02d", exponent < 0 ? '-' : '+',
                      std::abs(exponent));
        return mantissa + buffer;
    }
    std::snprintf(buffer, sizeof buffer, "%.*f", kSignificantDigits - 1 - exponent, magnitude);
    std::string text = buffer;
    TrimFraction(text);
    return text;
}

std::string NonFinite(float value) {
    if (std::isnan(value)) return "NaN";
    return value < 0 ? "-Inf" : "Inf";
}

}  // namespace

std::string FormatDecimal(float value, char separator) {
    if (!std::isfinite(value)) return NonFinite(value);
    if (value == 0) return "0";
    std::string text = FormatMagnitude(std::fabs(static_cast<double>(value)));
    if (const auto point = text.find('.'); point != std::string::npos) text[point] = separator;
    return value < 0 ? "-" + text : text;
}

std::optional<std::string> FormatHex(float value) {
    const auto whole = machine::RoundToRange(value, INT32_MIN, INT32_MAX);
    if (!whole) return std::nullopt;
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%X",
                  static_cast<std::uint32_t>(static_cast<std::int32_t>(*whole)));
    return std::string(buffer);
}

std::string FormatTraceNumber(float value) {
    if (!std::isfinite(value)) return NonFinite(value);
    if (value == 0) return " 0";
    std::string text = FormatMagnitude(std::fabs(static_cast<double>(value)));
    if (text.size() > 1 && text[0] == '0' && text[1] == '.') text.erase(0, 1);
    return (value < 0 ? "-" : " ") + text;
}

double ReadEntryNumber(std::string_view entry) {
    std::string text;
    for (char c : entry)
        if (c != ' ') text += c;
    if (text.size() >= 2 && text[0] == '&' && (text[1] == 'h' || text[1] == 'H')) {
        std::uint32_t bits = 0;
        int digits = 0;
        for (std::size_t i = 2; i < text.size() && digits < 8; ++i, ++digits) {
            const int d = machine::HexDigitValue(text[i]);
            if (d < 0) break;
            bits = bits * 16 + static_cast<std::uint32_t>(d);
        }
        if (digits == 0) return 0;
        if (digits <= 4) return static_cast<std::int16_t>(static_cast<std::uint16_t>(bits));
        return static_cast<std::int32_t>(bits);
    }
    // Only "-", digits and "." reach the entry in decimal form.
    std::size_t end = 0;
    if (end < text.size() && text[end] == '-') ++end;
    bool point = false;
    while (end < text.size()) {
        const char c = text[end];
        if (c == '.' && !point)
            point = true;
        else if (c < '0' || c > '9')
            break;
        ++end;
    }
    return machine::ReadNumber(std::string_view(text).substr(0, end));
}

}  // namespace zr::emulator
