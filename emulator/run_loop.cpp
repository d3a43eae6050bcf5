// The device's firmware loop: greeting, start-address prompt, the running
// passes (stop key, segments, fetch and execute, events) and error reports.
#include <string>

#include "emulator/conversions.h"
#include "emulator/emulator.h"

namespace zr::emulator {

Emulator::Emulator(Host& host) : host_(host) {}

void Emulator::LoadProgram(const machine::ProgramImage& image) {
    std::copy(image.begin() + 1, image.end(), machine.programImage.begin() + 1);
}

void Emulator::ClearSinglesAndIntegers() {
    machine.singles.fill(0);
    machine.integers.fill(0);
}

void Emulator::RunLoop() {
    MachineState& m = machine;
    m.returnPointer = 1;
    m.SetProgramCounter(1);
    m.stackPointer = 1;
    m.valueStack[1] = 0;
    m.runState = kStopped;
    pendingRestart_ = false;
    ClearDisplay();
    LocateCursor(1, 1);
    PrintText(kGreetingLine1);
    LocateCursor(2, 1);
    PrintText(kGreetingLine2);
    WaitKey();

    while (!endRequested) {
        if (pendingRestart_) ApplyPendingRestart();
        SetPin(kPinWE, 1);
        SetPin(kPinCE, 1);
        if (m.runState == kRunning) {
            RunningPass();
        } else if (m.runState == kStopped) {
            int address = 1;
            if (!(m.eventFlags & kEventAutoStart)) {
                const float entered = PromptNumber(kAddressPrompt, kNoCode);
                if (endRequested) return;
                if (entered < 0 || entered > machine::kProgramSize) continue;  // ask again
                address = entered == 0 ? 1 : static_cast<int>(std::nearbyint(entered));
            }
            // Commands given at the prompt act at once; the address entered wins.
            if (pendingRestart_) ApplyPendingRestart();
            ClearDisplay();
            StartAt(address);
        } else {
            ReportError();
        }
    }
}

void Emulator::StartAt(int address) {
    machine.returnPointer = 1;
    machine.SetProgramCounter(address);
    machine.stackPointer = 1;
    machine.runState = kRunning;
}

// "Error 37 in 412" over line 1, until a key is pressed. With the silent
// errors flag the run just stops.
void Emulator::ReportError() {
    MachineState& m = machine;
    const int code = m.runState;
    host_.RunErrorReported(*this, code, m.ProgramCounter());
    if (m.eventFlags & kEventSilentErrors) {
        m.runState = kStopped;
        host_.ProgramStopped(*this);
        return;
    }
    LocateCursor(1, 1);
    PrintText("Error " + std::to_string(code) + " in " + std::to_string(m.ProgramCounter()));
    WaitKey();
    if (endRequested) return;  // the code stays in RunState for whoever ended the run
    m.runState = kStopped;
}

// Passes of the loop while the program runs; returns when the run state
// changes or the end is requested. One pass per instruction: the checks that
// cost anything run only when their flag is set.
void Emulator::RunningPass() {
    MachineState& m = machine;
    try {
        for (;;) {
            if (endRequested) return;
            if (pendingRestart_) ApplyPendingRestart();
            // The bus-control pins rest high between instructions.
            SetPin(kPinWE, 1);
            SetPin(kPinCE, 1);
            if (m.ProgramCounter() >= machine::kProgramSize) {
                m.runState = kStopped;
                LeftRunning();
                return;
            }
            // A key taken here is consumed; a program that wants the keypad sets bit 2.
            if (!(m.eventFlags & kEventKeysToProgram)) {
                if (PollKey() == kCodeLeft) {
                    m.runState = kStopped;
                    LeftRunning();
                    return;
                }
            } else {
                // The keypad is the program's, but the window's commands (End,
                // Stop, ticks) must still get in to a loop that never prints.
                PumpHost();
            }
            if (m.segmentEnd == m.ProgramCounter()) {
                m.segmentEnd = 0;
                m.PopReturn();
            }
            ExecuteInstruction(m.FetchByte());
            if (++instructionCount_ >= checkpointAt_) host_.Checkpoint(*this, instructionCount_);
            if ((m.eventFlags & (kEventTimerPending | kEventProgramPending)) &&
                !(m.eventFlags & kEventsHeld))
                DispatchEvents();
            if (m.runState != kRunning) {
                if (m.runState == kStopped) LeftRunning();
                return;
            }
            RunQuietly();
            if (m.runState != kRunning) return;  // a fault: End and Stop never run there
        }
    } catch (const RunFault& fault) {
        m.runState = fault.code;
    }
}

// With both pending, the program event routine runs first and returns into
// the timer routine, which returns into the program.
void Emulator::DispatchEvents() {
    MachineState& m = machine;
    if (m.eventFlags & kEventTimerPending) {
        m.eventFlags &= ~kEventTimerPending;
        m.PushReturn(m.timerHandler);
    }
    if (m.eventFlags & kEventProgramPending) {
        m.eventFlags &= ~kEventProgramPending;
        m.PushReturn(m.eventHandler);
    }
}

void Emulator::LeftRunning() {
    host_.ProgramStopped(*this);
}

}  // namespace zr::emulator
