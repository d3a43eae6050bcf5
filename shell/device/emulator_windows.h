// The emulator and trace windows as the main window sees them: opens the
// emulator window on a compiled program (or brings it to the front with the
// new program), keeps TraceOn and the check mark of the trace command in
// step, turns trace stops into the statement line, the history and the mark
// in the editor, and ends both windows together. Owns the worker, so the
// emulated device outlives any one emulator window.
#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "compiler/compiler.h"
#include "shell/debugger/watch_list.h"
#include "shell/device/emulator_worker.h"
#include "shell/main_window/run_hooks.h"

class QAction;
class QMenu;
class QTextEdit;
class QWidget;

namespace zr::shell {

class FrmMain;
class FrmTest;
class FrmTrac;
class WindowPlaces;
class Workspace;

class EmulatorWindows : public QObject {
    Q_OBJECT

  public:
    // A name's value from the Variables pane while paused there and current;
    // empty otherwise.
    QString PausedValueText(const QString& name) const;
    // `owner` owns the windows; `editor` gets the statement mark; `traceCommand`
    // (may be null) carries the check mark of TraceOn.
    EmulatorWindows(QWidget* owner, QTextEdit* editor, QAction* traceCommand);
    ~EmulatorWindows() override;

    // Puts the emulator and trace commands of `main` in this object's hands;
    // with `rememberPlaces`, the places of the main, emulator and trace
    // windows are kept in the application's settings from run to run.
    static EmulatorWindows* InstallInto(FrmMain& main, bool rememberPlaces = false);

    void OpenEmulator(const compiler::Compiler& lastCompile, EmulatorStart start);
    // The trace command: TraceOn := not TraceOn, and the window with it.
    void ToggleTrace(const compiler::Compiler& lastCompile);
    // End: both windows go at once; the run loop ends on its thread.
    void EndEmulator();
    void CloseTrace();

    bool traceOn() const { return traceOn_; }
    FrmTest* emulatorWindow() const;
    FrmTrac* traceWindow() const;
    Workspace* workspace() const { return workspace_; }
    EmulatorWorker& worker() { return worker_; }

    // Where the windows' places are remembered; null (the default): nowhere.
    void setWindowPlaces(WindowPlaces* places) { places_ = places; }

    // The file the editor's text belongs to (empty: none yet), whose watches
    // the Variables pane shows; until set, every text is one without a file.
    void setSourceFile(std::function<QString()> sourceFile) { sourceFile_ = std::move(sourceFile); }

    // The answer to "Clear?" for emulator windows opened from now on (tests).
    void setClearConfirmation(std::function<bool()> confirm) { confirmClear_ = std::move(confirm); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool EditorTextChanged() const;
    void ShowProgramInPanes(const compiler::Compiler& compiled);
    bool MarkPauseInLibrary(int statementIndex);
    bool CompileChangedTextToStart();
    void TakeProgramFacts(const compiler::Compiler& compiled);
    void ShowFrame(const EmulatorFrame& frame);
    void MarkStatement(int statementIndex);
    void UnmarkStatement();
    void MarkPause(int statementIndex);
    void Step();
    void RunToCursor();
    void ShowSourceLine(int line);
    void StopFromTrace();
    void ChooseWatch(const QString& name);
    void PlaceWindow(QWidget& window, const QString& key);
    void BringEmulatorForward();
    QString SourceFile() const;
    void ConnectBreakpointsPane();
    void ShowBreakpointsInPane();
    void ShowWatchesOf(const QString& file);
    void KeepWatches();
    void ShowWhetherPanesAreCurrent();

    QWidget* owner_;
    QPointer<QTextEdit> editor_;
    QPointer<QAction> traceCommand_;
    QPointer<QMenu> debugMenu_;  // the main window's: gets the emulator's debug commands
    EmulatorWorker worker_;
    QPointer<FrmTest> test_;
    QPointer<FrmTrac> trac_;
    bool traceOn_ = false;
    std::function<bool()> confirmClear_;
    WindowPlaces* places_ = nullptr;
    int programStarts_ = 0;           // as the latest frame counted them
    Workspace* workspace_ = nullptr;  // the main window's, for one window
    int pausedAddress_ = -1;          // as the last frame showed it
    bool programRan_ = false;         // the loaded program has run since it was loaded
    bool programEnded_ = false;       // ... and is no longer running
    bool textChanged_ = false;        // the editor's text is not the loaded program's
    struct LibraryText {
        QString path;
        std::string compilerText;
    };
    std::vector<LibraryText> libraries_;  // of the loaded program, in source index order
    QTimer textCheck_;                    // compares them once typing pauses
    QList<QAction*> compileActions_;      // the main window's compile commands (F9, Ctrl+F9)
    std::uint64_t pauseCount_ = 0;
    // The watches outlive the window: kept per file for the session (the
    // text without a file under ""), and in the settings for a saved file.
    std::function<QString()> sourceFile_;
    QString watchFile_;  // whose watches the pane shows
    QHash<QString, WatchList> sessionWatches_;

    // Of the program the emulator runs: the text compiled, its statements and names.
    std::string compiledText_;
    std::vector<compiler::StatementRecord> statements_;
    std::shared_ptr<const machine::StatementTable> statementTable_ =
        std::make_shared<const machine::StatementTable>();
    compiler::NameTable names_;
};

}  // namespace zr::shell
