// The language engine on a 1,000-line source with two libraries: a whole
// analysis (compile, declarations, references, statements), and completion
// at a position, with the typed line compiling and with it stopping the
// compile (then the names come from a second analysis without that line).
#include <benchmark/benchmark.h>

#include <string>

#include "compiler/source_text.h"
#include "language/analysis.h"
#include "language/completion.h"
#include "thousand_lines.h"

namespace {

using zr::bench::Libraries;
using zr::bench::ThousandLines;
using zr::language::Analysis;
using zr::language::LibrarySearch;

void BM_AnalyseThousandLines(benchmark::State& state) {
    const std::string text = zr::compiler::ToCompilerText(ThousandLines());
    const auto search = Libraries();
    std::size_t references = 0;
    for (auto _ : state) {
        const Analysis analysis = Analysis::Of(text, search);
        references = analysis.references.size();
        if (analysis.error) state.SkipWithError(analysis.error->message.c_str());
        benchmark::DoNotOptimize(references);
    }
    state.counters["references"] = static_cast<double>(references);
}
BENCHMARK(BM_AnalyseThousandLines)->Unit(benchmark::kMicrosecond);

// Completion after "GoTo " on line ~365, the typed line compiling or not.
void BM_CompleteLabel(benchmark::State& state) {
    const bool failing = state.range(0) == 1;
    const std::string source = ThousandLines(failing ? "GoTo " : "GoTo Block1");
    const std::string text = zr::compiler::ToCompilerText(source);
    const Analysis analysis = Analysis::Of(text, Libraries());
    if (static_cast<bool>(analysis.error) != failing) state.SkipWithError("unexpected compile");
    const auto at = static_cast<std::int32_t>(text.find("GoTo ") + 6);
    std::size_t candidates = 0;
    for (auto _ : state) {
        candidates = zr::language::CompletionAt(analysis, at).candidates.size();
        benchmark::DoNotOptimize(candidates);
    }
    state.counters["candidates"] = static_cast<double>(candidates);
}
BENCHMARK(BM_CompleteLabel)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
