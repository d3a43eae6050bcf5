#include "emulator/queued_host.h"

namespace zr::emulator {

void QueuedHost::Post(Action action) {
    {
        std::lock_guard lock(mutex_);
        actions_.push_back(std::move(action));
        SetPending(true);
    }
    posted_.notify_one();
}

void QueuedHost::Pump(Emulator& emulator) {
    std::deque<Action> batch;
    {
        std::lock_guard lock(mutex_);
        batch.swap(actions_);
        SetPending(false);
    }
    // Run outside the lock: an action may post further actions.
    for (auto& action : batch) action(emulator);
}

void QueuedHost::WaitForEvent(Emulator&, WaitReason) {
    std::unique_lock lock(mutex_);
    posted_.wait(lock, [this] { return !actions_.empty(); });
}

}  // namespace zr::emulator
