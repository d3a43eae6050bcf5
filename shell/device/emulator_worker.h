// The emulated device on its own thread. The window posts actions (keys,
// commands, ticks, trace steps) that the run loop takes at its pump points,
// and receives the published state as frames, at most one per display frame.
// The Emulator lives as long as this object, so variables, HexMode and the
// event state carry over from one opening of the window to the next.
#pragma once

#include <QObject>
#include <QTimer>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "emulator/debugger.h"
#include "emulator/device_state.h"
#include "emulator/emulator.h"
#include "shell/debugger/breakpoint_rules.h"
#include "shell/device/emulator_frame.h"
#include "shell/device/gui_host.h"

namespace zr::shell {

struct EmulatorProgram {
    machine::ProgramImage image{};
    // For the trace and the debugger (never null).
    std::shared_ptr<const machine::StatementTable> statements =
        std::make_shared<const machine::StatementTable>();
    bool clearVariables = false;  // the run command: Single and Integer areas start at 0
    std::vector<LineBreakpoint> breakpoints;
    std::vector<int> dataBreakpoints;  // VariableOperands that pause when they change
};

// The debugger's commands from the window; each ends a pause except Pause,
// which makes a running program pause at its next statement.
enum class DebugCommand { Continue, StepInto, StepOver, StepOut, Pause, StepBack };

// Statement stops kept for step back while breakpoints are set.
constexpr std::size_t kStepBackStops = 10000;

class EmulatorWorker : public QObject {
    Q_OBJECT

  public:
    static constexpr int kFrameMilliseconds = 16;

    explicit EmulatorWorker(QObject* parent = nullptr);
    ~EmulatorWorker() override;

    // A fresh run loop (greeting, then the address prompt) on `program`; the
    // key register starts empty and the port inputs, sliders and pins at 0.
    void Start(const EmulatorProgram& program);
    // While running: the new program goes in through the queue and the run
    // loop comes back at its address prompt.
    void Reload(EmulatorProgram program);
    // Starts the program at address 1 from any state: the run loop starts
    // afresh and its greeting and address prompt are answered at once.
    // Variables are kept, as for any start from the emulator.
    void StartProgram();
    // Asks the run loop to end and returns at once; Join waits for it.
    void End();
    void Join();
    bool running() const { return thread_.joinable() && !quit_.load(); }

    // Runs `action` on the emulator's thread at its next pump point.
    void Post(emulator::QueuedHost::Action action);

    // A line typed into the serial console, for INPUT to read.
    void PostSerialLine(std::string line);
    void SetTraceOn(bool on);
    void SetWatchOperand(int operand) { host_.setWatchOperand(operand); }
    void SetDecimalSeparator(char separator);

    void Debug(DebugCommand command);
    // Continues to the statement at `address` (or a breakpoint before it).
    void RunTo(int address);
    // The breakpoints from now on, by 1-based source line (those that stay
    // keep their hit counts).
    void SetBreakpoints(std::vector<LineBreakpoint> breakpoints);
    // The data breakpoints from now on, by VariableOperand.
    void SetDataBreakpoints(std::vector<int> operands);

    // The device state at the run loop's next pump point (at once while no
    // run loop runs), handed to `done` on the thread that takes it.
    void CaptureState(std::function<void(const emulator::DeviceState&)> done);
    // Puts a state back where the run loop stands and shows its display and pins.
    void RestoreState(const emulator::DeviceState& state);
    // The program last loaded, as emulator::ProgramIdOf names it. Any thread.
    std::uint32_t programId() const { return programId_.load(); }

    // Only while no run loop runs (set-up, tests after Join).
    emulator::Emulator& emulator() { return emulator_; }

  signals:
    void frameReady(const zr::shell::EmulatorFrame& frame);

  private:
    void ThreadMain();
    void Load(const EmulatorProgram& program);
    void ScheduleFrame();
    void DeliverFrame();
    void KeepHistoryWhileDebugging();
    void PauseNow(emulator::Emulator& e);
    std::vector<BreakpointHits> BreakpointHitsNow() const;

    GuiHost host_;
    emulator::Emulator emulator_{host_};
    std::unique_ptr<emulator::Debugger> debugger_;  // worker thread while a run loop runs
    std::shared_ptr<const machine::StatementTable>
        statements_;                    // of the loaded program; worker thread
    std::vector<int> breakpointLines_;  // as last set; worker thread
    std::thread thread_;
    std::atomic<bool> quit_{false};
    std::atomic<std::uint32_t> programId_{0};
    bool traceOn_ = false;                   // worker thread while a run loop runs
    std::optional<EmulatorProgram> reload_;  // worker thread only
    bool restart_ = false;                   // worker thread only: StartProgram
    QTimer frameTimer_;
};

}  // namespace zr::shell
