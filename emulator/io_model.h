// The port, analogue inputs, pin indicators and I2C buffer as model state;
// the window draws them, the headless host sets them from options.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace zr::emulator {

inline constexpr int kPinCount = 14;
inline constexpr int kPinWE = 8;
inline constexpr int kPinCE = 9;
inline constexpr int kAdcChannels = 4;
inline constexpr int kAdcMaximum = 1023;  // slider range 0..1023
inline constexpr int kI2CSize = 128;

inline constexpr std::array<std::string_view, kPinCount> kPinNames = {
    "D0", "D1", "D2", "D3", "D4", "D5", "D6", "D7", "WE", "CE", "ADC1", "ADC2", "ADC3", "ADC4"};

struct IoModel {
    std::uint8_t portInputs = 0;                   // the eight input check boxes, bit i = D i
    std::array<int, kAdcChannels> adc{};           // slider positions, ADC1..ADC4
    std::array<int, kPinCount> pins{};             // indicator values; > 0 shows high
    std::array<std::uint8_t, kI2CSize + 1> i2c{};  // elements 1..128 behind the I2C hooks
};

}  // namespace zr::emulator
