// Time to compile a source that fills the whole program memory.
#include <benchmark/benchmark.h>

#include <string>

#include "compiler/compiler.h"
#include "compiler/source_text.h"

namespace {

// A realistic mix of statements, repeated, then padded with Dup until the
// program and its data list fill the memory exactly (compile address 1025).
std::string FullMemorySource() {
    const std::string head =
        "'---Project: fills the memory---\n"
        "DimS x, y(4)\nDimI count, w [1, 2, 3]\nDimB flags(8)\n"
        "Messanges texts [\"Hello\", \"World\"]\n";
    const std::string block =
        "Top{n}: 3.5 -> x\n"
        "x Dup * -> y(2)\n"
        "count 1 + -> count\n"
        "=0 if\n  ! [1,1,clr] \"N=\" count\nelse\n  Drop\nthen\n"
        "y(i) 300 > goto @Top{n}\n"
        "Do + i = 1 >> 5\n  Dup Swap Drop\nLoop i\n";
    auto compiledSize = [](const std::string& text) {
        zr::compiler::Compiler compiler;
        return compiler.CompileSource(zr::compiler::ToCompilerText(text)) ? compiler.compileAddress
                                                                          : 0;
    };
    std::string body;
    for (int n = 0;; ++n) {
        std::string next = block;
        for (auto at = next.find("{n}"); at != std::string::npos; at = next.find("{n}"))
            next.replace(at, 3, std::to_string(n));
        std::string candidate = head + body;
        candidate += next;
        if (compiledSize(candidate) == 0) break;
        body += next;
    }
    while (compiledSize(head + body + "Dup\n") != 0) body += "Dup\n";
    return head + body;
}

void BM_CompileFullMemory(benchmark::State& state) {
    const std::string source = zr::compiler::ToCompilerText(FullMemorySource());
    zr::compiler::Compiler compiler;
    for (auto _ : state) {
        compiler.CompileSource(source);
        benchmark::DoNotOptimize(compiler.programImage);
    }
    state.counters["compileAddress"] = compiler.compileAddress;
    state.counters["ok"] = compiler.compileFailed ? 0 : 1;
}
BENCHMARK(BM_CompileFullMemory)->Unit(benchmark::kMicrosecond);

// A 10 MB source, Russian comments and texts among ASCII code with LF line
// ends, to compiler text: decoding, code page and line ends in one pass.
void BM_DecodeBigSource(benchmark::State& state) {
    const std::string line =
        "' Счётчик циклов: считаем до тысячи\n"
        "count 1 + -> count  ! [1,1] \"Итог=\" count\n";
    std::string source;
    while (source.size() < 10'000'000) source += line;
    for (auto _ : state) {
        std::string text = zr::compiler::PlainBytesToCompilerText(source);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * source.size()));
}
BENCHMARK(BM_DecodeBigSource)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
