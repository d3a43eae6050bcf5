// The emulated ZR-7340: machine state, display, keypad, events, timer, port
// and analogue models, the interpreter and the firmware's run loop. State
// lives here; each instance is an independent device. Single-threaded: the
// host delivers outside events from inside Pump on the emulator's thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "emulator/conversions.h"
#include "emulator/device_state.h"
#include "emulator/display.h"
#include "emulator/host.h"
#include "emulator/io_model.h"
#include "emulator/keypad.h"
#include "emulator/machine.h"
#include "emulator/predecoded.h"
#include "emulator/serial_replay.h"
#include "machine/opcodes.h"

namespace zr::emulator {

class Debugger;

inline constexpr std::string_view kGreetingLine1 = "ZR-7340 vers.B01";
inline constexpr std::string_view kGreetingLine2 = "Kelto vers.03";
inline constexpr std::string_view kAddressPrompt = "Adres\\Enter?";

// The device's state is the emulator's own storage (DeviceState): capturing
// it for step back or a snapshot is one copy and putting it back is one
// assignment, so no field can be left out of either. The parts the window,
// the hosts and the tests read and set are public; the rest is reached
// through functions.
class Emulator : private DeviceState {
  public:
    // The host must outlive the emulator: it is connected to the emulator's
    // attention flag until the emulator is destroyed.
    explicit Emulator(Host& host);
    ~Emulator();
    Emulator(const Emulator&) = delete;
    Emulator& operator=(const Emulator&) = delete;

    // ---- Shared state (the machine, the window's controls, keypad, time) ----
    using DeviceState::delayTicks;
    using DeviceState::io;
    using DeviceState::keyRegister;
    using DeviceState::machine;
    using DeviceState::shiftLevel;
    using DeviceState::tickCount;
    using DeviceState::timerCount;
    bool endRequested = false;
    bool stepGranted = false;  // the trace's step (Debugger::SetTraceOn)

    const Display& display() const { return DeviceState::display; }

    // The whole device state, as one value.
    const DeviceState& state() const { return *this; }
    // Puts a state back and raises the attention flag, so a running loop
    // looks at it before its next instruction. Serial reads go on from the
    // state's position (lines read after it are read again while the replay
    // keeps them).
    void RestoreState(const DeviceState& state) {
        static_cast<DeviceState&>(*this) = state;
        RequestAttention();
    }

    // ---- Setting up a run ----
    // Program cells 1..1024 (cell 0 is kept).
    void LoadProgram(const machine::ProgramImage& image);
    // The one way to change program cells (0..1024): whatever the run loop
    // decoded from a cell is dropped with it.
    void WriteProgram(int address, std::uint8_t value);
    void WriteProgram(int address, std::span<const std::uint8_t> bytes);
    // What the run command does after a compile: the Single and Integer areas
    // start at 0; the Byte area keeps its values.
    void ClearSinglesAndIntegers();
    // Ready for the next RunLoop after one that ended: the end request is
    // withdrawn and the key register holds `key` (a key already given, or none).
    void PrepareNextRun(std::uint8_t key = kNoKey) {
        endRequested = false;
        keyRegister = key;
    }
    // A new run as from a freshly opened window: PrepareNextRun with no key,
    // and the port inputs, sliders and pins at 0.
    void PrepareFreshRun() {
        PrepareNextRun();
        io.portInputs = 0;
        io.adc.fill(0);
        io.pins.fill(0);
    }
    void SetDecimalSeparator(char separator) { decimalSeparator_ = separator; }
    char decimalSeparator() const { return decimalSeparator_; }

    // ---- The firmware loop: greeting, address prompt, fetch and execute,
    // error reports, events. Returns when endRequested is set. ----
    void RunLoop();
    // The same loop without its opening: goes on from the state as it stands
    // (a restored snapshot): running at the program counter, the address
    // prompt when stopped, the report of the error in RunState.
    void ResumeLoop();
    // One instruction: fetch the opcode at the program counter and execute it.
    void Step();
    // Executes one fetched opcode the way the firmware's full pass does: a
    // fault becomes the RunState error code.
    void ExecuteInstruction(std::uint8_t op) {
        try {
            Execute(op);
        } catch (const RunFault& fault) {
            machine.runState = fault.code;
        } catch (const InstructionAbandoned&) {
        }
    }

    // Executed instructions since construction; the host's Checkpoint is
    // called when the count reaches the value set here.
    std::uint64_t instructionCount() const { return DeviceState::instructionCount; }
    // Between two run loops: a new program counts from 0. A checkpoint set
    // for the old count is dropped.
    void ResetInstructionCount() {
        DeviceState::instructionCount = 0;
        checkpointAt_ = std::numeric_limits<std::uint64_t>::max();
    }
    void SetCheckpoint(std::uint64_t instructions) {
        checkpointAt_ = instructions;
        RequestAttention();
    }

    // The run loop runs instructions back to back until this flag is raised;
    // then, before the next instruction, it makes the firmware's checks
    // (end, restart, strobes, stop key, segment end, checkpoint, events, run
    // state) and lowers it again. Whatever needs those checks raises it: the
    // host's pending input, the checkpoint, pin changes, faults, instructions
    // that talk to the outside. A debugger (breakpoints, single steps) raises
    // it to get control between two instructions. Any thread may call this.
    void RequestAttention() { attention_.store(true, std::memory_order_release); }

    // ---- For a debugger (emulator/debugger.h) ----
    // The debugger asked before each instruction where the stop map is
    // marked; null: none. The stop map is indexed by the counter as 16 bits
    // (1: the loop leaves there); null: the loop runs plain.
    void AttachDebugger(Debugger* debugger) {
        debugger_ = debugger;
        if (!debugger) stopMap_ = nullptr;
        RequestAttention();
    }
    void SetStopMap(const std::uint8_t* stopMap) {
        stopMap_ = stopMap;
        RequestAttention();
    }
    // The trace's two outputs: the stack list before an instruction, and a
    // stop at a statement's first instruction, after which the run waits
    // until GrantStep or the end.
    void ShowTraceStack(const std::vector<std::string>& stackLines) {
        host_.TraceStack(stackLines);
    }
    void WaitAtTraceStop(const TraceStop& stop);
    // Serial lines read are kept while on, so that a run stepped back reads
    // the same lines again; off drops them.
    void KeepSerialLines(bool on) {
        serialReplay_.SetRecording(on);
        if (!on) serialLinesRead = 0;
    }
    void ForgetSerialLinesBefore(std::uint64_t position) { serialReplay_.ForgetBefore(position); }

    // ---- Commands of the window (call from Host::Pump) ----
    void PressKey(int index);  // a released key 0..15; anything else is no key
    void CommandRunFrom1();
    void CommandRun();
    void CommandStop();
    void CommandAddress1();
    void ClearProgramMemory();  // cells 1..1024 := 0
    void RequestEnd() {
        endRequested = true;
        RequestAttention();
    }
    void GrantStep() { stepGranted = true; }
    void TimerTick();  // one 100 ms tick

    // ---- Device operations ----
    void ClearDisplay();
    void LocateCursor(int row, int column);
    void PrintText(std::string_view text);
    void ShowNumber(float value);
    void ShowStatus();
    float PromptNumber(std::string_view prompt, std::uint8_t firstKey);
    float InputNumber(std::uint8_t firstKey);
    std::uint8_t InKey();
    std::uint8_t ReadKey();
    std::uint8_t WaitKey();  // gives up with Enter (34) once endRequested is set
    void DelaySeconds(int seconds);
    void TimerEventTick();
    // By VariableOperand. Singles and Integers, the common case, are decided
    // inline; RX, Bytes, the stack pointer and the hardware out of line.
    float ReadVariable(std::uint8_t operand) {
        if (machine::NamesSingle(operand)) return machine.singles[operand];
        if (machine::NamesInteger(operand))
            return machine.integers[machine::IntegerIndexOf(operand)];
        return ReadOtherVariable(operand);
    }
    void WriteVariable(std::uint8_t operand, double value) {
        if (machine::NamesSingle(operand)) {
            machine.singles[operand] = CheckedFloat(value);
        } else if (machine::NamesInteger(operand)) {
            machine.integers[machine::IntegerIndexOf(operand)] = ToInt16(value);
        } else {
            WriteOtherVariable(operand, value);
        }
    }
    void SetPin(int pin, int value) {
        if (io.pins[pin] != value) PinChanged(pin, value);
    }
    std::uint8_t ReadPort();
    void WritePort(double value);
    float ReadAdc(int channel);

  private:
    float ReadOtherVariable(std::uint8_t operand);
    void WriteOtherVariable(std::uint8_t operand, double value);
    void PinChanged(int pin, int value);
    // The run loop's key poll: ReadKey, with the common case (nothing pending,
    // no key waiting) decided inline.
    std::uint8_t PollKey() {
        if (!host_.HasPending() && keyRegister == kNoKey) return kNoCode;
        return ReadKey();
    }
    void PumpHost() {
        if (host_.HasPending()) host_.Pump(*this);
    }
    void ApplyPendingRestart();
    // Drops every predecoded entry when the memory was replaced as a whole.
    void CheckDecodedStamp() {
        if (machine.programImage.stamp() != decodedStamp_) ForgetDecoded();
    }
    void ForgetDecoded();
    void RunningPass();
    bool Attend(bool afterInstruction);
    bool NeedsAttention() const;
    // Watched: the loop also leaves before an address marked in the stop map.
    template <bool Watched>
    void RunInstructions();
    void ReportError();
    void StartAt(int address);
    void DispatchEvents();
    void LeftRunning();

    // The registers the run loop keeps in locals: the program counter (the
    // top return-stack entry), the stack pointer and the instructions left
    // before the checkpoint. The machine state holds them only after
    // StoreRegisters; anything that can look at them must come after that.
    // (Word-sized, so they index memory as they are; sp counts 0..15.)
    struct Registers {
        std::intptr_t pc;
        std::intptr_t sp;
        std::uint64_t left;
    };
    void LoadRegisters(Registers& r);
    void StoreRegisters(const Registers& r);

    // One instruction through the dispatch (emulator/dispatch.h).
    void Execute(std::uint8_t op);
    inline void Dispatch(std::uint8_t op, Registers& r);
    template <std::uint8_t Op>
    inline void Instruction(Registers& r);
    void OutOfLine(std::uint8_t op);
    template <std::uint8_t Op>
    inline void OutOfLineHere(Registers& r);
    template <bool IntegerIndex>
    inline void* ElementPlace(std::uint8_t area, float index, bool& integer);
    inline void* ElementAtCounter(const Registers& r, float index, bool& integer);
    inline bool LoopLimit(int word, int& limit);
    inline bool LoopStep(Registers& r, int counter, bool down, int limit, std::intptr_t back,
                         std::intptr_t after);
    inline std::uint8_t FetchByte(Registers& r);
    inline int FetchWord(Registers& r);
    inline float& Slot(std::intptr_t s);
    inline void Push(Registers& r, float value);
    inline float Pop(Registers& r);
    inline float ReadVariable(Registers& r, std::uint8_t operand);
    inline void WriteVariable(Registers& r, std::uint8_t operand, float value);
    [[noreturn]] void StoreAndThrow(std::intptr_t pc, std::intptr_t sp, std::uint64_t left,
                                    std::uint8_t code);
    [[noreturn]] inline void Fault(const Registers& r, std::uint8_t code);
    inline float Checked(const Registers& r, double value);
    inline std::int16_t CheckedInt16(const Registers& r, double value);
    inline int Target(const Registers& r, double value);
    template <bool Divides, typename Operation>
    inline void Binary(Registers& r, Operation operation);
    inline void AddToX(Registers& r, double amount);
    template <typename Compare>
    inline void CompareWithZero(Registers& r, Compare compare);
    inline void Call(Registers& r, std::intptr_t target);
    inline void Return(Registers& r);
    inline void Jump(std::uint8_t op, Registers& r);
    // Fused units (emulator/fused_units.h).
    void BindPlaces(Decoded& d);
    template <std::uint8_t Op, int ShapeNumber, int Integers>
    inline bool RunFused(Registers& r, const Decoded& d);
    template <int Integers>
    inline bool RunBump(Registers& r, const Decoded& d);
    template <int TailNumber, int Integers>
    inline bool RunChain(Registers& r, const Decoded& d);
    template <bool Branch, bool Skip, bool Stores>
    static inline void FinishTail(Registers& r, const Decoded& d, float result, bool storesInteger,
                                  std::int32_t whole);
    // Units of statement shapes (emulator/fused_statements.h).
    inline bool RunDecodedLoop(Registers& r, const Decoded& d);
    template <bool Load, int Integers>
    inline bool RunElement(Registers& r, const Decoded& d);
    template <int Place>
    inline bool RunZeroCompareSkip(Registers& r, const Decoded& d);

    // Instruction groups.
    void ExecuteByGroup(std::uint8_t op);
    void ExecuteBinary(std::uint8_t op);    // pages 0, 1
    void ExecuteUnary(std::uint8_t op);     // pages 2, 3
    void ExecutePairPage(std::uint8_t op);  // page 4
    void ExecuteDirect(std::uint8_t op);    // pages 6, 7, 8 (80-89)
    void Rol(std::uint8_t d);
    void LoadElement(std::uint8_t m);
    void StoreElement(std::uint8_t m);
    void Wait();
    void ExecuteTable();
    void ExecuteOnX();
    void ExecuteLoop(int opAddress);
    void ExecutePrintList(bool thenInput);
    void ShowMessage(int count);
    void Series();
    void Send();
    void Edit();
    void SerialPrint();
    void SerialInput();
    void SerialMonitor();
    double SerialReadNumber();
    float Random(int argument);
    int WordOrVariable(int word);

    Host& host_;
    char decimalSeparator_ = '.';
    std::uint64_t checkpointAt_ = std::numeric_limits<std::uint64_t>::max();
    // The instruction count when the loop's countdown reaches 0 (see Registers).
    std::uint64_t countAtZero_ = 0;
    std::atomic<bool> attention_{true};
    bool pendingRestart_ = false;  // Run from 1 / Adr=1 wait for the instruction boundary
    Debugger* debugger_ = nullptr;
    const std::uint8_t* stopMap_ =
        nullptr;  // by the 16-bit counter: 1 where the loop leaves; null: none
    SerialReplay serialReplay_;
    // The run loop's decoded instructions (emulator/predecoded.h), valid
    // for the memory with decodedStamp_; WriteProgram keeps them in step.
    std::array<Decoded, machine::kProgramSize + 1> decoded_{};
    std::uint64_t decodedStamp_ = 0;
};

}  // namespace zr::emulator
