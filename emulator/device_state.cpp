#include "emulator/device_state.h"

#include "emulator/emulator.h"

namespace zr::emulator {

DeviceState CaptureDeviceState(const Emulator& emulator) {
    return emulator.state();
}

void RestoreDeviceState(Emulator& emulator, const DeviceState& state) {
    emulator.RestoreState(state);
}

}  // namespace zr::emulator
