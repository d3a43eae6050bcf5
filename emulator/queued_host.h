// A host for running the emulator on its own thread: other threads post
// actions (key clicks, commands, timer ticks, trace steps), and Pump runs them
// on the emulator's thread, so the core stays single-threaded. The window's
// host derives from it and adds its output notifications.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

#include "emulator/host.h"

namespace zr::emulator {

class QueuedHost : public Host {
  public:
    using Action = std::function<void(Emulator&)>;

    // Any thread.
    void Post(Action action);

    void Pump(Emulator& emulator) override;
    void WaitForEvent(Emulator& emulator, WaitReason reason) override;

  private:
    std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<Action> actions_;
};

}  // namespace zr::emulator
