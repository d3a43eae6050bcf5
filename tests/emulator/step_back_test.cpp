// Step back: forward N statement stops, back M, forward M again, and the
// device state must equal the first pass's bit for bit at both ends.
#include "compiled_program.h"
#include "device_fixture.h"
#include "emulator/debugger.h"
#include "step_back_check.h"

namespace zr::emulator::testing {
namespace {

struct StepBackCase {
    const char* name;
    std::string source;  // UTF-8
    const char* keys;
    int forward;  // N
    int back;     // M
    SerialInput serialIn = {};
};

class StepBack : public ::testing::TestWithParam<StepBackCase> {};

TEST_P(StepBack, ForwardBackForwardIsExact) {
    const StepBackCase& c = GetParam();
    // Time is left out: the host's virtual clock runs on and is not put back.
    Device d(HeadlessOptions{Keys(c.keys), 1'000'000'000, 10'000'000, c.serialIn});
    const auto compiled = LoadCompiled(d.emulator, c.source);
    Debugger debugger(d.emulator, StatementsOf(*compiled));
    debugger.KeepHistory(10000);
    debugger.AddBreakpoint(1);

    // Pause 0 at the breakpoint; N steps; M steps back; M steps forward.
    std::vector<DeviceState> states;
    std::vector<PauseReason> reasons;
    int pauses = 0;
    debugger.onPause = [&](Emulator& e, const PauseInfo& pause) {
        states.push_back(debugger.CaptureState());
        reasons.push_back(pause.reason);
        ++pauses;
        if (pauses <= c.forward) return debugger.StepInto();
        if (pauses <= c.forward + c.back) {
            EXPECT_TRUE(debugger.StepBack());
            return;
        }
        if (pauses <= c.forward + 2 * c.back) return debugger.StepInto();
        d.host.EndAtPause(e);
    };
    d.Run();
    ASSERT_EQ(states.size(), static_cast<std::size_t>(c.forward + 2 * c.back + 1))
        << "the program ended before its stops";
    const int n = c.forward, m = c.back;
    EXPECT_EQ(DeviceStateDifference(states[n + m], states[n - m]), "");
    EXPECT_EQ(DeviceStateDifference(states[n + 2 * m], states[n]), "");
    for (int k = 1; k <= m; ++k) {
        EXPECT_EQ(reasons[n + k], PauseReason::StepBack);
        EXPECT_EQ(DeviceStateDifference(states[n + k], states[n - k]), "") << "back " << k;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Programs, StepBack,
    ::testing::Values(
        StepBackCase{"CallsAndDisplay",
                     "DimI cnt\nDimS x\nDo + i = 1 >> 5\ncnt i + -> cnt\n! [1,1,clr] cnt\n"
                     "1 Rnd -> x\nLoop i\nCall Twice\nEnd\nTwice:\ncnt 2 * -> cnt\nRet\n",
                     "enter,enter", 30, 12},
        StepBackCase{"CountLoopExample", ExampleSource("count_loop.zrt"), "enter,enter", 40, 25},
        StepBackCase{"HypotenuseExample", ExampleSource("hypotenuse.zrt"),
                     "enter,enter,3,enter,4,enter", 12, 6},
        StepBackCase{"PortAdcExample", ExampleSource("port_adc.zrt"), "enter,enter", 8, 4},
        // Forward again reads the lines read the first time, not the next ones.
        StepBackCase{"SerialInputReadAgain",
                     "DimS a\nDimS b\nINPUT -> a\nINPUT -> b\na b + -> a\nINPUT -> b\nEnd\n",
                     "enter,enter", 5, 4, SerialInput{"1", "20", "300", "4000"}}),
    kByName);

TEST(StepBackHistory, KeepsOnlyTheLastStops) {
    Device d("enter,enter", 2000);
    const auto compiled = LoadCompiled(d.emulator, "DimI cnt\nTop:\ncnt 1 + -> cnt\nGoTo Top\n");
    Debugger debugger(d.emulator, StatementsOf(*compiled));
    debugger.KeepHistory(50);
    d.Run();
    EXPECT_EQ(debugger.historySize(), 50u);
    EXPECT_GT(d.m.integers[8], 50);
}

}  // namespace
}  // namespace zr::emulator::testing
