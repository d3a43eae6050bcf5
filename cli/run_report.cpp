#include "cli/run_report.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ostream>

#include "cli/visible_text.h"
#include "machine/cp1251.h"

namespace zr::cli {
namespace {

// The shortest decimal that reads back as the same float, so 0.1f prints as 0.1.
double ShortestDouble(float value) {
    char buffer[32];
    for (int digits = 1; digits <= 9; ++digits) {
        std::snprintf(buffer, sizeof buffer, "%.*g", digits, static_cast<double>(value));
        if (std::strtof(buffer, nullptr) == value) break;
    }
    return std::strtod(buffer, nullptr);
}

// JSON has no NaN or infinity; they are written as the strings "NaN",
// "Infinity" and "-Infinity" (--help says so).
nlohmann::json FloatJson(float value) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value > 0 ? "Infinity" : "-Infinity";
    return ShortestDouble(value);
}

template <typename Array>
nlohmann::json Slots(const Array& values, int first, int last) {
    nlohmann::json list = nlohmann::json::array();
    for (int i = first; i <= last; ++i) list.push_back(values[i]);
    return list;
}

nlohmann::json FloatSlots(const float* values, int first, int last) {
    nlohmann::json list = nlohmann::json::array();
    for (int i = first; i <= last; ++i) list.push_back(FloatJson(values[i]));
    return list;
}

}  // namespace

void PrintDisplayBox(const emulator::Display& display, std::ostream& out) {
    const std::string rule = "+" + std::string(emulator::kDisplayColumns, '-') + "+\n";
    out << rule;
    for (int row = 1; row <= 2; ++row)
        out << '|' << MaskControls(machine::Cp1251ToUtf8(display.Line(row))) << "|\n";
    out << rule;
}

nlohmann::json RunResultJson(const emulator::Emulator& emulator,
                             const emulator::HeadlessHost& host) {
    const emulator::MachineState& m = emulator.machine;
    nlohmann::json result;
    result["display"] = {machine::Cp1251ToUtf8(emulator.display().Line(1)),
                         machine::Cp1251ToUtf8(emulator.display().Line(2))};
    result["runState"] = m.runState;
    result["programCounter"] = m.ProgramCounter();
    result["returnPointer"] = m.returnPointer;
    result["stackPointer"] = m.stackPointer;
    result["stack"] = FloatSlots(m.valueStack.data(), 1, emulator::kValueStackSize);
    result["lastX"] = FloatJson(m.lastX);
    result["singles"] = FloatSlots(m.singles.data(), 1, machine::kSingleCount);
    result["integers"] = Slots(m.integers, 1, machine::kIntegerCount);
    result["bytes"] = Slots(m.bytes, 1, machine::kByteCount);
    result["pins"] = Slots(emulator.io.pins, 0, emulator::kPinCount - 1);
    result["hexMode"] = m.hexMode;
    result["eventFlags"] = m.eventFlags;
    result["instructions"] = emulator.instructionCount();
    // The last lines only, as for the screens below, and how many came before them.
    result["serialOut"] = host.serialOut();
    result["serialOutDropped"] = host.serialLinesDropped();
    result["stopReason"] = std::string(emulator::StopReasonName(host.stopReason()));
    nlohmann::json history = nlohmann::json::array();
    for (const emulator::DisplayScreen& screen : host.displayHistory().screens())
        history.push_back({{"instructions", screen.instructions},
                           {"line1", machine::Cp1251ToUtf8(screen.line1)},
                           {"line2", machine::Cp1251ToUtf8(screen.line2)}});
    result["displayHistory"] = std::move(history);
    return result;
}

}  // namespace zr::cli
