// A breakpoint's condition on a variable ("a > 5", "b1 = 3", "x <= -1.5"):
// parsed and its name resolved once, then tested at each arrival by reading
// the variable straight from the areas, as the data breakpoints do.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "emulator/machine.h"

namespace zr::emulator {

enum class CompareOp : std::uint8_t { Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual };

struct BreakCondition {
    std::uint8_t operand = 0;  // a VariableOperand: a Single, Byte or Integer cell, RX or Stack
    CompareOp op = CompareOp::Equal;
    float number = 0;  // rounded to the device's Single, so "x = 0.1" holds after 0.1 -> x
    std::string text;  // as written, trimmed
};

// The VariableOperand of a name (as written), -1 when the program has no such
// name, -2 when it names no single value (an array, a label, a hardware name).
using ConditionNameLookup = std::function<int(std::string_view name)>;

enum class ConditionFault : std::uint8_t { None, Syntax, UnknownName, NotOneValue };

struct ParsedCondition {
    std::optional<BreakCondition> condition;
    ConditionFault fault = ConditionFault::None;
    std::string name;  // the name the fault is about (UnknownName, NotOneValue)
};

// NAME OP NUMBER with OP one of = <> < > <= >=, blanks anywhere between; the
// number may carry a sign, a decimal point or comma and an exponent.
ParsedCondition ParseBreakCondition(std::string_view text, const ConditionNameLookup& lookup);

// keltoc's wording of a fault.
std::string ConditionFaultText(const ParsedCondition& parsed);

bool ConditionHolds(const BreakCondition& condition, const MachineState& machine);

}  // namespace zr::emulator
