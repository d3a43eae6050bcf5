#include "scenario/step_values.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <string>

#include "emulator/io_model.h"

namespace zr::scenario {
namespace {

std::string_view Trim(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

}  // namespace

std::optional<long long> ParseWhole(std::string_view text) {
    text = Trim(text);
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    long long value = 0;
    const auto parsed = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || parsed.ec != std::errc() || parsed.ptr != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<double> ParseNumber(std::string_view text) {
    text = Trim(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    double value = 0;
    const auto parsed = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || parsed.ec != std::errc() || parsed.ptr != text.data() + text.size() ||
        !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<std::uint64_t> ParseDuration(std::string_view text,
                                           std::uint64_t instructionsPerTick) {
    text = Trim(text);
    std::size_t unitAt = 0;
    while (unitAt < text.size() &&
           (std::isdigit(static_cast<unsigned char>(text[unitAt])) || text[unitAt] == '.'))
        ++unitAt;
    const std::string_view unit = Trim(text.substr(unitAt));
    const auto amount = ParseNumber(text.substr(0, unitAt));
    if (!amount || *amount <= 0) return std::nullopt;
    double instructions = 0;
    if (unit.empty() || unit == "instr" || unit == "instructions") {
        if (*amount != std::floor(*amount)) return std::nullopt;
        instructions = *amount;
    } else if (unit == "s" || unit == "ms") {
        const double ticks = *amount * (unit == "s" ? 10.0 : 0.01);
        instructions = std::ceil(ticks * static_cast<double>(instructionsPerTick));
    } else {
        return std::nullopt;
    }
    if (instructions < 1 || instructions > 1e18) return std::nullopt;
    return static_cast<std::uint64_t>(instructions);
}

std::optional<emulator::KeyToken> ParseKey(std::string_view text) {
    text = Trim(text);
    if (text.empty() || text.front() == '@' || text.find(',') != std::string_view::npos)
        return std::nullopt;
    std::string error;
    const auto tokens = emulator::ParseKeyTokens(text, error);
    if (!tokens || tokens->size() != 1) return std::nullopt;
    return tokens->front();
}

std::optional<std::vector<emulator::KeyToken>> ParseTypedText(std::string_view text) {
    std::vector<emulator::KeyToken> keys;
    for (const char c : text) {
        const std::string_view name = c == '.' || c == ',' ? "comma"
                                      : c == '-'           ? "minus"
                                      : std::isdigit(static_cast<unsigned char>(c))
                                          ? std::string_view(&c, 1)
                                          : std::string_view();
        const auto key = name.empty() ? std::nullopt : ParseKey(name);
        if (!key) return std::nullopt;
        keys.push_back(*key);
    }
    if (keys.empty()) return std::nullopt;
    return keys;
}

std::optional<int> ParsePinName(std::string_view text) {
    text = Trim(text);
    if (text == "WE") return emulator::kPinWE;
    if (text == "CE") return emulator::kPinCE;
    if (text.size() == 2 && (text[0] == 'P' || text[0] == 'D') && text[1] >= '0' && text[1] <= '7')
        return text[1] - '0';
    return std::nullopt;
}

}  // namespace zr::scenario
