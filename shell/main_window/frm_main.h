// frmMain: the environment's main window. The source editor, the menus and
// toolbar, and the file, library, compile and run commands; the work itself is
// done by CompileSession and the source_files functions, the dialogs by a
// UserPrompts.
#pragma once

#include <QHash>
#include <QMainWindow>
#include <memory>

#include "formats/rich_text.h"
#include "shell/main_window/compile_session.h"
#include "shell/main_window/run_hooks.h"
#include "shell/main_window/user_prompts.h"

class QAction;
class QLabel;
class QMenu;
class QToolBar;

namespace zr::shell {

class DocumentRecovery;
class LanguageFeatures;
class SourceEditor;

class FrmMain : public QMainWindow {
    Q_OBJECT

  public:
    // `programFolder`: where the .bib libraries live and the file dialogs start
    // (the folder of the program file).
    explicit FrmMain(const QString& programFolder, QWidget* parent = nullptr);
    ~FrmMain() override;

    SourceEditor* editor() const { return editor_; }
    QString currentFileName() const { return currentPath_; }
    // The shipped examples that the File menu lists (tests point it elsewhere).
    QString examplesFolder() const { return examplesFolder_; }
    void setExamplesFolder(const QString& folder) { examplesFolder_ = folder; }
    QString hint() const;
    const CompileSession& compileSession() const { return session_; }
    LanguageFeatures* languageFeatures() const { return language_; }

    void setPrompts(std::unique_ptr<UserPrompts> prompts);
    // What the run, emulator and trace commands open; until set they do nothing
    // (tests of the main window alone).
    void setEmulatorOpener(EmulatorOpener opener) { emulatorOpener_ = std::move(opener); }
    void setTraceOpener(TraceOpener opener) { traceOpener_ = std::move(opener); }
    // The trace command, checked while the trace window is open.
    QAction* traceAction() const { return traceAction_; }
    // The Debug menu, for the emulator's stepping commands.
    QMenu* debugMenu() const { return debugMenu_; }

    // Loads a source without asking for its name; false (and the reason shown)
    // when it cannot be read or the user does not open a file that is no
    // source.
    bool LoadFile(const QString& path);
    // How long a load runs before it shows its progress with Cancel.
    void setProgressDelay(int milliseconds) { progressDelay_ = milliseconds; }

    // Asks what to do with unsaved changes; false when the user cancels or the
    // save fails, so whatever would replace the text must not go on.
    bool MaybeSave();

    // Offers each recovery file that no running environment holds: restore it
    // (as unsaved text of its file), delete it or keep it for later. After one
    // is restored the others wait for the next start.
    void OfferRecoveredDocuments();
    // The recovery file of the text in the editor (written while it is unsaved).
    QString recoveryFile() const;
    DocumentRecovery& recovery() const { return *recovery_; }

    // Closes like the window's close command but asks nothing: unsaved text
    // goes to the recovery file first and stays there (SIGTERM, SIGHUP).
    void CloseWithoutQuestions();

  signals:
    // The text now belongs to this file (empty: none).
    void currentFileChanged(const QString& path);

  public slots:
    void newSource();
    void openSource();
    // Save: writes the text to its file without asking; a text without a file,
    // or a shipped example, asks for a name as "Сохранить как…" does.
    bool saveSource();
    bool saveSourceAs();
    // Opens a shipped example; saving it asks for a new name.
    void openExample(const QString& path);
    void editLibrary();
    bool saveLibrary();
    // The compile command; true when the compile succeeded.
    bool compile();
    void compileAndRun();
    void openEmulator();
    void openTrace();
    void showFind();
    void showReplace();
    void showHelp(const QString& word);
    // A toolbar click: keys are compared exactly, an unknown key does nothing.
    void onToolbarKey(const QString& key);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void CreateActions();
    void CreateMenus();
    void CreateToolbar();
    QAction* AddAction(const QString& name, const QString& caption);
    void CreateStatusBar();
    void CreateLanguageFeatures();
    std::filesystem::path SourceFolder() const;
    void FillExamplesMenu();
    bool IsLibrary() const;
    bool IsShippedExample(const QString& path) const;
    QString StartFolder() const;
    QStringList LibrarySearchFolders() const;
    FileDialogSetup SaveDialogFor(const QString& filter, const QString& suffix) const;
    bool WriteSource(const QString& path);
    bool WriteLibrary(const QString& path);
    void SetCurrentFile(const QString& path);
    void ShowFileState();
    void SelectInEditor(const EditorRange& range);
    void OfferLibraryError(const LibraryErrorPlace& place);
    void MoveBreakpointsToStatements();
    void RestoreDocument(const QString& recoveryFile);
    bool FillEditor(const formats::RichText& text, bool plain, const QString& name);

    QString programFolder_;
    SourceEditor* editor_;
    QLabel* hintPanel_;
    QLabel* fileField_;  // the current file's name and a mark while it is changed
    QString examplesFolder_;
    QToolBar* toolbar_ = nullptr;
    QMenu* editMenu_ = nullptr;
    QMenu* examplesMenu_ = nullptr;
    std::unique_ptr<UserPrompts> prompts_;
    CompileSession session_;
    QString currentPath_;  // the file the text came from or was last saved to
    std::unique_ptr<DocumentRecovery> recovery_;
    LanguageFeatures* language_ = nullptr;
    bool closingWithoutQuestions_ = false;
    int progressDelay_ = 1000;
    EmulatorOpener emulatorOpener_;
    TraceOpener traceOpener_;

    QAction* newAction_ = nullptr;
    QAction* openAction_ = nullptr;
    QAction* saveAction_ = nullptr;
    QAction* saveAsAction_ = nullptr;
    QAction* sendToDeviceAction_ = nullptr;
    QAction* exitAction_ = nullptr;
    QAction* undoAction_ = nullptr;
    QAction* redoAction_ = nullptr;
    QAction* cutAction_ = nullptr;
    QAction* copyAction_ = nullptr;
    QAction* pasteAction_ = nullptr;
    QAction* selectAllAction_ = nullptr;
    QAction* findAction_ = nullptr;
    QAction* replaceAction_ = nullptr;
    QAction* aboutQtAction_ = nullptr;
    QAction* compileAction_ = nullptr;
    QAction* compileAndRunAction_ = nullptr;
    QAction* emulatorAction_ = nullptr;
    QAction* traceAction_ = nullptr;
    QAction* breakpointAction_ = nullptr;
    QMenu* debugMenu_ = nullptr;
    QAction* saveLibraryAction_ = nullptr;
    QAction* editLibraryAction_ = nullptr;
    QAction* languageHelpAction_ = nullptr;
    QAction* aboutAction_ = nullptr;
    QHash<QString, QAction*> toolbarTargets_;  // toolbar key -> the menu item it runs
};

}  // namespace zr::shell
