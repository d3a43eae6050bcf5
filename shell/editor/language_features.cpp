#include "shell/editor/language_features.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QStatusBar>
#include <QTextBlock>
#include <QTimer>

#include "language/rename.h"
#include "shell/editor/completion_popup.h"
#include "shell/editor/editor_gutter.h"
#include "shell/editor/editor_hover.h"
#include "shell/editor/language_rows.h"
#include "shell/editor/live_analyser.h"
#include "shell/editor/place_list_pane.h"
#include "shell/editor/rename_edit.h"
#include "shell/editor/source_editor.h"

namespace zr::shell {
namespace {

const QColor kErrorUnderlineColour(220, 0, 0);

bool SameFile(const QString& a, const QString& b) {
    return QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

// The error's extent, at least one character wide so the underline shows
// even for an error at the very end of the text.
QTextCursor ErrorCursor(QTextDocument& document, const EditorRange& range) {
    const int last = document.characterCount() - 1;
    int start = std::clamp(range.start, 0, last);
    int end = std::clamp(range.start + range.length, 0, last);
    if (end == start) {
        if (end < last)
            ++end;
        else if (start > 0)
            --start;
    }
    QTextCursor cursor(&document);
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    return cursor;
}

LanguagePrompts DialogLanguagePrompts(QWidget* owner) {
    LanguagePrompts prompts;
    prompts.askNewName = [owner](const QString& name) -> std::optional<QString> {
        bool ok = false;
        const QString answer = QInputDialog::getText(
            owner, LanguageFeatures::tr("Переименовать"),
            LanguageFeatures::tr("Новое имя для %1:").arg(name), QLineEdit::Normal, name, &ok);
        if (!ok) return std::nullopt;
        return answer.trimmed();
    };
    prompts.askLine = [owner](int current, int lastLine) -> std::optional<int> {
        bool ok = false;
        const int line = QInputDialog::getInt(owner, LanguageFeatures::tr("Перейти к строке"),
                                              LanguageFeatures::tr("Строка (1–%1):").arg(lastLine),
                                              current, 1, lastLine, 1, &ok);
        if (!ok) return std::nullopt;
        return line;
    };
    prompts.showRefusal = [owner](const QString& text) {
        QMessageBox::warning(owner, LanguageFeatures::tr("Переименовать"), text);
    };
    return prompts;
}

}  // namespace

LanguageFeatures::LanguageFeatures(QMainWindow& window, SourceEditor& editor, LanguageHost host)
    : QObject(&window),
      window_(window),
      editor_(editor),
      host_(std::move(host)),
      analyser_(new LiveAnalyser(editor, host_.librarySearch, this)),
      problemsPane_(
          new PlaceListPane(tr("Проблемы"), {tr("Сообщение"), tr("Место")}, false, &window)),
      structurePane_(
          new PlaceListPane(tr("Структура"), {tr("Имя"), tr("Вид"), tr("Место")}, true, &window)),
      completion_(new CompletionPopup(editor, [this] { return analyser_->Peek(); })),
      hover_(new EditorHover(editor, [this] { return analyser_->Peek(); })),
      referencesPane_(
          new PlaceListPane(tr("Ссылки"), {tr("Место"), tr("Строка текста")}, true, &window)),
      prompts_(DialogLanguagePrompts(&window)),
      problemsField_(new QLabel(&window)) {
    problemsPane_->setObjectName("problemsPane");
    structurePane_->setObjectName("structurePane");
    referencesPane_->setObjectName("referencesPane");
    window_.addDockWidget(Qt::BottomDockWidgetArea, problemsPane_);
    window_.addDockWidget(Qt::BottomDockWidgetArea, referencesPane_);
    window_.tabifyDockWidget(problemsPane_, referencesPane_);
    problemsPane_->raise();
    window_.addDockWidget(Qt::RightDockWidgetArea, structurePane_);
    window_.installEventFilter(this);  // to size the panes when it first shows
    analyser_->setPostponeWhile([this] { return completion_->isVisible(); });

    connect(AddAction("mnuComplete", tr("Подсказать слово"), Qt::CTRL | Qt::Key_Space),
            &QAction::triggered, completion_, &CompletionPopup::Complete);
    connect(AddAction("mnuGoToDeclaration", tr("Перейти к объявлению"), Qt::Key_F12),
            &QAction::triggered, this, &LanguageFeatures::goToDeclaration);
    connect(AddAction("mnuFindReferences", tr("Найти ссылки"), Qt::SHIFT | Qt::Key_F12),
            &QAction::triggered, this, &LanguageFeatures::findReferences);
    connect(AddAction("mnuRename", tr("Переименовать…"), Qt::Key_F2), &QAction::triggered, this,
            &LanguageFeatures::renameAtCaret);
    connect(AddAction("mnuGoToLine", tr("Перейти к строке…"), Qt::CTRL | Qt::Key_G),
            &QAction::triggered, this, &LanguageFeatures::goToLine);
    connect(hover_, &EditorHover::declarationRequested, this, &LanguageFeatures::goToDeclaration);
    for (PlaceListPane* pane : {problemsPane_, structurePane_, referencesPane_}) {
        connect(pane, &PlaceListPane::placeActivated, this, &LanguageFeatures::GoTo);
        QAction* toggle = pane->toggleViewAction();
        toggle->setObjectName(pane->objectName() + "Toggle");
        actions_.append(toggle);
    }
    problemsField_->setObjectName("problemsField");
    window_.statusBar()->addPermanentWidget(problemsField_);
    connect(analyser_, &LiveAnalyser::analysed, this, &LanguageFeatures::ShowAnalysis);
}

LanguageFeatures::~LanguageFeatures() = default;

QAction* LanguageFeatures::AddAction(const QString& name, const QString& caption,
                                     const QKeySequence& keys) {
    auto* action = new QAction(caption, this);
    action->setObjectName(name);
    action->setShortcut(keys);
    actions_.append(action);
    return action;
}

bool LanguageFeatures::eventFilter(QObject* watched, QEvent* event) {
    // The editor keeps most of the window: a few rows below, a narrow column
    // right. Dock sizes take only once the window is laid out.
    if (watched == &window_ && event->type() == QEvent::Show) {
        window_.removeEventFilter(this);
        QTimer::singleShot(0, this, [this] {
            window_.resizeDocks({problemsPane_}, {110}, Qt::Vertical);
            window_.resizeDocks({structurePane_}, {300}, Qt::Horizontal);
        });
    }
    return false;
}

void LanguageFeatures::ShowAnalysis() {
    const auto analysis = analyser_->last();
    const std::optional<EditorRange> error = analysis->ErrorRange();
    QList<QTextEdit::ExtraSelection> marks;
    int errorLine = 0;
    if (error) {
        QTextEdit::ExtraSelection mark;
        mark.cursor = ErrorCursor(*editor_.document(), *error);
        mark.format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
        mark.format.setUnderlineColor(kErrorUnderlineColour);
        mark.format.setToolTip(QString::fromStdString(analysis->analysis().error->message));
        marks.append(mark);
        errorLine = mark.cursor.block().blockNumber() + 1;
    }
    editor_.setLanguageMarks(marks);
    editor_.gutter()->setErrorLine(errorLine);
    problemsField_->setText(ProblemCountText(analysis->analysis().error ? 1 : 0));
    problemsPane_->setRows(ProblemRows(*analysis));
    structurePane_->setRows(OutlineRows(*analysis));
}

void LanguageFeatures::GoTo(const SourcePlace& place) {
    if (!place.path.isEmpty() && !SameFile(place.path, host_.currentFile()) &&
        !host_.openFile(place.path))
        return;
    SelectRange(editor_, place.range.start, place.range.length);
    editor_.ensureCursorVisible();
    editor_.setFocus();
}

std::optional<int> LanguageFeatures::DeclarationAt(const EditorAnalysis& analysis,
                                                   int position) const {
    return analysis.analysis().DeclarationAt(0, analysis.CompilerPositionOf(position));
}

// A short word in the status bar, for a command that found nothing to do.
void LanguageFeatures::Tell(const QString& text) {
    window_.statusBar()->showMessage(text, 5000);
}

void LanguageFeatures::goToDeclaration() {
    const auto analysis = analyser_->Current();
    const auto declaration = DeclarationAt(*analysis, editor_.textCursor().position());
    if (!declaration) return Tell(tr("Здесь нет объявленного имени"));
    const auto& span = analysis->analysis().declarations[*declaration].span;
    if (!span) return Tell(tr("Это имя объявлено заранее"));
    GoTo(analysis->PlaceOf(*span));
}

void LanguageFeatures::findReferences() {
    const auto analysis = analyser_->Current();
    const auto declaration = DeclarationAt(*analysis, editor_.textCursor().position());
    if (!declaration) return Tell(tr("Здесь нет объявленного имени"));
    referencesPane_->setWindowTitle(
        tr("Ссылки: %1")
            .arg(QString::fromStdString(analysis->analysis().declarations[*declaration].name)));
    referencesPane_->setRows(ReferenceRows(*analysis, *declaration));
    referencesPane_->show();
    referencesPane_->raise();
}

void LanguageFeatures::renameAtCaret() {
    const auto analysis = analyser_->Current();
    const int caret = editor_.textCursor().position();
    const auto declaration = DeclarationAt(*analysis, caret);
    if (!declaration) return Tell(tr("Здесь нет объявленного имени"));
    const QString oldName =
        QString::fromStdString(analysis->analysis().declarations[*declaration].name);
    const std::optional<QString> newName = prompts_.askNewName(oldName);
    if (!newName || *newName == oldName) return;
    const language::RenamePlan plan = language::PlanRename(
        analysis->analysis(), analysis->CompilerPositionOf(caret), newName->toStdString());
    if (!plan.ok()) return prompts_.showRefusal(QString::fromStdString(plan.refusal));
    ApplyRename(editor_, *analysis, plan, *newName);
}

void LanguageFeatures::goToLine() {
    const int lastLine = editor_.document()->blockCount();
    const std::optional<int> line =
        prompts_.askLine(editor_.textCursor().blockNumber() + 1, lastLine);
    if (!line) return;
    QTextCursor caret(editor_.document()->findBlockByNumber(std::clamp(*line, 1, lastLine) - 1));
    editor_.setTextCursor(caret);
    editor_.ensureCursorVisible();
    editor_.setFocus();
}

}  // namespace zr::shell
