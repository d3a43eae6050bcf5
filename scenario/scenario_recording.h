// A session recorded in the emulator window, written as a scenario: the keys
// pressed, the serial lines typed and the inputs changed, in order, and
// after each key the screen that was shown when the next input came (or the
// recording stopped). The user edits the expectations afterwards.
#pragma once

#include <string>
#include <vector>

namespace zr::scenario {

class ScenarioRecording {
  public:
    // Keypad index 0..15.
    void Key(int index);
    void SerialLine(const std::string& utf8);
    void Port(int value);
    void Adc(int channel, int value);  // channel 1..4
    // The display now (UTF-8); kept as an expectation only after a key.
    void Screen(const std::string& line1, const std::string& line2);

    bool empty() const { return steps_.empty(); }
    // The scenario file: `program` relative to where it is written. The
    // device starts from its opening: the greeting and the address prompt
    // are answered first.
    std::string Yaml(const std::string& name, const std::string& program) const;

  private:
    std::vector<std::string> steps_;  // "press: 3", ...
    bool keySinceScreen_ = false;
};

// A YAML double-quoted scalar.
std::string YamlQuoted(const std::string& utf8);

}  // namespace zr::scenario
