// Serial channel 1: PRINT writes a number as a text line, INPUT reads one,
// and LOAD runs the monitor, which takes commands after a sync word. Numbers
// travel in the display's decimal form with "." as separator.
#include "emulator/conversions.h"
#include "emulator/emulator.h"
#include "emulator/number_text.h"
#include "machine/numbers.h"

namespace zr::emulator {
namespace {

constexpr int kSyncWord = 24683;

enum MonitorCommand {
    kMonitorStart = 1,
    kMonitorAdc = 2,
    kMonitorCall = 3,
    kMonitorVariables = 4,
    kMonitorMemory = 5
};

}  // namespace

void Emulator::SerialPrint() {
    host_.SerialWriteLine(FormatDecimal(machine.PopValue(), '.'));
}

// The next number on the channel. Without one the run stops with an error,
// unless the host has ended the run (the end of a scripted input).
double Emulator::SerialReadNumber() {
    const auto line =
        serialReplay_.Read(serialLinesRead, [&] { return host_.SerialReadLine(*this); });
    if (!line) {
        if (endRequested) throw InstructionAbandoned{};
        throw RunFault{kErrorSerialChannel};
    }
    const auto start = line->find_first_not_of(" \t");
    return start == std::string::npos ? 0
                                      : machine::ReadNumber(std::string_view(*line).substr(start));
}

void Emulator::SerialInput() {
    machine.PushValue(CheckedFloat(SerialReadNumber()));
}

void Emulator::SerialMonitor() {
    MachineState& m = machine;
    for (;;) {
        while (SerialReadNumber() != kSyncWord) {
        }
        switch (ToByte(SerialReadNumber())) {
            case kMonitorStart: {
                const int address = ToInt16(SerialReadNumber());
                if (address == 0) return;
                m.returnPointer = 1;
                m.SetProgramCounter(address);
                m.runState = kRunning;
                return;
            }
            case kMonitorAdc:
                host_.SerialWriteLine(
                    FormatDecimal(ToInt16(ReadAdc(ToByte(SerialReadNumber()))), '.'));
                break;
            case kMonitorCall:
                m.PushReturn(ToInt16(SerialReadNumber()));
                return;
            case kMonitorVariables: {
                const int from = ToInt16(SerialReadNumber());
                const int to = ToInt16(SerialReadNumber());
                for (int v = from; v <= to; ++v)
                    host_.SerialWriteLine(FormatDecimal(ReadVariable(ToByte(v)), '.'));
                break;
            }
            case kMonitorMemory: {
                const int from = ToInt16(SerialReadNumber());
                const int to = ToInt16(SerialReadNumber());
                for (int address = from; address <= to; ++address) {
                    const std::uint8_t value = ToByte(SerialReadNumber());
                    if (address < 0 || address > machine::kProgramSize)
                        throw RunFault{kErrorAddressRange};
                    WriteProgram(address, value);
                }
                break;
            }
            default:
                return;
        }
    }
}

}  // namespace zr::emulator
