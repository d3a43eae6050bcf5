// The keypad as the program sees it, the 100 ms timer, delays and the
// window's commands.
#include "emulator/emulator.h"

namespace zr::emulator {

std::uint8_t Emulator::InKey() {
    PumpHost();
    const std::uint8_t key = keyRegister;
    keyRegister = kNoKey;
    return key;
}

std::uint8_t Emulator::ReadKey() {
    const KeyDecode decoded = DecodeKey(InKey(), shiftLevel);
    if (decoded.shiftShown) ShowStatus();
    return decoded.code;
}

std::uint8_t Emulator::WaitKey() {
    for (;;) {
        const std::uint8_t code = ReadKey();
        if (code != kNoCode) return code;
        if (endRequested) return kCodeEnter;
        host_.WaitForEvent(*this, WaitReason::Key);
    }
}

void Emulator::DelaySeconds(int seconds) {
    if (seconds <= 0) return;
    delayTicks = 10 * seconds;
    PumpHost();
    while (delayTicks > 0 && !endRequested) {
        host_.WaitForEvent(*this, WaitReason::Delay);
        PumpHost();
    }
}

// Every ninth tick (900 ms) is a timer event tick.
void Emulator::TimerTick() {
    ++tickCount;
    if (delayTicks > 0) --delayTicks;
    if (tickCount == 9) {
        TimerEventTick();
        tickCount = 0;
        RequestAttention();
    }
}

// With period P the timer event comes every P + 1 timer event ticks while a
// program runs; TimerCount is not reset by the Timer instruction.
void Emulator::TimerEventTick() {
    if (machine.runState == kStopped || machine.timerHandler == 0) return;
    ++timerCount;
    if (timerCount > machine.timerPeriod) {
        machine.eventFlags |= kEventTimerPending;
        timerCount = 0;
    }
}

// The window's commands and keys come between instructions: each raises
// the run loop's attention.
void Emulator::PressKey(int index) {
    keyRegister = (index >= 0 && index < kNoKey) ? static_cast<std::uint8_t>(index) : kNoKey;
    RequestAttention();
}

// The restart of Run from 1 and Adr=1 waits for the instruction boundary, so
// an instruction in progress finishes reading its own inline data.
void Emulator::CommandRunFrom1() {
    pendingRestart_ = true;
    machine.runState = kRunning;
    keyRegister = kRunCommandKey;
    RequestAttention();
}

void Emulator::CommandRun() {
    machine.runState = kRunning;
    keyRegister = kRunCommandKey;
    RequestAttention();
}

void Emulator::CommandStop() {
    machine.runState = kStopped;
    RequestAttention();
}

void Emulator::CommandAddress1() {
    pendingRestart_ = true;
    keyRegister = kRunCommandKey;
    RequestAttention();
}

void Emulator::ApplyPendingRestart() {
    pendingRestart_ = false;
    machine.returnPointer = 1;
    machine.SetProgramCounter(1);
}

void Emulator::ClearProgramMemory() {
    for (int address = 1; address <= machine::kProgramSize; ++address) WriteProgram(address, 0);
}

}  // namespace zr::emulator
