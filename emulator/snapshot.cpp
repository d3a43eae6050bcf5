#include "emulator/snapshot.h"

#include <array>
#include <bit>
#include <cstring>

namespace zr::emulator {
namespace {

std::uint32_t Crc32(std::string_view bytes) {
    static const auto kTable = [] {
        std::array<std::uint32_t, 256> table{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[i] = c;
        }
        return table;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const unsigned char b : bytes) crc = kTable[(crc ^ b) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

// Little-endian fields, floats by their bits, so a round trip is exact.
class Writer {
  public:
    void Bytes(std::string_view bytes) { out_.append(bytes); }
    template <typename T>
    void Unsigned(T value) {
        for (std::size_t i = 0; i < sizeof(T); ++i)
            out_.push_back(static_cast<char>(value >> (8 * i)));
    }
    void Int(int value) { Unsigned(static_cast<std::uint32_t>(value)); }
    void Float(float value) { Unsigned(std::bit_cast<std::uint32_t>(value)); }
    std::string& text() { return out_; }

  private:
    std::string out_;
};

class Reader {
  public:
    explicit Reader(std::string_view in) : in_(in) {}
    std::string_view Bytes(std::size_t count) {
        const auto part = in_.substr(at_, count);
        at_ += count;
        return part;
    }
    template <typename T>
    T Unsigned() {
        T value = 0;
        for (std::size_t i = 0; i < sizeof(T); ++i)
            value |= static_cast<T>(static_cast<unsigned char>(in_[at_++])) << (8 * i);
        return value;
    }
    int Int() { return static_cast<int>(Unsigned<std::uint32_t>()); }
    float Float() { return std::bit_cast<float>(Unsigned<std::uint32_t>()); }

  private:
    std::string_view in_;
    std::size_t at_ = 0;
};

// ReadDevice reads the fields back in the same order.
void WriteDevice(Writer& w, const DeviceState& d) {
    const MachineState& m = d.machine;
    w.Bytes({reinterpret_cast<const char*>(m.programImage.data()), m.programImage.size()});
    for (const float v : m.valueStack) w.Float(v);
    w.Int(m.stackPointer);
    w.Float(m.lastX);
    for (const std::int16_t v : m.returnStack) w.Unsigned(static_cast<std::uint16_t>(v));
    w.Int(m.returnPointer);
    w.Float(m.resultRegister);
    w.Float(m.operandRegister);
    w.Int(m.segmentEnd);
    w.Unsigned(m.listPassCounter);
    w.Unsigned(m.runState);
    w.Unsigned(m.eventFlags);
    w.Int(m.timerHandler);
    w.Int(m.timerPeriod);
    w.Int(m.eventHandler);
    w.Unsigned(m.hexMode);
    for (const float v : m.singles) w.Float(v);
    w.Bytes({reinterpret_cast<const char*>(m.bytes.data()), m.bytes.size()});
    for (const std::int16_t v : m.integers) w.Unsigned(static_cast<std::uint16_t>(v));

    w.Unsigned(d.io.portInputs);
    for (const int v : d.io.adc) w.Int(v);
    for (const int v : d.io.pins) w.Int(v);
    w.Bytes({reinterpret_cast<const char*>(d.io.i2c.data()), d.io.i2c.size()});

    w.Bytes(d.display.Line(1));
    w.Bytes(d.display.Line(2));
    w.Int(d.display.cursorRow());
    w.Int(d.display.cursorColumn());

    w.Unsigned(d.keyRegister);
    w.Unsigned(d.shiftLevel);
    w.Int(d.tickCount);
    w.Int(d.delayTicks);
    w.Int(d.timerCount);
    w.Unsigned(d.instructionCount);
    w.Unsigned(d.randomState);
    w.Float(d.randomLast);
    w.Unsigned(d.serialLinesRead);
}

template <std::size_t N>
void ReadBytes(Reader& r, std::array<std::uint8_t, N>& into) {
    const auto bytes = r.Bytes(N);
    std::memcpy(into.data(), bytes.data(), N);
}

DeviceState ReadDevice(Reader& r) {
    DeviceState d;
    MachineState& m = d.machine;
    machine::ProgramImage image;
    ReadBytes(r, image);
    m.programImage = ProgramMemory(image);
    for (float& v : m.valueStack) v = r.Float();
    m.stackPointer = r.Int();
    m.lastX = r.Float();
    for (std::int16_t& v : m.returnStack)
        v = static_cast<std::int16_t>(r.Unsigned<std::uint16_t>());
    m.returnPointer = r.Int();
    m.resultRegister = r.Float();
    m.operandRegister = r.Float();
    m.segmentEnd = r.Int();
    m.listPassCounter = r.Unsigned<std::uint8_t>();
    m.runState = r.Unsigned<std::uint8_t>();
    m.eventFlags = r.Unsigned<std::uint8_t>();
    m.timerHandler = r.Int();
    m.timerPeriod = r.Int();
    m.eventHandler = r.Int();
    m.hexMode = r.Unsigned<std::uint8_t>();
    for (float& v : m.singles) v = r.Float();
    ReadBytes(r, m.bytes);
    for (std::int16_t& v : m.integers) v = static_cast<std::int16_t>(r.Unsigned<std::uint16_t>());

    d.io.portInputs = r.Unsigned<std::uint8_t>();
    for (int& v : d.io.adc) v = r.Int();
    for (int& v : d.io.pins) v = r.Int();
    ReadBytes(r, d.io.i2c);

    const auto line1 = r.Bytes(kDisplayColumns);
    const auto line2 = r.Bytes(kDisplayColumns);
    const int row = r.Int();
    const int column = r.Int();
    d.display.Restore(line1, line2, row, column);

    d.keyRegister = r.Unsigned<std::uint8_t>();
    d.shiftLevel = r.Unsigned<std::uint8_t>();
    d.tickCount = r.Int();
    d.delayTicks = r.Int();
    d.timerCount = r.Int();
    d.instructionCount = r.Unsigned<std::uint64_t>();
    d.randomState = r.Unsigned<std::uint32_t>();
    d.randomLast = r.Float();
    d.serialLinesRead = r.Unsigned<std::uint64_t>();
    return d;
}

// The values the emulator indexes with or relies on; anything else would
// make it read outside its arrays.
const char* ImpossibleField(const DeviceState& d) {
    const MachineState& m = d.machine;
    if (m.stackPointer < 1 || m.stackPointer > kValueStackSize) return "stack pointer";
    if (m.returnPointer < 1 || m.returnPointer > kReturnStackSize) return "return pointer";
    if (d.display.cursorRow() < 0 || d.display.cursorRow() > 2) return "cursor row";
    for (const int v : d.io.adc)
        if (v < 0 || v > kAdcMaximum) return "ADC input";
    return nullptr;
}

constexpr std::size_t kHeaderSize = kSnapshotMagic.size() + 2 + 4;
constexpr std::size_t kChecksumSize = 4;

}  // namespace

std::uint32_t ProgramIdOf(const machine::ProgramImage& image) {
    return Crc32({reinterpret_cast<const char*>(image.data()) + 1, machine::kProgramSize});
}

std::string WriteSnapshot(const Snapshot& snapshot) {
    Writer payload;
    WriteDevice(payload, snapshot.device);
    payload.Unsigned(snapshot.programId);
    payload.Unsigned(snapshot.serialLinesIn);
    payload.Unsigned(snapshot.serialLinesOut);

    Writer file;
    file.Bytes(kSnapshotMagic);
    file.Unsigned(kSnapshotVersion);
    file.Unsigned(static_cast<std::uint32_t>(payload.text().size()));
    file.Bytes(payload.text());
    file.Unsigned(Crc32(file.text()));
    return std::move(file.text());
}

std::optional<Snapshot> ReadSnapshot(std::string_view bytes, std::string& error) {
    if (bytes.substr(0, kSnapshotMagic.size()) != kSnapshotMagic) {
        error = "not a ZR-7340 snapshot";
        return std::nullopt;
    }
    if (bytes.size() < kHeaderSize + kChecksumSize) {
        error = "truncated snapshot (" + std::to_string(bytes.size()) + " bytes)";
        return std::nullopt;
    }
    Reader header(bytes.substr(kSnapshotMagic.size()));
    const auto version = header.Unsigned<std::uint16_t>();
    const auto payloadSize = header.Unsigned<std::uint32_t>();
    if (version != kSnapshotVersion) {
        error = "snapshot format version " + std::to_string(version) +
                "; this program reads version " + std::to_string(kSnapshotVersion);
        return std::nullopt;
    }
    const std::size_t expected = kHeaderSize + payloadSize + kChecksumSize;
    if (bytes.size() != expected) {
        error = (bytes.size() < expected ? "truncated snapshot (" : "snapshot with extra bytes (") +
                std::to_string(bytes.size()) + " bytes, " + std::to_string(expected) + " expected)";
        return std::nullopt;
    }
    Reader trailer(bytes.substr(expected - kChecksumSize));
    if (trailer.Unsigned<std::uint32_t>() != Crc32(bytes.substr(0, expected - kChecksumSize))) {
        error = "damaged snapshot (its checksum does not match)";
        return std::nullopt;
    }
    // The checksum vouches for the bytes; the size of this version's payload
    // is fixed, so a wrong one is a file this program did not write.
    if (payloadSize != WriteSnapshot({}).size() - kHeaderSize - kChecksumSize) {
        error = "snapshot payload of " + std::to_string(payloadSize) +
                " bytes does not fit version " + std::to_string(kSnapshotVersion);
        return std::nullopt;
    }
    Reader payload(bytes.substr(kHeaderSize, payloadSize));
    Snapshot snapshot;
    snapshot.device = ReadDevice(payload);
    snapshot.programId = payload.Unsigned<std::uint32_t>();
    snapshot.serialLinesIn = payload.Unsigned<std::uint64_t>();
    snapshot.serialLinesOut = payload.Unsigned<std::uint64_t>();
    if (const char* field = ImpossibleField(snapshot.device)) {
        error = std::string("snapshot with an impossible ") + field;
        return std::nullopt;
    }
    return snapshot;
}

}  // namespace zr::emulator
