// The host a scenario runs on. The emulator's firmware loop runs once from
// its opening to the scenario's end; the steps are carried out from inside
// the host's callbacks, at the points where the device lets the outside in:
// when it waits for a key or a serial line, and at checkpoints between two
// instructions (virtual time, a wait's deadline, a display or serial change
// a wait is looking for). Input steps deliver there; expectations look at
// the state there; waits and runs let the device go on until their goal or
// deadline. Time is virtual, as in headless runs: one tick every N
// instructions, and delays take their ticks at once.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "emulator/host.h"
#include "scenario/scenario_runner.h"

namespace zr::scenario {

class ScenarioHost : public emulator::Host {
  public:
    ScenarioHost(const Scenario& scenario, ScenarioResult& result);

    void Run(emulator::Emulator& emulator);

    void Pump(emulator::Emulator& /*emulator*/) override {}
    void WaitForEvent(emulator::Emulator& emulator, emulator::WaitReason reason) override;
    void Checkpoint(emulator::Emulator& emulator, std::uint64_t instructions) override;
    void DisplayChanged(emulator::Emulator& emulator, const emulator::Display& display) override;
    void RunErrorReported(emulator::Emulator& emulator, int code, int address) override;
    void SerialWriteLine(std::string_view line) override;
    std::optional<std::string> SerialReadLine(emulator::Emulator& emulator) override;

  private:
    // Where the device stands when the steps go on.
    enum class Place : std::uint8_t { Between, WaitingKey, WaitingSerial };
    // What the device is running for.
    enum class Goal : std::uint8_t { None, Settle, Display, Serial, Run };

    void Advance(emulator::Emulator& e, Place place);
    bool GoalReached(emulator::Emulator& e, Place place);
    // Carries out one step; false when the device must run for it first.
    bool Carry(emulator::Emulator& e, const Step& step, Place place);
    void RunFor(emulator::Emulator& e, Goal goal, std::uint64_t budget);
    void Fail(emulator::Emulator& e, const Step& step, std::string expected, std::string actual);
    void Finish(emulator::Emulator& e);
    void Schedule(emulator::Emulator& e);
    bool SerialMatchSeen();
    std::string StateText(const emulator::Emulator& e, Place place) const;
    bool StateMatches(const emulator::Emulator& e, const Step& step, Place place) const;
    int LineOfAddress(int address) const;
    bool SaveSnapshot(emulator::Emulator& e, const Step& step);
    bool LoadSnapshot(emulator::Emulator& e, const Step& step);

    const Scenario& scenario_;
    ScenarioResult& result_;
    std::size_t next_ = 0;  // the next step
    bool finished_ = false;
    Goal goal_ = Goal::None;
    const Step* goalStep_ = nullptr;
    std::uint64_t deadline_ = 0;
    std::uint64_t nextTick_ = 0;
    std::uint64_t startCount_ = 0;
    bool wakeUp_ = false;                   // a change a wait looks for: check at the next boundary
    emulator::Emulator* device_ = nullptr;  // only to schedule that check
    std::vector<std::string> serialOut_;
    std::size_t serialSeen_ = 0;  // lines before this one are matched already
    std::deque<std::string> serialIn_;
    std::uint64_t serialLinesRead_ = 0;
    int errorCode_ = 0;
    int errorAddress_ = 0;
};

}  // namespace zr::scenario
