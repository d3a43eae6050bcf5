#include "shell/device/emulator_worker.h"

#include <set>

#include "emulator/run_errors.h"
#include "emulator/snapshot.h"

namespace zr::shell {

// Index of the Enter key: given to the greeting so a reload lands on the prompt.
constexpr int kEnterKeyIndex = 15;

EmulatorWorker::EmulatorWorker(QObject* parent) : QObject(parent) {
    frameTimer_.setSingleShot(true);
    frameTimer_.setInterval(kFrameMilliseconds);
    connect(&frameTimer_, &QTimer::timeout, this, &EmulatorWorker::DeliverFrame);
    // Called on the worker: the first change since the last frame asks the
    // GUI thread for one; later changes ride along with it.
    // A request to stop (a step, a pause) belongs to the run it was made in.
    host_.setStoppedCallback([this] {
        if (debugger_) debugger_->ForgetStepRequests();
    });
    host_.setChangedCallback([this] {
        QMetaObject::invokeMethod(
            this, [this] { ScheduleFrame(); }, Qt::QueuedConnection);
    });
}

EmulatorWorker::~EmulatorWorker() {
    End();
    Join();
}

void EmulatorWorker::Start(const EmulatorProgram& program) {
    End();
    Join();
    // Actions left over from the previous run (a last click, a tick) are spent
    // now, before the state they might touch is set up afresh.
    if (host_.HasPending()) host_.Pump(emulator_);
    reload_.reset();
    restart_ = false;
    host_.ResetFrame();
    Load(program);
    emulator_.PrepareFreshRun();
    quit_ = false;
    thread_ = std::thread([this] { ThreadMain(); });
}

void EmulatorWorker::Reload(EmulatorProgram program) {
    Post([this, program = std::move(program)](emulator::Emulator& e) {
        reload_ = program;
        e.RequestEnd();
    });
}

void EmulatorWorker::StartProgram() {
    Post([this](emulator::Emulator& e) {
        restart_ = true;
        e.RequestEnd();
    });
}

void EmulatorWorker::End() {
    if (!thread_.joinable()) return;
    quit_ = true;
    Post([](emulator::Emulator& e) { e.RequestEnd(); });
}

void EmulatorWorker::Join() {
    if (thread_.joinable()) thread_.join();
}

void EmulatorWorker::Post(emulator::QueuedHost::Action action) {
    host_.Post(std::move(action));
}

void EmulatorWorker::PostSerialLine(std::string line) {
    Post([this, line = std::move(line)](emulator::Emulator&) { host_.QueueSerialInput(line); });
}

// While a run loop runs the change goes through the queue; otherwise it is
// made here, after a run loop that was told to end has finished.
void EmulatorWorker::SetTraceOn(bool on) {
    const auto apply = [this, on] {
        traceOn_ = on;
        if (debugger_) debugger_->SetTraceOn(on);
    };
    if (running()) {
        Post([apply](emulator::Emulator&) { apply(); });
        return;
    }
    Join();
    apply();
}

void EmulatorWorker::SetDecimalSeparator(char separator) {
    if (running()) {
        Post([separator](emulator::Emulator& e) { e.SetDecimalSeparator(separator); });
        return;
    }
    Join();
    emulator_.SetDecimalSeparator(separator);
}

void EmulatorWorker::Debug(DebugCommand command) {
    Post([this, command](emulator::Emulator& e) {
        if (!debugger_) return;
        // Stepping keeps the history from here on, so step back works after
        // any pause; running on drops it again unless a breakpoint wants it.
        if (command == DebugCommand::Continue)
            KeepHistoryWhileDebugging();
        else if (command != DebugCommand::StepBack)
            debugger_->KeepHistory(kStepBackStops);
        switch (command) {
            case DebugCommand::Continue:
                debugger_->Continue();
                break;
            case DebugCommand::StepInto:
                debugger_->StepInto();
                break;
            case DebugCommand::StepOver:
                debugger_->StepOver();
                break;
            case DebugCommand::StepOut:
                debugger_->StepOut();
                break;
            case DebugCommand::Pause:
                PauseNow(e);
                return;
            case DebugCommand::StepBack:
                // Inside an input wait the instruction is half done: going
                // back from there would resume it in the restored state.
                if (!host_.paused() || host_.pausedInWait() || !debugger_->StepBack()) return;
                break;
        }
        host_.Resume();
    });
}

// A pause while the program runs stops before its next statement; while it
// waits for a key or a serial line it stops there and then, on the statement
// that waits. Asked for at the address prompt it holds the run about to start
// (the Enter may be on its way); the next wait with no program running drops
// it, so it never reaches a later run.
void EmulatorWorker::PauseNow(emulator::Emulator& e) {
    if (host_.paused()) return;
    if (e.machine.runState != emulator::kRunning || !host_.inInputWait(e)) {
        debugger_->StepInto();
        return;
    }
    const machine::ProgramStatement* waiting =
        debugger_->StatementContaining(e.machine.ProgramCounter() - 1);
    host_.Pause(e, waiting ? waiting->address : e.machine.ProgramCounter(), -1,
                BreakpointHitsNow());
}

// Read at a pause only: the run pays nothing for the counts shown.
std::vector<BreakpointHits> EmulatorWorker::BreakpointHitsNow() const {
    std::vector<BreakpointHits> hits;
    for (const int line : breakpointLines_) {
        const int index = statements_->BreakpointIndex(line);
        if (index >= 0) hits.push_back({line, debugger_->HitsAt((*statements_)[index].address)});
    }
    return hits;
}

void EmulatorWorker::RunTo(int address) {
    Post([this, address](emulator::Emulator&) {
        if (!debugger_) return;
        debugger_->RunTo(address);
        host_.Resume();
    });
}

void EmulatorWorker::SetBreakpoints(std::vector<LineBreakpoint> breakpoints) {
    Post([this, breakpoints = std::move(breakpoints)](emulator::Emulator&) {
        if (!debugger_) return;
        std::set<int> gone = debugger_->breakpoints();
        breakpointLines_.clear();
        for (const LineBreakpoint& breakpoint : breakpoints) {
            breakpointLines_.push_back(breakpoint.line);
            const int index = statements_->BreakpointIndex(breakpoint.line);
            if (index < 0) continue;
            const int address = (*statements_)[index].address;
            gone.erase(address);
            debugger_->SetBreakpoint(address, breakpoint.settings);
        }
        for (const int address : gone) debugger_->RemoveBreakpoint(address);
        KeepHistoryWhileDebugging();
    });
}

void EmulatorWorker::SetDataBreakpoints(std::vector<int> operands) {
    Post([this, operands = std::move(operands)](emulator::Emulator&) {
        if (!debugger_) return;
        debugger_->ClearDataBreakpoints();
        for (const int operand : operands)
            debugger_->AddDataBreakpoint(static_cast<std::uint8_t>(operand));
        KeepHistoryWhileDebugging();
    });
}

// History makes the loop stop at every statement: only while breakpoints are
// set or the user steps.
void EmulatorWorker::KeepHistoryWhileDebugging() {
    const bool debugging =
        !debugger_->breakpoints().empty() || !debugger_->dataBreakpoints().empty();
    debugger_->KeepHistory(debugging ? kStepBackStops : 0);
}

void EmulatorWorker::ThreadMain() {
    for (;;) {
        emulator_.RunLoop();
        if (quit_.load() || (!reload_ && !restart_)) break;
        if (reload_) {
            Load(*reload_);
            reload_.reset();
            host_.BeginRun();
            emulator_.PrepareNextRun(kEnterKeyIndex);
        } else {
            emulator_.PrepareNextRun();
            host_.StartProgramOnce(emulator_);
            if (debugger_) {
                debugger_->ForgetStepRequests();
                debugger_->ResetHitCounts();
            }
        }
        restart_ = false;
    }
    reload_.reset();
    restart_ = false;
}

// A new compiled program: its count starts at 0 (its screen history starts
// afresh with the run, see BeginRun and ResetFrame).
void EmulatorWorker::Load(const EmulatorProgram& program) {
    emulator_.ResetInstructionCount();
    emulator_.LoadProgram(program.image);
    programId_ = emulator::ProgramIdOf(emulator_.machine.programImage);
    debugger_.reset();
    debugger_ = std::make_unique<emulator::Debugger>(emulator_, program.statements);
    statements_ = program.statements;
    breakpointLines_.clear();
    for (const LineBreakpoint& breakpoint : program.breakpoints) {
        debugger_->SetBreakpointAtLine(breakpoint.line, breakpoint.settings);
        breakpointLines_.push_back(breakpoint.line);
    }
    for (const int operand : program.dataBreakpoints)
        debugger_->AddDataBreakpoint(static_cast<std::uint8_t>(operand));
    KeepHistoryWhileDebugging();
    debugger_->SetTraceOn(traceOn_);
    debugger_->onPause = [this](emulator::Emulator& e, const emulator::PauseInfo& pause) {
        host_.Pause(e, pause.address, pause.changedOperand, BreakpointHitsNow());
    };
    if (program.clearVariables) emulator_.ClearSinglesAndIntegers();
}

void EmulatorWorker::ScheduleFrame() {
    if (!frameTimer_.isActive()) frameTimer_.start();
}

void EmulatorWorker::DeliverFrame() {
    emit frameReady(host_.TakeFrame());
}

}  // namespace zr::shell
