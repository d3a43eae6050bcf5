// Key register values, key codes and the shift levels of the keypad.
#pragma once

#include <cstdint>

namespace zr::emulator {

// KeyRegister: 0..15 the index of a released key (row-major, 4 x 4), 16 none;
// the window's run commands leave 29 in it.
inline constexpr std::uint8_t kNoKey = 16;
inline constexpr std::uint8_t kKeyIndexF = 12;
inline constexpr std::uint8_t kRunCommandKey = 29;

// Key codes: 0..9 digits, 10..15 the hex digits A..F (after F), 20..28 the
// function level, and the keys that ignore the shift level.
inline constexpr std::uint8_t kNoCode = 255;
inline constexpr std::uint8_t kCodeComma = 29;
inline constexpr std::uint8_t kCodeMinus = 30;
inline constexpr std::uint8_t kCodeLeft = 32;  // also Stop
inline constexpr std::uint8_t kCodeRight = 33;
inline constexpr std::uint8_t kCodeEnter = 34;

struct KeyDecode {
    std::uint8_t code = kNoCode;  // kNoCode: the key changed only the shift level
    bool shiftShown = false;      // the status letters must be redrawn
};

// Turns a taken key register value into a code and moves the shift level
// (0 plain, 1 after F, 2 after F 9). Every key that yields a code returns
// the level to 0.
constexpr KeyDecode DecodeKey(std::uint8_t index, std::uint8_t& shiftLevel) {
    if (index == kNoKey) return {};
    if (index == kKeyIndexF) {
        shiftLevel = shiftLevel == 0 ? 1 : 0;
        return {kNoCode, true};
    }
    // Comma, minus, the arrows and Enter have one code at every level.
    const int code = (index >= 10 && index <= 15) ? index + 19 : index + 10 * shiftLevel;
    if (code == 19) {  // 9 after F enters the function level
        shiftLevel = 2;
        return {kNoCode, true};
    }
    shiftLevel = 0;
    return {static_cast<std::uint8_t>(code), false};
}

}  // namespace zr::emulator
