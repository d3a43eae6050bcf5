#include "shell/device/emulator_windows.h"

#include <QAction>
#include <QEvent>
#include <QFileInfo>
#include <QLocale>
#include <QMenu>
#include <QScreen>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>

#include "compiler/compiled_statements.h"
#include "compiler/source_text.h"
#include "emulator/run_errors.h"
#include "shell/debugger/breakpoint_store.h"
#include "shell/debugger/breakpoints_pane.h"
#include "shell/debugger/call_stack_pane.h"
#include "shell/debugger/frm_trac.h"
#include "shell/debugger/library_view.h"
#include "shell/debugger/listing_pane.h"
#include "shell/debugger/statement_mark.h"
#include "shell/debugger/variables_pane.h"
#include "shell/debugger/watch_choice.h"
#include "shell/device/device_text.h"
#include "shell/device/frm_test.h"
#include "shell/device/scenario_recorder.h"
#include "shell/editor/editor_gutter.h"
#include "shell/editor/editor_hover.h"
#include "shell/editor/language_features.h"
#include "shell/editor/source_editor.h"
#include "shell/main_window/frm_main.h"
#include "shell/main_window/window_places.h"
#include "shell/main_window/workspace.h"

namespace zr::shell {
namespace {

char LocaleDecimalSeparator() {
    const QString point = QLocale().decimalPoint();
    return point == "," ? ',' : '.';
}

EmulatorProgram ProgramOf(const compiler::Compiler& compiled,
                          std::shared_ptr<const machine::StatementTable> statements,
                          EmulatorStart start, const QTextEdit* editor) {
    EmulatorProgram program;
    program.image = compiled.programImage;
    program.statements = std::move(statements);
    program.clearVariables = start == EmulatorStart::AfterRun;
    if (auto* source = qobject_cast<const SourceEditor*>(editor))
        program.breakpoints = LineBreakpointsOf(source->gutter()->breakpoints(), compiled.names);
    return program;
}

}  // namespace

EmulatorWindows::EmulatorWindows(QWidget* owner, QTextEdit* editor, QAction* traceCommand)
    : QObject(owner), owner_(owner), editor_(editor), traceCommand_(traceCommand) {
    textCheck_.setSingleShot(true);
    textCheck_.setInterval(300);
    connect(&textCheck_, &QTimer::timeout, this, [this] {
        const bool changed = EditorTextChanged();
        if (changed == textChanged_) return;
        textChanged_ = changed;
        ShowWhetherPanesAreCurrent();
    });
    if (editor_)
        connect(editor_->document(), &QTextDocument::contentsChanged, &textCheck_,
                qOverload<>(&QTimer::start));
    if (traceCommand_) {
        traceCommand_->setCheckable(true);
        traceCommand_->setChecked(false);
    }
    connect(&worker_, &EmulatorWorker::frameReady, this, &EmulatorWindows::ShowFrame);
    if (auto* source = qobject_cast<SourceEditor*>(editor))
        connect(source->gutter(), &EditorGutter::breakpointsChanged, this, [this, source] {
            ShowBreakpointsInPane();
            if (worker_.running())
                worker_.SetBreakpoints(LineBreakpointsOf(source->gutter()->breakpoints(), names_));
        });
    if (owner_) owner_->installEventFilter(this);
}

EmulatorWindows::~EmulatorWindows() {
    delete trac_.data();
    delete test_.data();
}

// The pane asks the gutter; the gutter's change comes back to the pane and
// the worker through breakpointsChanged.
void EmulatorWindows::ConnectBreakpointsPane() {
    BreakpointsPane* pane = test_->breakpointsPane();
    pane->SetNames(names_);
    auto* source = qobject_cast<SourceEditor*>(editor_.data());
    if (!source) return;
    EditorGutter* gutter = source->gutter();
    ShowBreakpointsInPane();
    connect(pane, &BreakpointsPane::breakpointChanged, gutter, &EditorGutter::setBreakpoint);
    connect(pane, &BreakpointsPane::removeChosen, gutter, &EditorGutter::removeBreakpoint);
    connect(pane, &BreakpointsPane::removeAllChosen, gutter, &EditorGutter::removeAllBreakpoints);
}

void EmulatorWindows::ShowBreakpointsInPane() {
    auto* source = qobject_cast<SourceEditor*>(editor_.data());
    if (test_ && source)
        test_->breakpointsPane()->Show(source->gutter()->breakpoints(),
                                       QFileInfo(SourceFile()).fileName());
}

FrmTest* EmulatorWindows::emulatorWindow() const {
    return test_;
}

FrmTrac* EmulatorWindows::traceWindow() const {
    return trac_;
}

EmulatorWindows* EmulatorWindows::InstallInto(FrmMain& main, bool rememberPlaces) {
    auto* windows = new EmulatorWindows(&main, main.editor(), main.traceAction());
    if (rememberPlaces) {
        auto* places = new WindowPlaces(nullptr, windows);
        places->Restore(main, "main");
        places->Track(main, "main");
        windows->setWindowPlaces(places);
    }
    windows->debugMenu_ = main.debugMenu();
    windows->workspace_ = new Workspace(main);
    // F9 and Ctrl+F9 compile the editor's text from the emulator window too.
    for (const char* name : {"mnuRun", "mnuCompile"})
        if (auto* action = main.findChild<QAction*>(name)) windows->compileActions_.append(action);
    windows->setSourceFile([&main] { return main.currentFileName(); });
    main.setEmulatorOpener([windows](const compiler::Compiler& compiled, EmulatorStart start) {
        windows->OpenEmulator(compiled, start);
    });
    // While paused, resting the mouse on a declared name shows its value too.
    if (LanguageFeatures* language = main.languageFeatures())
        language->hover().setValueSource([windows](const language::Declaration& declaration) {
            return windows->PausedValueText(QString::fromStdString(declaration.name));
        });
    main.setTraceOpener(
        [windows](const compiler::Compiler& compiled) { windows->ToggleTrace(compiled); });
    return windows;
}

QString EmulatorWindows::PausedValueText(const QString& name) const {
    if (!test_ || pausedAddress_ < 0 || textChanged_ || programEnded_) return {};
    const WatchModel& paused = test_->variablesPane()->model();
    const VariableRow* row = paused.RowNamed(name);
    if (!row || !paused.values()) return {};
    return tr("Значение (пауза): %1").arg(ValueSummary(*row, *paused.values()));
}

bool EmulatorWindows::EditorTextChanged() const {
    return editor_ && !compiledText_.empty() &&
           compiler::ToCompilerText(editor_->toPlainText().toStdString()) != compiledText_;
}

// Restarting after the text changed (another file opened, or edits) runs the
// text in the editor, as F9 does: the loaded program is not what the user sees.
bool EmulatorWindows::CompileChangedTextToStart() {
    if (!EditorTextChanged()) return false;
    for (QAction* action : compileActions_)
        if (action->objectName() == "mnuRun") {
            action->trigger();
            return true;
        }
    return false;
}

void EmulatorWindows::TakeProgramFacts(const compiler::Compiler& compiled) {
    programRan_ = programEnded_ = textChanged_ = false;
    compiledText_ = compiled.sourceText;
    libraries_.clear();
    for (const compiler::Library& library : compiled.libraries)
        libraries_.push_back({QString::fromStdU16String(library.path.u16string()), library.text});
    if (test_) test_->libraryView()->Forget();
    statements_ = compiled.statementMap;
    statementTable_ =
        std::make_shared<const machine::StatementTable>(compiler::StatementTableOf(compiled));
    names_ = compiled.names;
}

void EmulatorWindows::ShowProgramInPanes(const compiler::Compiler& compiled) {
    test_->listingPane()->SetProgram(compiled);
    QStringList libraryFiles;
    for (const compiler::Library& library : compiled.libraries)
        libraryFiles << QString::fromStdU16String(library.path.filename().u16string());
    test_->callStackPane()->SetProgram(statementTable_, libraryFiles);
}

void EmulatorWindows::OpenEmulator(const compiler::Compiler& lastCompile, EmulatorStart start) {
    if (test_ && worker_.running()) {
        // Already open: a new compile goes in and the run loop comes back at
        // its address prompt; the emulator command only brings it forward.
        if (start == EmulatorStart::AfterRun) {
            TakeProgramFacts(lastCompile);
            ShowWhetherPanesAreCurrent();
            test_->variablesPane()->SetNames(names_);
            test_->breakpointsPane()->SetNames(names_);
            ShowBreakpointsInPane();
            // A run from another file brings that file's watches.
            if (SourceFile() != watchFile_) ShowWatchesOf(SourceFile());
            ShowProgramInPanes(lastCompile);
            EmulatorProgram program = ProgramOf(lastCompile, statementTable_, start, editor_);
            program.dataBreakpoints = test_->variablesPane()->dataBreakpointOperands();
            worker_.Reload(std::move(program));
        }
        BringEmulatorForward();
        return;
    }
    TakeProgramFacts(lastCompile);
    test_ = new FrmTest(worker_, owner_);
    test_->recorder()->programPath = [this] { return SourceFile(); };
    test_->variablesPane()->SetNames(names_);
    ShowWatchesOf(SourceFile());
    connect(test_->variablesPane(), &VariablesPane::watchesChanged, this,
            &EmulatorWindows::KeepWatches);
    ShowProgramInPanes(lastCompile);
    connect(test_->callStackPane(), &CallStackPane::sourceLineChosen, this,
            &EmulatorWindows::ShowSourceLine);
    ConnectBreakpointsPane();
    connect(test_->variablesPane(), &VariablesPane::dataBreakpointsChanged, this, [this] {
        if (test_ && worker_.running())
            worker_.SetDataBreakpoints(test_->variablesPane()->dataBreakpointOperands());
    });
    connect(test_->listingPane(), &ListingPane::sourceLineChosen, this,
            &EmulatorWindows::ShowSourceLine);
    if (confirmClear_) test_->setClearConfirmation(confirmClear_);
    connect(test_, &FrmTest::endChosen, this, &EmulatorWindows::EndEmulator);
    connect(test_, &FrmTest::runToCursorChosen, this, &EmulatorWindows::RunToCursor);
    // The same actions: they leave the menu when the window goes.
    if (debugMenu_) debugMenu_->addActions(test_->debugActions());
    test_->addActions(compileActions_);
    test_->setStartOverride([this] { return CompileChangedTextToStart(); });
    const bool oneWindow = workspace_ && workspace_->Adopt(*test_);
    if (!oneWindow) PlaceWindow(*test_, "emulator");
    worker_.SetDecimalSeparator(LocaleDecimalSeparator());
    worker_.SetTraceOn(traceOn_);
    worker_.SetWatchOperand(0);
    pausedAddress_ = -1;  // a fresh frame counts pauses from 0
    pauseCount_ = 0;
    EmulatorProgram program = ProgramOf(lastCompile, statementTable_, start, editor_);
    program.dataBreakpoints = test_->variablesPane()->dataBreakpointOperands();
    worker_.Start(program);
    BringEmulatorForward();
}

// The emulator window, or with one window the device pane beside the editor.
void EmulatorWindows::BringEmulatorForward() {
    if (test_->panesLent()) {
        workspace_->ShowDevice();
        return;
    }
    test_->show();
    // Its size was worked out before the layout settled (a large scale on a
    // small screen): what it needs now fits the screen.
    if (QScreen* screen = test_->screen()) {
        const QRect room = screen->availableGeometry();
        const QSize frame = test_->frameGeometry().size() - test_->size();
        const QRect place = ClampToScreen(test_->frameGeometry(), room);
        if (place != test_->frameGeometry()) {
            test_->resize((place.size() - frame).expandedTo(test_->minimumSizeHint()));
            test_->move(place.topLeft());
        }
    }
    test_->raise();
    test_->activateWindow();
}

QString EmulatorWindows::SourceFile() const {
    return sourceFile_ ? sourceFile_() : QString();
}

// The pane shows the watches of `file`, as kept this session or, for a saved
// file, from the settings.
void EmulatorWindows::ShowWatchesOf(const QString& file) {
    watchFile_ = file;
    const auto kept = sessionWatches_.constFind(file);
    if (kept != sessionWatches_.constEnd())
        test_->variablesPane()->SetWatchList(*kept);
    else
        test_->variablesPane()->SetWatchList(file.isEmpty() ? WatchList{} : StoredWatches(file));
}

void EmulatorWindows::KeepWatches() {
    if (!test_) return;
    const WatchList watches = test_->variablesPane()->watchList();
    sessionWatches_.insert(watchFile_, watches);
    if (!watchFile_.isEmpty()) StoreWatches(watchFile_, watches);
}

void EmulatorWindows::EndEmulator() {
    CloseTrace();
    worker_.End();
    if (test_) {
        FrmTest* window = test_;
        test_ = nullptr;
        if (workspace_) workspace_->Release(*window);
        window->StopTicks();
        window->hide();
        window->deleteLater();
    }
}

void EmulatorWindows::ToggleTrace(const compiler::Compiler& lastCompile) {
    if (traceOn_) {
        CloseTrace();
        return;
    }
    if (!test_) TakeProgramFacts(lastCompile);
    traceOn_ = true;
    if (traceCommand_) traceCommand_->setChecked(true);
    trac_ = new FrmTrac(owner_);
    connect(trac_, &FrmTrac::stepChosen, this, &EmulatorWindows::Step);
    connect(trac_, &FrmTrac::stopChosen, this, &EmulatorWindows::StopFromTrace);
    connect(trac_, &FrmTrac::closeChosen, this, &EmulatorWindows::CloseTrace);
    connect(trac_, &FrmTrac::watchChosen, this, &EmulatorWindows::ChooseWatch);
    PlaceWindow(*trac_, "trace");
    worker_.SetWatchOperand(0);
    worker_.SetTraceOn(true);
    trac_->show();
}

// Closing releases a waiting step, so the program runs on without tracing.
void EmulatorWindows::CloseTrace() {
    const bool wasOn = traceOn_;
    traceOn_ = false;
    if (traceCommand_) traceCommand_->setChecked(false);
    if (wasOn) worker_.SetTraceOn(false);
    UnmarkStatement();
    if (trac_) {
        FrmTrac* window = trac_;
        trac_ = nullptr;
        window->hide();
        window->deleteLater();
    }
}

void EmulatorWindows::Step() {
    UnmarkStatement();
    worker_.Post([](emulator::Emulator& e) { e.GrantStep(); });
}

void EmulatorWindows::StopFromTrace() {
    worker_.Post([](emulator::Emulator& e) {
        e.CommandStop();
        e.GrantStep();
    });
    CloseTrace();
}

void EmulatorWindows::ChooseWatch(const QString& name) {
    const WatchChoice choice = ChooseWatchOperand(names_, ToDevice(name));
    if (choice.clearName && trac_) trac_->ClearWatchName();
    worker_.SetWatchOperand(choice.operand);
}

// The caret's line, or the next line with a statement, as an address.
void EmulatorWindows::RunToCursor() {
    if (!editor_) return;
    // Where a breakpoint on the caret's line would stop.
    const int line = editor_->textCursor().blockNumber() + 1;
    const int index = statementTable_->BreakpointIndex(line);
    if (index >= 0) worker_.RunTo((*statementTable_)[index].address);
}

void EmulatorWindows::ShowFrame(const EmulatorFrame& frame) {
    if (test_) test_->ShowFrame(frame);
    // A new start counts the breakpoints' hits afresh.
    if (frame.programStarts != programStarts_) {
        programStarts_ = frame.programStarts;
        if (test_) test_->breakpointsPane()->ForgetHits();
    }
    // A short program may start and end between two frames: its count says
    // that it ran (a new program counts from 0).
    const bool running = frame.status.runState == emulator::kRunning;
    const bool ran = running || frame.status.instructions > 0;
    if (ran != programRan_ || (ran && !running) != programEnded_) {
        programRan_ = ran;
        programEnded_ = ran && !running;
        ShowWhetherPanesAreCurrent();
    }
    if (frame.pausedAddress != pausedAddress_ || frame.pauseCount != pauseCount_) {
        pausedAddress_ = frame.pausedAddress;
        pauseCount_ = frame.pauseCount;
        MarkPause(statementTable_->IndexAt(pausedAddress_));
        if (test_) test_->listingPane()->ShowPause(pausedAddress_);
        if (pausedAddress_ >= 0 && test_ && frame.pausedState) {
            test_->variablesPane()->ShowValues(frame.pausedState->device.machine,
                                               frame.pausedState->device.io,
                                               frame.pausedState->decimalSeparator);
            test_->callStackPane()->ShowPause(frame.pausedState->device.machine);
            test_->breakpointsPane()->ShowHits(frame.pausedState->breakpointHits);
        }
    }
    if (!trac_) return;
    QStringList stack;
    for (const std::string& line : frame.stackLines) stack << FromDevice(line);
    trac_->ShowStack(stack);
    for (const TraceStopView& stop : frame.stops) {
        trac_->ShowStatement(FromDevice(stop.line));
        if (stop.watched) trac_->ShowWatchedValue(FromDevice(stop.watchedValue));
        MarkStatement(stop.statementIndex);
    }
    // A stop waits for the trace window's step: a click into a maximised main
    // window (one window) must not leave it buried.
    if (!frame.stops.empty()) trac_->raise();
}

// The whole statement, selected in the editor.
void EmulatorWindows::MarkStatement(int statementIndex) {
    if (!editor_) return;
    const auto range =
        StatementMarkRange(editor_->toPlainText(), compiledText_, statements_, statementIndex);
    if (!range) return;
    SelectRange(*editor_, range->start, range->length);
    editor_->setFocus();
}

// A pause marks its statement without selecting it (see
// SourceEditor::setExecutionMark); -1 or a statement of a library: no mark.
void EmulatorWindows::MarkPause(int statementIndex) {
    auto* source = qobject_cast<SourceEditor*>(editor_.data());
    if (!source) return;
    if (MarkPauseInLibrary(statementIndex)) {
        source->clearExecutionMark();
        return;
    }
    const auto range = statementIndex < 0 ? std::nullopt
                                          : StatementMarkRange(source->toPlainText(), compiledText_,
                                                               statements_, statementIndex);
    if (range)
        source->setExecutionMark(range->start, range->length);
    else
        source->clearExecutionMark();
}

// A pause inside a library routine: its text in the library tab, marked.
// True when the statement belongs to a library.
bool EmulatorWindows::MarkPauseInLibrary(int statementIndex) {
    const bool inLibrary = statementIndex >= 0 &&
                           statementIndex < static_cast<int>(statements_.size()) &&
                           statements_[statementIndex].sourceIndex > 0;
    if (!test_) return inLibrary;
    LibraryView* view = test_->libraryView();
    if (!inLibrary) {
        view->clearExecutionMark();
        return false;
    }
    const int library = statements_[statementIndex].sourceIndex - 1;
    if (library >= static_cast<int>(libraries_.size())) return true;
    const LibraryText& text = libraries_[library];
    if (view->ShowStatement(text.path, text.compilerText, statements_, statementIndex))
        test_->ShowLibraryTab(QFileInfo(text.path).fileName());
    return true;
}

// The caret to the start of the line, from a click in the listing: shown, not
// selected, so the next key typed does not replace it.
void EmulatorWindows::ShowSourceLine(int line) {
    if (!editor_) return;
    const QTextBlock block = editor_->document()->findBlockByNumber(line - 1);
    if (!block.isValid()) return;
    editor_->setTextCursor(QTextCursor(block));
    editor_->ensureCursorVisible();
}

// The panes show the pauses of the loaded program: once it has ended, or the
// editor's text is no longer the one it was compiled from, they say so.
void EmulatorWindows::ShowWhetherPanesAreCurrent() {
    if (!test_) return;
    if (textChanged_ || programEnded_) MarkPause(-1);
    test_->setStaleNote(textChanged_ ? tr("Текст изменён — скомпилируйте заново (F9)")
                        : programEnded_ ? tr("Программа завершена")
                                        : QString());
}

void EmulatorWindows::UnmarkStatement() {
    if (!editor_) return;
    QTextCursor cursor = editor_->textCursor();
    if (!cursor.hasSelection()) return;
    cursor.setPosition(cursor.selectionStart());
    editor_->setTextCursor(cursor);
}

// The place the window had last time; else beside the main window, clear of
// the other emulator window and of the line being debugged or edited.
void EmulatorWindows::PlaceWindow(QWidget& window, const QString& key) {
    if (places_) {
        places_->Track(window, key);
        if (places_->Restore(window, key)) return;
    }
    if (!owner_ || !owner_->isVisible() || !owner_->screen()) return;
    const QSize frame = owner_->frameGeometry().size() - owner_->size();
    std::vector<QRect> others;
    for (QWidget* other :
         {static_cast<QWidget*>(test_.data()), static_cast<QWidget*>(trac_.data())})
        if (other && other != &window && other->isVisible())
            others.push_back(other->frameGeometry());
    const QRect available = owner_->screen()->availableGeometry();
    QSize size = window.size() + frame;
    // No room beside the main window where it stands: the main window moves
    // to the left edge, and the new window takes the room right of it, down
    // to its minimum (then it covers the least of the main window it can).
    const int room = available.width() - owner_->frameGeometry().width();
    const int narrowest = window.minimumSizeHint().width() + frame.width();
    const QRect owner = owner_->frameGeometry();
    const bool besideFits = owner.right() + size.width() <= available.right() ||
                            owner.left() - size.width() >= available.left();
    if (others.empty() && !besideFits) {
        size.setWidth(std::clamp(room, narrowest, std::max(narrowest, size.width())));
        window.resize(size - frame);
        owner_->move(available.left(), owner_->frameGeometry().top());
    }
    QRect keepClear;
    if (auto* source = qobject_cast<const SourceEditor*>(editor_.data()))
        keepClear = source->lineInUseOnScreen();
    const QRect place = PlaceBeside(size, owner_->frameGeometry(), others, available, keepClear);
    window.move(place.topLeft());
}

// The main window closing takes the emulator with it; a cancelled close
// leaves the main window visible and the emulator running.
bool EmulatorWindows::eventFilter(QObject* watched, QEvent* event) {
    if (watched == owner_ && event->type() == QEvent::Close) {
        QTimer::singleShot(0, this, [this] {
            if (owner_ && !owner_->isVisible()) EndEmulator();
        });
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace zr::shell
