// The sample programs in examples/, compiled and run headless, each with the
// display it must show.
#include "compiled_program.h"
#include "device_fixture.h"

namespace zr::emulator::testing {
namespace {

// Runs the example on the device from the greeting on.
void RunExample(Device& d, const std::string& file, std::uint8_t port = 0,
                std::array<int, 4> adc = {}) {
    LoadCompiled(d.emulator, ExampleSource(file));
    d.emulator.io.portInputs = port;
    d.emulator.io.adc = adc;
    d.Run();
}

struct ExampleCase {
    const char *file, *keys, *line1, *line2;
    std::uint64_t instructionsPerTick = 10000;
    std::uint8_t port = 0;
    int adc1 = 0;
    std::uint64_t maxInstructions = 10'000'000;
    // Each example waits for a key before End, so its result stays on the display.
    StopReason stop = StopReason::WaitingForInput;
};
class Examples : public ::testing::TestWithParam<ExampleCase> {};
TEST_P(Examples, ShowTheirDisplay) {
    const ExampleCase& c = GetParam();
    Device d(c.keys, c.maxInstructions, c.instructionsPerTick);
    RunExample(d, c.file, c.port, {c.adc1, 0, 0, 0});
    EXPECT_EQ(d.Line(1), c.line1);
    EXPECT_EQ(d.Line(2), c.line2);
    EXPECT_EQ(d.Stop(), c.stop);
}
INSTANTIATE_TEST_SUITE_P(
    Table, Examples,
    ::testing::Values(
        ExampleCase{"square.zrt", "enter,enter,3,comma,5,enter", "Number?       aD",
                    "12.25           "},
        ExampleCase{"count_loop.zrt", "enter,enter", "Sum 1..10=55    ", "                "},
        ExampleCase{"keypad_codes.zrt", "enter,enter,@200:7,@400:F,@600:5,@800:enter",
                    "Press a key   bD", "Code 34         "},
        ExampleCase{"messages.zrt", "enter,enter,2,enter", "Tuesday         ", "Starts at 9     "},
        ExampleCase{"timer_clock.zrt", "enter,enter", "Ticks:          ", "Done 5          ", 100},
        ExampleCase{"port_adc.zrt", "enter,enter", "Port 129        ", "ADC1 512        ", 10000,
                    0x81, 512},
        // F then 5 gives the hex digit F; the program is still polling the keypad.
        ExampleCase{"keypad_codes.zrt", "enter,enter,@200:F,@300:5", "Press a key   bD",
                    "Code 15         ", 10000, 0, 0, 2000, StopReason::MaxInstructions}),
    [](const auto& info) {
        const std::string file = info.param.file;
        return file.substr(0, file.find('.')) + "_" + std::to_string(info.index);
    });

TEST(Examples, PortWriteLightsTheLowNibble) {
    Device d("enter,enter");
    RunExample(d, "port_adc.zrt", 0x0F);
    const auto& pins = d.emulator.io.pins;
    EXPECT_EQ(std::vector<int>(pins.begin(), pins.begin() + 8),
              (std::vector<int>{1, 1, 1, 1, 0, 0, 0, 0}));
}

}  // namespace
}  // namespace zr::emulator::testing
