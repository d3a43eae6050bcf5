// The emulated ZR-7340: machine state, display, keypad, events, timer, port
// and analogue models, the interpreter and the firmware's run loop. State
// lives here; each instance is an independent device. Single-threaded: the
// host delivers outside events from inside Pump on the emulator's thread.
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "emulator/conversions.h"
#include "emulator/display.h"
#include "emulator/host.h"
#include "emulator/io_model.h"
#include "emulator/keypad.h"
#include "emulator/machine.h"
#include "machine/opcodes.h"

namespace zr::emulator {

// A statement of the compiled program, for the trace.
struct TraceStatement {
    int address = 0;   // of its first instruction
    std::string word;  // its first word (Windows-1251)
    std::int32_t position = 0;
};

inline constexpr std::string_view kGreetingLine1 = "ZR-7340 vers.B01";
inline constexpr std::string_view kGreetingLine2 = "Kelto vers.03";
inline constexpr std::string_view kAddressPrompt = "Adres\\Enter?";

class Emulator {
  public:
    explicit Emulator(Host& host);
    Emulator(const Emulator&) = delete;
    Emulator& operator=(const Emulator&) = delete;

    // ---- Shared state (the machine, the window's controls, keypad, time) ----
    MachineState machine;
    IoModel io;
    std::uint8_t keyRegister = kNoKey;
    std::uint8_t shiftLevel = 0;
    int tickCount = 0;   // 100 ms ticks, 0..8
    int delayTicks = 0;  // countdown of DelaySeconds
    int timerCount = 0;  // timer event ticks since the last timer event
    bool endRequested = false;
    bool traceOn = false;
    bool stepGranted = false;

    const Display& display() const { return display_; }

    // ---- Setting up a run ----
    // Program cells 1..1024 (cell 0 is kept).
    void LoadProgram(const machine::ProgramImage& image);
    // What the run command does after a compile: the Single and Integer areas
    // start at 0; the Byte area keeps its values.
    void ClearSinglesAndIntegers();
    void SetStatementMap(std::vector<TraceStatement> statements);
    void SetDecimalSeparator(char separator) { decimalSeparator_ = separator; }
    char decimalSeparator() const { return decimalSeparator_; }

    // ---- The firmware loop: greeting, address prompt, fetch and execute,
    // error reports, events. Returns when endRequested is set. ----
    void RunLoop();
    // One instruction: fetch the opcode at the program counter and execute it.
    void Step();
    // Executes one fetched opcode; a fault becomes the RunState error code.
    void ExecuteInstruction(std::uint8_t op) {
        try {
            if (traceOn) TraceStep();
            Execute(op);
        } catch (const RunFault& fault) {
            machine.runState = fault.code;
        } catch (const InstructionAbandoned&) {
        }
    }

    // Executed instructions since construction; the host's Checkpoint is
    // called when the count reaches the value set here.
    std::uint64_t instructionCount() const { return instructionCount_; }
    void SetCheckpoint(std::uint64_t instructions) {
        checkpointAt_ = instructions;
        quietLimit_ = 0;
    }
    // The run loop's fast lane (on by default) runs plain instructions back to
    // back; turned off, every instruction takes the full pass. Both must
    // behave the same: the tests compare them.
    void SetQuietRunEnabled(bool enabled) { quietRunEnabled_ = enabled; }

    // ---- Commands of the window (call from Host::Pump) ----
    void PressKey(int index);  // a released key 0..15; anything else is no key
    void CommandRunFrom1();
    void CommandRun();
    void CommandStop();
    void CommandAddress1();
    void ClearProgramMemory();  // cells 1..1024 := 0
    void RequestEnd() { endRequested = true; }
    void GrantStep() { stepGranted = true; }
    void SetTraceOn(bool on);
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
        if (operand - 1u < machine::kSingleCount) return machine.singles[operand];
        if (operand - (machine::kIntegerOperandBase + 1u) < machine::kIntegerCount)
            return machine.integers[operand - machine::kIntegerOperandBase];
        return ReadOtherVariable(operand);
    }
    void WriteVariable(std::uint8_t operand, double value) {
        if (operand - 1u < machine::kSingleCount) {
            machine.singles[operand] = CheckedFloat(value);
        } else if (operand - (machine::kIntegerOperandBase + 1u) < machine::kIntegerCount) {
            machine.integers[operand - machine::kIntegerOperandBase] = ToInt16(value);
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
    void RunningPass();
    void RunQuietly();
    bool QuietOnEntry() const;
    void ReportError();
    void StartAt(int address);
    void DispatchEvents();
    void LeftRunning();
    void TraceStep();

    // The four most frequent instructions are decided inline; the rest by group.
    void Execute(std::uint8_t op) {
        MachineState& m = machine;
        switch (op) {
            case machine::kiM:
                m.PushValue(ReadVariable(m.FetchByte()));
                return;
            case machine::kMv: {
                const std::uint8_t v = m.FetchByte();
                WriteVariable(v, m.PopValue());
                return;
            }
            case machine::kPushByte:
                m.PushValue(m.FetchByte());
                return;
            case machine::kPushInt:
                m.PushValue(static_cast<float>(m.FetchWord()));
                return;
            default:
                ExecuteByGroup(op);
        }
    }

    // Instruction groups.
    void ExecuteByGroup(std::uint8_t op);
    void ExecuteBinary(std::uint8_t op);    // pages 0, 1
    void ExecuteUnary(std::uint8_t op);     // pages 2, 3
    void ExecutePairPage(std::uint8_t op);  // page 4
    void ExecuteDirect(std::uint8_t op);    // pages 6, 7, 8 (80-89)
    void ExecuteJump(std::uint8_t op);      // 8A-FF
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
    int ComputedTarget(double value);

    Host& host_;
    Display display_;
    char decimalSeparator_ = '.';
    std::uint64_t instructionCount_ = 0;
    std::uint64_t checkpointAt_ = std::numeric_limits<std::uint64_t>::max();
    // RunQuietly runs while the instruction count is below this; anything the
    // full pass must see (a pin change, a new checkpoint) sets it to 0.
    std::uint64_t quietLimit_ = 0;
    bool quietRunEnabled_ = true;
    bool pendingRestart_ = false;   // Run from 1 / Adr=1 wait for the instruction boundary
    std::vector<int> statementAt_;  // per address: statement index + 1, 0 none
    std::vector<TraceStatement> statements_;
    std::uint32_t randomState_ = 0x2545F491u;
    float randomLast_ = -1;  // -1: no number drawn yet
};

}  // namespace zr::emulator
