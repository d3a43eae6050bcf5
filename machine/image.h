// The device's program memory and the encodings of values inside it.
#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>

namespace zr::machine {

// Program addresses are 1..1024; cell 0 exists but is not a program address.
inline constexpr int kProgramSize = 1024;
using ProgramImage = std::array<std::uint8_t, kProgramSize + 1>;

// Variable areas (1-based indices).
inline constexpr int kSingleCount = 32;
inline constexpr int kByteCount = 96;
inline constexpr int kIntegerCount = 123;

// VariableOperand: one byte naming a variable or hardware name.
//   0          RX, the X register
//   1..32      Single index = value
//   33..128    Byte index = value - 32
//   129..251   Integer index = value - 128
//   252        Stack   (reads as StackPointer - 1; indexed, a ValueStack slot)
//   253        PORT    (the eight port pins as one byte)
//   254        ADC     (array of 4 analogue inputs)
//   255        I2C     (array of 128: the I2C / serial buffer)
// DecodeVariableOperand is the one reading of this layout.
inline constexpr int kByteOperandBase = 32;
inline constexpr int kIntegerOperandBase = 128;
inline constexpr std::uint8_t kOperandRX = 0;
inline constexpr std::uint8_t kOperandStack = 252;
inline constexpr std::uint8_t kOperandPort = 253;
inline constexpr std::uint8_t kOperandAdc = 254;
inline constexpr std::uint8_t kOperandI2C = 255;

// A value that has no encoding in its field (Integer magnitude above 32767,
// Byte outside 0..255, Single beyond float range) or a write outside 0..1024.
class EncodingError : public std::range_error {
  public:
    using std::range_error::range_error;
};

enum class VariableArea : std::uint8_t { RX, Single, Byte, Integer, Stack, Port, Adc, I2C };

// What a VariableOperand names: an area and, for Single, Byte and Integer,
// the 1-based index in it (0 for the single names RX, Stack, PORT, ADC, I2C).
struct DecodedOperand {
    VariableArea area;
    int index;
};

// The two areas the run loop reaches inline, each decided by one unsigned
// compare: a Single is its own index, an Integer's index is IntegerIndexOf.
// DecodeVariableOperand decides them with these, so the loop's fast tests
// and the full decode are one definition.
constexpr bool NamesSingle(std::uint8_t operand) {
    return operand - 1u < kSingleCount;
}
constexpr bool NamesInteger(std::uint8_t operand) {
    return operand - (kIntegerOperandBase + 1u) < kIntegerCount;
}
constexpr unsigned IntegerIndexOf(std::uint8_t operand) {
    return operand - static_cast<unsigned>(kIntegerOperandBase);
}

constexpr DecodedOperand DecodeVariableOperand(std::uint8_t operand) {
    if (NamesSingle(operand)) return {VariableArea::Single, operand};
    if (NamesInteger(operand))
        return {VariableArea::Integer, static_cast<int>(IntegerIndexOf(operand))};
    if (operand - (kByteOperandBase + 1u) < kByteCount)
        return {VariableArea::Byte, operand - kByteOperandBase};
    if (operand == kOperandRX) return {VariableArea::RX, 0};
    constexpr VariableArea kNames[] = {VariableArea::Stack, VariableArea::Port, VariableArea::Adc,
                                       VariableArea::I2C};
    return {kNames[operand - kOperandStack], 0};
}

// The operand naming `variable`; DecodeVariableOperand reverses it.
constexpr std::uint8_t VariableOperandOf(DecodedOperand variable) {
    switch (variable.area) {
        case VariableArea::RX:
            return kOperandRX;
        case VariableArea::Single:
            return static_cast<std::uint8_t>(variable.index);
        case VariableArea::Byte:
            return static_cast<std::uint8_t>(kByteOperandBase + variable.index);
        case VariableArea::Integer:
            return static_cast<std::uint8_t>(kIntegerOperandBase + variable.index);
        case VariableArea::Stack:
            return kOperandStack;
        case VariableArea::Port:
            return kOperandPort;
        case VariableArea::Adc:
            return kOperandAdc;
        case VariableArea::I2C:
            return kOperandI2C;
    }
    return kOperandRX;
}

// Integer: 2 bytes, sign-magnitude, most significant first.
//   byte 0: bit 7 = negative, bits 0..6 = magnitude div 256
//   byte 1: magnitude mod 256
// Magnitude 0..32767; -32768 has no encoding; 80 00 reads back as 0.
// DecodeInteger is the one reading of this layout.
constexpr int DecodeInteger(std::uint8_t high, std::uint8_t low) {
    const int magnitude = (high & 0x7F) * 256 + low;
    return (high & 0x80) ? -magnitude : magnitude;
}
// The two bytes of an Integer (EncodingError for a magnitude above 32767).
std::array<std::uint8_t, 2> IntegerBytes(int value);
void StoreInteger(ProgramImage& image, int address, int value);
int LoadInteger(const ProgramImage& image, int address);

// Byte: the value rounded half-to-even, 0..255.
void StoreByte(ProgramImage& image, int address, double value);

// Single: IEEE 754 binary32, least significant byte first.
void StoreSingle(ProgramImage& image, int address, float value);
float LoadSingle(const ProgramImage& image, int address);

// Float <-> bytes without touching an image (for the value stack, data files).
std::array<std::uint8_t, 4> SingleBytes(float value);
float SingleFromBytes(const std::uint8_t* bytes);

}  // namespace zr::machine
