// Opening a source in the editor, per megabyte: reading the file, colouring
// plain text as typed, filling the document and drawing the first screen
// (the editor is usable then; the lines below are laid out in steps as the
// event loop runs). The target is at most one second per megabyte. The
// LayOut figures add laying out every line, which the editor never waits for.
#include <benchmark/benchmark.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTextDocument>

#include "shell/editor/source_editor.h"
#include "shell/editor/source_files.h"

namespace {

QByteArray PlainSource(int bytes) {
    const QByteArray line = "Loop1: x Dup * 3.5 + -> y ' squared \"and\" stored\r\n";
    QByteArray text;
    while (text.size() + line.size() <= bytes) text += line;
    return text;
}

void Open(benchmark::State& state, bool rich, bool layOutAll) {
    QTemporaryDir folder;
    const QString path = folder.filePath("big.zrt");
    const QByteArray plain = PlainSource(static_cast<int>(state.range(0)) << 20);
    {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        if (rich) {
            zr::shell::SourceEditor colouring;
            colouring.LoadDocument({plain.toStdString(), {}}, true);
            QString error;
            file.close();
            zr::shell::SaveSourceFile(path, colouring.richText(), &error);
        } else {
            file.write(plain);
        }
    }
    for (auto _ : state) {
        zr::shell::SourceEditor editor;
        editor.resize(800, 600);
        const zr::shell::ReadResult read = zr::shell::ReadSourceFile(path);
        if (!read.document) {
            state.SkipWithError("the file was refused");
            break;
        }
        editor.LoadDocument(*read.document, read.plainText);
        benchmark::DoNotOptimize(editor.grab());
        if (layOutAll)
            benchmark::DoNotOptimize(editor.document()->documentLayout()->documentSize());
    }
    state.counters["seconds_per_MB"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * state.range(0),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_OpenPlainSource(benchmark::State& state) {
    Open(state, false, false);
}
void BM_OpenColouredSource(benchmark::State& state) {
    Open(state, true, false);
}
void BM_OpenPlainSourceAndLayOut(benchmark::State& state) {
    Open(state, false, true);
}
BENCHMARK(BM_OpenPlainSource)->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenColouredSource)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenPlainSourceAndLayOut)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
