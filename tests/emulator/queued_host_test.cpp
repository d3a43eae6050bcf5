// The queued host: actions posted from outside reach the run loop.
#include "emulator/queued_host.h"

#include <string>

#include "device_fixture.h"

namespace zr::emulator::testing {
namespace {

using namespace machine;

// Posts End at the first checkpoint; if the run goes on regardless, ends it
// directly at the second so the test cannot hang.
class EndingHost : public QueuedHost {
  public:
    void Checkpoint(Emulator& emulator, std::uint64_t instructions) override {
        if (!posted) {
            posted = true;
            Post([](Emulator& e) { e.RequestEnd(); });
            emulator.SetCheckpoint(instructions + 100000);
        } else {
            endIgnored = true;
            emulator.RequestEnd();
        }
    }
    bool posted = false;
    bool endIgnored = false;
};

TEST(QueuedHost, EndReachesALoopThatOwnsTheKeypadAndNeverPrints) {
    EndingHost host;
    Emulator emulator(host);
    // MODE 4 (the keypad is the program's), then a jump to itself.
    const Code code = Code{} << PushByte(kEventKeysToProgram) << kMode << 0xF5 << Word(4);
    std::copy(code.bytes.begin(), code.bytes.end(), emulator.machine.programImage.begin() + 1);
    emulator.machine.eventFlags = kEventAutoStart;
    emulator.keyRegister = 15;  // the greeting's key
    emulator.SetCheckpoint(1000);

    emulator.RunLoop();

    EXPECT_TRUE(host.posted);
    EXPECT_FALSE(host.endIgnored);
    EXPECT_LT(emulator.instructionCount(), 1100u);
}

TEST(QueuedHost, PostedActionsRunInOrderOnPump) {
    QueuedHost host;
    Emulator emulator(host);
    host.Post([](Emulator& e) { e.PressKey(1); });
    host.Post([](Emulator& e) { e.PressKey(2); });
    EXPECT_TRUE(host.HasPending());
    host.Pump(emulator);
    EXPECT_FALSE(host.HasPending());
    EXPECT_EQ(emulator.keyRegister, 2);  // a second click replaces the first
}

}  // namespace
}  // namespace zr::emulator::testing
