// Each step kind run on the device: what passes, and for what fails, the
// step's line with what it expected and what it found.
#include <gtest/gtest.h>

#include "scenario_fixture.h"

namespace zr::scenario::testing {
namespace {

constexpr const char* kSquare = "DimS x\nCls\n? \"Number?\"\n-> x\nx Dup * PrtX\n0 Wait\nEnd\n";
constexpr const char* kCounter =
    "DimI count\nTop: count Incr -> count\n! [1,1] count\ncount 255 And -> PORT\nGoTo Top\n";
constexpr const char* kEcho = "DimS v\nTop: INPUT -> v\nv 2 * PRINT\nGoTo Top\n";
constexpr const char* kStack = "1.5 3 4 0 Wait\nEnd\n";
constexpr const char* kFault = "DimS v\n1 0 /\nEnd\n";
constexpr const char* kInputs =
    "DimI p, a, c\nPORT -> p\nADC(1) -> a\nI2C(3) -> c\np 15 And -> PORT\n5 -> I2C(2)\n0 Wait\n"
    "End\n";

// The greeting, then start at address 1.
const std::string kStart = "  - press: [enter, enter]\n";

struct Case {
    const char* name;
    const char* program;
    std::string steps;
    int failLine;          // 0: the scenario passes
    const char* expected;  // a part of the failure's expected text
    const char* actual;    // a part of the failure's actual text
};

const Case kCases[] = {
    {"SquarePasses", kSquare,
     kStart + "  - press-text: '12.5'\n  - press: enter\n"
              "  - expect-display: ['Number?       aD', '156.25']\n"
              "  - expect-variable: {name: x, value: 12.5}\n"
              "  - expect-state: waiting-key\n",
     0, "", ""},
    {"DisplayMismatch", kSquare,
     kStart +
         "  - press-text: 3\n  - press: enter\n  - expect-display: ['Number?       aD', '10']\n",
     7, "\"10\"", "\"9\""},
    {"FirstLineOnly", kSquare, kStart + "  - expect-display: ['Number?       aD']\n", 0, "", ""},
    {"VariableWithinTolerance", kSquare,
     kStart + "  - press-text: 3\n  - press: enter\n"
              "  - expect-variable: {name: x, value: 3.05, tolerance: 0.1}\n",
     0, "", ""},
    {"VariableMismatch", kSquare,
     kStart + "  - press-text: 3\n  - press: enter\n  - expect-variable: {name: x, value: 4}\n", 7,
     "x = 4", "x = 3"},
    {"Stack", kStack, kStart + "  - expect-stack: [4, 3, 1.5]\n", 0, "", ""},
    {"StackMismatch", kStack, kStart + "  - expect-stack: [4, 3.5]\n", 5, "[4, 3.5]", "[4, 3]"},
    {"WaitTimesOutOnARunningProgram", kCounter,
     kStart + "  - wait-display: {text: never, timeout: 5000 instr}\n", 5, "\"never\"",
     "after 5000 instructions"},
    {"WaitFailsAtOnceWhenTheDeviceWaits", kSquare, kStart + "  - wait-display: '156'\n", 5,
     "\"156\"", "(the device waits for a key)"},
    {"WaitStopsAtTheBoundaryAfterThePrint", kCounter,
     kStart + "  - wait-display: {line: 1, regex: '^3000 '}\n"
              "  - expect-port-out: 183\n"  // 2999: the port is written after the print
              "  - expect-pin: {name: P0, value: 1}\n"
              "  - expect-pin: {name: P3, value: 0}\n"
              "  - expect-variable: {name: count, value: 3000}\n",
     0, "", ""},
    {"WaitOnTheWrongLine", kCounter,
     kStart + "  - wait-display: {line: 2, text: '3', timeout: 3000 instr}\n", 5, "\"3\" on line 2",
     "after 3000"},
    {"PinMismatch", kCounter,
     kStart + "  - wait-display: '3000'\n  - expect-pin: {name: P3, value: 1}\n", 6, "P3 = 1",
     "P3 = 0"},
    {"RunKeepsItRunning", kCounter,
     kStart + "  - run: 1000 instr\n  - expect-state: running\n  - run: 1s\n"
              "  - expect-state: waiting-key\n",
     8, "waiting-key", "running"},
    {"SerialRoundTrip", kEcho,
     kStart + "  - expect-state: waiting-serial\n  - write-serial: '21'\n  - expect-serial: '42'\n"
              "  - write-serial: '5'\n  - wait-serial: {regex: '^1'}\n",
     0, "", ""},
    {"SerialMismatch", kEcho, kStart + "  - write-serial: '21'\n  - expect-serial: '43'\n", 6,
     "\"43\"", "\"42\""},
    {"NoSerialLineWritten", kEcho, kStart + "  - expect-serial: '1'\n", 5, "\"1\"",
     "no line written"},
    {"ErrorAndItsLine", kFault, kStart + "  - expect-state: {error: 10, line: 2}\n", 0, "", ""},
    {"ErrorOnAnotherLine", kFault, kStart + "  - expect-state: {error: 10, line: 3}\n", 5,
     "error 10 at line 3", "error 10 at line 2"},
    {"Inputs", kInputs,
     "  - set-port: 0x35\n  - set-adc: {channel: 1, value: 512}\n  - set-i2c: {cell: 3, value: "
     "77}\n" +
         kStart +
         "  - expect-variable: {name: p, value: 53}\n  - expect-variable: {name: a, value: 512}\n"
         "  - expect-variable: {name: c, value: 77}\n  - expect-port-out: 5\n"
         "  - expect-i2c: {cell: 2, value: 5}\n",
     0, "", ""},
    {"SerialWaitFailsAtOnceWhileTheProgramWaitsForALine", kEcho,
     kStart + "  - wait-serial: {text: '1', timeout: 100 instr}\n", 5, "\"1\"",
     "(the device waits for a serial line)"},
    {"RunWhileWaitingReturnsAtOnce", kSquare,
     kStart +
         "  - run: 100s\n  - expect-state: waiting-key\n  - expect-display: ['Number?       aD']\n",
     0, "", ""},
    {"SnapshotIntoAMissingFolder", kSquare, kStart + "  - snapshot-save: no/such/folder/s.snap\n",
     5, "a snapshot written to", "cannot be written"},
    {"StackExpectationWithinItsRounding", kStack, kStart + "  - expect-stack: [4.0000001, 3]\n", 0,
     "", ""},
    {"I2cMismatch", kInputs, kStart + "  - expect-i2c: {cell: 2, value: 6}\n", 5, "6", "5"},
    {"StoppedAfterEnd", kSquare,
     kStart + "  - press-text: 2\n  - press: [enter, enter]\n  - expect-state: stopped\n"
              "  - wait-display: 'Adres'\n",
     0, "", ""},
    {"EndKeyEndsTheRun", kSquare, kStart + "  - press: end\n  - expect-state: stopped\n", 6,
     "still running", "the run ended"},
};

class Steps : public ::testing::TestWithParam<Case> {};

TEST_P(Steps, PassOrFailAtTheirLine) {
    const Case& c = GetParam();
    ScratchFolder folder;
    folder.Write("prog.txt", c.program);
    const auto loaded =
        LoadScenario(folder.Write("c.scn.yaml", ScenarioText(c.steps)), ShippedLibraries());
    ASSERT_TRUE(loaded.scenario) << loaded.error.Text();
    const ScenarioResult result = RunScenario(*loaded.scenario);
    if (c.failLine == 0) {
        EXPECT_TRUE(result.passed()) << result.failure->line << ": " << result.failure->expected
                                     << " / " << result.failure->actual;
        return;
    }
    ASSERT_FALSE(result.passed());
    EXPECT_EQ(result.failure->line, c.failLine);
    EXPECT_NE(result.failure->expected.find(c.expected), std::string::npos)
        << result.failure->expected;
    EXPECT_NE(result.failure->actual.find(c.actual), std::string::npos) << result.failure->actual;
}

INSTANTIATE_TEST_SUITE_P(Cases, Steps, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

ScenarioResult RunIn(const ScratchFolder& folder, const std::string& name,
                     const std::string& text) {
    const auto loaded = LoadScenario(folder.Write(name, text), ShippedLibraries());
    EXPECT_TRUE(loaded.scenario) << loaded.error.Text();
    return loaded.scenario ? RunScenario(*loaded.scenario) : ScenarioResult{};
}

TEST(SnapshotSteps, ALoadPutsTheSavedStateBack) {
    ScratchFolder folder;
    folder.Write("prog.txt", kCounter);
    const auto result =
        RunIn(folder, "a.scn.yaml",
              ScenarioText(kStart + "  - wait-display: '5000'\n  - snapshot-save: at.snap\n"
                                    "  - wait-display: '9000'\n  - snapshot-load: at.snap\n"
                                    "  - expect-display: ['5000']\n"
                                    "  - expect-variable: {name: count, value: 5000}\n"));
    EXPECT_TRUE(result.passed()) << result.failure->line << ": " << result.failure->actual;
}

TEST(SnapshotSteps, AScenarioCanStartFromAnotherOnesSnapshot) {
    ScratchFolder folder;
    folder.Write("prog.txt", kSquare);
    folder.Write("other.txt", "! [1,1,clr] \"Other\"\nEnd\n");
    // Saved at the address prompt, which a resumed device shows again.
    ASSERT_TRUE(RunIn(folder, "save.scn.yaml",
                      ScenarioText("  - press: enter\n  - snapshot-save: prompt.snap\n"))
                    .passed());

    EXPECT_TRUE(RunIn(folder, "load.scn.yaml",
                      ScenarioText("  - snapshot-load: prompt.snap\n  - press: enter\n"
                                   "  - wait-display: 'Number?'\n"))
                    .passed());

    const auto foreign =
        RunIn(folder, "foreign.scn.yaml",
              "program: other.txt\nsteps:\n  - snapshot-load: prompt.snap\n  - press: enter\n");
    ASSERT_FALSE(foreign.passed());
    EXPECT_EQ(foreign.failure->line, 3);
    EXPECT_NE(foreign.failure->actual.find("another program"), std::string::npos);

    // Loaded anyway, the snapshot's memory holds the square program.
    EXPECT_TRUE(RunIn(folder, "anyway.scn.yaml",
                      "program: other.txt\nsteps:\n"
                      "  - snapshot-load: {file: prompt.snap, any-program: true}\n"
                      "  - press: enter\n  - wait-display: 'Number?'\n")
                    .passed());
}

TEST(SnapshotSteps, ADamagedSnapshotFailsTheStep) {
    ScratchFolder folder;
    folder.Write("prog.txt", kSquare);
    folder.Write("bad.snap", "ZR7340SS garbage");
    const auto result =
        RunIn(folder, "c.scn.yaml", ScenarioText(kStart + "  - snapshot-load: bad.snap\n"));
    ASSERT_FALSE(result.passed());
    EXPECT_EQ(result.failure->line, 5);
    EXPECT_NE(result.failure->actual.find("snapshot"), std::string::npos) << result.failure->actual;
}

}  // namespace
}  // namespace zr::scenario::testing

namespace zr::scenario::testing {
namespace {

TEST(ImageScenario, RunsAnImageButKnowsNoNames) {
    ScratchFolder folder;
    // PushByte 7, PushByte 0, Wait, End: waits for a key with 7 on the stack.
    std::string image(1024, '\0');
    const char code[] = {0x71, 7, 0x71, 0, 0x6B, 0x66};
    image.replace(0, sizeof code, code, sizeof code);
    folder.Write("prog.bin", image);
    const auto loaded = LoadScenario(folder.Write("i.scn.yaml",
                                                  "program: prog.bin\nsteps:\n"
                                                  "  - press: [enter, enter]\n"
                                                  "  - run: 100 instr\n"
                                                  "  - expect-stack: [7]\n"),
                                     {});
    ASSERT_TRUE(loaded.scenario) << loaded.error.Text();
    EXPECT_EQ(loaded.scenario->statements.size(), 0);
    const auto result = RunScenario(*loaded.scenario);
    EXPECT_TRUE(result.passed()) << result.failure->expected << " / " << result.failure->actual;
}

TEST(ScenarioInputs, TopLevelPortAndAdcAreTheStartingInputs) {
    ScratchFolder folder;
    folder.Write("prog.txt", "DimI p, a\nPORT -> p\nADC(4) -> a\n0 Wait\nEnd\n");
    const auto loaded = LoadScenario(
        folder.Write("c.scn.yaml", ScenarioText("  - press: [enter, enter]\n"
                                                "  - expect-variable: {name: p, value: 200}\n"
                                                "  - expect-variable: {name: a, value: 1023}\n",
                                                "port: 200\nadc: [0, 0, 0, 1023]\n")),
        {});
    ASSERT_TRUE(loaded.scenario) << loaded.error.Text();
    const auto result = RunScenario(*loaded.scenario);
    EXPECT_TRUE(result.passed()) << result.failure->expected << " / " << result.failure->actual;
}

}  // namespace
}  // namespace zr::scenario::testing
