// keltoc test FILE|FOLDER... [--junit FILE] [--json] [-j N]
#include <atomic>
#include <chrono>
#include <fstream>
#include <ostream>
#include <thread>

#include "cli/commands.h"
#include "cli/source_file.h"
#include "cli/test_report.h"

namespace zr::cli {
namespace {

struct TestOptions {
    std::vector<std::filesystem::path> paths;
    std::filesystem::path junit;
    bool json = false;
    unsigned jobs = 0;  // 0: one per core
};

ScenarioOutcome RunOne(const std::filesystem::path& file, const scenario::LoadOptions& options) {
    const auto start = std::chrono::steady_clock::now();
    ScenarioOutcome outcome;
    outcome.file = file;
    outcome.name = file.filename().string();
    const auto loaded = scenario::LoadScenario(file, options);
    if (!loaded.scenario) {
        outcome.unusable = loaded.error;
    } else {
        outcome.name = loaded.scenario->name;
        outcome.result = scenario::RunScenario(*loaded.scenario);
    }
    outcome.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return outcome;
}

// Each scenario owns its device, so they run side by side; the outcomes
// keep the files' order.
std::vector<ScenarioOutcome> RunAll(const std::vector<std::filesystem::path>& files,
                                    const scenario::LoadOptions& options, unsigned jobs) {
    std::vector<ScenarioOutcome> outcomes(files.size());
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t i; (i = next++) < files.size();) outcomes[i] = RunOne(files[i], options);
    };
    if (jobs == 0) jobs = std::max(1u, std::thread::hardware_concurrency());
    jobs = static_cast<unsigned>(std::min<std::size_t>(jobs, files.size()));
    std::vector<std::thread> workers;
    for (unsigned j = 1; j < jobs; ++j) workers.emplace_back(work);
    work();
    for (auto& worker : workers) worker.join();
    return outcomes;
}

int Test(const TestOptions& options, const CommonOptions& common, std::ostream& out,
         std::ostream& err) {
    std::vector<std::filesystem::path> missing;
    const auto files = scenario::FindScenarioFiles(options.paths, missing);
    for (const auto& path : missing) Complain(err, "no such file or folder: " + path.string());
    if (!missing.empty()) return kUsageError;
    if (files.empty()) {
        Complain(err, "no *.scn.yaml scenario found");
        return kUsageError;
    }
    const auto outcomes = RunAll(files, {common.libDir, common.laterLibDirs}, options.jobs);
    if (options.json) {
        out << TestResultJson(outcomes).dump(2, ' ', false,
                                             nlohmann::json::error_handler_t::replace)
            << '\n';
    } else {
        for (const auto& outcome : outcomes) PrintOutcome(outcome, out);
        PrintSummary(TotalsOf(outcomes), out);
    }
    if (!options.junit.empty()) {
        std::ofstream junit(options.junit, std::ios::binary | std::ios::trunc);
        junit << JunitXml(outcomes);
        junit.close();
        if (!junit) {
            Complain(err, "cannot write " + options.junit.string());
            return kUsageError;
        }
    }
    const TestTotals totals = TotalsOf(outcomes);
    if (totals.unusable) return kUsageError;
    return totals.failed ? kFailure : kSuccess;
}

}  // namespace

void AddTestCommand(CLI::App& app, const CommonOptions& common, int& exitCode, std::ostream& out,
                    std::ostream& err) {
    auto options = std::make_shared<TestOptions>();
    auto* test = app.add_subcommand(
        "test",
        "Run scenario files (*.scn.yaml): keys, inputs, waits and expectations on the "
        "headless emulator");
    test->add_option("PATH", options->paths,
                     "Scenario files, or folders whose every *.scn.yaml below them runs")
        ->required()
        ->check(NonEmptyFileName());
    test->add_option("--junit", options->junit, "Also write the results as JUnit XML to FILE")
        ->check(NonEmptyFileName());
    test->add_flag("--json", options->json,
                   "Print the results as one JSON object instead of the lines and the summary");
    test->add_option("-j,--jobs", options->jobs,
                     "Scenarios run at once (default: one per processor core)")
        ->check(CLI::Range(1u, 256u));
    test->footer(
        "Prints a line per scenario: \"ok\", \"FAIL\" with the failing step's line, what it "
        "expected and what it found, and the display as a box, or \"ERROR\" for a file that "
        "could not be used (its line and what was expected there); then \"N passed, M "
        "failed\". Exit code 0 when every scenario passed, 1 when one failed, 2 when a file "
        "could not be used. A scenario file names its program (a source or a 1024-byte image, "
        "relative to the file) and its steps: press, press-text, wait-display, expect-display, "
        "expect-serial, write-serial, wait-serial, set-adc, set-port, expect-pin, "
        "expect-port-out, set-i2c, expect-i2c, expect-variable, expect-stack, run, "
        "expect-state, snapshot-save, snapshot-load (see man keltoc).");
    test->callback(
        [options, &common, &exitCode, &out, &err] { exitCode = Test(*options, common, out, err); });
}

}  // namespace zr::cli
