// The language engine on a 1,000-line source with two libraries: a whole
// analysis (compile, declarations, references, statements), and completion
// at a position, with the typed line compiling and with it stopping the
// compile (then the names come from a second analysis without that line).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "compiler/source_text.h"
#include "language/analysis.h"
#include "language/completion.h"

namespace {

using zr::language::Analysis;
using zr::language::LibrarySearch;

// Two libraries in a scratch folder, removed at exit.
LibrarySearch Libraries() {
    static const std::filesystem::path folder = [] {
        auto path = std::filesystem::temp_directory_path() /
                    ("zr_language_bench_" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        std::ofstream(path / "geometry.bib") << "' Геометрия\nDimS side\n"
                                                "Hypot: ^2 Swap ^2 + Sqr\nRet\n"
                                                "Square: Dup *\nRet\n";
        std::ofstream(path / "texts.bib") << "' Тексты\nHello: ! [1,1,clr] \"Привет\"\nRet\n";
        std::atexit([] { std::filesystem::remove_all(folder); });
        return path;
    }();
    return {folder, {}, {}};
}

// 1,000 lines: declarations, then blocks of a label, a statement line (in
// every other block: the program memory holds 1024 bytes) and comment lines.
std::string ThousandLines(const std::string& typedLine = "x 1 + -> x") {
    std::string text = "$Lib geometry\n$Lib texts\nDimS x, y, z(8)\nDimI count\n";
    int line = 4;
    for (int block = 0; line < 1000; ++block) {
        text += "Block" + std::to_string(block) + ":\n";
        text += (block == 60      ? typedLine
                 : block % 2 == 0 ? "x 1 + -> x"
                                  : "") +
                "  ' шаг " + std::to_string(block) + "\n";
        text += block % 10 == 9 ? "x y Call Hypot -> z(2)\n" : "' значение x растёт на единицу\n";
        text += "' ещё одна строка пояснений к блоку\n' и ещё одна\n";
        text += "' разделитель -----------------------------------------\n";
        line += 6;
    }
    return text + "Call Hello\nEnd\n";
}

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
