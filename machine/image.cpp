#include "machine/image.h"

#include <bit>
#include <cmath>
#include <cstring>

#include "machine/numbers.h"

namespace zr::machine {
namespace {

void CheckAddress(int address, int width) {
    if (address < 0 || address + width - 1 > kProgramSize)
        throw EncodingError("program address out of range");
}

}  // namespace

std::array<std::uint8_t, 2> IntegerBytes(int value) {
    const bool negative = value < 0;
    const long magnitude = std::labs(static_cast<long>(value));
    const long hi = magnitude / 256;
    if (hi >= 128) throw EncodingError("integer overflow");
    return {static_cast<std::uint8_t>(hi | (negative ? 0x80 : 0)),
            static_cast<std::uint8_t>(magnitude - 256 * hi)};
}

void StoreInteger(ProgramImage& image, int address, int value) {
    CheckAddress(address, 2);
    const auto bytes = IntegerBytes(value);
    image[address] = bytes[0];
    image[address + 1] = bytes[1];
}

int LoadInteger(const ProgramImage& image, int address) {
    CheckAddress(address, 2);
    return DecodeInteger(image[address], image[address + 1]);
}

void StoreByte(ProgramImage& image, int address, double value) {
    CheckAddress(address, 1);
    const double rounded = RoundHalfEven(value);
    if (!(rounded >= 0 && rounded <= 255)) throw EncodingError("byte overflow");
    image[address] = static_cast<std::uint8_t>(rounded);
}

std::array<std::uint8_t, 4> SingleBytes(float value) {
    const auto bits = std::bit_cast<std::uint32_t>(value);
    return {static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
            static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)};
}

float SingleFromBytes(const std::uint8_t* bytes) {
    const std::uint32_t bits = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) |
                               (static_cast<std::uint32_t>(bytes[3]) << 24);
    return std::bit_cast<float>(bits);
}

void StoreSingle(ProgramImage& image, int address, float value) {
    CheckAddress(address, 4);
    const auto bytes = SingleBytes(value);
    std::memcpy(&image[address], bytes.data(), 4);
}

float LoadSingle(const ProgramImage& image, int address) {
    CheckAddress(address, 4);
    return SingleFromBytes(&image[address]);
}

}  // namespace zr::machine
