// Variable access by operand byte, the port with its strobes, ADC, I2C,
// SERIES and SEND.
#include "device_fixture.h"

namespace zr::emulator::testing {
namespace {

using namespace machine;

TEST(Variables, WritesRoundAndWrap) {
    Device d;
    auto& e = d.emulator;
    e.WriteVariable(40, 300);
    EXPECT_EQ(e.machine.bytes[8], 44);
    e.WriteVariable(130, 2.5);
    EXPECT_EQ(e.machine.integers[2], 2);
    e.WriteVariable(130, 3.5);
    EXPECT_EQ(e.machine.integers[2], 4);
    e.WriteVariable(32, 1.25);
    EXPECT_EQ(e.ReadVariable(32), 1.25f);
    e.WriteVariable(33, 7);
    EXPECT_EQ(e.ReadVariable(33), 7);  // operand 33 is Byte 1
    e.WriteVariable(128, 9);
    EXPECT_EQ(e.machine.bytes[96], 9);
    e.WriteVariable(129, -5);
    EXPECT_EQ(e.machine.integers[1], -5);
}

TEST(Variables, StackPointerName) {
    Device d;
    auto& e = d.emulator;
    e.machine.stackPointer = 3;
    EXPECT_EQ(e.ReadVariable(kOperandStack), 2);
    e.WriteVariable(kOperandStack, 17);
    EXPECT_EQ(e.machine.stackPointer, 2);
}

struct FaultCase {
    const char* name;
    Code code;
    int error;
};
class VariableFaults : public ::testing::TestWithParam<FaultCase> {};
TEST_P(VariableFaults, StopTheRun) {
    Device d;
    d.RunCode(GetParam().code);
    EXPECT_EQ(d.RunState(), GetParam().error);
}
INSTANTIATE_TEST_SUITE_P(
    Table, VariableFaults,
    ::testing::Values(
        FaultCase{"plain_ADC_read", Code{} << kiM << kOperandAdc, kErrorHardwareOperand},
        FaultCase{"plain_I2C_write", Code{} << PushByte(1) << kMv << kOperandI2C,
                  kErrorHardwareOperand},
        FaultCase{"ADC_index_5", Code{} << PushByte(5) << kLoadElement << kOperandAdc,
                  kErrorHardwareIndex},
        FaultCase{"I2C_index_0", Code{} << PushByte(0) << kLoadElement << kOperandI2C,
                  kErrorHardwareIndex},
        FaultCase{"integer_too_large", Code{} << PushSingle(40000) << kMv << 129,
                  kErrorConversionRange},
        FaultCase{"element_beyond_255", Code{} << PushByte(10) << kLoadElement << 250,
                  kErrorElementNumber},
        FaultCase{"load_indirect_256", Code{} << PushInt(256) << kMv << 130 << kLoadIndirect << 130,
                  kErrorLoadIndirect},
        FaultCase{
            "store_indirect_negative",
            Code{} << PushByte(1) << kNeg << kMv << 130 << PushByte(1) << kStoreIndirect << 130,
            kErrorStoreIndirect}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Variables, IndirectAndElementAccess) {
    Device d;
    d.emulator.machine.singles[5] = 3.5f;
    d.emulator.machine.integers[2] = 5;
    d.RunCode(Code{} << kLoadIndirect << 130 << PushByte(9) << PushByte(2) << kStoreElement << 33);
    EXPECT_EQ(d.X(), 3.5f);
    EXPECT_EQ(d.emulator.machine.bytes[2], 9);
}

TEST(Port, ReadPulsesCE) {
    struct PinLog : HeadlessHost {
        PinLog() : HeadlessHost({}) {}
        std::vector<std::pair<int, int>> changes;
        void PinChanged(int pin, int value) override { changes.emplace_back(pin, value); }
    } host;
    Emulator e(host);
    e.io.portInputs = 0x81;
    e.SetPin(kPinWE, 1);
    e.SetPin(kPinCE, 1);
    host.changes.clear();
    EXPECT_EQ(e.ReadVariable(kOperandPort), 129);
    const std::vector<std::pair<int, int>> pulse = {{kPinCE, 0}, {kPinCE, 1}};
    EXPECT_EQ(host.changes, pulse);
    EXPECT_EQ(e.io.pins[kPinCE], 1);
}

TEST(Port, WriteSetsTheDataPins) {
    Device d;
    auto& e = d.emulator;
    e.WriteVariable(kOperandPort, 5.6);  // 6: D1 and D2
    const std::array<int, 8> six = {0, 1, 1, 0, 0, 0, 0, 0};
    EXPECT_TRUE(std::equal(six.begin(), six.end(), e.io.pins.begin()));
    EXPECT_EQ(e.io.pins[kPinWE], 0);
    EXPECT_EQ(e.io.pins[kPinCE], 1);
    e.WriteVariable(kOperandPort, -1);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(e.io.pins[i], 1);
}

TEST(Hardware, I2CElementsReadBackWhatWasWritten) {
    Device d;
    d.RunCode(Code{} << PushInt(300) << PushByte(128) << kStoreElement << kOperandI2C
                     << PushByte(128) << kLoadElement << kOperandI2C);
    EXPECT_EQ(d.X(), 300 & 255);
}

TEST(Hardware, SeriesAndSend) {
    Device d;
    d.emulator.io.adc = {10, 20, 30, 1023};
    // SERIES channel 4 into Integers 1..3 (pace 5); SEND Bytes 1..2 to the port.
    d.emulator.machine.bytes[1] = 3;
    d.emulator.machine.bytes[2] = 0x80;
    d.RunCode(Code{} << PushByte(5) << kSeries << 4 << 129 << 131 << kSend << 33 << 34
                     << PushByte(2) << kLoadElement << kOperandAdc);
    EXPECT_EQ(d.emulator.machine.integers[1], 1023);
    EXPECT_EQ(d.emulator.machine.integers[3], 1023);
    EXPECT_EQ(d.emulator.io.pins[7], 1);  // the last value sent: 0x80
    EXPECT_EQ(d.emulator.io.pins[0], 0);
    EXPECT_EQ(d.X(), 20);
}

}  // namespace
}  // namespace zr::emulator::testing
