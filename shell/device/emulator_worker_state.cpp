// The worker's way to the whole device state: capture and restore run on
// the emulator's thread, at the run loop's next pump point.
#include "emulator/io_model.h"
#include "shell/device/emulator_worker.h"

namespace zr::shell {

void EmulatorWorker::CaptureState(std::function<void(const emulator::DeviceState&)> done) {
    if (!running()) {
        done(emulator::CaptureDeviceState(emulator_));
        return;
    }
    Post(
        [done = std::move(done)](emulator::Emulator& e) { done(emulator::CaptureDeviceState(e)); });
}

void EmulatorWorker::RestoreState(const emulator::DeviceState& state) {
    // A restored state changes the display and pins without the calls that
    // publish them, so they are published here.
    const auto restore = [this, state](emulator::Emulator& e) {
        emulator::RestoreDeviceState(e, state);
        host_.DisplayChanged(e, e.display());
        for (int pin = 0; pin < emulator::kPinCount; ++pin) host_.PinChanged(pin, e.io.pins[pin]);
    };
    if (running())
        Post(restore);
    else
        restore(emulator_);
}

}  // namespace zr::shell
