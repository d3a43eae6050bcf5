// keltoc run SOURCE|IMAGE.bin [--keys LIST] [--port N] [--adc A,B,C,D]
//   [--instructions-per-tick N] [--max-instructions N] [--serial-in FILE]
//   [--serial-out FILE] [--json]
//   [--break LINE[#HITS][:COND][,...]] [--trace] [--snapshot-in FILE] [--snapshot-out FILE]
#include <algorithm>
#include <charconv>
#include <fstream>
#include <ostream>

#include "cli/commands.h"
#include "cli/compile_output.h"
#include "cli/run_debugging.h"
#include "cli/run_report.h"
#include "cli/serial_out_file.h"
#include "cli/source_file.h"
#include "compiler/compiler.h"
#include "emulator/emulator.h"
#include "emulator/headless_host.h"
#include "emulator/snapshot.h"
#include "machine/file_read.h"

namespace zr::cli {
namespace {

struct RunOptions {
    std::filesystem::path program;
    std::string keys;
    std::string port;  // empty: not given (0, or the snapshot's)
    std::vector<int> adc;
    std::uint64_t instructionsPerTick = 10000;
    std::uint64_t maxInstructions = 10'000'000;
    std::filesystem::path serialIn;
    std::filesystem::path serialOut;
    bool json = false;
    RunDebugOptions debug;
    std::filesystem::path snapshotIn;
    std::filesystem::path snapshotOut;
    bool snapshotAnyProgram = false;
};

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec);
}

constexpr std::uintmax_t kMaxSnapshotBytes = 1 << 20;

// The snapshot to resume from, checked against the program given; an exit
// code when it cannot be used.
std::optional<int> ReadResumeSnapshot(const RunOptions& options, const machine::ProgramImage& image,
                                      std::optional<emulator::Snapshot>& snapshot,
                                      std::ostream& err) {
    const auto bytes = ReadInputFile(options.snapshotIn, kMaxSnapshotBytes, err);
    if (!bytes) return kUsageError;
    std::string error;
    snapshot = emulator::ReadSnapshot(*bytes, error);
    if (!snapshot) {
        Complain(err, options.snapshotIn.string() + ": " + error);
        return kUsageError;
    }
    if (snapshot->programId != emulator::ProgramIdOf(image) && !options.snapshotAnyProgram) {
        Complain(err, options.snapshotIn.string() +
                          " is a snapshot of another program (--snapshot-any-program loads it "
                          "anyway)");
        return kUsageError;
    }
    return std::nullopt;
}

bool WriteSnapshotFile(const std::filesystem::path& path, const emulator::Snapshot& snapshot,
                       std::ostream& err) {
    return WriteOutputFile(path, emulator::WriteSnapshot(snapshot), err);
}

bool IsImageFile(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    return extension == ".bin";
}

// 0..255, decimal or 0x hex.
std::optional<int> ParsePort(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    int value = -1;
    const auto parsed = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || parsed.ptr != text.data() + text.size() || value < 0 || value > 255)
        return std::nullopt;
    return value;
}

// The program: a 1024-byte image, or a source compiled as the run command
// would. Returns an exit code when it cannot go on.
std::optional<int> LoadProgram(const RunOptions& options, const CommonOptions& common,
                               emulator::Emulator& device, DebugProgram& debugProgram,
                               std::ostream& err) {
    const bool image = IsImageFile(options.program);
    const auto bytes = image ? ReadInputFile(options.program, machine::kProgramSize, err)
                             : ReadSourceFile(options.program, err);
    if (!bytes) return kUsageError;
    if (image) {
        if (options.debug.Wanted()) {
            Complain(err, "--break and --trace need a source: an image has no statement map");
            return kUsageError;
        }
        if (bytes->size() != static_cast<std::size_t>(machine::kProgramSize)) {
            Complain(err, options.program.string() + " is not a 1024-byte image");
            return kUsageError;
        }
        machine::ProgramImage image{};
        std::copy(bytes->begin(), bytes->end(), image.begin() + 1);
        device.LoadProgram(image);
        return std::nullopt;
    }
    compiler::Compiler compiler;
    compiler.libraryFolder = common.libDir;
    compiler.extraLibraryFolders = common.laterLibDirs;
    compiler.sourceFolder = SourceFolder(options.program);
    if (!compiler.CompileSource(SourceBytesToCompilerText(*bytes))) {
        PrintCompileMessages(compiler, options.program, err);
        return kFailure;
    }
    device.LoadProgram(compiler.programImage);
    debugProgram = DebugProgramOf(compiler);
    return std::nullopt;
}

int Run(const RunOptions& options, const CommonOptions& common, std::ostream& out,
        std::ostream& err) {
    emulator::HeadlessOptions headless;
    std::string error;
    const auto keys = emulator::ParseKeyTokens(options.keys, error);
    if (!keys) {
        Complain(err, "--keys: " + error);
        return kUsageError;
    }
    headless.keys = *keys;
    const auto port = options.port.empty() ? std::optional<int>(0) : ParsePort(options.port);
    if (!port) {
        err << "keltoc: --port must be 0..255 (decimal or 0x hex)\n";
        return kUsageError;
    }
    if (!options.adc.empty() && (options.adc.size() != emulator::kAdcChannels ||
                                 std::any_of(options.adc.begin(), options.adc.end(), [](int v) {
                                     return v < 0 || v > emulator::kAdcMaximum;
                                 }))) {
        err << "keltoc: --adc takes four positions 0.." << emulator::kAdcMaximum << '\n';
        return kUsageError;
    }
    headless.instructionsPerTick = options.instructionsPerTick;
    headless.maxInstructions = options.maxInstructions;
    for (const auto& input : {options.program, options.serialIn}) {
        if (!options.serialOut.empty() && !input.empty() && SameFile(input, options.serialOut)) {
            Complain(err, "the serial output would overwrite " + input.string());
            return kUsageError;
        }
    }
    // The text report shows no serial line, so none is kept; --json shows the last ones.
    headless.serialLinesKept = options.json ? emulator::kSerialLinesKept : 0;
    SerialOutFile serialOut;
    if (!options.serialOut.empty())
        headless.serialSink = [&serialOut](std::string_view line) { serialOut.WriteLine(line); };
    if (!options.serialIn.empty()) {
        auto serial = ReadInputFile(options.serialIn, machine::kMaxTextFileSize, err);
        if (!serial) return kUsageError;
        headless.serialIn = emulator::SerialInput(std::move(*serial));
    }

    emulator::HeadlessHost host(std::move(headless));
    emulator::Emulator device(host);
    DebugProgram debugProgram;
    if (const auto failed = LoadProgram(options, common, device, debugProgram, err)) return *failed;
    // Opened once the program is there, so a source that does not compile leaves it alone.
    if (!options.serialOut.empty() && !serialOut.Open(options.serialOut, err)) return kUsageError;
    const std::uint32_t programId = emulator::ProgramIdOf(device.machine.programImage);
    std::optional<emulator::Snapshot> resumed;
    if (!options.snapshotIn.empty()) {
        if (const auto failed =
                ReadResumeSnapshot(options, device.machine.programImage, resumed, err))
            return *failed;
        emulator::RestoreDeviceState(device, resumed->device);
    } else {
        device.ClearSinglesAndIntegers();
    }
    std::string breakError;
    const auto debugger =
        AttachDebugger(options.debug, debugProgram, device, host, out, breakError);
    if (!breakError.empty()) {
        Complain(err, breakError);
        return kUsageError;
    }
    // A resumed device keeps the snapshot's inputs unless they are given.
    if (!resumed || !options.port.empty()) device.io.portInputs = static_cast<std::uint8_t>(*port);
    if (!options.adc.empty())
        std::copy(options.adc.begin(), options.adc.end(), device.io.adc.begin());
    if (resumed)
        host.Resume(device);
    else
        host.Run(device);
    if (!options.snapshotOut.empty() &&
        !WriteSnapshotFile(options.snapshotOut,
                           {emulator::CaptureDeviceState(device), programId,
                            (resumed ? resumed->serialLinesIn : 0) + host.serialLinesRead(),
                            (resumed ? resumed->serialLinesOut : 0) + host.serialLineCount()},
                           err))
        return kUsageError;
    // Before the report, which may go to the same place (--serial-out /dev/stdout).
    const bool serialWritten = serialOut.Close(err);

    const bool atBreakpoint = debugger && host.stopReason() == emulator::StopReason::Breakpoint;
    if (options.json) {
        auto result = RunResultJson(device, host);
        if (atBreakpoint) AddPausePlace(result, *debugger, device);
        out << result.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
    } else {
        PrintDisplayBox(device.display(), out);
    }
    if (!serialWritten) return kUsageError;
    const bool runError = !host.errors().empty() || device.machine.runState > emulator::kRunning;
    return runError ? kFailure : kSuccess;
}

}  // namespace

void AddRunCommand(CLI::App& app, const CommonOptions& common, int& exitCode, std::ostream& out,
                   std::ostream& err) {
    auto options = std::make_shared<RunOptions>();
    auto* run = app.add_subcommand(
        "run",
        "Compile a source (or load a 1024-byte image) and run it on the headless emulator "
        "(--break: end at a source line; --trace: a line per statement reached)");
    run->add_option("PROGRAM", options->program,
                    "Source (.zrt RTF or plain UTF-8 text) or IMAGE.bin (cells 1..1024)")
        ->required();
    run->add_option("--keys", options->keys,
                    "Comma-separated tokens delivered when the emulator waits for input: 0..9, "
                    "comma, minus, F, left, right, enter (keys); run1, run, stop, adr1, end "
                    "(window commands); tick (one 100 ms tick). @N:TOKEN delivers a token once N "
                    "instructions have executed");
    run->add_option("--port", options->port,
                    "Port input check boxes as one number, 0..255 (decimal or 0x hex)");
    run->add_option("--adc", options->adc, "Four analogue slider positions A,B,C,D (0..1023)")
        ->delimiter(',')
        ->expected(4);
    run->add_option("--instructions-per-tick", options->instructionsPerTick,
                    "Executed instructions per 100 ms timer tick (virtual time), at least 1")
        ->capture_default_str()
        ->check(PositiveCount());
    run->add_option("--max-instructions", options->maxInstructions,
                    "Stop after this many executed instructions, at least 1")
        ->capture_default_str()
        ->check(PositiveCount());
    run->add_option(
           "--serial-in", options->serialIn,
           "Lines that INPUT and LOAD read from serial channel 1; the run ends at their end")
        ->check(NonEmptyFileName());
    run->add_option("--serial-out", options->serialOut,
                    "Write every line the program sends to serial channel 1 to this file as the "
                    "run goes, one per line (created or emptied as a shell's > does; a device or "
                    "FIFO such as /dev/stdout is written as it is; never PROGRAM or the "
                    "--serial-in file)")
        ->check(NonEmptyFileName());
    run->add_flag("--json", options->json,
                  "Print the final state as one JSON object; a float that is not a finite number "
                  "is written as the string \"NaN\", \"Infinity\" or \"-Infinity\". "
                  "\"serialOut\" holds the last 10,000 serial lines and \"serialOutDropped\" "
                  "the number of earlier ones left out (all of them: --serial-out)");
    run->add_option("--break", options->debug.breakpoints,
                    "End the run just before the first statement that starts on one of these "
                    "source lines (1-based; a line without a statement stands for the next line "
                    "that has one): stopReason \"breakpoint\", and --json gains the statement's "
                    "\"line\" and \"column\". Each item is LINE[#HITS][:CONDITION]: with "
                    "a condition NAME OP NUMBER (a declared variable; OP one of = <> < > <= >=; "
                    "the number with a decimal point) it stops only where that holds; with #HITS "
                    "only on the HITS-th time it is reached with the condition holding. Quote "
                    "items with blanks: --break 12:\"a > 5\",20#3:\"b1 <= -1.5\"")
        ->delimiter(',')
        ->check(BreakpointItem());
    run->add_flag("--trace", options->debug.trace,
                  "Before the final report, print a line per statement reached: LINE:COLUMN, "
                  "its address, its first word and the value stack (slots 1..StackPointer, X "
                  "last, in the trace's number form)");
    run->add_option("--snapshot-in", options->snapshotIn,
                    "Go on from the device state in this snapshot file instead of the opening "
                    "(the keys, time and limits count from there); --port and --adc replace its "
                    "inputs only when given")
        ->check(NonEmptyFileName());
    run->add_option("--snapshot-out", options->snapshotOut,
                    "After the run, write the whole device state to this snapshot file")
        ->check(NonEmptyFileName());
    run->add_flag("--snapshot-any-program", options->snapshotAnyProgram,
                  "Load a --snapshot-in saved from another program (its memory holds that "
                  "program)");
    run->footer(
        "The run ends when no token is left and the emulator waits for input or returns to the "
        "stopped state, or at --max-instructions. Exit code 1 when a run error was reported. "
        "Control characters on the display are drawn as \"·\" in the box; --json keeps them. "
        "Without --json no serial line is kept, only counted: use --serial-out to see them. "
        "Files read must be regular files (links are followed): a source or serial input of at "
        "most 64 MB, an image of exactly 1024 bytes.");
    run->callback(
        [options, &common, &exitCode, &out, &err] { exitCode = Run(*options, common, out, err); });
}

}  // namespace zr::cli
