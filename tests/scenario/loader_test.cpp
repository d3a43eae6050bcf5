// The loader refuses a scenario with any mistake, whole, naming the line and
// what it expected there; a good file becomes steps with their lines.
#include <gtest/gtest.h>

#include "scenario_fixture.h"

namespace zr::scenario::testing {
namespace {

constexpr const char* kProgram =
    "DimI count\nDimS total\n! [1,1,clr] \"Hi\"\n0 Wait\nEnd\nL1: Ret\n";

struct Refused {
    const char* name;
    std::string text;
    int line;
    const char* message;  // a part of the refusal
};

const Refused kRefused[] = {
    {"UnknownStep", ScenarioText("  - press: enter\n  - prees: 3\n"), 5, "unknown step 'prees'"},
    {"UnknownKey", ScenarioText("  - press: seven\n"), 4, "expected a key"},
    {"TimedKey", ScenarioText("  - press: ['@5:enter']\n"), 4, "expected a key"},
    {"KeyListItem", ScenarioText("  - press:\n    - enter\n    - sevn\n"), 6, "expected a key"},
    {"TypedLetter", ScenarioText("  - press-text: 12a\n"), 4, "expected a number to type"},
    {"UnknownVariable", ScenarioText("  - expect-variable: {name: nothere, value: 1}\n"), 4,
     "not 'nothere'"},
    {"LabelIsNoVariable", ScenarioText("  - expect-variable: {name: L1, value: 1}\n"), 4,
     "not 'L1'"},
    {"UnknownField", ScenarioText("  - set-adc: {channel: 1, value: 3, speed: 2}\n"), 4,
     "unknown field 'speed' of set-adc (expected channel, value)"},
    {"MissingField", ScenarioText("  - set-i2c: {cell: 3}\n"), 4, "missing field 'value'"},
    {"ChannelRange", ScenarioText("  - set-adc: {channel: 5, value: 3}\n"), 4,
     "expected channel, a whole number 1..4"},
    {"PortRange", ScenarioText("  - set-port: 256\n"), 4, "a whole number 0..255"},
    {"BadDuration", ScenarioText("  - run: 5 parsecs\n"), 4, "expected a duration"},
    {"ZeroDuration", ScenarioText("  - run: 0 instr\n"), 4, "expected a duration"},
    {"DisplayNotAList", ScenarioText("  - expect-display: Hi\n"), 4,
     "expected the display's lines"},
    {"LongDisplayLine", ScenarioText("  - expect-display: ['12345678901234567']\n"), 4,
     "at most 16 characters"},
    {"BadPin", ScenarioText("  - expect-pin: {name: P9, value: 1}\n"), 4, "expected a pin"},
    {"BadRegex", ScenarioText("  - wait-display: {regex: '(', timeout: 1s}\n"), 4,
     "bad regular expression"},
    {"TextAndRegex", ScenarioText("  - wait-display: {text: a, regex: b}\n"), 4,
     "expected one of 'text' and 'regex'"},
    {"UnknownState", ScenarioText("  - expect-state: sleeping\n"), 4,
     "expected running, waiting-key"},
    {"StackTooLong",
     ScenarioText("  - expect-stack: [1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17]\n"), 4,
     "expected 1..16 stack values"},
    {"StepWithTwoKeys", ScenarioText("  - press: enter\n    run: 5 instr\n"), 4, "expected a step"},
    {"StepNotAMap", ScenarioText("  - press\n"), 4, "expected a step"},
    {"UnknownTopField", ScenarioText("  - press: enter\n", "speed: 3\n"), 3,
     "unknown field 'speed' of a scenario"},
    {"BadTimeout", ScenarioText("  - press: enter\n", "timeout: soon\n"), 3, "expected a duration"},
    {"MissingProgram", "name: x\nsteps:\n  - press: enter\n", 1, "missing field 'program'"},
    {"MissingProgramFile", "program: absent.txt\nsteps: []\n", 1, "cannot read"},
    {"NotYaml", "program: prog.txt\nsteps: [\n", 3, "not YAML"},
    {"StepsNotAList", ScenarioText("  press: enter\n"), 4, "expected a list of steps"},
};

class LoaderRefusal : public ::testing::TestWithParam<Refused> {};

TEST_P(LoaderRefusal, NamesTheLineAndWhatWasExpected) {
    ScratchFolder folder;
    folder.Write("prog.txt", kProgram);
    const auto file = folder.Write("case.scn.yaml", GetParam().text);
    const LoadResult result = LoadScenario(file, ShippedLibraries());
    ASSERT_FALSE(result.scenario);
    EXPECT_EQ(result.error.line, GetParam().line) << result.error.Text();
    EXPECT_NE(result.error.message.find(GetParam().message), std::string::npos)
        << result.error.message;
    EXPECT_EQ(result.error.Text().rfind(file.string() + ":" + std::to_string(GetParam().line), 0),
              0u);
}

INSTANTIATE_TEST_SUITE_P(Cases, LoaderRefusal, ::testing::ValuesIn(kRefused),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Loader, AProgramThatDoesNotCompileIsRefusedAtItsLine) {
    ScratchFolder folder;
    folder.Write("prog.txt", "DimI a\nGoTo Nowhere\n");
    const auto result =
        LoadScenario(folder.Write("c.scn.yaml", ScenarioText("  - press: enter\n")), {});
    ASSERT_FALSE(result.scenario);
    EXPECT_EQ(result.error.line, 2);
    EXPECT_EQ(result.error.message.rfind("prog.txt:", 0), 0u) << result.error.message;
}

TEST(Loader, VariablesNeedASource) {
    ScratchFolder folder;
    folder.Write("prog.bin", std::string(1024, '\0'));
    const auto result = LoadScenario(
        folder.Write("c.scn.yaml",
                     "program: prog.bin\nsteps:\n  - expect-variable: {name: a, value: 1}\n"),
        {});
    ASSERT_FALSE(result.scenario);
    EXPECT_NE(result.error.message.find("an image has no names"), std::string::npos);
}

TEST(Loader, StepsKeepTheirLinesAndKeyListsBecomeOnePressEach) {
    ScratchFolder folder;
    folder.Write("prog.txt", kProgram);
    const auto result = LoadScenario(
        folder.Write("c.scn.yaml",
                     ScenarioText("  - press: [enter, 3]\n"
                                  "  - press-text: '-1.5'\n"
                                  "  - wait-display: {line: 2, text: Hi, timeout: 2s}\n"
                                  "  - expect-variable: {name: COUNT, value: 2}\n"
                                  "  - run: 500ms\n",
                                  "instructions-per-tick: 1000\ntimeout: 300 instr\n")),
        ShippedLibraries());
    ASSERT_TRUE(result.scenario) << result.error.Text();
    const auto& steps = result.scenario->steps;
    ASSERT_EQ(steps.size(), 2u + 4u + 3u);
    EXPECT_EQ(steps[0].line, 6);
    EXPECT_EQ(steps[1].key.keyIndex, 3);
    EXPECT_EQ(steps[1].budget, 1000u);  // a key settles for 100 ms at most
    EXPECT_EQ(steps[6].budget, 20'000u);
    EXPECT_EQ(steps[2].line, 7);
    EXPECT_EQ(steps[2].key.keyIndex, 11);  // minus
    EXPECT_EQ(steps[4].key.keyIndex, 10);  // the point types the comma key
    EXPECT_EQ(steps[6].match.line, 2);
    EXPECT_EQ(steps[6].budget, 20'000u);   // 2 s at 1000 instructions per tick
    EXPECT_EQ(steps[7].operand, 128 + 8);  // names are found ignoring case
    EXPECT_EQ(steps[8].budget, 5'000u);
}

TEST(Loader, FindsScenarioFilesInFoldersSorted) {
    ScratchFolder folder;
    std::filesystem::create_directories(folder.path() / "sub");
    folder.Write("b.scn.yaml", "");
    folder.Write("sub/a.scn.yaml", "");
    folder.Write("notes.yaml", "");
    std::vector<std::filesystem::path> missing;
    const auto files = FindScenarioFiles({folder.path(), folder.path() / "gone"}, missing);
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0].filename(), "b.scn.yaml");
    EXPECT_EQ(files[1].filename(), "a.scn.yaml");
    ASSERT_EQ(missing.size(), 1u);
}

}  // namespace
}  // namespace zr::scenario::testing
