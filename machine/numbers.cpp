#include "machine/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace zr::machine {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

double ReadHex(std::string_view digits) {
    double value = 0;
    for (char c : digits) {
        const int d = HexDigitValue(c);
        if (d < 0) break;
        value = value * 16 + d;
    }
    return value;
}

// The power of ten of the first significant digit of mantissa E exponent:
// 1000E387 and 1E390 give 390, 0.001 gives -3. The exponent saturates, so a
// thousand-digit exponent cannot overflow the sum.
long long DecimalExponent(std::string_view mantissa, std::string_view exponent) {
    constexpr long long kLimit = 1'000'000'000;
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = mantissa.find_first_of("123456789");
    if (first == std::string_view::npos) return 0;
    long long power = first < point ? static_cast<long long>(point - first) - 1
                                    : -static_cast<long long>(first - point);
    long long shift = 0;
    for (char c : exponent)
        if (IsDigit(c)) shift = std::min(shift * 10 + (c - '0'), kLimit);
    return power + (exponent.starts_with('-') ? -shift : shift);
}

}  // namespace

int HexDigitValue(char c) {
    if (IsDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

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
        // Too large or too small for a double. A tiny value keeps its place
        // among the numbers as the smallest double (it becomes 0 as a Single,
        // as 1E-50 does); a huge one is infinite.
        const std::string_view exponent = end > i ? text.substr(i + 1, end - i - 1) : "";
        const bool tiny = DecimalExponent(mantissa, exponent) < 0;
        value = tiny ? std::numeric_limits<double>::denorm_min() : HUGE_VAL;
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
