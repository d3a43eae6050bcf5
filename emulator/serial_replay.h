// The lines a program read from the serial channel while the debugger keeps
// step-back history. Running forward again after a step back must read the
// same lines as the first time, not the host's next ones, so reads are
// served from this log until the run passes the point it was stepped back
// from. Positions count lines read since recording started.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>

namespace zr::emulator {

class SerialReplay {
  public:
    // Recording on: every line the host gives is kept. Off: reads go to the
    // host and the log is empty (the position is then 0 again).
    void SetRecording(bool on) {
        recording_ = on;
        if (!on) {
            lines_.clear();
            first_ = 0;
        }
    }

    // Lines before `position` can no longer be read again.
    void ForgetBefore(std::uint64_t position) {
        while (first_ < position && !lines_.empty()) {
            lines_.pop_front();
            ++first_;
        }
    }

    // The next line at `position` (the device state's count of lines read,
    // which a step back puts back): from the log while the position is
    // behind its end, else from `readFromHost` (kept when recording). Nothing
    // read is no line and is not kept: the host may have one later.
    template <typename ReadFromHost>
    std::optional<std::string> Read(std::uint64_t& position, ReadFromHost&& readFromHost) {
        if (position >= first_ && position - first_ < lines_.size())
            return lines_[static_cast<std::size_t>(position++ - first_)];
        std::optional<std::string> line = readFromHost();
        if (line && recording_) {
            lines_.push_back(*line);
            ++position;
        }
        return line;
    }

  private:
    bool recording_ = false;
    std::deque<std::string> lines_;
    std::uint64_t first_ = 0;  // the position of lines_.front()
};

}  // namespace zr::emulator
