// The editor's knowledge of Kelto as it is typed, from the language engine:
// the first error underlined once typing pauses (with a gutter mark, the
// status bar's count and the Problems pane), completion, hover texts, the Structure pane,
// and the ways to go to a place of the program or of one of its libraries.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

#include "shell/editor_analysis.h"

class QAction;
class QLabel;
class QMainWindow;

namespace zr::shell {

class CompletionPopup;
class EditorHover;
class LiveAnalyser;
class PlaceListPane;
class SourceEditor;

// What the features need of the window they serve.
struct LanguageHost {
    // Where $Lib looks for the text now in the editor.
    std::function<language::LibrarySearch()> librarySearch;
    // The file the editor's text belongs to (empty: none).
    std::function<QString()> currentFile;
    // Replaces the editor's text by that file's (asking about unsaved
    // changes first); false when it did not.
    std::function<bool(const QString& path)> openFile;
};

class LanguageFeatures : public QObject {
    Q_OBJECT

  public:
    // Adds its panes to `window`'s dock areas and its count to its status bar.
    LanguageFeatures(QMainWindow& window, SourceEditor& editor, LanguageHost host);
    ~LanguageFeatures() override;

    LiveAnalyser& analyser() const { return *analyser_; }
    PlaceListPane* problemsPane() const { return problemsPane_; }
    PlaceListPane* structurePane() const { return structurePane_; }
    CompletionPopup& completion() const { return *completion_; }
    EditorHover& hover() const { return *hover_; }
    QLabel* problemsField() const { return problemsField_; }
    // The commands the Edit menu offers (and the panes' switches).
    QList<QAction*> actions() const { return actions_; }

  public slots:
    // Shows a place, opening its library first when it lies in one.
    void GoTo(const zr::shell::SourcePlace& place);

  private:
    void ShowAnalysis();
    QAction* AddAction(const QString& name, const QString& caption, const QKeySequence& keys);

    QMainWindow& window_;
    SourceEditor& editor_;
    LanguageHost host_;
    LiveAnalyser* analyser_;
    PlaceListPane* problemsPane_;
    PlaceListPane* structurePane_;
    CompletionPopup* completion_;
    EditorHover* hover_;
    QLabel* problemsField_;
    QList<QAction*> actions_;
};

}  // namespace zr::shell
