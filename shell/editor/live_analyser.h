// Analyses the editor's text once typing pauses: every change restarts one
// short single-shot timer, so a key costs a timer restart and the analysis
// runs only when the text stands still. The features that need the text as
// it is this moment (hover, go to declaration, rename) ask for Current().
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

#include "shell/editor/editor_analysis.h"

class QTextEdit;

namespace zr::shell {

class LiveAnalyser : public QObject {
    Q_OBJECT

  public:
    static constexpr int kPauseMilliseconds = 300;

    // `search`: where $Lib looks for the text now in the editor (it follows
    // the file the text belongs to).
    LiveAnalyser(QTextEdit& editor, std::function<language::LibrarySearch()> search,
                 QObject* parent = nullptr);

    // The last analysis (null before the first).
    std::shared_ptr<const EditorAnalysis> last() const { return last_; }
    // An analysis of the text as it stands: the last one when nothing changed
    // since, else a fresh one (which then becomes the last and is announced).
    std::shared_ptr<const EditorAnalysis> Current();
    // The same, but a fresh analysis is neither kept nor announced: for the
    // completion list, asked in the middle of a word, whose half-typed error
    // is not to be underlined before typing pauses.
    std::shared_ptr<const EditorAnalysis> Peek() const;
    // True while a change waits for the pause to end.
    bool pending() const { return timer_.isActive(); }
    // While `busy` says so, the pause's end waits another pause (the
    // completion list is open: the word is half typed).
    void setPostponeWhile(std::function<bool()> busy) { postponeWhile_ = std::move(busy); }

  public slots:
    // Analyses now, without waiting for the pause.
    void AnalyseNow();
    // Analyses after a pause though the text did not change: where $Lib
    // looks has (the text now belongs to a file in another folder).
    void Schedule() { timer_.start(); }

  signals:
    // A new analysis is in last().
    void analysed();

  private:
    bool IsUpToDate(const QString& text, const language::LibrarySearch& search) const;

    QTextEdit& editor_;
    std::function<language::LibrarySearch()> search_;
    std::function<bool()> postponeWhile_;
    QTimer timer_;
    std::shared_ptr<const EditorAnalysis> last_;
};

}  // namespace zr::shell
