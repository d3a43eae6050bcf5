// Key codes and shift levels, the timer, delays and event dispatch.
#include "device_fixture.h"

namespace zr::emulator::testing {
namespace {

using namespace machine;

struct KeySequence {
    const char* name;
    std::vector<std::uint8_t> indices;  // key register values in order
    std::vector<std::uint8_t> codes;    // what each gives
    std::uint8_t levelAfter;
};

class KeyDecoding : public ::testing::TestWithParam<KeySequence> {};

TEST_P(KeyDecoding, GivesCodesAndLevels) {
    const KeySequence& c = GetParam();
    std::uint8_t level = 0;
    for (std::size_t i = 0; i < c.indices.size(); ++i)
        EXPECT_EQ(DecodeKey(c.indices[i], level).code, c.codes[i]) << "key " << i;
    EXPECT_EQ(level, c.levelAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Table, KeyDecoding,
    ::testing::Values(KeySequence{"digit", {0}, {0}, 0}, KeySequence{"enter", {15}, {34}, 0},
                      KeySequence{"F_5_is_hex_F", {12, 5}, {255, 15}, 0},
                      KeySequence{"F_F_back_to_0", {12, 12}, {255, 255}, 0},
                      KeySequence{"F_9_function_level", {12, 9}, {255, 255}, 2},
                      KeySequence{"F_9_4", {12, 9, 4}, {255, 255, 24}, 0},
                      KeySequence{"F_9_9", {12, 9, 9}, {255, 255, 29}, 0},
                      KeySequence{"comma_ignores_level", {12, 10}, {255, 29}, 0},
                      KeySequence{"left_is_32", {13}, {32}, 0},
                      KeySequence{"run_command_after_F", {12, 29}, {255, 39}, 0},
                      KeySequence{"none", {16}, {255}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(KeyRegister, HoldsOneKeyTheLastWins) {
    Device d;
    d.emulator.PressKey(1);
    d.emulator.PressKey(2);
    EXPECT_EQ(d.emulator.ReadKey(), 2);
    EXPECT_EQ(d.emulator.ReadKey(), kNoCode);
    d.emulator.PressKey(40);  // a release outside the picture is no key
    EXPECT_EQ(d.emulator.ReadKey(), kNoCode);
}

TEST(KeyRegister, FShowsTheLevelLetter) {
    Device d;
    d.emulator.PressKey(12);
    d.emulator.ReadKey();
    d.emulator.PressKey(9);
    d.emulator.ReadKey();
    EXPECT_EQ(d.Line(1).substr(14), "cD");
}

TEST(Timer, DelayOfThreeSecondsTakesThirtyTicks) {
    struct CountingHost : HeadlessHost {
        CountingHost() : HeadlessHost({}) {}
        int ticks = 0;
        void WaitForEvent(Emulator& e, WaitReason reason) override {
            ++ticks;
            HeadlessHost::WaitForEvent(e, reason);
        }
    } host;
    Emulator emulator(host);
    emulator.DelaySeconds(3);
    EXPECT_EQ(host.ticks, 30);
    emulator.DelaySeconds(0);
    EXPECT_EQ(host.ticks, 30);
}

TEST(Timer, EventTicksRaiseTheTimerEventOnlyWhileRunning) {
    Device d;
    auto& m = d.emulator.machine;
    m.timerHandler = 100;
    m.timerPeriod = 0;
    m.runState = kStopped;
    for (int i = 0; i < 9; ++i) d.emulator.TimerTick();
    EXPECT_EQ(m.eventFlags & kEventTimerPending, 0);
    m.runState = kRunning;
    for (int i = 0; i < 8; ++i) d.emulator.TimerTick();
    EXPECT_EQ(m.eventFlags & kEventTimerPending, 0);
    d.emulator.TimerTick();  // the ninth
    EXPECT_EQ(m.eventFlags & kEventTimerPending, kEventTimerPending);
    m.eventFlags = 0;
    m.timerPeriod = 2;  // every third event tick
    int raised = 0;
    for (int i = 0; i < 9 * 6; ++i) {
        d.emulator.TimerTick();
        if (m.eventFlags & kEventTimerPending) ++raised, m.eventFlags = 0;
    }
    EXPECT_EQ(raised, 2);
}

TEST(Wait, KeyWaitsAndDelays) {
    HeadlessOptions options;
    options.keys = Keys("7,8");
    Device d(options);
    d.RunCode(Code{} << PushByte(0) << kWait << PushByte(1) << kNeg << kWait);
    EXPECT_EQ(d.emulator.machine.stackPointer, 2);  // Wait 0 pushes nothing
    EXPECT_EQ(d.X(), 8);                            // Wait -1 pushes the code
    Device delay;
    delay.RunCode(Code{} << PushInt(500) << kWait);  // above 100: 10 seconds
    EXPECT_EQ(delay.emulator.tickCount, 100 % 9);
}

}  // namespace
}  // namespace zr::emulator::testing
