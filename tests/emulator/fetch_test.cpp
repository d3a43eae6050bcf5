// The one fetch, at the end of memory: operand bytes that run past cell 1024
// are error 56 with the counter on the byte that could not be read, whether
// the instruction fetches through the run loop's registers (PushInt, a jump)
// or the machine state (PushSingle, Loop), single-stepped or in the loop.
#include "device_fixture.h"

namespace zr::emulator::testing {
namespace {

using namespace machine;

struct PastTheEnd {
    const char* name;
    int address;  // where the instruction starts; its bytes fill up to 1024
    Code code;
};

class FetchPastTheEnd : public ::testing::TestWithParam<PastTheEnd> {};

TEST_P(FetchPastTheEnd, IsError56OnTheByteThatCouldNotBeRead) {
    const PastTheEnd& c = GetParam();
    ASSERT_EQ(c.address + static_cast<int>(c.code.size()), kProgramSize + 1);

    Device stepped;
    stepped.Load(c.code, c.address);
    stepped.emulator.Step();
    EXPECT_EQ(stepped.RunState(), kErrorAddressRange);
    EXPECT_EQ(stepped.m.ProgramCounter(), kProgramSize + 1);

    // Started from the address prompt; the run ends in the error's report.
    std::string keys = "enter";
    for (const char digit : std::to_string(c.address)) keys += std::string(",") + digit;
    Device looped(keys + ",enter");
    looped.Put(c.address, c.code);
    looped.host.Run(looped.emulator);
    EXPECT_EQ(looped.RunState(), kErrorAddressRange);
    EXPECT_EQ(looped.m.ProgramCounter(), kProgramSize + 1);
    EXPECT_EQ(looped.Line(1).substr(0, 16), "Error 56 in 1025");
}

INSTANTIATE_TEST_SUITE_P(
    Table, FetchPastTheEnd,
    ::testing::Values(PastTheEnd{"PushInt_low_byte", 1023, Ops(kPushInt, 0x00)},
                      PastTheEnd{"GoTo_low_byte", 1023, Ops(0xF5, 0x00)},
                      PastTheEnd{"PushSingle_fourth_byte", 1022, Ops(kPushSingle, 0, 0)},
                      PastTheEnd{"Loop_second_header_byte", 1023, Ops(kLoop, 0x13)}),
    kByName);

}  // namespace
}  // namespace zr::emulator::testing
