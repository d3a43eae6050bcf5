// The scripted input of a headless run: keypad keys, the window's commands
// and timer ticks, each delivered when the emulator waits for input or, in
// the form @N:TOKEN, once N instructions have executed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zr::emulator {

class Emulator;

enum class ScriptAction : std::uint8_t { Key, RunFrom1, Run, Stop, Address1, End, Tick };

struct KeyToken {
    ScriptAction action = ScriptAction::Key;
    std::uint8_t keyIndex = 0;        // for Key: the keypad index 0..15
    std::optional<std::uint64_t> at;  // @N: after N instructions
};

// Tokens: 0..9, comma, minus, F, left, right, enter, run1, run, stop, adr1,
// end, tick; comma-separated, each optionally written @N:TOKEN. Returns
// nothing and sets `error` for an unknown or empty token or a bad N. An
// empty list is no tokens.
std::optional<std::vector<KeyToken>> ParseKeyTokens(std::string_view list, std::string& error);

// Carries out one token on the emulator.
void DeliverToken(Emulator& emulator, const KeyToken& token);

}  // namespace zr::emulator
