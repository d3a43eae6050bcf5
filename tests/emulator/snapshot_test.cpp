// Snapshots: the whole device state survives a file bit for bit, a restored
// state runs on exactly as the uninterrupted run would, and a file that is
// foreign, cut short, damaged or of another version is refused.
#include "emulator/snapshot.h"

#include <gtest/gtest.h>

#include "compiled_program.h"
#include "device_fixture.h"
#include "emulator/emulator.h"
#include "emulator/headless_host.h"
#include "step_back_check.h"

namespace zr::emulator::testing {
namespace {

// Timer events, pins, Byte, Integer and Single variables, I2C and Rnd: every
// part of the state moves, and the program never waits.
constexpr const char* kBusyProgram =
    "DimI count, ticks\nDimB low\nDimS total\n"
    "1 Timer Tick\n"
    "Top: count Incr -> count\n"
    "count 255 And -> PORT\n"
    "1 Rnd total + -> total\n"
    "count 7 And -> low\n"
    "low -> I2C(3)\n"
    "! [1,1] count\n"
    "GoTo Top\n"
    "Tick: ticks Incr -> ticks\n"
    "Ret\n";

HeadlessOptions Budget(std::uint64_t instructions) {
    HeadlessOptions options;
    options.keys = Keys("enter,enter");
    options.instructionsPerTick = 700;
    options.maxInstructions = instructions;
    return options;
}

Snapshot RunBusyProgram(std::uint64_t instructions) {
    HeadlessHost host(Budget(instructions));
    Emulator emulator(host);
    LoadCompiled(emulator, kBusyProgram);
    host.Run(emulator);
    return {CaptureDeviceState(emulator), 0x1234ABCDu, 7, host.serialOut().size()};
}

TEST(Snapshot, FileRoundTripAndRestoreAreBitForBit) {
    const Snapshot original = RunBusyProgram(54'321);
    ASSERT_NE(original.device.machine.integers[9], 0) << "the timer routine never ran";
    const std::string file = WriteSnapshot(original);

    std::string error;
    const auto read = ReadSnapshot(file, error);
    ASSERT_TRUE(read) << error;
    EXPECT_EQ(DeviceStateDifference(read->device, original.device), "");
    EXPECT_EQ(read->programId, original.programId);
    EXPECT_EQ(read->serialLinesIn, 7u);
    EXPECT_EQ(WriteSnapshot(*read), file);

    // Through a device and back: nothing is lost on the way in or out.
    HeadlessHost host({});
    Emulator emulator(host);
    RestoreDeviceState(emulator, read->device);
    EXPECT_EQ(
        WriteSnapshot({CaptureDeviceState(emulator), read->programId, 7, read->serialLinesOut}),
        file);
}

TEST(Snapshot, RestoredRunGoesOnAsTheUninterruptedOne) {
    const Snapshot whole = RunBusyProgram(90'000);
    const Snapshot half = RunBusyProgram(40'000);

    std::string error;
    const auto read = ReadSnapshot(WriteSnapshot(half), error);
    ASSERT_TRUE(read) << error;
    HeadlessHost host(Budget(50'000));  // counted from the restored count
    Emulator emulator(host);
    RestoreDeviceState(emulator, read->device);
    host.Resume(emulator);
    EXPECT_EQ(host.stopReason(), StopReason::MaxInstructions);
    EXPECT_EQ(DeviceStateDifference(CaptureDeviceState(emulator), whole.device), "");
}

TEST(Snapshot, ResumingAtTheAddressPromptAsksAgain) {
    HeadlessHost first(HeadlessOptions{Keys("enter")});
    Emulator device(first);
    LoadCompiled(device, "! [1,1,clr] \"Hello\"\nEnd\n");
    first.Run(device);
    ASSERT_EQ(device.machine.runState, kStopped);

    HeadlessHost second(HeadlessOptions{Keys("enter")});
    Emulator resumed(second);
    RestoreDeviceState(resumed, CaptureDeviceState(device));
    second.Resume(resumed);
    EXPECT_EQ(resumed.display().Line(1), "Hello           ");
}

struct Damage {
    const char* name;
    std::string (*apply)(const std::string& file);
    const char* message;  // a part of the refusal
};

std::string WithByte(std::string file, std::size_t at, char value) {
    file[at] = value;
    return file;
}

// Rewrites the checksum, so only the changed field can be the reason.
std::string Resealed(std::string file) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i + 4 < file.size(); ++i) {
        crc ^= static_cast<unsigned char>(file[i]);
        for (int k = 0; k < 8; ++k) crc = (crc & 1) ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
    }
    crc ^= 0xFFFFFFFFu;
    for (int i = 0; i < 4; ++i) file[file.size() - 4 + i] = static_cast<char>(crc >> (8 * i));
    return file;
}

// Offsets: magic 0..7, version 8..9, payload size 10..13, payload from 14
// (program memory cells 0..1024, then the value stack).
const Damage kDamages[] = {
    {"Empty", [](const std::string&) { return std::string(); }, "not a ZR-7340 snapshot"},
    {"ForeignFile", [](const std::string&) { return std::string("{\\rtf1 hello}"); },
     "not a ZR-7340 snapshot"},
    {"MagicByteFlipped", [](const std::string& f) { return WithByte(f, 3, 'x'); },
     "not a ZR-7340 snapshot"},
    {"HeaderOnly", [](const std::string& f) { return f.substr(0, 12); },
     "truncated snapshot (12 bytes)"},
    {"CutInThePayload", [](const std::string& f) { return f.substr(0, f.size() / 2); },
     "truncated snapshot"},
    {"LastByteMissing", [](const std::string& f) { return f.substr(0, f.size() - 1); },
     "truncated snapshot"},
    {"ExtraBytes", [](const std::string& f) { return f + "zz"; }, "snapshot with extra bytes"},
    {"NewerVersion", [](const std::string& f) { return Resealed(WithByte(f, 8, 2)); },
     "snapshot format version 2; this program reads version 1"},
    {"VersionZero", [](const std::string& f) { return WithByte(f, 8, 0); }, "format version 0"},
    {"ProgramByteFlipped",
     [](const std::string& f) { return WithByte(f, 20, static_cast<char>(f[20] ^ 0x40)); },
     "damaged snapshot (its checksum does not match)"},
    {"ChecksumByteFlipped",
     [](const std::string& f) {
         return WithByte(f, f.size() - 2, static_cast<char>(f[f.size() - 2] ^ 1));
     },
     "damaged snapshot"},
    {"ImpossibleStackPointer",
     [](const std::string& f) {
         // The stack pointer follows cells 0..1024 and the 17 stack floats.
         const std::size_t at = 14 + 1025 + 17 * 4;
         return Resealed(WithByte(f, at, 40));
     },
     "impossible stack pointer"},
};

class SnapshotRefusal : public ::testing::TestWithParam<Damage> {};

TEST_P(SnapshotRefusal, SaysWhy) {
    const std::string good = WriteSnapshot(RunBusyProgram(5'000));
    std::string error;
    EXPECT_FALSE(ReadSnapshot(GetParam().apply(good), error));
    EXPECT_NE(error.find(GetParam().message), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(Damaged, SnapshotRefusal, ::testing::ValuesIn(kDamages), kByName);

TEST(Snapshot, ProgramIdTellsImagesApart) {
    machine::ProgramImage a{};
    machine::ProgramImage b{};
    b[1024] = 1;
    EXPECT_NE(ProgramIdOf(a), ProgramIdOf(b));
    b[1024] = 0;
    b[0] = 9;  // cell 0 is not program memory
    EXPECT_EQ(ProgramIdOf(a), ProgramIdOf(b));
}

}  // namespace
}  // namespace zr::emulator::testing
