#include "scenario/scenario_host.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>

#include "emulator/emulator.h"
#include "emulator/snapshot.h"
#include "machine/cp1251.h"
#include "machine/file_read.h"

namespace zr::scenario {
namespace {

using emulator::Emulator;

std::string TrimmedUtf8(std::string_view cp1251) {
    while (!cp1251.empty() && cp1251.back() == ' ') cp1251.remove_suffix(1);
    return machine::Cp1251ToUtf8(cp1251);
}

std::string Quoted(std::string_view cp1251) {
    return "\"" + TrimmedUtf8(cp1251) + "\"";
}

std::string DisplayText(const Emulator& e) {
    return "[" + Quoted(e.display().Line(1)) + ", " + Quoted(e.display().Line(2)) + "]";
}

std::string NumberText(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", value);
    return text;
}

bool Near(double actual, double expected, double tolerance) {
    return std::fabs(actual - expected) <= tolerance;
}

std::string ExpectedStateText(const Step& step) {
    switch (step.state) {
        case DeviceStateName::Running:
            return "running";
        case DeviceStateName::WaitingKey:
            return "waiting-key";
        case DeviceStateName::WaitingSerial:
            return "waiting-serial";
        case DeviceStateName::Stopped:
            return "stopped";
        case DeviceStateName::Error:
            break;
    }
    return "error " + std::to_string(*step.errorCode) +
           (step.errorLine ? " at line " + std::to_string(*step.errorLine) : "");
}

constexpr std::uintmax_t kMaxSnapshotBytes = 1 << 20;

}  // namespace

bool TextMatch::Matches(std::string_view cp1251Line) const {
    if (regex) {
        const std::string utf8 = machine::Cp1251ToUtf8(cp1251Line);
        return std::regex_search(utf8, *regex);
    }
    return cp1251Line.find(text) != std::string_view::npos;
}

std::string TextMatch::Describe() const {
    std::string what = regex ? "/" + pattern + "/" : "\"" + machine::Cp1251ToUtf8(text) + "\"";
    return line ? what + " on line " + std::to_string(line) : what;
}

ScenarioHost::ScenarioHost(const Scenario& scenario, ScenarioResult& result)
    : scenario_(scenario), result_(result) {}

void ScenarioHost::Run(Emulator& e) {
    device_ = &e;
    e.LoadProgram(scenario_.image);
    e.ClearSinglesAndIntegers();
    e.io.portInputs = scenario_.port;
    e.io.adc = scenario_.adc;
    startCount_ = e.instructionCount();
    // Snapshots loaded before anything ran replace the opening: the device
    // goes on from the state they hold.
    bool resumed = false;
    while (!finished_ && next_ < scenario_.steps.size() &&
           scenario_.steps[next_].kind == StepKind::SnapshotLoad) {
        resumed = LoadSnapshot(e, scenario_.steps[next_++]);
    }
    if (!finished_) {
        nextTick_ = e.instructionCount() + scenario_.instructionsPerTick;
        if (resumed) {
            wakeUp_ = true;  // the steps go on at the first boundary
            e.SetCheckpoint(e.instructionCount());
            e.ResumeLoop();
        } else {
            Schedule(e);
            e.RunLoop();
        }
    }
    if (!finished_ && next_ < scenario_.steps.size()) {
        const Step& step = scenario_.steps[next_];
        result_.failure = StepFailure{step.line, step.keyword, "the device still running",
                                      "the run ended (an end key)"};
    }
    result_.display = {std::string(e.display().Line(1)), std::string(e.display().Line(2))};
    result_.instructions = e.instructionCount() - startCount_;
}

void ScenarioHost::Schedule(Emulator& e) {
    if (finished_) return;
    std::uint64_t next = nextTick_;
    if (goal_ != Goal::None) next = std::min(next, deadline_);
    e.SetCheckpoint(next);
}

void ScenarioHost::Checkpoint(Emulator& e, std::uint64_t instructions) {
    while (instructions >= nextTick_) {
        e.TimerTick();
        nextTick_ += scenario_.instructionsPerTick;
    }
    wakeUp_ = false;
    Advance(e, Place::Between);
    Schedule(e);
}

void ScenarioHost::DisplayChanged(Emulator& e, const emulator::Display& /*display*/) {
    if (goal_ == Goal::Display && !wakeUp_) {
        wakeUp_ = true;
        e.SetCheckpoint(e.instructionCount());
    }
}

void ScenarioHost::SerialWriteLine(std::string_view line) {
    serialOut_.emplace_back(line);
    if (goal_ == Goal::Serial && !wakeUp_ && device_) {
        wakeUp_ = true;
        device_->SetCheckpoint(device_->instructionCount());
    }
}

void ScenarioHost::RunErrorReported(Emulator& /*e*/, int code, int address) {
    errorCode_ = code;
    errorAddress_ = address;
}

void ScenarioHost::WaitForEvent(Emulator& e, emulator::WaitReason reason) {
    if (reason == emulator::WaitReason::Delay) {
        e.TimerTick();
        return;
    }
    if (reason == emulator::WaitReason::TraceStep) {
        e.GrantStep();
        return;
    }
    Advance(e, Place::WaitingKey);
}

std::optional<std::string> ScenarioHost::SerialReadLine(Emulator& e) {
    while (serialIn_.empty() && !finished_) Advance(e, Place::WaitingSerial);
    if (serialIn_.empty()) return std::nullopt;
    std::string line = std::move(serialIn_.front());
    serialIn_.pop_front();
    ++serialLinesRead_;
    return line;
}

void ScenarioHost::Advance(Emulator& e, Place place) {
    if (finished_) return;
    if (goal_ != Goal::None && !GoalReached(e, place)) {
        const bool blocked = place != Place::Between;
        if (!blocked && e.instructionCount() < deadline_) return;  // keep running
        if (goal_ == Goal::Display || goal_ == Goal::Serial) {
            const Step& step = *goalStep_;
            std::string actual = goal_ == Goal::Display ? DisplayText(e) : "no such line";
            actual +=
                blocked
                    ? " (the device waits for " +
                          std::string(place == Place::WaitingKey ? "a key" : "a serial line") + ")"
                    : " after " + std::to_string(step.budget) + " instructions";
            Fail(e, step, step.match.Describe(), actual);
            return;
        }
    }
    goal_ = Goal::None;
    while (!finished_) {
        if (next_ == scenario_.steps.size()) {
            Finish(e);
            return;
        }
        if (!Carry(e, scenario_.steps[next_++], place)) return;
    }
}

bool ScenarioHost::GoalReached(Emulator& e, Place place) {
    switch (goal_) {
        case Goal::None:
            return true;
        case Goal::Settle:
            return place != Place::Between;
        case Goal::Run:
            return place != Place::Between || e.instructionCount() >= deadline_;
        case Goal::Display: {
            const TextMatch& match = goalStep_->match;
            return (match.line != 2 && match.Matches(e.display().Line(1))) ||
                   (match.line != 1 && match.Matches(e.display().Line(2)));
        }
        case Goal::Serial:
            return SerialMatchSeen();
    }
    return true;
}

// A line written since the last one matched; the lines up to it count as seen.
bool ScenarioHost::SerialMatchSeen() {
    for (std::size_t i = serialSeen_; i < serialOut_.size(); ++i) {
        if (goalStep_->match.Matches(serialOut_[i])) {
            serialSeen_ = i + 1;
            return true;
        }
    }
    return false;
}

void ScenarioHost::RunFor(Emulator& e, Goal goal, std::uint64_t budget) {
    goal_ = goal;
    goalStep_ = &scenario_.steps[next_ - 1];
    deadline_ = e.instructionCount() + budget;
    Schedule(e);
}

bool ScenarioHost::Carry(Emulator& e, const Step& step, Place place) {
    auto& io = e.io;
    switch (step.kind) {
        case StepKind::Press:
            emulator::DeliverToken(e, step.key);
            RunFor(e, Goal::Settle, step.budget);
            return false;
        case StepKind::WaitDisplay:
            RunFor(e, Goal::Display, step.budget);
            if (!GoalReached(e, place)) return false;
            goal_ = Goal::None;
            return true;
        case StepKind::WaitSerial:
            RunFor(e, Goal::Serial, step.budget);
            if (!GoalReached(e, place)) return false;
            goal_ = Goal::None;
            return true;
        case StepKind::ExpectDisplay: {
            bool same = true;
            for (int i = 0; i < step.lineCount; ++i) {
                std::string_view line = e.display().Line(i + 1);
                while (!line.empty() && line.back() == ' ') line.remove_suffix(1);
                same = same && line == step.lines[i];
            }
            if (same) return true;
            std::string expected = "[" + Quoted(step.lines[0]);
            if (step.lineCount == 2) expected += ", " + Quoted(step.lines[1]);
            Fail(e, step, expected + "]", DisplayText(e));
            return false;
        }
        case StepKind::ExpectSerial:
            if (serialSeen_ < serialOut_.size() && serialOut_[serialSeen_] == step.text) {
                ++serialSeen_;
                return true;
            }
            Fail(e, step, Quoted(step.text),
                 serialSeen_ < serialOut_.size() ? Quoted(serialOut_[serialSeen_])
                                                 : "no line written");
            return false;
        case StepKind::WriteSerial:
            serialIn_.push_back(step.text);
            if (place != Place::WaitingSerial) return true;
            RunFor(e, Goal::Settle, step.budget);
            return false;
        case StepKind::SetAdc:
            io.adc[step.index - 1] = step.value;
            return true;
        case StepKind::SetPort:
            io.portInputs = static_cast<std::uint8_t>(step.value);
            return true;
        case StepKind::SetI2c:
            io.i2c[step.index] = static_cast<std::uint8_t>(step.value);
            return true;
        case StepKind::ExpectPin: {
            const int actual = io.pins[step.index] > 0 ? 1 : 0;
            if (actual == step.value) return true;
            Fail(e, step, step.text + " = " + std::to_string(step.value),
                 step.text + " = " + std::to_string(actual));
            return false;
        }
        case StepKind::ExpectPortOut: {
            int actual = 0;
            for (int bit = 0; bit < 8; ++bit) actual |= (io.pins[bit] > 0 ? 1 : 0) << bit;
            if (actual == step.value) return true;
            Fail(e, step, std::to_string(step.value), std::to_string(actual));
            return false;
        }
        case StepKind::ExpectI2c:
            if (io.i2c[step.index] == step.value) return true;
            Fail(e, step, std::to_string(step.value), std::to_string(io.i2c[step.index]));
            return false;
        case StepKind::ExpectVariable: {
            const double actual = e.ReadVariable(step.operand);
            if (Near(actual, step.number, step.tolerance)) return true;
            Fail(e, step, step.text + " = " + NumberText(step.number),
                 step.text + " = " + NumberText(actual));
            return false;
        }
        case StepKind::ExpectStack: {
            const auto& m = e.machine;
            std::string expected, actual;
            bool same = true;
            for (std::size_t i = 0; i < step.numbers.size(); ++i) {
                const double value = m.valueStack[emulator::MachineState::RingSlot(
                    m.stackPointer - static_cast<int>(i))];
                const double want = step.numbers[i];
                same = same && Near(value, want, 1e-6 * std::max(1.0, std::fabs(want)));
                expected += (i ? ", " : "") + NumberText(want);
                actual += (i ? ", " : "") + NumberText(value);
            }
            if (same) return true;
            Fail(e, step, "[" + expected + "]", "[" + actual + "]");
            return false;
        }
        case StepKind::Run:
            if (place != Place::Between) return true;  // waiting: nothing runs
            RunFor(e, Goal::Run, step.budget);
            return false;
        case StepKind::ExpectState:
            if (StateMatches(e, step, place)) return true;
            Fail(e, step, ExpectedStateText(step), StateText(e, place));
            return false;
        case StepKind::SnapshotSave:
            return SaveSnapshot(e, step);
        case StepKind::SnapshotLoad:
            return LoadSnapshot(e, step);
    }
    return true;
}

std::string ScenarioHost::StateText(const Emulator& e, Place place) const {
    const int runState = e.machine.runState;
    if (runState > emulator::kRunning)
        return "error " + std::to_string(runState) + " at line " +
               std::to_string(LineOfAddress(errorAddress_));
    if (runState == emulator::kStopped) return "stopped";
    if (place == Place::WaitingSerial) return "waiting-serial";
    if (place == Place::WaitingKey) return "waiting-key";
    return "running";
}

bool ScenarioHost::StateMatches(const Emulator& e, const Step& step, Place place) const {
    const int runState = e.machine.runState;
    switch (step.state) {
        case DeviceStateName::Error:
            return runState == *step.errorCode &&
                   (!step.errorLine || LineOfAddress(errorAddress_) == *step.errorLine);
        case DeviceStateName::Stopped:
            return runState == emulator::kStopped;
        case DeviceStateName::Running:
            return runState == emulator::kRunning && place == Place::Between;
        case DeviceStateName::WaitingKey:
            return runState == emulator::kRunning && place == Place::WaitingKey;
        case DeviceStateName::WaitingSerial:
            return runState == emulator::kRunning && place == Place::WaitingSerial;
    }
    return false;
}

// The program counter of an error stands past the opcode that failed: the
// statement is the one the byte before it belongs to. A line of the main
// text; 0 inside a library routine (its lines are not the program's).
int ScenarioHost::LineOfAddress(int address) const {
    const int index = scenario_.statements.IndexContaining(address - 1);
    if (index < 0 || scenario_.statements[index].sourceIndex != 0) return 0;
    return scenario_.statements[index].line;
}

bool ScenarioHost::SaveSnapshot(Emulator& e, const Step& step) {
    const std::string bytes = emulator::WriteSnapshot({emulator::CaptureDeviceState(e),
                                                       emulator::ProgramIdOf(scenario_.image),
                                                       serialLinesRead_, serialOut_.size()});
    std::ofstream out(step.file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (out) return true;
    Fail(e, step, "a snapshot written to " + step.file.string(), "the file cannot be written");
    return false;
}

bool ScenarioHost::LoadSnapshot(Emulator& e, const Step& step) {
    const auto read = machine::ReadRegularFile(step.file, kMaxSnapshotBytes);
    if (!read.ok()) {
        Fail(e, step, "a snapshot in " + step.file.string(), "cannot read it: " + read.Reason());
        return false;
    }
    std::string error;
    const auto snapshot = emulator::ReadSnapshot(read.bytes, error);
    if (!snapshot) {
        Fail(e, step, "a snapshot in " + step.file.string(), error);
        return false;
    }
    if (snapshot->programId != emulator::ProgramIdOf(scenario_.image) && !step.anyProgram) {
        Fail(e, step, "a snapshot of this scenario's program",
             "a snapshot of another program (any-program: true loads it anyway)");
        return false;
    }
    emulator::RestoreDeviceState(e, snapshot->device);
    return true;
}

void ScenarioHost::Fail(Emulator& e, const Step& step, std::string expected, std::string actual) {
    result_.failure = StepFailure{step.line, step.keyword, std::move(expected), std::move(actual)};
    Finish(e);
}

void ScenarioHost::Finish(Emulator& e) {
    finished_ = true;
    goal_ = Goal::None;
    e.RequestEnd();
}

ScenarioResult RunScenario(const Scenario& scenario) {
    ScenarioResult result;
    ScenarioHost host(scenario, result);
    Emulator emulator(host);
    host.Run(emulator);
    return result;
}

}  // namespace zr::scenario
