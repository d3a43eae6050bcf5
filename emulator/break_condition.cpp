#include "emulator/break_condition.h"

#include <charconv>
#include <cmath>

#include "emulator/debugger.h"

namespace zr::emulator {
namespace {

std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

bool IsOperatorChar(char c) {
    return c == '=' || c == '<' || c == '>';
}

std::optional<CompareOp> OperatorOf(std::string_view op) {
    if (op == "=") return CompareOp::Equal;
    if (op == "<>") return CompareOp::NotEqual;
    if (op == "<") return CompareOp::Less;
    if (op == ">") return CompareOp::Greater;
    if (op == "<=") return CompareOp::LessEqual;
    if (op == ">=") return CompareOp::GreaterEqual;
    return std::nullopt;
}

// The whole text a finite number, or nothing.
std::optional<float> NumberOf(std::string_view text) {
    std::string digits(text);
    for (char& c : digits)
        if (c == ',') c = '.';
    if (digits.empty()) return std::nullopt;
    const char* first = digits.data() + (digits.front() == '+' ? 1 : 0);
    const char* last = digits.data() + digits.size();
    double value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc{} || end != last || !std::isfinite(value)) return std::nullopt;
    return static_cast<float>(value);
}

}  // namespace

ParsedCondition ParseBreakCondition(std::string_view text, const ConditionNameLookup& lookup) {
    ParsedCondition parsed;
    text = Trimmed(text);
    const std::size_t opStart = text.find_first_of("=<>");
    if (opStart == std::string_view::npos) {
        parsed.fault = ConditionFault::Syntax;
        return parsed;
    }
    std::size_t opEnd = opStart;
    while (opEnd < text.size() && IsOperatorChar(text[opEnd])) ++opEnd;
    const std::string_view name = Trimmed(text.substr(0, opStart));
    const auto op = OperatorOf(text.substr(opStart, opEnd - opStart));
    const auto number = NumberOf(Trimmed(text.substr(opEnd)));
    if (name.empty() || name.find_first_of(" \t") != std::string_view::npos || !op || !number) {
        parsed.fault = ConditionFault::Syntax;
        return parsed;
    }
    const int operand = lookup(name);
    if (operand < 0) {
        parsed.fault = operand == -2 ? ConditionFault::NotOneValue : ConditionFault::UnknownName;
        parsed.name = std::string(name);
        return parsed;
    }
    parsed.condition =
        BreakCondition{static_cast<std::uint8_t>(operand), *op, *number, std::string(text)};
    return parsed;
}

std::string ConditionFaultText(const ParsedCondition& parsed) {
    switch (parsed.fault) {
        case ConditionFault::None:
            return {};
        case ConditionFault::Syntax:
            return "a condition is NAME OP NUMBER, OP one of = <> < > <= >= (e.g. \"a > 5\")";
        case ConditionFault::UnknownName:
            return "'" + parsed.name + "' is not a name of the program";
        case ConditionFault::NotOneValue:
            return "'" + parsed.name + "' is not a single variable (an array, label or port)";
    }
    return {};
}

bool ConditionHolds(const BreakCondition& condition, const MachineState& machine) {
    const float value = WatchedValueOf(machine, condition.operand);
    const float number = condition.number;
    switch (condition.op) {
        case CompareOp::Equal:
            return value == number;
        case CompareOp::NotEqual:
            return value != number;
        case CompareOp::Less:
            return value < number;
        case CompareOp::Greater:
            return value > number;
        case CompareOp::LessEqual:
            return value <= number;
        case CompareOp::GreaterEqual:
            return value >= number;
    }
    return false;
}

}  // namespace zr::emulator
