#include "emulator/headless_host.h"

#include <algorithm>
#include <limits>

#include "emulator/emulator.h"

namespace zr::emulator {

std::string_view StopReasonName(StopReason reason) {
    switch (reason) {
        case StopReason::None:
            return "none";
        case StopReason::Stopped:
            return "stopped";
        case StopReason::WaitingForInput:
            return "waiting-for-input";
        case StopReason::MaxInstructions:
            return "max-instructions";
        case StopReason::SerialInputEnded:
            return "serial-input-ended";
        case StopReason::Breakpoint:
            return "breakpoint";
        case StopReason::EndToken:
            return "end";
    }
    return "none";
}

HeadlessHost::HeadlessHost(HeadlessOptions options) : options_(std::move(options)) {
    for (const auto& token : options_.keys)
        (token.at ? timedTokens_ : waitTokens_).push_back(token);
    std::stable_sort(timedTokens_.begin(), timedTokens_.end(),
                     [](const KeyToken& a, const KeyToken& b) { return *a.at < *b.at; });
    if (options_.instructionsPerTick == 0) options_.instructionsPerTick = 1;
}

void HeadlessHost::Start(Emulator& emulator) {
    history_.Clear();
    const std::uint64_t now = emulator.instructionCount();
    nextTick_ = now + options_.instructionsPerTick;
    constexpr auto kNever = std::numeric_limits<std::uint64_t>::max();
    endAt_ = options_.maxInstructions > kNever - now ? kNever : now + options_.maxInstructions;
    ScheduleCheckpoint(emulator);
}

void HeadlessHost::Run(Emulator& emulator) {
    Start(emulator);
    emulator.RunLoop();
}

void HeadlessHost::Resume(Emulator& emulator) {
    Start(emulator);
    emulator.ResumeLoop();
}

void HeadlessHost::DisplayChanged(Emulator& emulator, const Display& display) {
    history_.Record(emulator.instructionCount(), display);
}

void HeadlessHost::ScheduleCheckpoint(Emulator& emulator) {
    std::uint64_t next = std::min(nextTick_, endAt_);
    if (!timedTokens_.empty()) next = std::min(next, *timedTokens_.front().at);
    emulator.SetCheckpoint(next);
}

void HeadlessHost::End(Emulator& emulator, StopReason reason) {
    if (stopReason_ == StopReason::None) stopReason_ = reason;
    emulator.RequestEnd();
}

void HeadlessHost::Checkpoint(Emulator& emulator, std::uint64_t instructions) {
    while (instructions >= nextTick_) {
        emulator.TimerTick();
        nextTick_ += options_.instructionsPerTick;
    }
    while (!timedTokens_.empty() && *timedTokens_.front().at <= instructions) {
        const KeyToken token = timedTokens_.front();
        timedTokens_.pop_front();
        if (token.action == ScriptAction::End) End(emulator, StopReason::EndToken);
        DeliverToken(emulator, token);
    }
    if (instructions >= endAt_) End(emulator, StopReason::MaxInstructions);
    ScheduleCheckpoint(emulator);
}

// Blocked: delays take their ticks at once; a key wait takes the next
// scripted token, and with none left (timed tokens cannot come due while
// nothing executes) the run ends.
void HeadlessHost::WaitForEvent(Emulator& emulator, WaitReason reason) {
    history_.Settle();
    if (reason == WaitReason::Delay) {
        emulator.TimerTick();
        return;
    }
    if (reason == WaitReason::TraceStep) {
        emulator.GrantStep();
        return;
    }
    if (waitTokens_.empty()) {
        End(emulator, StopReason::WaitingForInput);
        return;
    }
    const KeyToken token = waitTokens_.front();
    waitTokens_.pop_front();
    if (token.action == ScriptAction::End) End(emulator, StopReason::EndToken);
    DeliverToken(emulator, token);
}

void HeadlessHost::ProgramStopped(Emulator& emulator) {
    if (waitTokens_.empty() && timedTokens_.empty()) End(emulator, StopReason::Stopped);
}

void HeadlessHost::RunErrorReported(Emulator& /*emulator*/, int code, int address) {
    errors_.push_back({code, address});
}

void HeadlessHost::SerialWriteLine(std::string_view line) {
    ++serialLines_;
    if (options_.serialSink) options_.serialSink(line);
    if (options_.serialLinesKept == 0) return;
    if (serialOut_.size() == options_.serialLinesKept) serialOut_.pop_front();
    serialOut_.emplace_back(line);
}

std::optional<std::string> HeadlessHost::SerialReadLine(Emulator& emulator) {
    auto line = options_.serialIn.NextLine();
    if (!line)
        End(emulator, StopReason::SerialInputEnded);
    else
        ++serialLinesRead_;
    return line;
}

}  // namespace zr::emulator
