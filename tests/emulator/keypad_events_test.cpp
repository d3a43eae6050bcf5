// Key codes and shift levels, the timer, delays and event dispatch.
#include "device_fixture.h"

namespace zr::emulator::testing {
namespace {

using namespace machine;

struct KeySeq {
    const char* name;
    std::vector<std::uint8_t> indices;  // key register values in order
    std::vector<std::uint8_t> codes;    // what each gives
    std::uint8_t levelAfter;
};
class KeyDecoding : public ::testing::TestWithParam<KeySeq> {};
TEST_P(KeyDecoding, GivesCodesAndLevels) {
    const KeySeq& c = GetParam();
    std::uint8_t level = 0;
    for (std::size_t i = 0; i < c.indices.size(); ++i)
        EXPECT_EQ(DecodeKey(c.indices[i], level).code, c.codes[i]) << "key " << i;
    EXPECT_EQ(level, c.levelAfter);
}
INSTANTIATE_TEST_SUITE_P(Table, KeyDecoding,
                         ::testing::Values(KeySeq{"digit", {0}, {0}, 0},
                                           KeySeq{"enter", {15}, {34}, 0},
                                           KeySeq{"F_5_is_hex_F", {12, 5}, {255, 15}, 0},
                                           KeySeq{"F_F_back_to_0", {12, 12}, {255, 255}, 0},
                                           KeySeq{"F_9_function_level", {12, 9}, {255, 255}, 2},
                                           KeySeq{"F_9_4", {12, 9, 4}, {255, 255, 24}, 0},
                                           KeySeq{"F_9_9", {12, 9, 9}, {255, 255, 29}, 0},
                                           KeySeq{"comma_ignores_level", {12, 10}, {255, 29}, 0},
                                           KeySeq{"left_is_32", {13}, {32}, 0},
                                           KeySeq{"run_command_after_F", {12, 29}, {255, 39}, 0},
                                           KeySeq{"none", {16}, {255}, 0}),
                         kByName);

// Every key at every shift level: level 0 as pressed, level 1 after F, level
// 2 after F 9; the shift keys give no code, and the level falls back to 0.
TEST(KeyDecoding, EveryKeyAtEveryLevel) {
    constexpr std::uint8_t kF = 12;
    for (std::uint8_t index = 0; index < 16; ++index) {
        if (index == kF) continue;
        const int plain = index < 10 ? index : index + 19;
        struct Level {
            std::vector<std::uint8_t> shifts;
            int code;
        };
        std::vector<Level> levels{{{}, plain}, {{kF, 9}, index < 10 ? index + 20 : plain}};
        if (index != 9) levels.push_back({{kF}, index < 10 ? index + 10 : plain});
        for (const Level& level : levels) {
            std::uint8_t shift = 0;
            for (const std::uint8_t key : level.shifts)
                EXPECT_EQ(DecodeKey(key, shift).code, kNoCode) << int(index);
            EXPECT_EQ(DecodeKey(index, shift).code, level.code)
                << "key " << int(index) << " after " << level.shifts.size() << " shift keys";
            EXPECT_EQ(shift, 0) << int(index);
        }
    }
}

TEST(KeyRegister, HoldsOneKeyAndTheStatusShowsLevelAndRadix) {
    Device d;
    d.emulator.PressKey(1);
    d.emulator.PressKey(2);
    EXPECT_EQ(d.emulator.ReadKey(), 2);
    EXPECT_EQ(d.emulator.ReadKey(), kNoCode);
    d.emulator.PressKey(40);  // a release outside the picture is no key
    EXPECT_EQ(d.emulator.ReadKey(), kNoCode);
    d.emulator.PressKey(12);
    d.emulator.ReadKey();
    d.emulator.PressKey(9);
    d.emulator.ReadKey();
    EXPECT_EQ(d.Line(1).substr(14), "cD");  // F 9: the function level
    d.emulator.shiftLevel = 1;
    d.m.hexMode = 1;
    d.emulator.ShowStatus();
    EXPECT_EQ(d.Line(1).substr(14), "bH");
    EXPECT_EQ(d.emulator.display().cursorColumn(), 17);
}

TEST(Timer, DelaysWaitTenTicksASecond) {
    struct CountingHost : HeadlessHost {
        using HeadlessHost::HeadlessHost;
        int ticks = 0;
        void WaitForEvent(Emulator& e, WaitReason reason) override {
            ++ticks;
            HeadlessHost::WaitForEvent(e, reason);
        }
    };
    DeviceOn<CountingHost> d;
    d.emulator.DelaySeconds(3);
    EXPECT_EQ(d.host.ticks, 30);
    d.emulator.DelaySeconds(0);
    EXPECT_EQ(d.host.ticks, 30);
    d.RunCode(Ops(PushInt(500), kWait));  // above 100: 10 seconds
    EXPECT_EQ(d.host.ticks, 130);
}

TEST(Timer, EventTicksRaiseTheTimerEventOnlyWhileRunning) {
    Device d;
    d.m.timerHandler = 100;
    d.m.timerPeriod = 0;
    d.m.runState = kStopped;
    auto ticks = [&](int n) {
        int raised = 0;
        for (int i = 0; i < n; ++i) {
            d.emulator.TimerTick();
            if (d.m.eventFlags & kEventTimerPending) ++raised, d.m.eventFlags = 0;
        }
        return raised;
    };
    EXPECT_EQ(ticks(9), 0);
    d.m.runState = kRunning;
    EXPECT_EQ(ticks(8), 0);
    EXPECT_EQ(ticks(1), 1);  // the ninth
    d.m.timerPeriod = 2;     // every third event tick
    EXPECT_EQ(ticks(9 * 6), 2);
}

}  // namespace
}  // namespace zr::emulator::testing
