// A recorded session becomes a scenario file that the loader reads back
// step for step, whatever the screens held.
#include <gtest/gtest.h>

#include "scenario/scenario_recording.h"
#include "scenario_fixture.h"

namespace zr::scenario::testing {
namespace {

TEST(Recording, ReadsBackStepForStep) {
    ScenarioRecording recording;
    recording.Screen("ignored", "before any key");
    recording.Port(53);
    recording.Key(3);
    recording.Key(15);
    recording.Screen("Adres\\Enter?  aD", "say \"hi\"   ");
    recording.Adc(2, 700);
    recording.SerialLine("tab\there");
    recording.Key(10);
    recording.Screen("Сумма", "");

    ScratchFolder folder;
    folder.Write("prog.txt", "End\n");
    const auto loaded = LoadScenarioText(recording.Yaml("my \"run\"", "prog.txt"),
                                         folder.path() / "r.scn.yaml", {});
    ASSERT_TRUE(loaded.scenario) << loaded.error.Text();
    const Scenario& s = *loaded.scenario;
    EXPECT_EQ(s.name, "my \"run\"");
    std::vector<StepKind> kinds;
    for (const auto& step : s.steps) kinds.push_back(step.kind);
    EXPECT_EQ(kinds, (std::vector<StepKind>{
                         StepKind::Press, StepKind::Press, StepKind::SetPort, StepKind::Press,
                         StepKind::Press, StepKind::ExpectDisplay, StepKind::SetAdc,
                         StepKind::WriteSerial, StepKind::Press, StepKind::ExpectDisplay}));
    EXPECT_EQ(s.steps[2].value, 53);
    EXPECT_EQ(s.steps[3].key.keyIndex, 3);
    EXPECT_EQ(s.steps[5].lines[0], "Adres\\Enter?  aD");
    EXPECT_EQ(s.steps[5].lines[1], "say \"hi\"");
    EXPECT_EQ(s.steps[6].index, 2);
    EXPECT_EQ(s.steps[7].text, "tab\there");
    EXPECT_EQ(s.steps[8].key.keyIndex, 10);
    EXPECT_EQ(s.steps[9].lines[0], "\xD1\xF3\xEC\xEC\xE0");  // Windows-1251
    EXPECT_EQ(s.steps[9].lineCount, 2);
}

}  // namespace
}  // namespace zr::scenario::testing
