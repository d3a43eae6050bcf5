#include "emulator/device_state.h"

#include "emulator/emulator.h"

namespace zr::emulator {

DeviceState CaptureDeviceState(const Emulator& e) {
    return {e.machine,           e.io,           e.display_,    e.keyRegister,
            e.shiftLevel,        e.tickCount,    e.delayTicks,  e.timerCount,
            e.instructionCount_, e.randomState_, e.randomLast_, e.serialReplay_.position()};
}

void RestoreDeviceState(Emulator& e, const DeviceState& state) {
    e.machine = state.machine;
    e.io = state.io;
    e.display_ = state.display;
    e.keyRegister = state.keyRegister;
    e.shiftLevel = state.shiftLevel;
    e.tickCount = state.tickCount;
    e.delayTicks = state.delayTicks;
    e.timerCount = state.timerCount;
    e.instructionCount_ = state.instructionCount;
    e.randomState_ = state.randomState;
    e.randomLast_ = state.randomLast;
    e.serialReplay_.Rewind(state.serialLinesRead);  // read the same lines again
    e.RequestAttention();
}

}  // namespace zr::emulator
