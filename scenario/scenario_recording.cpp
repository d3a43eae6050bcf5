#include "scenario/scenario_recording.h"

#include <array>
#include <cstdio>

namespace zr::scenario {
namespace {

constexpr std::array<const char*, 16> kKeyTokens = {"0", "1",    "2",     "3",    "4",     "5",
                                                    "6", "7",    "8",     "9",    "comma", "minus",
                                                    "F", "left", "right", "enter"};

std::string TrimmedRight(std::string text) {
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

}  // namespace

std::string YamlQuoted(const std::string& utf8) {
    std::string quoted = "\"";
    for (const char c : utf8) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned char>(c));
            quoted += escape;
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

void ScenarioRecording::Key(int index) {
    if (index < 0 || index >= static_cast<int>(kKeyTokens.size())) return;
    steps_.push_back(std::string("press: ") + kKeyTokens[index]);
    keySinceScreen_ = true;
}

void ScenarioRecording::SerialLine(const std::string& utf8) {
    steps_.push_back("write-serial: " + YamlQuoted(utf8));
}

void ScenarioRecording::Port(int value) {
    steps_.push_back("set-port: " + std::to_string(value));
}

void ScenarioRecording::Adc(int channel, int value) {
    steps_.push_back("set-adc: {channel: " + std::to_string(channel) +
                     ", value: " + std::to_string(value) + "}");
}

void ScenarioRecording::Screen(const std::string& line1, const std::string& line2) {
    if (!keySinceScreen_) return;
    keySinceScreen_ = false;
    steps_.push_back("expect-display: [" + YamlQuoted(TrimmedRight(line1)) + ", " +
                     YamlQuoted(TrimmedRight(line2)) + "]");
}

std::string ScenarioRecording::Yaml(const std::string& name, const std::string& program) const {
    std::string yaml = "# Recorded in the emulator window: edit the expectations as needed.\n";
    yaml += "name: " + YamlQuoted(name) + "\nprogram: " + YamlQuoted(program) + "\nsteps:\n";
    yaml += "  - press: [enter, enter]   # the greeting, then start at address 1\n";
    for (const auto& step : steps_) yaml += "  - " + step + "\n";
    return yaml;
}

}  // namespace zr::scenario
