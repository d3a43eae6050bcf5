// Kelto programs compiled and run headless: the road of one program and the
// sample programs in examples/, each with the display it must show.
#include <fstream>
#include <sstream>

#include "compiler/compiler.h"
#include "compiler/source_text.h"
#include "device_fixture.h"

namespace zr::emulator::testing {
namespace {

struct ProgramRun {
    std::string line1, line2;
    StopReason stopReason;
    std::vector<int> pins;
};

ProgramRun CompileAndRun(const std::string& utf8Source, HeadlessOptions options,
                         std::uint8_t portInputs = 0, std::array<int, 4> adc = {}) {
    compiler::Compiler compiler;
    EXPECT_TRUE(compiler.CompileSource(compiler::ToCompilerText(utf8Source)))
        << (compiler.messages.empty() ? "" : compiler.messages.front().text);
    Device d(std::move(options));
    d.emulator.LoadProgram(compiler.programImage);
    d.emulator.ClearSinglesAndIntegers();
    d.emulator.io.portInputs = portInputs;
    d.emulator.io.adc = adc;
    d.host.Run(d.emulator);
    return {d.Line(1), d.Line(2), d.host.stopReason(),
            std::vector<int>(d.emulator.io.pins.begin(), d.emulator.io.pins.end())};
}

std::string ReadExample(const std::string& name) {
    std::ifstream in(std::string(ZR_SOURCE_DIR) + "/examples/" + name, std::ios::binary);
    EXPECT_TRUE(in) << name;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(Programs, RoadOfOneProgram) {
    HeadlessOptions options;
    options.keys = Keys("enter,enter");
    const auto run = CompileAndRun("DimS x\n3.5 -> x\nx Dup * PrtX End\n", options);
    EXPECT_EQ(run.line2.substr(0, 5), "12.25");
    EXPECT_EQ(run.stopReason, StopReason::Stopped);
}

struct ExampleCase {
    const char* file;
    const char* keys;
    const char* line1;
    const char* line2;
    std::uint64_t instructionsPerTick = 10000;
    std::uint8_t port = 0;
    std::array<int, 4> adc = {};
};

class Examples : public ::testing::TestWithParam<ExampleCase> {};

TEST_P(Examples, ShowTheirDisplay) {
    const ExampleCase& c = GetParam();
    HeadlessOptions options;
    options.keys = Keys(c.keys);
    options.instructionsPerTick = c.instructionsPerTick;
    const auto run = CompileAndRun(ReadExample(c.file), options, c.port, c.adc);
    EXPECT_EQ(run.line1, c.line1);
    EXPECT_EQ(run.line2, c.line2);
    EXPECT_EQ(run.stopReason, StopReason::Stopped);
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
        ExampleCase{"port_adc.zrt",
                    "enter,enter",
                    "Port 129        ",
                    "ADC1 512        ",
                    10000,
                    0x81,
                    {512, 0, 0, 0}}),
    [](const auto& info) {
        std::string name = info.param.file;
        return name.substr(0, name.find('.'));
    });

TEST(Examples, KeypadCodesShowsShiftedCodes) {
    HeadlessOptions options;
    options.keys = Keys("enter,enter,@200:F,@300:5");
    options.maxInstructions = 2000;
    const auto run = CompileAndRun(ReadExample("keypad_codes.zrt"), options);
    EXPECT_EQ(run.line2, "Code 15         ");                // F then 5: hex digit F
    EXPECT_EQ(run.stopReason, StopReason::MaxInstructions);  // still polling the keypad
}

TEST(Examples, PortWriteLightsTheLowNibble) {
    HeadlessOptions options;
    options.keys = Keys("enter,enter");
    const auto run = CompileAndRun(ReadExample("port_adc.zrt"), options, 0x0F);
    EXPECT_EQ(std::vector<int>(run.pins.begin(), run.pins.begin() + 8),
              (std::vector<int>{1, 1, 1, 1, 0, 0, 0, 0}));
}

}  // namespace
}  // namespace zr::emulator::testing
