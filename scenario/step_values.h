// The small value forms of scenario files: durations, numbers, keys and pin
// names. Each returns nothing for a text it does not accept.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "emulator/key_script.h"

namespace zr::scenario {

// "100000 instr" (or a bare whole number), "2s", "500ms", "1.5s": virtual
// time counts `instructionsPerTick` instructions per 100 ms. At least 1.
std::optional<std::uint64_t> ParseDuration(std::string_view text,
                                           std::uint64_t instructionsPerTick);

// A whole number, decimal or 0x hex.
std::optional<long long> ParseWhole(std::string_view text);
std::optional<double> ParseNumber(std::string_view text);

// One key token of `--keys` without the @N: form.
std::optional<emulator::KeyToken> ParseKey(std::string_view text);
// "12.5", "-3": digits, a point or comma (the comma key) and minus, in order.
std::optional<std::vector<emulator::KeyToken>> ParseTypedText(std::string_view text);

// WE, CE, P0..P7 (or D0..D7): the pin's index in IoModel::pins.
std::optional<int> ParsePinName(std::string_view text);

}  // namespace zr::scenario
