// Reading and writing a 1 MB coloured .zrt source, and reading foreign and plain files.
#include <benchmark/benchmark.h>

#include <string>

#include "formats/zrt.h"
#include "machine/utf8.h"

namespace {

using zr::formats::ColourRun;
using zr::formats::RichText;

// A Kelto-like program of about 1 MB with a coloured word on every line and Cyrillic comments.
RichText MakeProgram() {
    const char* lines[] = {"Dup Swap * PrtX", "' счётчик циклов: ёмкость 16", "Call Label7",
                           "x -> y 3.5 End", "Печать \"Привет\" 😀"};
    const zr::formats::Colour colours[] = {0xFF0000, 0x008000, 0x800080, 0x0000FF, 0x808000};
    RichText doc;
    int length = 0;
    for (int i = 0; doc.text.size() < 1'000'000; ++i) {
        const std::string line = lines[i % 5];
        const int lineLength = zr::machine::CodePointCount(line);
        doc.runs.push_back({length, 4, colours[i % 5]});
        doc.text += line + '\n';
        length += lineLength + 1;
    }
    return doc;
}

void BM_WriteZrt(benchmark::State& state) {
    const RichText doc = MakeProgram();
    for (auto _ : state) benchmark::DoNotOptimize(zr::formats::WriteZrt(doc));
    state.SetBytesProcessed(state.iterations() * doc.text.size());
}
BENCHMARK(BM_WriteZrt)->Unit(benchmark::kMillisecond);

void BM_ReadZrt(benchmark::State& state) {
    const std::string rtf = zr::formats::WriteZrt(MakeProgram());
    for (auto _ : state) benchmark::DoNotOptimize(zr::formats::ReadZrt(rtf));
    state.SetBytesProcessed(state.iterations() * rtf.size());
    state.counters["rtf_bytes"] = static_cast<double>(rtf.size());
}
BENCHMARK(BM_ReadZrt)->Unit(benchmark::kMillisecond);

// RTF as word processors write it: a group per run, control words everywhere, and a
// double-byte font whose bytes go through iconv.
void BM_ReadForeignRtf(benchmark::State& state) {
    std::string rtf =
        "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fcharset204 Arial;}{\\f1\\fcharset128 "
        "Gothic;}}{\\colortbl;\\red0\\green0\\blue255;}\\uc1\\pard";
    while (rtf.size() < 1'000'000)
        rtf +=
            "{\\rtlch\\fcs1 \\ltrch\\insrsid123\\cf1 Dup}{\\f0 \\'cf\\'f0\\'e8 \\u8364?}"
            "{\\f1 \\'94\\'4e}\\par\r\n";
    rtf += "}";
    for (auto _ : state) benchmark::DoNotOptimize(zr::formats::ReadZrt(rtf));
    state.SetBytesProcessed(state.iterations() * rtf.size());
}
BENCHMARK(BM_ReadForeignRtf)->Unit(benchmark::kMillisecond);

void BM_ReadPlainText(benchmark::State& state) {
    const std::string text = MakeProgram().text;
    for (auto _ : state) benchmark::DoNotOptimize(zr::formats::ReadZrt(text));
    state.SetBytesProcessed(state.iterations() * text.size());
}
BENCHMARK(BM_ReadPlainText)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
