// The emulator window's status line: where the run loop is (stopped,
// running, waiting for a key or for serial input, an error), the executed
// instruction count and the speed, all from the frames the worker publishes.
#pragma once

#include <QCoreApplication>
#include <QString>
#include <cstdint>
#include <deque>

#include "shell/device/emulator_frame.h"

namespace zr::shell {

class RunStatusLine {
    Q_DECLARE_TR_FUNCTIONS(RunStatusLine)

  public:
    // Counts older than this do not enter the speed.
    static constexpr std::int64_t kSpeedWindowMilliseconds = 1000;

    static QString StateText(const RunStatus& status);
    // A pause after the watched variable `name` changed, to `value`.
    static QString DataChangeText(const QString& name, const QString& value);
    static QString CountText(std::uint64_t instructions);
    static QString SpeedText(double instructionsPerSecond);

    // A frame's count at `milliseconds` (a steady clock): the speed follows.
    void Note(std::int64_t milliseconds, const RunStatus& status);
    // Instructions per second over the last second; 0 unless running.
    double speed() const { return speed_; }

  private:
    struct Sample {
        std::int64_t milliseconds;
        std::uint64_t instructions;
    };
    std::deque<Sample> samples_;
    double speed_ = 0;
};

}  // namespace zr::shell
