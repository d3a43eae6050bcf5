// The display operations as the interpreter and the run loop use them: each
// write repaints through the host and lets pending outside events in.
#include "emulator/conversions.h"
#include "emulator/emulator.h"
#include "emulator/number_text.h"
#include "machine/encodings.h"
#include "machine/opcodes.h"

namespace zr::emulator {

void Emulator::ClearDisplay() {
    DeviceState::display.Clear();
    host_.DisplayChanged(*this, DeviceState::display);
}

void Emulator::LocateCursor(int row, int column) {
    PumpHost();
    DeviceState::display.Locate(row, column);
}

void Emulator::PrintText(std::string_view text) {
    DeviceState::display.Print(text);
    host_.DisplayChanged(*this, DeviceState::display);
    PumpHost();
}

void Emulator::ShowNumber(float value) {
    if (machine.hexMode == 0) {
        PrintText(FormatDecimal(value, decimalSeparator_));
        return;
    }
    const auto hex = FormatHex(value);
    if (!hex) throw RunFault{kErrorConversionRange};
    PrintText(*hex);
}

// The shift level letter (a, b, c) and the radix letter (D, H) at line 1,
// columns 15-16; the cursor is left at column 17, so the next unplaced
// write starts at column 1 of line 1.
void Emulator::ShowStatus() {
    LocateCursor(1, 15);
    const char level = static_cast<char>('a' + shiftLevel);
    PrintText(std::string_view(&level, 1));
    PrintText(machine.hexMode == 0 ? "D" : "H");
}

float Emulator::PromptNumber(std::string_view prompt, std::uint8_t firstKey) {
    ClearDisplay();
    LocateCursor(1, 1);
    PrintText(prompt);
    return InputNumber(firstKey);
}

// The number editor on line 2. EntryText mirrors the line: characters 1-2
// hold "&h" for a hexadecimal entry (never shown), typed characters start at
// column 3. A 15th typed character is ignored.
float Emulator::InputNumber(std::uint8_t firstKey) {
    constexpr int kLastColumn = kDisplayColumns;
    int pos = 2;
    LocateCursor(2, 1);
    PrintText("                ");
    LocateCursor(2, 1);
    std::string entry(kDisplayColumns, ' ');
    if (machine.hexMode == 1) entry.replace(0, 2, "&h");
    std::uint8_t key = firstKey;
    bool haveKey = key != kNoCode;
    for (;;) {
        if (!haveKey) {
            ShowStatus();
            key = WaitKey();
        }
        haveKey = false;
        ++pos;
        if (key == kCodeEnter) return CheckedFloat(ReadEntryNumber(entry));
        if (key == kCodeLeft) {
            if (pos > 2) {
                --pos;
                entry[pos - 1] = ' ';
                LocateCursor(2, pos);
                PrintText(" ");
                --pos;
            }
            shiftLevel = 0;
            continue;
        }
        if (pos > kLastColumn) {  // the entry is full: the key is ignored
            pos = kLastColumn;
            continue;
        }
        LocateCursor(2, pos);
        if (key <= 9) {
            entry[pos - 1] = static_cast<char>('0' + key);
            PrintText(entry.substr(pos - 1, 1));
        } else if (key <= 15) {
            entry[pos - 1] = static_cast<char>('A' + key - 10);
            PrintText(entry.substr(pos - 1, 1));
            entry.replace(0, 2, "&h");  // a hex digit turns the entry hexadecimal
            shiftLevel = 0;
        } else if (key == kCodeComma) {
            entry[pos - 1] = '.';
            PrintText(".");
        } else if (key == kCodeMinus) {
            // Only at column 2, reached by the left arrow on an empty entry.
            if (pos == 2) {
                entry[pos - 1] = '-';
                PrintText("-");
            }
        } else if (key == 31 || key >= 33) {
            shiftLevel = 0;
            --pos;
        }
        // 16..28: nothing written; the cell stays blank.
    }
}

// Print list: a count byte n, then n bytes of items (04 v: a number;
// 01 p: cursor, bit 7 clears, bit 6 line 1, bits 0-3 column; else a character).
void Emulator::ExecutePrintList(bool thenInput) {
    MachineState& m = machine;
    int n = m.FetchByte();
    while (n >= 1) {
        const std::uint8_t c = m.FetchByte();
        if (c == machine::kPrintItemNumber) {
            ShowNumber(ReadVariable(m.FetchByte()));
            n -= 2;
        } else if (c == machine::kPrintItemCursor) {
            const std::uint8_t p = m.FetchByte();
            if (p & machine::kCursorClear) ClearDisplay();
            LocateCursor((p & machine::kCursorLine1) ? 1 : 2, p & machine::kCursorColumnRead);
            n -= 2;
        } else {
            const char ch = static_cast<char>(c);
            PrintText(std::string_view(&ch, 1));
            n -= 1;
        }
    }
    if (thenInput) m.PushValue(InputNumber(kNoCode));
}

// Message table: `count` texts, each ended by a 0 byte; pops the selector i,
// shows text m from line 1 column 1 and, when i < 0, reads a number. m is |i|
// rounded to the nearest whole number, ties to even, and the range test is on
// m: 1.4 and 0.5001 choose text 1, 2.5 and -2.5 text 2, 0.5 rounds to 0 and
// stops the run with error 38 as 0 does.
void Emulator::ShowMessage(int count) {
    MachineState& m = machine;
    const float selector = m.PopValue();
    std::int32_t chosen;
    if (!RoundInto(std::fabs(static_cast<double>(selector)), 1, count, chosen))
        throw RunFault{kErrorTableIndex};  // NaN too
    ClearDisplay();
    LocateCursor(1, 1);
    int remaining = chosen - 1;
    for (;;) {
        const std::uint8_t b = m.FetchByte();
        if (b == 0) {
            if (remaining == 0) break;
            --remaining;
        } else if (remaining == 0) {
            const char ch = static_cast<char>(b);
            PrintText(std::string_view(&ch, 1));
        }
    }
    if (selector < 0) m.PushValue(InputNumber(kNoCode));
    m.PopReturn();
}

}  // namespace zr::emulator
