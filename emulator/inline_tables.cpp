// Instructions that carry an inline table: Table (bytes, integers, messages,
// initialisation), OnX (computed call, jump, value or search) and Loop.
#include "emulator/conversions.h"
#include "emulator/emulator.h"
#include "machine/encodings.h"
#include "machine/opcodes.h"

namespace zr::emulator {

using namespace machine;

namespace {

// A data table index must lie in 1..64.
int DataIndex(float index) {
    if (!(index >= 1 && index <= 64)) throw RunFault{kErrorTableIndex};
    return ToInt16(index);
}

void CheckAddress(int address, int width) {
    if (address < 0 || address + width - 1 > kProgramSize) throw RunFault{kErrorAddressRange};
}

}  // namespace

// Table header h: bits 7-6 the form, bits 5-0 the count k. The data forms
// and the message form are reached by a call and return to it.
void Emulator::ExecuteTable() {
    MachineState& m = machine;
    const std::uint8_t h = m.FetchByte();
    const int count = h & kTableCountBits;
    const int data = m.ProgramCounter();
    switch (h & kTableFormBits) {
        case kTableBytes: {
            const int address = data + DataIndex(m.PopValue()) - 1;
            CheckAddress(address, 1);
            m.PushValue(m.programImage[address]);
            m.PopReturn();
            return;
        }
        case kTableIntegers: {
            const int address = data + 2 * (DataIndex(m.PopValue()) - 1);
            CheckAddress(address, 2);
            m.PushValue(static_cast<float>(LoadInteger(m.programImage, address)));
            m.PopReturn();
            return;
        }
        case kTableMessages:
            ShowMessage(count);
            return;
        case kTableInitialisation:
            for (int i = 0; i < count; ++i) {
                const std::uint8_t c = m.FetchByte();
                switch (InitialValueWidthOf(c)) {
                    case InitialValueWidth::Word:
                        WriteVariable(c, m.FetchWord());
                        break;
                    case InitialValueWidth::Byte:
                        WriteVariable(c, m.FetchByte());
                        break;
                    case InitialValueWidth::Single:
                        WriteVariable(c, m.FetchSingle());
                        break;
                }
            }
            return;
    }
}

// OnX header h: bits 7-6 the mode, bits 4-0 the count n; n words follow.
// X outside 1..n skips the table whatever the mode.
void Emulator::ExecuteOnX() {
    MachineState& m = machine;
    const float x = m.PopValue();
    const std::uint8_t h = m.FetchByte();
    const int mode = h >> kOnXModeShift;
    const int n = h & kOnXCountBits;
    const int after = m.ProgramCounter() + 2 * n;
    if (!(x >= 1 && x <= n)) {
        m.SetProgramCounter(after);
        return;
    }
    if (mode == 0) {  // search: the position of the first word equal to X, else X
        for (int k = 1; k <= n; ++k) {
            if (m.FetchWord() == x) {
                m.PushValue(static_cast<float>(k));
                m.SetProgramCounter(after);
                return;
            }
        }
        m.PushValue(x);
        return;
    }
    m.SetProgramCounter(m.ProgramCounter() + 2 * (ToInt16(x) - 1));
    const int word = WordOrVariable(m.FetchWord());
    switch (mode) {
        case 1:  // call; the routine returns to the address after the table
            m.SetProgramCounter(after);
            m.PushReturn(word);
            return;
        case 2:
            m.PushValue(static_cast<float>(word));
            m.SetProgramCounter(after);
            return;
        default:
            m.SetProgramCounter(word);
    }
}

// Loop: mode byte d, back distance b (the jump goes to the opcode's address
// + 1 - b), then a limit word or, for a value list, n words.
void Emulator::ExecuteLoop(int opAddress) {
    MachineState& m = machine;
    const std::uint8_t d = m.FetchByte();
    const int back = opAddress + 1 - m.FetchByte();
    if (d & kLoopValueList) {  // value list: one pass counter shared by every such loop
        const int n = d & kLoopListCountBits;
        ++m.listPassCounter;
        if (m.listPassCounter > n) {
            m.listPassCounter = 0;
            m.SetProgramCounter(m.ProgramCounter() + 2 * n);
            return;
        }
        const int address = m.ProgramCounter() + 2 * m.listPassCounter - 2;
        CheckAddress(address, 2);
        m.PushValue(static_cast<float>(LoadInteger(m.programImage, address)));
        m.SetProgramCounter(back);
        return;
    }
    const int i = d & kLoopVariableBits;
    const bool down = d & kLoopDownOrEqual;
    const int limit = WordOrVariable(m.FetchWord());
    if (i == 0) {  // compare form
        const float x = m.PopValue();
        if (down ? x == limit : x != limit) m.SetProgramCounter(back);
        return;
    }
    std::int16_t& counter = m.integers[i];
    counter = ToInt16(counter + (down ? -1.0 : 1.0));
    if (down ? counter >= limit : counter <= limit) m.SetProgramCounter(back);
}

// Wait: n >= 1 pauses n seconds (above 100: 10); otherwise waits for a key,
// which -1 pushes.
void Emulator::Wait() {
    float n = machine.PopValue();
    if (n > 100) n = 10;
    if (n >= 1) {
        DelaySeconds(ToInt16(n));
        return;
    }
    const std::uint8_t key = WaitKey();
    if (n == -1) machine.PushValue(key);
}

}  // namespace zr::emulator
