// What the emulator's worker publishes for the windows: the latest display,
// pins, trace stack list and I2C buffer, plus the trace stops and serial lines
// produced since the last frame.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "emulator/device_state.h"
#include "emulator/display_history.h"
#include "emulator/io_model.h"
#include "emulator/machine.h"
#include "shell/debugger/breakpoint_rules.h"

namespace zr::shell {

struct TraceStopView {
    int statementIndex = 0;    // into the statement map the emulator was given
    std::string line;          // "12: PRINT  ( 2)" (Windows-1251)
    bool watched = false;      // a variable is watched: watchedValue holds its text
    std::string watchedValue;  // in the display's decimal form
};

// Where the run loop is, for the status line.
struct RunStatus {
    int runState = 0;            // RunState: 0 stopped, 1 running, 3 and above an error code
    int programCounter = 0;      // the error's address while an error is reported
    bool waitingForKey = false;  // blocked in a key wait with no instruction since
    bool waitingForSerialInput = false;
    std::uint64_t instructions = 0;  // executed since the emulator was made
    bool waitingForStep = false;     // a trace stop waits for the step button
    bool paused = false;             // the debugger holds the program before a statement
    int changedWatch = -1;           // paused after a watched variable changed: its VariableOperand
    friend bool operator==(const RunStatus&, const RunStatus&) = default;
};

// The device at a pause (the emulator's own state, copied once), for the
// Variables and Breakpoints panes and the status line.
struct PausedState {
    emulator::DeviceState device;
    char decimalSeparator = '.';
    std::vector<BreakpointHits> breakpointHits;  // each breakpoint's line, reached so far this run
};

struct EmulatorFrame {
    std::array<std::string, 2> lines{std::string(16, ' '), std::string(16, ' ')};
    std::array<int, emulator::kPinCount> pins{};
    std::vector<std::string> stackLines;  // top slot first
    std::array<std::uint8_t, emulator::kI2CSize + 1> i2c{};
    bool waitingForSerialInput = false;

    std::vector<TraceStopView> stops;
    std::vector<std::string> serialOut;
    int droppedSerialLines = 0;  // lines a flooding program wrote beyond what a frame keeps

    RunStatus status;
    // Screens shown since the last frame (the last DisplayHistory::kMaxScreens
    // of them); when historyRestarted, a new run began and earlier ones go.
    std::deque<emulator::DisplayScreen> screens;
    bool historyRestarted = false;
    // While paused: the address of the statement about to run; -1 otherwise.
    int pausedAddress = -1;
    // Counts the pauses: two at the same address may fall between two frames.
    std::uint64_t pauseCount = 0;
    std::shared_ptr<const PausedState> pausedState;  // of the latest pause
    // Counts the starts of the loaded program ("Запустить программу"): each
    // starts the breakpoints' hit counts afresh.
    int programStarts = 0;
};

}  // namespace zr::shell
