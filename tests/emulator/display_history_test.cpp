// The screens a run has shown: recorded by the headless host at every change
// of the display, with the instruction count, capped, taken and cleared.
#include "emulator/display_history.h"

#include "compiled_program.h"
#include "device_fixture.h"

namespace zr::emulator::testing {
namespace {

using namespace machine;

TEST(DisplayHistory, KeepsChangesOnlyAndTheLastScreensUpToTheCap) {
    DisplayHistory history;
    history.Record(1, "a", "b");
    history.Record(2, "a", "b");  // no change: not a screen
    history.Record(3, "x", "b");
    history.Record(3, "a", "c");  // the same instruction goes on writing: one screen
    history.Settle();
    ASSERT_EQ(history.screens().size(), 2u);
    EXPECT_EQ(history.screens()[1], (DisplayScreen{3, "a", "c"}));

    history.Record(3, "a", "d");  // after a wait the screen seen before stays
    ASSERT_EQ(history.screens().size(), 3u);
    history.Record(3, "a", "c");
    const auto taken = history.Take();
    EXPECT_EQ(taken.size(), 3u);
    history.Record(4, "a", "c");  // still the screen last taken
    EXPECT_TRUE(history.screens().empty());

    for (std::uint64_t i = 0; i < DisplayHistory::kMaxScreens + 5; ++i)
        history.Record(10 + i, std::to_string(i), "");
    EXPECT_EQ(history.screens().size(), DisplayHistory::kMaxScreens);
    EXPECT_EQ(history.dropped(), 5u);
    EXPECT_EQ(history.screens().front().line1, "5");
    EXPECT_EQ(history.screens().back().line1, std::to_string(DisplayHistory::kMaxScreens + 4));

    history.Clear();
    history.Record(99, "a", "c");  // after a clear even the same screen counts
    EXPECT_EQ(history.screens().size(), 1u);
    EXPECT_EQ(history.dropped(), 0u);
}

TEST(DisplayHistory, HeadlessRunKeepsAScreenTheEndOfTheProgramOverwrites) {
    // "Done" is shown, then End brings back the address prompt (the run script
    // gives Enter at the greeting, at the prompt and for the Wait, and a tick
    // that keeps the run going into the prompt).
    Device d("enter,enter,enter,tick");
    LoadCompiled(d.emulator, "1 Drop\n! [1,1,clr] \"Done\"\n-1 Wait\nEnd\n");
    d.Run();
    const auto& screens = d.host.displayHistory().screens();
    ASSERT_FALSE(screens.empty());
    EXPECT_EQ(screens.front().instructions, 0u);
    EXPECT_TRUE(std::any_of(screens.begin(), screens.end(), [](const DisplayScreen& s) {
        return s.line1 == kGreetingLine1 && s.instructions == 0;
    }));
    const auto done = std::find_if(screens.begin(), screens.end(), [](const DisplayScreen& s) {
        return s.line1.starts_with("Done");
    });
    ASSERT_NE(done, screens.end());
    EXPECT_GT(done->instructions, 0u);
    EXPECT_NE(d.Line(1).substr(0, 4), "Done");  // the prompt is on the display now
    for (std::size_t i = 1; i < screens.size(); ++i) {
        EXPECT_GE(screens[i].instructions, screens[i - 1].instructions);
        EXPECT_FALSE(screens[i].line1 == screens[i - 1].line1 &&
                     screens[i].line2 == screens[i - 1].line2);
    }
}

}  // namespace
}  // namespace zr::emulator::testing
