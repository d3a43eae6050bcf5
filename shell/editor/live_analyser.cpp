#include "shell/editor/live_analyser.h"

#include <QTextDocument>
#include <QTextEdit>

namespace zr::shell {

LiveAnalyser::LiveAnalyser(QTextEdit& editor, std::function<language::LibrarySearch()> search,
                           QObject* parent)
    : QObject(parent), editor_(editor), search_(std::move(search)) {
    timer_.setSingleShot(true);
    timer_.setInterval(kPauseMilliseconds);
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (postponeWhile_ && postponeWhile_())
            timer_.start();
        else
            AnalyseNow();
    });
    // Colouring changes formats only; the comparison in Current() sees that
    // the text is the same, so a recolour costs one restart and no analysis.
    connect(editor_.document(), &QTextDocument::contentsChanged, &timer_,
            qOverload<>(&QTimer::start));
    timer_.start();  // the text already there
}

bool LiveAnalyser::IsUpToDate(const QString& text, const language::LibrarySearch& search) const {
    if (!last_ || last_->text() != text) return false;
    const language::LibrarySearch& before = last_->search();
    return before.libraryFolder == search.libraryFolder &&
           before.extraFolders == search.extraFolders && before.sourceFolder == search.sourceFolder;
}

std::shared_ptr<const EditorAnalysis> LiveAnalyser::Current() {
    const QString text = editor_.toPlainText();
    const language::LibrarySearch search = search_();
    if (IsUpToDate(text, search)) return last_;
    timer_.stop();
    last_ = std::make_shared<const EditorAnalysis>(text, search);
    emit analysed();
    return last_;
}

std::shared_ptr<const EditorAnalysis> LiveAnalyser::Peek() const {
    const QString text = editor_.toPlainText();
    const language::LibrarySearch search = search_();
    if (IsUpToDate(text, search)) return last_;
    return std::make_shared<const EditorAnalysis>(text, search);
}

void LiveAnalyser::AnalyseNow() {
    Current();
}

}  // namespace zr::shell
