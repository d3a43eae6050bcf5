#include "shell/main_window/frm_main.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressDialog>
#include <QStatusBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolBar>

#include "compiler/compiled_statements.h"
#include "shell/debugger/breakpoint_store.h"
#include "shell/debugger/debug_statements.h"
#include "shell/editor/document_recovery.h"
#include "shell/editor/editor_gutter.h"
#include "shell/editor/language_features.h"
#include "shell/editor/live_analyser.h"
#include "shell/editor/recovery_files.h"
#include "shell/editor/source_editor.h"
#include "shell/editor/source_files.h"
#include "shell/editor/start_folders.h"
#include "shell/main_window/companion_windows.h"
#include "shell/main_window/data_folders.h"
#include "shell/main_window/dialog_prompts.h"
#include "shell/main_window/toolbar_icons.h"

namespace zr::shell {
namespace {

constexpr const char* kSourceFilter = "*.zrt *.kel";
// Save offers both forms, the current file's first.
constexpr const char* kRichSaveFilters = "*.zrt;;*.kel";
constexpr const char* kPlainSaveFilters = "*.kel;;*.zrt";
constexpr const char* kLibraryFilter = "*.bib";

std::filesystem::path ToPath(const QString& folder) {
    return std::filesystem::path(folder.toStdU16String());
}

}  // namespace

FrmMain::FrmMain(const QString& programFolder, QWidget* parent)
    : QMainWindow(parent),
      programFolder_(programFolder),
      editor_(new SourceEditor(this)),
      hintPanel_(new QLabel(this)),
      fileField_(new QLabel(this)),
      examplesFolder_(ExamplesFolder()),
      prompts_(std::make_unique<DialogPrompts>(this)),
      session_(ToPath(programFolder)) {
    setObjectName("frmMain");
    setWindowTitle(tr("Code Highlight Test"));
    resize(900, 640);

    setCentralWidget(editor_);
    connect(editor_, &SourceEditor::helpRequested, this, &FrmMain::showHelp);
    connect(editor_->gutter(), &EditorGutter::breakpointsChanged, this, [this] {
        if (!currentPath_.isEmpty())
            StoreBreakpoints(currentPath_, editor_->gutter()->breakpoints());
    });

    CreateActions();
    CreateMenus();
    CreateToolbar();
    CreateStatusBar();
    CreateLanguageFeatures();
    editor_->setContextMenu(editMenu_);

    newSource();
    recovery_ = std::make_unique<DocumentRecovery>(
        *editor_->document(), RecoveryFolder(), [this] { return editor_->richText(); },
        [this] { return currentPath_; });
    editor_->setFocus();
}

FrmMain::~FrmMain() = default;

QString FrmMain::hint() const {
    return hintPanel_->text();
}

void FrmMain::setPrompts(std::unique_ptr<UserPrompts> prompts) {
    prompts_ = std::move(prompts);
}

QAction* FrmMain::AddAction(const QString& name, const QString& caption) {
    auto* action = new QAction(caption, this);
    action->setObjectName(name);
    return action;
}

void FrmMain::CreateActions() {
    newAction_ = AddAction("mnuFile0", tr("Новый"));
    newAction_->setShortcut(QKeySequence::New);
    connect(newAction_, &QAction::triggered, this, &FrmMain::newSource);
    openAction_ = AddAction("mnuFile1", tr("Открыть"));
    openAction_->setShortcut(QKeySequence::Open);
    connect(openAction_, &QAction::triggered, this, &FrmMain::openSource);
    saveAction_ = AddAction("mnuFile2", tr("Сохранить"));
    saveAction_->setShortcut(QKeySequence::Save);
    connect(saveAction_, &QAction::triggered, this, &FrmMain::saveSource);
    saveAsAction_ = AddAction("mnuFileSaveAs", tr("Сохранить как…"));
    saveAsAction_->setShortcut(Qt::CTRL | Qt::SHIFT | Qt::Key_S);
    connect(saveAsAction_, &QAction::triggered, this, &FrmMain::saveSourceAs);
    // The transfer to the device belongs to the emulator window.
    sendToDeviceAction_ = AddAction("mnuOutToZr7340", tr("Загрузить Zr7340"));
    sendToDeviceAction_->setEnabled(false);
    exitAction_ = AddAction("mnuExit", tr("Выход"));
    connect(exitAction_, &QAction::triggered, this, &QWidget::close);

    undoAction_ = AddAction("mnuEditUndo", tr("Отменить"));
    undoAction_->setShortcut(QKeySequence::Undo);
    undoAction_->setEnabled(false);
    connect(undoAction_, &QAction::triggered, editor_, &QTextEdit::undo);
    connect(editor_, &QTextEdit::undoAvailable, undoAction_, &QAction::setEnabled);
    redoAction_ = AddAction("mnuEditRedo", tr("Повторить"));
    redoAction_->setShortcut(QKeySequence::Redo);
    redoAction_->setEnabled(false);
    connect(redoAction_, &QAction::triggered, editor_, &QTextEdit::redo);
    connect(editor_, &QTextEdit::redoAvailable, redoAction_, &QAction::setEnabled);

    cutAction_ = AddAction("mnuEdit0", tr("Вырезать"));
    cutAction_->setShortcut(QKeySequence::Cut);
    connect(cutAction_, &QAction::triggered, editor_, &SourceEditor::cutAsPlainText);
    copyAction_ = AddAction("mnuEdit1", tr("Копировать"));
    copyAction_->setShortcut(QKeySequence::Copy);
    connect(copyAction_, &QAction::triggered, editor_, &SourceEditor::copyAsRichText);
    pasteAction_ = AddAction("mnuEdit2", tr("Вставить"));
    pasteAction_->setShortcut(QKeySequence::Paste);
    connect(pasteAction_, &QAction::triggered, editor_, &SourceEditor::pastePlainText);
    selectAllAction_ = AddAction("mnuEdit4", tr("Выбрать все"));
    selectAllAction_->setShortcut(QKeySequence::SelectAll);
    connect(selectAllAction_, &QAction::triggered, editor_, &QTextEdit::selectAll);
    findAction_ = AddAction("mnuEdit5", tr("Найти"));
    findAction_->setShortcut(QKeySequence::Find);
    connect(findAction_, &QAction::triggered, this, &FrmMain::showFind);
    replaceAction_ = AddAction("mnuEdit6", tr("Заменить"));
    // The platform's Replace key is empty on plain X11, so Ctrl+H is given too.
    QList<QKeySequence> replaceKeys = QKeySequence::keyBindings(QKeySequence::Replace);
    if (!replaceKeys.contains(QKeySequence(Qt::CTRL | Qt::Key_H)))
        replaceKeys.append(QKeySequence(Qt::CTRL | Qt::Key_H));
    replaceAction_->setShortcuts(replaceKeys);
    connect(replaceAction_, &QAction::triggered, this, &FrmMain::showReplace);

    aboutQtAction_ = AddAction("mnuAbout", tr("About Qt"));
    connect(aboutQtAction_, &QAction::triggered, qApp, &QApplication::aboutQt);

    compileAction_ = AddAction("mnuCompile", tr("Пробная компиляция"));
    compileAction_->setShortcut(Qt::CTRL | Qt::Key_F9);
    connect(compileAction_, &QAction::triggered, this, &FrmMain::compile);
    compileAndRunAction_ = AddAction("mnuRun", tr("Компиляция и запуск"));
    compileAndRunAction_->setShortcut(Qt::Key_F9);
    connect(compileAndRunAction_, &QAction::triggered, this, &FrmMain::compileAndRun);
    emulatorAction_ = AddAction("mnuEmulator", tr("Эмулятор  ZR-7340"));
    connect(emulatorAction_, &QAction::triggered, this, &FrmMain::openEmulator);

    traceAction_ = AddAction("mnuTrass", tr("Трассировка"));
    connect(traceAction_, &QAction::triggered, this, &FrmMain::openTrace);
    breakpointAction_ = AddAction("mnuBreakpoint", tr("Точка останова"));
    breakpointAction_->setShortcut(Qt::CTRL | Qt::Key_B);
    connect(breakpointAction_, &QAction::triggered, editor_->gutter(),
            &EditorGutter::toggleBreakpointAtCaret);

    saveLibraryAction_ = AddAction("mnuSVLib", tr("Сохранить библиотеку"));
    connect(saveLibraryAction_, &QAction::triggered, this, &FrmMain::saveLibrary);
    editLibraryAction_ = AddAction("mnuEditLib", tr("Редактировать библиотеку"));
    connect(editLibraryAction_, &QAction::triggered, this, &FrmMain::editLibrary);

    languageHelpAction_ = AddAction("mnuHelpKelto", tr("Kelto"));
    connect(languageHelpAction_, &QAction::triggered, this, [this] { showHelp(QString()); });
    aboutAction_ = AddAction("mnuByMe", tr("О проекте"));
    connect(aboutAction_, &QAction::triggered, this, [this] {
        QMessageBox::about(this, aboutAction_->text(),
                           tr("Среда разработки ZR-7340, версия 1.03.\n\n"
                              "Программы на языке Kelto: редактор, компилятор, библиотеки."));
    });

    // What each item does, in the status bar while the menu is open.
    const std::pair<QAction*, QString> tips[] = {
        {newAction_, tr("Начать новую программу")},
        {openAction_, tr("Открыть программу (.zrt, .kel)")},
        {saveAction_, tr("Сохранить текст в его файл")},
        {saveAsAction_, tr("Сохранить текст в файл с новым именем")},
        {exitAction_, tr("Закрыть среду")},
        {undoAction_, tr("Отменить последнее изменение")},
        {redoAction_, tr("Вернуть отменённое изменение")},
        {cutAction_, tr("Вырезать выделенный текст в буфер обмена")},
        {copyAction_, tr("Копировать выделенный текст с цветами")},
        {pasteAction_, tr("Вставить текст из буфера обмена")},
        {selectAllAction_, tr("Выделить весь текст")},
        {findAction_, tr("Найти текст в программе")},
        {replaceAction_, tr("Найти и заменить текст")},
        {aboutQtAction_, tr("Сведения о библиотеке Qt")},
        {compileAction_, tr("Откомпилировать программу и показать занятую память")},
        {compileAndRunAction_, tr("Откомпилировать программу и запустить её в эмуляторе")},
        {emulatorAction_, tr("Открыть эмулятор с последней откомпилированной программой")},
        {traceAction_, tr("Открыть окно трассировки")},
        {breakpointAction_, tr("Поставить или снять точку останова на строке курсора (Ctrl+B)")},
        {saveLibraryAction_, tr("Сохранить текст как библиотеку (.bib)")},
        {editLibraryAction_, tr("Открыть библиотеку (.bib) для правки")},
        {languageHelpAction_, tr("Справка по языку Kelto")},
        {aboutAction_, tr("О среде разработки")},
    };
    for (const auto& [action, tip] : tips) action->setStatusTip(tip);
}

void FrmMain::CreateMenus() {
    QMenu* fileMenu = menuBar()->addMenu(tr("&File"));
    fileMenu->setObjectName("menuFile");
    fileMenu->addActions({newAction_, openAction_, saveAction_, saveAsAction_});
    examplesMenu_ = fileMenu->addMenu(tr("Примеры"));
    examplesMenu_->setObjectName("menuExamples");
    examplesMenu_->menuAction()->setStatusTip(tr("Открыть один из примеров программ"));
    connect(examplesMenu_, &QMenu::aboutToShow, this, &FrmMain::FillExamplesMenu);
    FillExamplesMenu();
    fileMenu->addAction(sendToDeviceAction_);
    fileMenu->addSeparator()->setObjectName("mnuSep");
    fileMenu->addAction(exitAction_);

    editMenu_ = menuBar()->addMenu(tr("Редактирование"));
    editMenu_->setObjectName("menuEdit");
    editMenu_->addActions({undoAction_, redoAction_});
    editMenu_->addSeparator();
    editMenu_->addActions({cutAction_, copyAction_, pasteAction_});
    editMenu_->addSeparator();
    editMenu_->addActions({selectAllAction_, findAction_, replaceAction_});

    QMenu* qtMenu = menuBar()->addMenu(tr("&Help"));
    qtMenu->setObjectName("menuHelp");
    qtMenu->addAction(aboutQtAction_);

    QMenu* compileMenu = menuBar()->addMenu(tr("Комиляция"));
    compileMenu->setObjectName("mnuZr7340");
    compileMenu->addActions({compileAction_, compileAndRunAction_});
    compileMenu->addSeparator()->setObjectName("mnuZr111");
    compileMenu->addAction(emulatorAction_);

    QMenu* debugMenu = menuBar()->addMenu(tr("Отладка"));
    debugMenu->setObjectName("mnuTool1");
    debugMenu->addAction(traceAction_);
    debugMenu->addAction(breakpointAction_);
    debugMenu_ = debugMenu;

    QMenu* libraryMenu = menuBar()->addMenu(tr("Библиотеки"));
    libraryMenu->setObjectName("mnuLib");
    libraryMenu->addActions({saveLibraryAction_, editLibraryAction_});

    QMenu* helpMenu = menuBar()->addMenu(tr("Help"));
    helpMenu->setObjectName("mnuHelp");
    helpMenu->addActions({languageHelpAction_, aboutAction_});
}

void FrmMain::CreateToolbar() {
    struct Button {
        const char* key;  // empty: a separator
        const char* toolTip;
        QAction* target;
    };
    const Button buttons[] = {
        {"new", QT_TR_NOOP("New"), newAction_},
        {"open", QT_TR_NOOP("Open"), openAction_},
        {"save", QT_TR_NOOP("Save"), saveAction_},
        {"", "", nullptr},
        {"cut", QT_TR_NOOP("Cut"), cutAction_},
        {"copy", QT_TR_NOOP("Copy"), copyAction_},
        {"paste", QT_TR_NOOP("Paste"), pasteAction_},
        {"", "", nullptr},
        {"Find", QT_TR_NOOP("Find"), findAction_},
        {"Replace", QT_TR_NOOP("Replace"), replaceAction_},
        {"", "", nullptr},
        {"Run", QT_TR_NOOP("Run"), compileAndRunAction_},
        {"", "", nullptr},
        {"Help", QT_TR_NOOP("Help"), languageHelpAction_},
    };

    toolbar_ = addToolBar("tbMain");
    toolbar_->setObjectName("tbMain");
    toolbar_->setMovable(false);
    toolbar_->setIconSize(QSize(22, 22));
    for (const Button& button : buttons) {
        const QString key = QString::fromLatin1(button.key);
        if (key.isEmpty()) {
            toolbar_->addSeparator();
            continue;
        }
        QAction* action = toolbar_->addAction(ToolbarIcon(key), key);
        action->setObjectName(key);
        action->setToolTip(tr(button.toolTip));
        toolbarTargets_.insert(key, button.target);
        connect(action, &QAction::triggered, this, [this, key] { onToolbarKey(key); });
    }
}

void FrmMain::onToolbarKey(const QString& key) {
    if (QAction* target = toolbarTargets_.value(key)) target->trigger();
}

// ---- Files ----

void FrmMain::CreateStatusBar() {
    statusBar()->setObjectName("StatusBar1");
    hintPanel_->setObjectName("hintPanel");
    statusBar()->addWidget(hintPanel_, 1);
    connect(editor_, &SourceEditor::hintChanged, hintPanel_, &QLabel::setText);
    fileField_->setObjectName("fileField");
    statusBar()->addPermanentWidget(fileField_);
    connect(editor_->document(), &QTextDocument::modificationChanged, this,
            &FrmMain::ShowFileState);
}

void FrmMain::CreateLanguageFeatures() {
    LanguageHost host;
    host.librarySearch = [this] { return session_.LibrarySearchFor(SourceFolder()); };
    host.currentFile = [this] { return currentPath_; };
    host.openFile = [this](const QString& path) { return MaybeSave() && LoadFile(path); };
    language_ = new LanguageFeatures(*this, *editor_, std::move(host));
    connect(this, &FrmMain::currentFileChanged, &language_->analyser(), &LiveAnalyser::Schedule);
    editMenu_->addSeparator();
    editMenu_->addActions(language_->actions());
}

// The file's name, and "*" while the text differs from it.
void FrmMain::ShowFileState() {
    const QString name =
        currentPath_.isEmpty() ? tr("Без имени") : QFileInfo(currentPath_).fileName();
    fileField_->setText(editor_->document()->isModified() ? name + " *" : name);
    fileField_->setToolTip(currentPath_.isEmpty() ? tr("Текст ещё не сохранён")
                                                  : QDir::toNativeSeparators(currentPath_));
}

void FrmMain::SetCurrentFile(const QString& path) {
    currentPath_ = path;
    if (!path.isEmpty() && !IsShippedExample(path)) RememberFolderOf(path);
    ShowFileState();
    emit currentFileChanged(path);
}

void FrmMain::FillExamplesMenu() {
    examplesMenu_->clear();
    const QFileInfoList examples =
        QDir(examplesFolder_).entryInfoList({"*.zrt"}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& example : examples) {
        QAction* action = examplesMenu_->addAction(example.completeBaseName());
        action->setStatusTip(QDir::toNativeSeparators(example.absoluteFilePath()));
        connect(action, &QAction::triggered, this,
                [this, path = example.absoluteFilePath()] { openExample(path); });
    }
    if (examples.isEmpty()) examplesMenu_->addAction(tr("(нет примеров)"))->setEnabled(false);
}

bool FrmMain::IsLibrary() const {
    return QFileInfo(currentPath_).suffix().compare("bib", Qt::CaseInsensitive) == 0;
}

bool FrmMain::IsShippedExample(const QString& path) const {
    const QString folder = QFileInfo(examplesFolder_).canonicalFilePath();
    return !folder.isEmpty() &&
           QFileInfo(QFileInfo(path).absolutePath()).canonicalFilePath() == folder;
}

// Where Open starts: where the user works.
QString FrmMain::StartFolder() const {
    return DialogStartFolder(currentPath_, IsShippedExample(currentPath_), RememberedFolder(),
                             examplesFolder_);
}

// Save dialogs start on the current file when it is of the kind saved, so its
// name is offered; otherwise in the start folder, unless that is the shipped
// examples' folder or one the user cannot write to: then in the home folder.
FileDialogSetup FrmMain::SaveDialogFor(const QString& filter, const QString& suffix) const {
    QString folder = StartFolder();
    if (IsShippedExample(QDir(folder).filePath(QStringLiteral("new"))) ||
        !QFileInfo(folder).isWritable())
        folder = QDir::homePath();
    const QFileInfo current(currentPath_);
    if (currentPath_.isEmpty() || current.suffix().compare(suffix, Qt::CaseInsensitive) != 0)
        return {filter, folder};
    return {filter, QDir(folder).filePath(current.fileName())};
}

bool FrmMain::MaybeSave() {
    if (!editor_->document()->isModified()) return true;
    switch (prompts_->askAboutUnsavedChanges()) {
        case UnsavedChoice::Save:
            return saveSource();
        case UnsavedChoice::Discard:
            return true;
        case UnsavedChoice::Cancel:
            return false;
    }
    return false;
}

void FrmMain::newSource() {
    if (!MaybeSave()) return;
    // Coloured as if typed: the opening line is a comment and shows grey.
    editor_->LoadDocument({NewSourceText(QDate::currentDate()).toStdString(), {}}, true);
    editor_->moveCursor(QTextCursor::End);  // typing starts under the opening line
    editor_->setTextColor(Qt::black);
    SetCurrentFile(QString());
    hintPanel_->clear();
}

bool FrmMain::LoadFile(const QString& path) {
    const QString shownPath = QDir::toNativeSeparators(path);
    const ReadResult read = ReadSourceFile(path);
    if (!read.document) {
        prompts_->showFileError(tr("Не удалось открыть файл %1:\n%2").arg(shownPath, read.error));
        return false;
    }
    if (read.binary &&
        !prompts_->confirm(tr("Файл %1 не похож на программу Kelto: в нём есть двоичные данные. "
                              "Открыть его как текст?")
                               .arg(shownPath),
                           tr("Открыть всё равно")))
        return false;
    if (!FillEditor(*read.document, read.plainText, QFileInfo(path).fileName())) return false;
    SetCurrentFile(path);
    editor_->gutter()->setBreakpoints(StoredBreakpoints(path));
    hintPanel_->clear();
    if (read.damaged)
        prompts_->showFileError(tr("Файл %1 повреждён: он обрывается на середине. Открыто то, "
                                   "что удалось прочитать; проверьте конец текста.")
                                    .arg(shownPath));
    return true;
}

// Puts an opened text into the editor. A long one shows its progress with
// Cancel once it takes over a second; Cancel puts the previous text back.
bool FrmMain::FillEditor(const formats::RichText& text, bool plain, const QString& name) {
    constexpr std::size_t kLongText = std::size_t{512} * 1024;
    if (text.text.size() < kLongText) {
        editor_->LoadDocument(text, plain);
        return true;
    }
    const formats::RichText previous = editor_->richText();
    const bool previousModified = editor_->document()->isModified();
    QProgressDialog progress(tr("Открывается %1…").arg(name), tr("Отмена"), 0, 1000, this);
    // Modal for the whole application: no window may touch the editor while
    // its document is half filled.
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(progressDelay_);
    progress.setValue(0);
    // Nothing draws the editor while its document is half filled.
    editor_->setUpdatesEnabled(false);
    const bool complete =
        editor_->LoadDocument(text, plain, [&progress](qsizetype done, qsizetype total) {
            progress.setValue(static_cast<int>(done * 1000 / std::max<qsizetype>(total, 1)));
            return !progress.wasCanceled();
        });
    if (!complete) {
        editor_->LoadDocument(previous);
        editor_->document()->setModified(previousModified);
    }
    editor_->setUpdatesEnabled(true);
    return complete;
}

void FrmMain::openSource() {
    if (!MaybeSave()) return;
    const QString path = prompts_->askOpenFileName({kSourceFilter, StartFolder()});
    if (!path.isEmpty()) LoadFile(path);
}

void FrmMain::openExample(const QString& path) {
    if (!MaybeSave()) return;
    LoadFile(path);
}

bool FrmMain::saveSource() {
    if (currentPath_.isEmpty() || IsShippedExample(currentPath_)) return saveSourceAs();
    return IsLibrary() ? WriteLibrary(currentPath_) : WriteSource(currentPath_);
}

bool FrmMain::saveSourceAs() {
    if (IsLibrary()) return saveLibrary();
    const bool plain = IsPlainSourcePath(currentPath_);
    const QString path = prompts_->askSaveFileName(
        SaveDialogFor(plain ? kPlainSaveFilters : kRichSaveFilters, plain ? "kel" : "zrt"));
    return !path.isEmpty() && WriteSource(path);
}

bool FrmMain::WriteSource(const QString& path) {
    QString error;
    if (!SaveSourceFile(path, editor_->richText(), &error)) {
        prompts_->showFileError(
            tr("Не удалось сохранить файл %1:\n%2").arg(QDir::toNativeSeparators(path), error));
        return false;
    }
    editor_->document()->setModified(false);
    SetCurrentFile(path);
    // Saved lines are where the breakpoints stand now, after the edits.
    StoreBreakpoints(path, editor_->gutter()->breakpoints());
    return true;
}

// The folders $Lib searches for the current text, in its order: the
// program's library folder, the user's libraries, the text's own folder.
QStringList FrmMain::LibrarySearchFolders() const {
    QStringList folders{programFolder_, UserLibraryFolder()};
    if (!currentPath_.isEmpty()) folders << QFileInfo(currentPath_).absolutePath();
    folders.removeAll(QString());
    folders.removeDuplicates();
    return folders;
}

// Starts in the first folder $Lib searches that exists, and names them all.
void FrmMain::editLibrary() {
    if (!MaybeSave()) return;
    const QStringList searched = LibrarySearchFolders();
    FileDialogSetup setup{kLibraryFilter, StartFolder(), {}, {}};
    QStringList shown;
    for (const QString& folder : searched) {
        shown << QDir::toNativeSeparators(folder);
        if (!QFileInfo(folder).isDir()) continue;
        if (setup.places.isEmpty()) setup.startAt = folder;
        setup.places << folder;
    }
    setup.caption = tr("Редактировать библиотеку — $Lib ищет в: %1").arg(shown.join("; "));
    const QString path = prompts_->askOpenFileName(setup);
    if (!path.isEmpty()) LoadFile(path);
}

bool FrmMain::saveLibrary() {
    const QString path = prompts_->askSaveFileName(SaveDialogFor(kLibraryFilter, "bib"));
    return !path.isEmpty() && WriteLibrary(path);
}

// Libraries are plain lines, as $Lib reads them, whatever colours the editor shows.
bool FrmMain::WriteLibrary(const QString& path) {
    QString error;
    if (!SaveLibraryFile(path, editor_->toPlainText(), &error)) {
        prompts_->showFileError(tr("Не удалось сохранить библиотеку %1:\n%2")
                                    .arg(QDir::toNativeSeparators(path), error));
        return false;
    }
    editor_->document()->setModified(false);
    SetCurrentFile(path);
    // Saved lines are where the breakpoints stand now, after the edits.
    StoreBreakpoints(path, editor_->gutter()->breakpoints());
    return true;
}

void FrmMain::closeEvent(QCloseEvent* event) {
    if (closingWithoutQuestions_) return event->accept();
    if (!MaybeSave()) return event->ignore();
    recovery_->Discard();  // saved, or the user gave the changes up
    event->accept();
}

void FrmMain::CloseWithoutQuestions() {
    recovery_->WriteNow();
    closingWithoutQuestions_ = true;
    close();
}

QString FrmMain::recoveryFile() const {
    return recovery_->file();
}

void FrmMain::OfferRecoveredDocuments() {
    for (const QString& file : OrphanedRecoveryFiles()) {
        const std::optional<RecoveredDocument> document = ReadRecoveryFile(file);
        if (!document) continue;  // not one of ours: left alone
        const QString name = document->originalPath.isEmpty()
                                 ? tr("новый текст")
                                 : QDir::toNativeSeparators(document->originalPath);
        switch (prompts_->askAboutRecovery(name, document->savedAt.toLocalTime())) {
            case RecoveryChoice::Restore:
                if (!MaybeSave()) return;
                RestoreDocument(file);
                return;
            case RecoveryChoice::Delete:
                RemoveRecoveryFile(file);
                break;
            case RecoveryChoice::Later:
                break;
        }
    }
}

// The recovered text replaces the editor's as unsaved changes of its file;
// this window's own recovery file holds it from now on.
void FrmMain::RestoreDocument(const QString& file) {
    const std::optional<RecoveredDocument> document = ReadRecoveryFile(file);
    if (!document) return;
    editor_->LoadDocument(document->text);
    SetCurrentFile(document->originalPath);
    if (!document->originalPath.isEmpty())
        editor_->gutter()->setBreakpoints(StoredBreakpoints(document->originalPath));
    editor_->document()->setModified(true);
    recovery_->WriteNow();
    RemoveRecoveryFile(file);
}

// ---- Compile and run ----

bool FrmMain::compile() {
    const QString text = editor_->toPlainText();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const CompileOutcome outcome = session_.Compile(text, SourceFolder());
    QApplication::restoreOverrideCursor();

    for (const compiler::Message& message : outcome.messages)
        prompts_->showCompilerMessage(message);
    if (!outcome.succeeded) {
        if (outcome.errorSelection) SelectInEditor(*outcome.errorSelection);
        editor_->setFocus();
        if (outcome.libraryError) OfferLibraryError(*outcome.libraryError);
        return false;
    }
    MoveBreakpointsToStatements();
    prompts_->showCompileReport(outcome.report);
    return true;
}

// The folder searched for libraries after the library folders.
std::filesystem::path FrmMain::SourceFolder() const {
    return currentPath_.isEmpty() ? std::filesystem::path()
                                  : ToPath(QFileInfo(currentPath_).absolutePath());
}

// A breakpoint on a line without a statement holds at the next statement:
// its dot moves there, so it stands where the run will stop.
void FrmMain::MoveBreakpointsToStatements() {
    EditorGutter* gutter = editor_->gutter();
    const QList<int> lines = gutter->breakpointLines();
    const machine::StatementTable statements = compiler::StatementTableOf(session_.lastCompile());
    const QList<int> moved = BreakpointLinesAtStatements(statements, lines);
    if (moved == lines) return;
    // Each keeps what it asks (of two that meet, the first).
    std::vector<BreakpointEntry> entries;
    for (BreakpointEntry entry : gutter->breakpoints()) {
        entry.line = BreakpointLinesAtStatements(statements, {entry.line}).value(0);
        if (entry.line > 0 && (entries.empty() || entries.back().line != entry.line))
            entries.push_back(entry);
    }
    gutter->setBreakpoints(entries);
    if (!currentPath_.isEmpty()) StoreBreakpoints(currentPath_, entries);
}

void FrmMain::SelectInEditor(const EditorRange& range) {
    SelectRange(*editor_, range.start, range.length);
}

// An error inside a library: where it is, and the library opened there on request.
void FrmMain::OfferLibraryError(const LibraryErrorPlace& place) {
    const QString question =
        tr("Ошибка в библиотеке %1, строка %2.\nОткрыть библиотеку на этой строке?")
            .arg(QDir::toNativeSeparators(place.path))
            .arg(place.line);
    if (!prompts_->confirm(question, tr("Открыть библиотеку"))) return;
    if (!MaybeSave() || !LoadFile(place.path)) return;
    SelectInEditor(place.range);
    editor_->setFocus();
}

void FrmMain::compileAndRun() {
    if (compile() && emulatorOpener_)
        emulatorOpener_(session_.lastCompile(), EmulatorStart::AfterRun);
}

void FrmMain::openEmulator() {
    if (emulatorOpener_) emulatorOpener_(session_.lastCompile(), EmulatorStart::LastCompile);
}

void FrmMain::openTrace() {
    if (traceOpener_) traceOpener_(session_.lastCompile());
}

// ---- Find, replace, help ----

void FrmMain::showFind() {
    OpenFindReplace(editor_, this, false);
}

void FrmMain::showReplace() {
    OpenFindReplace(editor_, this, true);
}

void FrmMain::showHelp(const QString& word) {
    OpenHelp(word, this);
}

}  // namespace zr::shell
