// Edit: one step of the keypad editor for a variable (-256 < A < 0) or for
// five bytes of program memory from address A.
#include <cmath>

#include "emulator/conversions.h"
#include "emulator/emulator.h"
#include "emulator/number_text.h"

namespace zr::emulator {

void Emulator::Edit() {
    MachineState& m = machine;
    float a = m.PopValue();
    m.operandRegister = 0;
    ClearDisplay();
    if (a > -256 && a < 0) {
        LocateCursor(1, 1);
        PrintText("Var ");
        PrintText(FormatDecimal(a, decimalSeparator_));
        const std::uint8_t v = ToByte(std::fabs(a));
        a = ReadVariable(v);
        LocateCursor(2, 1);
        ShowNumber(a);
        const std::uint8_t key = WaitKey();
        if (key != kCodeEnter) {
            m.operandRegister = InputNumber(key);
            WriteVariable(v, m.operandRegister);
        }
        m.PushValue(a);
        m.PushValue(m.operandRegister);
        return;
    }

    const int address = ToInt16(a);
    if (address < 0 || address + 4 > machine::kProgramSize) throw RunFault{kErrorAddressRange};
    LocateCursor(1, 1);
    PrintText(FormatDecimal(a, decimalSeparator_));
    ShowStatus();
    auto showBytes = [&] {
        LocateCursor(2, 1);
        for (int i = 0; i < 5; ++i) {
            // Each byte passes through ResultRegister on its way to the display.
            m.resultRegister = m.programImage[address + i];
            ShowNumber(m.resultRegister);
            PrintText(" ");
        }
    };
    showBytes();
    a = m.resultRegister;
    std::uint8_t key = WaitKey();
    if (key == kCodeLeft) {
        a = static_cast<float>(address - 1);
    } else if (key == kCodeRight) {
        a = static_cast<float>(address + 1);
    } else if (key <= 15) {
        int value = 16 * key;
        WriteProgram(address, ToByte(value));
        showBytes();
        const std::uint8_t second = WaitKey();
        if (second != kCodeEnter) {
            value += second;
            WriteProgram(address, ToByte(value));
        }
        a = static_cast<float>(address + 1);
        key = second;
    }
    m.PushValue(a);
    m.PushValue(key);
}

}  // namespace zr::emulator
