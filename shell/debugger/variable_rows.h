// The rows of the Variables and Watches panes worked out away from any
// widget: every name the compiled program knows (the predeclared i..o,
// Stack, PORT, ADC, I2C and each declared Single, Integer and Byte variable
// and array, with its elements) with its kind in words and its area address,
// and the value texts of the device state published at a pause.
#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "compiler/names.h"
#include "emulator/io_model.h"
#include "emulator/machine.h"
#include "machine/image.h"

namespace zr::shell {

struct VariableRow {
    QString name;     // "b1"; an element "t(2)"
    QString kind;     // "байт (Byte)"; empty for an element
    QString address;  // the area address; an element's index in its area
    // Where its one value is; none for an array as a whole.
    std::optional<machine::DecodedOperand> cell;
    std::vector<VariableRow> elements;  // an array's, from 1
};

// The device at a pause as the panes read it (a copy, taken once).
struct PausedValues {
    emulator::MachineState machine;
    emulator::IoModel io;
    char decimalSeparator = '.';
};

// In the table's order; RX (the X register) shows with the value stack.
std::vector<VariableRow> VariableRowsOf(const compiler::NameTable& names);
// The row of a name or an element ("b1", "T(2)": case does not matter), or null.
const VariableRow* FindVariableRow(const std::vector<VariableRow>& rows, const QString& name);

// A value in the display's number form, straight from the state: the pane
// reads no hardware.
QString ValueText(machine::DecodedOperand cell, const PausedValues& values);
// One line for a hover: the value, or an array's first elements "0; 5; …".
QString ValueSummary(const VariableRow& row, const PausedValues& values);

// The VariableOperand a change of the row breaks on, -1 for rows that
// cannot (the port and the inputs, whose reading talks to the hardware, and
// arrays as a whole).
int BreakOperandOf(const VariableRow& row);

// The value stack from the top: X, Y, Z, T, then the deeper slots by number.
struct StackRow {
    QString name;
    QString value;
};
std::vector<StackRow> StackRowsOf(const PausedValues& values);

}  // namespace zr::shell
