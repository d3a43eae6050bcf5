// A scenario: a program, the inputs a test gives it and the expectations it
// checks, step by step, each step with its line in the scenario file. The
// loader (scenario_loader.h) checks everything before a scenario exists, so
// the runner (scenario_runner.h) never meets a step it cannot carry out.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "emulator/emulator.h"
#include "emulator/key_script.h"
#include "machine/image.h"
#include "machine/statement_table.h"

namespace zr::scenario {

enum class StepKind : std::uint8_t {
    Press,           // keys: delivered one by one, each followed by a settle
    WaitDisplay,     // run until the display matches
    ExpectDisplay,   // the two lines now
    ExpectSerial,    // the next line the program wrote
    WriteSerial,     // a line for INPUT and LOAD
    WaitSerial,      // run until the program writes a matching line
    SetAdc,          // index: channel 1..4, value 0..1023
    SetPort,         // value: the port inputs 0..255
    ExpectPin,       // index: pin, value 0 or 1
    ExpectPortOut,   // value: D0..D7 as a byte
    SetI2c,          // index: cell 1..128, value 0..255
    ExpectI2c,       // index: cell, value
    ExpectVariable,  // operand, number, tolerance
    ExpectStack,     // numbers, X first
    Run,             // budget instructions, or until the device waits
    ExpectState,     // state (and error code and line)
    SnapshotSave,    // file
    SnapshotLoad,    // file, anyProgram
};

// What a wait looks for on the display (line 0: either) or in a serial line.
struct TextMatch {
    int line = 0;
    std::string text;                 // a part of the line, Windows-1251
    std::optional<std::regex> regex;  // searched in the line as UTF-8
    std::string pattern;              // the regex as written, for reports
    bool Matches(std::string_view cp1251Line) const;
    std::string Describe() const;  // UTF-8
};

enum class DeviceStateName : std::uint8_t { Running, WaitingKey, WaitingSerial, Stopped, Error };

struct Step {
    StepKind kind = StepKind::Press;
    int line = 0;         // in the scenario file
    std::string keyword;  // the step's key as written ("wait-display")
    emulator::KeyToken key;
    TextMatch match;
    std::uint64_t budget = 0;          // instructions a wait or run may take
    std::array<std::string, 2> lines;  // ExpectDisplay, Windows-1251, trailing blanks cut
    int lineCount = 0;
    std::string text;  // serial line (Windows-1251), or the variable's or pin's name (UTF-8)
    std::filesystem::path file;
    bool anyProgram = false;
    int index = 0;
    int value = 0;
    std::uint8_t operand = 0;
    double number = 0;
    double tolerance = 0;
    std::vector<double> numbers;
    DeviceStateName state = DeviceStateName::Running;
    std::optional<int> errorCode;
    std::optional<int> errorLine;
};

struct Scenario {
    std::filesystem::path file;
    std::string name;
    std::filesystem::path program;
    machine::ProgramImage image{};
    // The program's statements, for an error's line (none for an image).
    machine::StatementTable statements;
    std::uint8_t port = 0;
    std::array<int, emulator::kAdcChannels> adc{};
    std::uint64_t instructionsPerTick = 10000;
    std::uint64_t timeout = 0;  // instructions, for a step without its own
    std::vector<Step> steps;
};

}  // namespace zr::scenario
