#include "machine/numbers.h"

#include <charconv>
#include <cmath>

namespace zr::machine {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

double ReadHex(std::string_view digits) {
    double value = 0;
    for (char c : digits) {
        int d;
        if (IsDigit(c))
            d = c - '0';
        else if (c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            break;
        value = value * 16 + d;
    }
    return value;
}

}  // namespace

double ReadNumber(std::string_view text) {
    if (text.size() >= 2 && text[0] == '&' && (text[1] == 'H' || text[1] == 'h'))
        return ReadHex(text.substr(2));

    // Find the longest prefix with the shape sign? digits [. digits] [E sign? digits].
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    const std::size_t mantissaStart = i;
    while (i < text.size() && IsDigit(text[i])) ++i;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) ++i;
    }
    const std::string_view mantissa = text.substr(mantissaStart, i - mantissaStart);
    if (mantissa.empty() || mantissa == ".") return 0;
    std::size_t end = i;
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < text.size() && IsDigit(text[j])) {
            while (j < text.size() && IsDigit(text[j])) ++j;
            end = j;
        }
    }
    // from_chars ignores the process locale (a GUI may set a comma as the point).
    const bool negative = text[0] == '-';
    double value = 0;
    const auto result = std::from_chars(text.data() + mantissaStart, text.data() + end, value);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large or too small for a double: tell which by the exponent's sign.
        const bool tiny = end > i + 1 && text[i + 1] == '-';
        value = tiny ? 0.0 : HUGE_VAL;
    }
    return negative ? -value : value;
}

bool IsNumericText(std::string_view text) {
    return text == "0" || ReadNumber(text) != 0;
}

double RoundHalfEven(double value) {
    return std::nearbyint(value);
}

std::optional<long> RoundToRange(double value, long lo, long hi) {
    const double rounded = RoundHalfEven(value);
    if (!(rounded >= static_cast<double>(lo) && rounded <= static_cast<double>(hi)))
        return std::nullopt;
    return static_cast<long>(rounded);
}

}  // namespace zr::machine
