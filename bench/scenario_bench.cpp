// A folder of 100 scenarios, loaded and run as keltoc test does: every
// shipped example's scenario, over and over, one after the other and on all
// cores.
#include <benchmark/benchmark.h>

#include <atomic>
#include <filesystem>
#include <thread>
#include <vector>

#include "scenario/scenario_loader.h"
#include "scenario/scenario_runner.h"

namespace {

namespace fs = std::filesystem;
using zr::scenario::LoadOptions;

std::vector<fs::path> HundredScenarios() {
    std::vector<fs::path> missing;
    const auto examples =
        zr::scenario::FindScenarioFiles({fs::path(ZR_SOURCE_DIR) / "examples"}, missing);
    std::vector<fs::path> files;
    for (std::size_t i = 0; !examples.empty() && files.size() < 100; ++i)
        files.push_back(examples[i % examples.size()]);
    return files;
}

bool LoadAndRun(const fs::path& file, const LoadOptions& options) {
    const auto loaded = zr::scenario::LoadScenario(file, options);
    return loaded.scenario && zr::scenario::RunScenario(*loaded.scenario).passed();
}

void BM_HundredScenarios(benchmark::State& state) {
    const auto files = HundredScenarios();
    const LoadOptions options{fs::path(ZR_SOURCE_DIR) / "libraries", {}};
    const unsigned jobs = static_cast<unsigned>(state.range(0));
    for (auto _ : state) {
        std::atomic<std::size_t> next{0};
        std::atomic<int> failed{0};
        const auto work = [&] {
            for (std::size_t i; (i = next++) < files.size();)
                if (!LoadAndRun(files[i], options)) ++failed;
        };
        std::vector<std::thread> workers;
        for (unsigned j = 1; j < jobs; ++j) workers.emplace_back(work);
        work();
        for (auto& worker : workers) worker.join();
        if (failed) state.SkipWithError("a scenario failed");
    }
    state.counters["scenarios"] = static_cast<double>(files.size());
}
BENCHMARK(BM_HundredScenarios)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
BENCHMARK_MAIN();
