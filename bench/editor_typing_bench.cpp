// What the editor's knowledge of Kelto costs a typed key, in a 1,000-line
// source with two libraries: a key typed into the bare editor against the
// same key with the language features attached (the difference is their
// cost per key: the completion filter and a timer restart; the analysis
// waits for the pause), the key that opens the completion list (one
// analysis of the text and the engine's candidates), and the analysis that
// runs once typing pauses, with the underline and the panes it updates.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QTextBlock>
#include <memory>

#include "shell/editor/completion_popup.h"
#include "shell/editor/language_features.h"
#include "shell/editor/live_analyser.h"
#include "shell/editor/source_editor.h"
#include "thousand_lines.h"

namespace {

using zr::shell::LanguageFeatures;
using zr::shell::SourceEditor;

struct Window {
    QMainWindow window;
    SourceEditor* editor = new SourceEditor(&window);
    LanguageFeatures* features = nullptr;

    explicit Window(bool withFeatures) {
        window.setCentralWidget(editor);
        window.resize(1000, 700);
        if (withFeatures) {
            zr::shell::LanguageHost host;
            host.librarySearch = [] { return zr::bench::Libraries(); };
            host.currentFile = [] { return QString(); };
            host.openFile = [](const QString&) { return false; };
            features = new LanguageFeatures(window, *editor, std::move(host));
        }
        editor->LoadDocument({zr::bench::ThousandLines(), {}}, true);
        window.show();
        QApplication::processEvents();
        if (features) features->analyser().AnalyseNow();
        // The caret after a label in the middle of the text ("Block82:").
        QTextCursor caret(editor->document()->findBlockByNumber(496));
        caret.movePosition(QTextCursor::EndOfBlock);
        editor->setTextCursor(caret);
    }

    void Type(int key, const QString& text = {}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(editor, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(editor, &release);
    }
};

// items_per_second: keys per second.
void PerKey(benchmark::State& state, int keysPerIteration) {
    state.SetItemsProcessed(state.iterations() * keysPerIteration);
}

// "x" and Backspace after the label; /0 bare editor, /1 with the features.
void BM_TypeKey(benchmark::State& state) {
    Window window(state.range(0) == 1);
    for (auto _ : state) {
        window.Type(Qt::Key_X, "x");
        window.Type(Qt::Key_Backspace);
    }
    PerKey(state, 2);
}
BENCHMARK(BM_TypeKey)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// " du" opens the list on the "u"; Escape, and three Backspaces.
void BM_KeyThatOpensCompletion(benchmark::State& state) {
    Window window(true);
    for (auto _ : state) {
        window.Type(Qt::Key_Space, " ");
        window.Type(Qt::Key_D, "d");
        window.Type(Qt::Key_U, "u");
        if (!window.features->completion().isVisible()) {
            state.SkipWithError("the list did not open");
            break;
        }
        window.Type(Qt::Key_Escape);
        for (int n = 0; n < 3; ++n) window.Type(Qt::Key_Backspace);
    }
}
BENCHMARK(BM_KeyThatOpensCompletion)->Unit(benchmark::kMillisecond);

// The analysis once typing pauses, with what it shows (underline, gutter,
// count, Problems and Structure panes); a character typed and removed in
// turn so that each one analyses a changed text.
void BM_AnalysisAfterThePause(benchmark::State& state) {
    Window window(true);
    bool typed = false;
    for (auto _ : state) {
        state.PauseTiming();
        window.Type(typed ? Qt::Key_Backspace : Qt::Key_X, typed ? QString() : "x");
        typed = !typed;
        state.ResumeTiming();
        window.features->analyser().AnalyseNow();
    }
}
BENCHMARK(BM_AnalysisAfterThePause)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
