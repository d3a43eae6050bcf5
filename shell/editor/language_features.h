// The editor's knowledge of Kelto as it is typed, from the language engine:
// the first error underlined once typing pauses (with a gutter mark, the
// status bar's count and the Problems pane), completion, hover texts, the
// Structure and References panes, going to a declaration or a line, and
// renaming a name with every use of it.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

#include "shell/editor/editor_analysis.h"

class QAction;
class QLabel;
class QMainWindow;

namespace zr::shell {

class CompletionPopup;
class EditorHover;
class LiveAnalyser;
class PlaceListPane;
class SourceEditor;

// The questions the commands ask; tests answer them in the user's place.
struct LanguagePrompts {
    // The new name for `name`; nothing when the user cancels.
    std::function<std::optional<QString>(const QString& name)> askNewName;
    // A line from 1 to `lastLine`, offered at `current`; nothing on cancel.
    std::function<std::optional<int>(int current, int lastLine)> askLine;
    // Why a command could not be done (a rename refused with the compiler's message).
    std::function<void(const QString& text)> showRefusal;
};

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
    PlaceListPane* referencesPane() const { return referencesPane_; }
    void setPrompts(LanguagePrompts prompts) { prompts_ = std::move(prompts); }
    QLabel* problemsField() const { return problemsField_; }
    // The commands the Edit menu offers (and the panes' switches).
    QList<QAction*> actions() const { return actions_; }

  public slots:
    // Shows a place, opening its library first when it lies in one.
    void GoTo(const zr::shell::SourcePlace& place);
    // F12: the declaration of the name at the caret.
    void goToDeclaration();
    // Shift+F12: the name at the caret's declaration and uses, in the References pane.
    void findReferences();
    // Ctrl+G.
    void goToLine();
    // F2: renames the name at the caret and its every use, as one step for Undo.
    void renameAtCaret();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ShowAnalysis();
    QAction* AddAction(const QString& name, const QString& caption, const QKeySequence& keys);
    // The declaration of the name at editor position `position`, if any.
    std::optional<int> DeclarationAt(const EditorAnalysis& analysis, int position) const;
    void Tell(const QString& text);

    QMainWindow& window_;
    SourceEditor& editor_;
    LanguageHost host_;
    LiveAnalyser* analyser_;
    PlaceListPane* problemsPane_;
    PlaceListPane* structurePane_;
    CompletionPopup* completion_;
    EditorHover* hover_;
    PlaceListPane* referencesPane_;
    LanguagePrompts prompts_;
    QLabel* problemsField_;
    QList<QAction*> actions_;
};

}  // namespace zr::shell
