#include "scenario/scenario_loader.h"

#include <yaml-cpp/yaml.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>

#include "compiler/compiled_statements.h"
#include "compiler/compiler.h"
#include "compiler/source_text.h"
#include "formats/zrt.h"
#include "machine/cp1251.h"
#include "machine/file_read.h"
#include "scenario/step_values.h"

namespace zr::scenario {
namespace {

namespace fs = std::filesystem;

constexpr std::uint64_t kDefaultTimeoutTicks = 100;  // 10 s of virtual time

// A refusal inside the loader: caught once, at the top, with its line.
struct Refusal {
    int line;
    std::string message;
};

int LineOf(const YAML::Node& node) {
    return node.Mark().is_null() ? 0 : node.Mark().line + 1;
}

[[noreturn]] void Refuse(const YAML::Node& node, std::string message) {
    throw Refusal{LineOf(node), std::move(message)};
}

std::string Scalar(const YAML::Node& node, const std::string& what) {
    if (!node.IsScalar()) Refuse(node, "expected " + what);
    return node.Scalar();
}

long long Whole(const YAML::Node& node, const std::string& what, long long low, long long high) {
    const auto value = node.IsScalar() ? ParseWhole(node.Scalar()) : std::nullopt;
    if (!value || *value < low || *value > high)
        Refuse(node, "expected " + what + ", a whole number " + std::to_string(low) + ".." +
                         std::to_string(high));
    return *value;
}

double Number(const YAML::Node& node, const std::string& what) {
    const auto value = node.IsScalar() ? ParseNumber(node.Scalar()) : std::nullopt;
    if (!value) Refuse(node, "expected " + what + ", a number");
    return *value;
}

// "a, b, c"
template <typename Names>
std::string Listed(const Names& names) {
    std::string list;
    for (const auto& name : names) {
        if (!list.empty()) list += ", ";
        list += name;
    }
    return list;
}

[[noreturn]] void RefuseUnknownField(const YAML::Node& key, const std::string& step,
                                     const std::set<std::string>& allowed) {
    Refuse(key, "unknown field '" + key.Scalar() + "' of " + step + " (expected " +
                    Listed(allowed) + ")");
}

// A map's fields: the ones named, each checked once; anything else is refused.
class Fields {
  public:
    Fields(const YAML::Node& map, const std::string& step, const std::set<std::string>& allowed)
        : map_(map) {
        if (!map.IsMap()) Refuse(map, "expected the fields of " + step);
        for (const auto& field : map)
            if (!allowed.count(field.first.Scalar()))
                RefuseUnknownField(field.first, step, allowed);
    }
    bool Has(const std::string& key) const { return static_cast<bool>(map_[key]); }
    YAML::Node Required(const std::string& key) const {
        if (!map_[key]) Refuse(map_, "missing field '" + key + "'");
        return map_[key];
    }
    YAML::Node Optional(const std::string& key) const { return map_[key]; }

  private:
    const YAML::Node& map_;
};

class Loader {
  public:
    Loader(fs::path file, const LoadOptions& options) : options_(options) {
        scenario_.file = std::move(file);
    }

    Scenario Load(const YAML::Node& root) {
        if (!root.IsMap()) Refuse(root, "expected a scenario: name, program and steps");
        Fields top(root, "a scenario",
                   {"name", "program", "lib-dir", "port", "adc", "instructions-per-tick", "timeout",
                    "steps"});
        scenario_.name =
            top.Has("name") ? Scalar(root["name"], "a name") : scenario_.file.filename().string();
        if (top.Has("instructions-per-tick"))
            scenario_.instructionsPerTick = static_cast<std::uint64_t>(
                Whole(root["instructions-per-tick"], "instructions per tick", 1, 1'000'000'000));
        scenario_.timeout = kDefaultTimeoutTicks * scenario_.instructionsPerTick;
        if (top.Has("timeout")) scenario_.timeout = Duration(root["timeout"]);
        if (top.Has("port"))
            scenario_.port =
                static_cast<std::uint8_t>(Whole(root["port"], "the port inputs", 0, 255));
        if (top.Has("adc")) {
            const YAML::Node adc = root["adc"];
            if (!adc.IsSequence() || adc.size() != emulator::kAdcChannels)
                Refuse(adc, "expected four ADC positions [A, B, C, D]");
            for (std::size_t i = 0; i < adc.size(); ++i)
                scenario_.adc[i] =
                    static_cast<int>(Whole(adc[i], "an ADC position", 0, emulator::kAdcMaximum));
        }
        if (top.Has("lib-dir")) libDir_ = Near(Scalar(root["lib-dir"], "a folder"));
        LoadProgram(top.Required("program"));

        const YAML::Node steps = top.Required("steps");
        if (!steps.IsSequence()) Refuse(steps, "expected a list of steps");
        for (const auto& step : steps) AddStep(step);
        return std::move(scenario_);
    }

  private:
    fs::path Near(const std::string& path) const {
        const fs::path p(path);
        return p.is_absolute() ? p : scenario_.file.parent_path() / p;
    }

    std::uint64_t Duration(const YAML::Node& node) const {
        const auto value = node.IsScalar()
                               ? ParseDuration(node.Scalar(), scenario_.instructionsPerTick)
                               : std::nullopt;
        if (!value) Refuse(node, "expected a duration: N instr, Ns or Nms");
        return *value;
    }

    void LoadProgram(const YAML::Node& node) {
        scenario_.program = Near(Scalar(node, "the program's path"));
        std::string extension = scenario_.program.extension().string();
        std::transform(extension.begin(), extension.end(), extension.begin(),
                       [](unsigned char c) { return std::tolower(c); });
        const bool image = extension == ".bin";
        auto read = machine::ReadRegularFile(
            scenario_.program, image ? machine::kProgramSize : machine::kMaxTextFileSize);
        if (!read.ok())
            Refuse(node, "cannot read " + scenario_.program.string() + ": " + read.Reason());
        if (image) {
            if (read.bytes.size() != static_cast<std::size_t>(machine::kProgramSize))
                Refuse(node, scenario_.program.string() + " is not a 1024-byte image");
            std::copy(read.bytes.begin(), read.bytes.end(), scenario_.image.begin() + 1);
            return;
        }
        compiler_.libraryFolder = libDir_.empty() ? options_.libDir : libDir_;
        compiler_.extraLibraryFolders = options_.laterLibDirs;
        compiler_.sourceFolder = scenario_.program.parent_path();
        if (!compiler_.CompileSource(compiler::ToCompilerText(formats::ReadZrt(read.bytes).text))) {
            const auto& message = compiler_.messages.front();
            const auto& text = compiler_.TextOf(message.sourceIndex);
            const auto at =
                compiler::LineColumnOf(text, compiler::SkipBlanks(text, message.errorStart));
            Refuse(node, scenario_.program.filename().string() + ":" + std::to_string(at.line) +
                             ":" + std::to_string(at.column) + ": " + message.text);
        }
        compiled_ = true;
        scenario_.image = compiler_.programImage;
        scenario_.statements = compiler::StatementTableOf(compiler_);
    }

    Step NewStep(const YAML::Node& node, const std::string& keyword, StepKind kind) {
        Step step;
        step.kind = kind;
        step.line = LineOf(node);
        step.keyword = keyword;
        step.budget = scenario_.timeout;
        return step;
    }

    void AddKeys(Step step, const std::vector<emulator::KeyToken>& keys) {
        for (const auto& key : keys) {
            step.key = key;
            scenario_.steps.push_back(step);
        }
    }

    // Device text (display and serial lines) is Windows-1251.
    TextMatch Match(const YAML::Node& node, Step& step, bool display) {
        TextMatch match;
        if (node.IsScalar()) {
            match.text = machine::Utf8ToCp1251(node.Scalar());
            return match;
        }
        Fields fields(node, step.keyword,
                      display ? std::set<std::string>{"line", "text", "regex", "timeout"}
                              : std::set<std::string>{"text", "regex", "timeout"});
        if (fields.Has("line")) match.line = static_cast<int>(Whole(node["line"], "line", 1, 2));
        if (fields.Has("text") == fields.Has("regex"))
            Refuse(node, "expected one of 'text' and 'regex'");
        if (fields.Has("text")) {
            const std::string text = Scalar(node["text"], "a text");
            match.text = machine::Utf8ToCp1251(text);
        } else {
            match.pattern = Scalar(node["regex"], "a regular expression");
            try {
                match.regex.emplace(match.pattern);
            } catch (const std::regex_error& error) {
                Refuse(node["regex"], "bad regular expression: " + std::string(error.what()));
            }
        }
        if (fields.Has("timeout")) step.budget = Duration(node["timeout"]);
        return match;
    }

    void AddStep(const YAML::Node& node) {
        if (!node.IsMap() || node.size() != 1)
            Refuse(node, "expected a step: one key such as 'press' or 'expect-display'");
        const std::string keyword = node.begin()->first.Scalar();
        const YAML::Node value = node.begin()->second;
        const auto handler = kSteps.find(keyword);
        if (handler == kSteps.end()) {
            std::vector<std::string> names;
            names.reserve(kSteps.size());
            for (const auto& step : kSteps) names.push_back(step.first);
            Refuse(node, "unknown step '" + keyword + "' (expected one of " + Listed(names) + ")");
        }
        (this->*(handler->second))(node, keyword, value);
    }

    using StepParser = void (Loader::*)(const YAML::Node&, const std::string&, const YAML::Node&);
    static const std::map<std::string, StepParser> kSteps;

    void Press(const YAML::Node& node, const std::string& keyword, const YAML::Node& value) {
        std::vector<emulator::KeyToken> keys;
        const auto one = [&](const YAML::Node& item) {
            const auto key = item.IsScalar() ? ParseKey(item.Scalar()) : std::nullopt;
            if (!key)
                Refuse(item,
                       "expected a key: 0..9, comma, minus, F, left, right, enter, run1, run, "
                       "stop, adr1, end or tick");
            keys.push_back(*key);
        };
        if (value.IsSequence()) {
            if (value.size() == 0) Refuse(value, "expected at least one key");
            for (const auto& item : value) one(item);
        } else {
            one(value);
        }
        AddKeys(PressStep(node, keyword), keys);
    }

    // A key is followed by a settle: the device runs until it waits for
    // input again, for at most 100 ms of virtual time, so a program that
    // never waits is not run on through the whole timeout after each key.
    Step PressStep(const YAML::Node& node, const std::string& keyword) {
        Step step = NewStep(node, keyword, StepKind::Press);
        step.budget = scenario_.instructionsPerTick;
        return step;
    }

    void PressText(const YAML::Node& node, const std::string& keyword, const YAML::Node& value) {
        const auto keys = value.IsScalar() ? ParseTypedText(value.Scalar()) : std::nullopt;
        if (!keys) Refuse(value, "expected a number to type: digits, '.', ',' and '-'");
        AddKeys(PressStep(node, keyword), *keys);
    }

    void WaitDisplay(const YAML::Node& node, const std::string& keyword, const YAML::Node& value) {
        Step step = NewStep(node, keyword, StepKind::WaitDisplay);
        step.match = Match(value, step, true);
        scenario_.steps.push_back(std::move(step));
    }

    void WaitSerial(const YAML::Node& node, const std::string& keyword, const YAML::Node& value) {
        Step step = NewStep(node, keyword, StepKind::WaitSerial);
        step.match = Match(value, step, false);
        scenario_.steps.push_back(std::move(step));
    }

    void ExpectDisplay(const YAML::Node& node, const std::string& keyword,
                       const YAML::Node& value) {
        Step step = NewStep(node, keyword, StepKind::ExpectDisplay);
        if (!value.IsSequence() || value.size() < 1 || value.size() > 2)
            Refuse(value, "expected the display's lines: [LINE1, LINE2]");
        for (std::size_t i = 0; i < value.size(); ++i) {
            std::string line = machine::Utf8ToCp1251(Scalar(value[i], "a display line"));
            while (!line.empty() && line.back() == ' ') line.pop_back();
            if (line.size() > static_cast<std::size_t>(emulator::kDisplayColumns))
                Refuse(value[i], "a display line has at most 16 characters");
            step.lines[i] = std::move(line);
        }
        step.lineCount = static_cast<int>(value.size());
        scenario_.steps.push_back(std::move(step));
    }

    void SerialLine(const YAML::Node& node, const std::string& keyword, const YAML::Node& value) {
        Step step =
            NewStep(node, keyword,
                    keyword == "write-serial" ? StepKind::WriteSerial : StepKind::ExpectSerial);
        if (step.kind == StepKind::WriteSerial) step.budget = scenario_.instructionsPerTick;
        step.text = machine::Utf8ToCp1251(Scalar(value, "a serial line"));
        scenario_.steps.push_back(std::move(step));
    }

    void SetAdc(const YAML::Node& node, const std::string& keyword, const YAML::Node& value) {
        Step step = NewStep(node, keyword, StepKind::SetAdc);
        Fields fields(value, keyword, {"channel", "value"});
        step.index = static_cast<int>(Whole(fields.Required("channel"), "channel", 1, 4));
        step.value =
            static_cast<int>(Whole(fields.Required("value"), "value", 0, emulator::kAdcMaximum));
        scenario_.steps.push_back(std::move(step));
    }

    void PortValue(const YAML::Node& node, const std::string& keyword, const YAML::Node& value) {
        Step step = NewStep(node, keyword,
                            keyword == "set-port" ? StepKind::SetPort : StepKind::ExpectPortOut);
        step.value = static_cast<int>(Whole(value, "a port value", 0, 255));
        scenario_.steps.push_back(std::move(step));
    }

    void ExpectPin(const YAML::Node& node, const std::string& keyword, const YAML::Node& value) {
        Step step = NewStep(node, keyword, StepKind::ExpectPin);
        Fields fields(value, keyword, {"name", "value"});
        const YAML::Node name = fields.Required("name");
        const auto pin = name.IsScalar() ? ParsePinName(name.Scalar()) : std::nullopt;
        if (!pin) Refuse(name, "expected a pin: WE, CE or P0..P7");
        step.index = *pin;
        step.text = name.Scalar();
        step.value = static_cast<int>(Whole(fields.Required("value"), "value", 0, 1));
        scenario_.steps.push_back(std::move(step));
    }

    void I2cCell(const YAML::Node& node, const std::string& keyword, const YAML::Node& value) {
        Step step =
            NewStep(node, keyword, keyword == "set-i2c" ? StepKind::SetI2c : StepKind::ExpectI2c);
        Fields fields(value, keyword, {"cell", "value"});
        step.index =
            static_cast<int>(Whole(fields.Required("cell"), "cell", 1, emulator::kI2CSize));
        step.value = static_cast<int>(Whole(fields.Required("value"), "value", 0, 255));
        scenario_.steps.push_back(std::move(step));
    }

    void ExpectVariable(const YAML::Node& node, const std::string& keyword,
                        const YAML::Node& value) {
        Step step = NewStep(node, keyword, StepKind::ExpectVariable);
        Fields fields(value, keyword, {"name", "value", "tolerance"});
        const YAML::Node name = fields.Required("name");
        step.text = Scalar(name, "a variable's name");
        if (!compiled_) Refuse(name, "variables need a program source: an image has no names");
        const int slot = compiler_.names.FindName(machine::Utf8ToCp1251(step.text));
        const auto kind = slot ? compiler_.names[slot].kind : compiler::NameKind::Label;
        if (kind != compiler::NameKind::Single && kind != compiler::NameKind::Integer &&
            kind != compiler::NameKind::Byte)
            Refuse(name,
                   "expected the name of a Single, Integer or Byte variable the program "
                   "declares, not '" +
                       step.text + "'");
        step.operand = static_cast<std::uint8_t>(compiler::VariableOperand(compiler_.names[slot]));
        step.number = Number(fields.Required("value"), "value");
        if (fields.Has("tolerance")) step.tolerance = Number(value["tolerance"], "tolerance");
        if (step.tolerance < 0) Refuse(value["tolerance"], "expected a tolerance of 0 or more");
        scenario_.steps.push_back(std::move(step));
    }

    void ExpectStack(const YAML::Node& node, const std::string& keyword, const YAML::Node& value) {
        Step step = NewStep(node, keyword, StepKind::ExpectStack);
        if (!value.IsSequence() || value.size() < 1 || value.size() > emulator::kValueStackSize)
            Refuse(value, "expected 1..16 stack values, X first: [X, Y, ...]");
        for (const auto& item : value) step.numbers.push_back(Number(item, "a stack value"));
        scenario_.steps.push_back(std::move(step));
    }

    void RunFor(const YAML::Node& node, const std::string& keyword, const YAML::Node& value) {
        Step step = NewStep(node, keyword, StepKind::Run);
        step.budget = Duration(value);
        scenario_.steps.push_back(std::move(step));
    }

    void ExpectState(const YAML::Node& node, const std::string& keyword, const YAML::Node& value) {
        Step step = NewStep(node, keyword, StepKind::ExpectState);
        if (value.IsScalar()) {
            static const std::map<std::string, DeviceStateName> kNames = {
                {"running", DeviceStateName::Running},
                {"waiting-key", DeviceStateName::WaitingKey},
                {"waiting-serial", DeviceStateName::WaitingSerial},
                {"stopped", DeviceStateName::Stopped},
            };
            const auto found = kNames.find(value.Scalar());
            if (found == kNames.end())
                Refuse(value,
                       "expected running, waiting-key, waiting-serial, stopped or {error: N, line: "
                       "L}");
            step.state = found->second;
        } else {
            Fields fields(value, keyword, {"error", "line"});
            step.state = DeviceStateName::Error;
            step.errorCode =
                static_cast<int>(Whole(fields.Required("error"), "error code", 2, 255));
            if (fields.Has("line")) {
                if (!compiled_) Refuse(value["line"], "a line needs a program source");
                step.errorLine = static_cast<int>(Whole(value["line"], "line", 1, 1'000'000));
            }
        }
        scenario_.steps.push_back(std::move(step));
    }

    void Snapshot(const YAML::Node& node, const std::string& keyword, const YAML::Node& value) {
        const bool load = keyword == "snapshot-load";
        Step step = NewStep(node, keyword, load ? StepKind::SnapshotLoad : StepKind::SnapshotSave);
        if (load && value.IsMap()) {
            Fields fields(value, keyword, {"file", "any-program"});
            step.file = Near(Scalar(fields.Required("file"), "a snapshot file"));
            if (fields.Has("any-program")) {
                const std::string any = Scalar(value["any-program"], "true or false");
                if (any != "true" && any != "false")
                    Refuse(value["any-program"], "expected true or false");
                step.anyProgram = any == "true";
            }
        } else {
            step.file = Near(Scalar(value, "a snapshot file"));
        }
        scenario_.steps.push_back(std::move(step));
    }

    const LoadOptions& options_;
    Scenario scenario_;
    fs::path libDir_;
    compiler::Compiler compiler_;
    bool compiled_ = false;
};

const std::map<std::string, Loader::StepParser> Loader::kSteps = {
    {"press", &Loader::Press},
    {"press-text", &Loader::PressText},
    {"wait-display", &Loader::WaitDisplay},
    {"expect-display", &Loader::ExpectDisplay},
    {"expect-serial", &Loader::SerialLine},
    {"write-serial", &Loader::SerialLine},
    {"wait-serial", &Loader::WaitSerial},
    {"set-adc", &Loader::SetAdc},
    {"set-port", &Loader::PortValue},
    {"expect-port-out", &Loader::PortValue},
    {"expect-pin", &Loader::ExpectPin},
    {"set-i2c", &Loader::I2cCell},
    {"expect-i2c", &Loader::I2cCell},
    {"expect-variable", &Loader::ExpectVariable},
    {"expect-stack", &Loader::ExpectStack},
    {"run", &Loader::RunFor},
    {"expect-state", &Loader::ExpectState},
    {"snapshot-save", &Loader::Snapshot},
    {"snapshot-load", &Loader::Snapshot},
};

constexpr std::uintmax_t kMaxScenarioBytes = std::uintmax_t{16} << 20;

}  // namespace

std::string LoadError::Text() const {
    return file.string() + (line > 0 ? ":" + std::to_string(line) : "") + ": " + message;
}

LoadResult LoadScenarioText(const std::string& text, const fs::path& file,
                            const LoadOptions& options) {
    LoadResult result;
    result.error.file = file;
    try {
        const YAML::Node root = YAML::Load(text);
        result.scenario = Loader(file, options).Load(root);
    } catch (const Refusal& refusal) {
        result.error.line = refusal.line;
        result.error.message = refusal.message;
    } catch (const YAML::Exception& error) {
        result.error.line = error.mark.is_null() ? 0 : error.mark.line + 1;
        result.error.message = "not YAML: " + error.msg;
    }
    return result;
}

LoadResult LoadScenario(const fs::path& file, const LoadOptions& options) {
    auto read = machine::ReadRegularFile(file, kMaxScenarioBytes);
    if (!read.ok()) {
        LoadResult result;
        result.error = {file, 0, "cannot read: " + read.Reason()};
        return result;
    }
    return LoadScenarioText(read.bytes, file, options);
}

std::vector<fs::path> FindScenarioFiles(const std::vector<fs::path>& paths,
                                        std::vector<fs::path>& missing) {
    constexpr std::string_view kSuffix = ".scn.yaml";
    std::vector<fs::path> files;
    for (const auto& path : paths) {
        std::error_code ec;
        if (fs::is_directory(path, ec)) {
            std::vector<fs::path> found;
            for (auto it = fs::recursive_directory_iterator(path, ec);
                 !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
                const std::string name = it->path().filename().string();
                if (name.size() > kSuffix.size() && name.ends_with(kSuffix) &&
                    it->is_regular_file(ec))
                    found.push_back(it->path());
            }
            std::sort(found.begin(), found.end());
            files.insert(files.end(), found.begin(), found.end());
        } else if (fs::exists(path, ec)) {
            files.push_back(path);
        } else {
            missing.push_back(path);
        }
    }
    return files;
}

}  // namespace zr::scenario
