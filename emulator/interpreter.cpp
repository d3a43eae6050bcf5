// Instruction dispatch and control flow: calls, jumps, returns, segments,
// skips and the inline-table instructions' entry points.
#include "emulator/conversions.h"
#include "emulator/dispatch.h"
#include "emulator/emulator.h"
#include "machine/encodings.h"
#include "machine/opcodes.h"

namespace zr::emulator {

using namespace machine;

// One instruction outside the run loop: the registers are loaded for it and
// stored after it (a fault has stored them already).
void Emulator::Execute(std::uint8_t op) {
    Registers r;
    LoadRegisters(r);
    Dispatch(op, r);
    StoreRegisters(r);
}

void Emulator::StoreAndThrow(std::intptr_t pc, std::intptr_t sp, std::uint64_t left,
                             std::uint8_t code) {
    StoreRegisters({pc, sp, left});
    throw RunFault{code};
}

// The instructions the dispatch does not do on the registers run here, on
// the machine state, with the registers stored. A fault ends the instruction
// here (RunState takes its code); either that or an instruction that can
// talk to the outside raises the run loop's attention.
void Emulator::OutOfLine(std::uint8_t op) {
    try {
        ExecuteByGroup(op);
        if (RunClassOf(op) == RunClass::Attention) RequestAttention();
    } catch (const RunFault& fault) {
        machine.runState = fault.code;
        RequestAttention();
    } catch (const InstructionAbandoned&) {
        RequestAttention();
    }
    CheckDecodedStamp();  // the host may have put another memory in
}

void Emulator::Step() {
    try {
        const std::uint8_t op = machine.FetchByte();
        ExecuteInstruction(op);
    } catch (const RunFault& fault) {
        machine.runState = fault.code;
    }
}

// The instructions the dispatch leaves out of line (never the jump family);
// each group has its own switch.
void Emulator::ExecuteByGroup(std::uint8_t op) {
    if (op >= kiM && op < kFirstJumpOpcode) {
        ExecuteDirect(op);  // pages 6, 7 and 80-89; 5x is unassigned
    } else if (op < 0x20) {
        ExecuteBinary(op);
    } else if (op < 0x40) {
        ExecuteUnary(op);
    } else if (op < 0x50) {
        ExecutePairPage(op);
    } else {
        throw RunFault{kErrorUnassignedOpcode};
    }
}

// A limit or table word above the base names the variable whose operand is
// word - base.
int Emulator::WordOrVariable(int word) {
    const int operand = VariableWordOperand(word);
    if (operand < 0) return word;
    return ToInt16(ReadVariable(ToByte(operand)));
}

// iM, Mv, PushByte, PushInt, Drop, Dup, Ret and RetIf are in the dispatch.
void Emulator::ExecuteDirect(std::uint8_t op) {
    MachineState& m = machine;
    switch (op) {
        case kLoadIndirect: {
            const float index = ReadVariable(m.FetchByte());
            if (!(index >= 0 && index <= 255)) throw RunFault{kErrorLoadIndirect};
            m.PushValue(ReadVariable(ToByte(index)));
            return;
        }
        case kStoreIndirect: {
            const float index = ReadVariable(m.FetchByte());
            if (!(index >= 0 && index <= 255)) throw RunFault{kErrorStoreIndirect};
            WriteVariable(ToByte(index), m.PopValue());
            return;
        }
        case kLoadElement:
            LoadElement(m.FetchByte());
            return;
        case kStoreElement:
            StoreElement(m.FetchByte());
            return;
        case kEnd:
            m.runState = kStopped;
            return;
        case kCls:
            ClearDisplay();
            return;
        case kDupN: {
            const int n = m.FetchByte();
            m.PushValue(m.valueStack[MachineState::RingSlot(m.stackPointer - n + 1)]);
            return;
        }
        case kWait:
            Wait();
            return;
        case kInput:
            ExecutePrintList(true);
            return;
        case kPrint:
            ExecutePrintList(false);
            return;
        case kTable:
            ExecuteTable();
            return;
        case kPushSingle:
            m.PushValue(m.FetchSingle());
            return;
        case kTimer: {
            const float period = m.PopValue();
            m.timerHandler = m.FetchWord();
            m.timerPeriod = ToInt16(ToInt32(period));
            return;
        }
        case kOnX:
            ExecuteOnX();
            return;
        case kEvents:
            m.eventHandler = m.FetchWord();
            return;
        case kSegm: {
            const int target = m.FetchWord();
            m.segmentEnd = m.FetchWord();
            m.PushReturn(target);
            return;
        }
        case kRetN: {
            const double r = m.returnPointer - static_cast<double>(m.PopValue());
            if (!(r >= 1 && r <= kReturnStackSize)) throw RunFault{kErrorRetN};
            m.returnPointer = ToInt16(r);
            return;
        }
        case kSwapN: {
            const int n = m.FetchByte();
            std::swap(m.X(), m.valueStack[MachineState::RingSlot(m.stackPointer - n)]);
            return;
        }
        case kOver:
            if (m.stackPointer < 4) throw RunFault{kErrorStackDepth};
            std::swap(m.X(), m.valueStack[m.stackPointer - 3]);
            return;
        case kLoop:
            ExecuteLoop(m.ProgramCounter() - 1);
            return;
        case kPrtX:
            LocateCursor(2, 1);
            PrintText("                ");
            {
                const float x = m.PopValue();
                LocateCursor(2, 1);
                ShowNumber(x);
            }
            return;
        case kMode7D:
        case kMode:
            m.eventFlags = static_cast<std::uint8_t>(ToInt32(m.PopValue()) & 0xFF);
            return;
        case kSkipIfZero: {
            const int skip = m.FetchByte();
            if (m.PopValue() == 0) m.SetProgramCounter(m.ProgramCounter() + skip);
            return;
        }
        case kSeries:
            Series();
            return;
        case kSend:
            Send();
            return;
        case kSerialPrint:
            SerialPrint();
            return;
        case kSerialInput:
            SerialInput();
            return;
        case kSerialLoad:
            SerialMonitor();
            return;
        case kHex16:
            m.hexMode = 1;
            return;
        case kHex10:
            m.hexMode = 0;
            return;
        case kKeyCod:
            m.PushValue(ReadKey());
            return;
        case kKeyReg:
            ShowStatus();
            return;
        case kEdit:
            Edit();
            return;
        default:
            throw RunFault{kErrorUnassignedOpcode};
    }
}

}  // namespace zr::emulator
