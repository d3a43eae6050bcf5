// The completion list under the caret: on request (Ctrl+Space) or on its
// own once two letters of a new word are typed. Typing goes on in the editor
// while it is open and narrows it; Enter or Tab inserts the chosen word in
// its canonical spelling, Escape closes it. The candidates come from the
// language engine, which offers none inside a quoted text or a comment.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

#include "language/completion.h"
#include "shell/editor/editor_analysis.h"

class QKeyEvent;
class QListWidget;

namespace zr::shell {

class SourceEditor;

class CompletionPopup : public QObject {
    Q_OBJECT

  public:
    using AnalysisSource = std::function<std::shared_ptr<const EditorAnalysis>()>;
    CompletionPopup(SourceEditor& editor, AnalysisSource analysis);

    bool isVisible() const;
    QListWidget* list() const { return list_; }
    // The words the list shows now.
    QStringList shownWords() const;
    // Inserts the chosen word (row `row` of the list, or its current row).
    void Accept(int row = -1);

  public slots:
    // Ctrl+Space: the candidates for the word at the caret, even an empty one.
    void Complete();
    void Hide();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Show(bool requested);
    bool HandleKey(QKeyEvent& key);
    void Refilter();
    bool StartsNewWord() const;

    SourceEditor& editor_;
    AnalysisSource analysis_;
    QListWidget* list_;
    int start_ = 0;  // editor position where the replaced word starts
    std::vector<language::Candidate> candidates_;
};

}  // namespace zr::shell
