#include "shell/editor/source_editor.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <algorithm>

#include "shell/editor/clipboard_data.h"
#include "shell/editor/document_conversion.h"
#include "shell/editor/editor_gutter.h"
#include "shell/editor/word_boundaries.h"

namespace zr::shell {
namespace {

const QColor kCaretLineColour(255, 250, 205);
const QColor kExecutionLineColour(220, 240, 255);
const QColor kExecutionStatementColour(170, 215, 255);

}  // namespace

SourceEditor::SourceEditor(QWidget* parent) : QTextEdit(parent) {
    setObjectName("Text1");
    setAcceptRichText(false);
    setLineWrapMode(QTextEdit::NoWrap);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(std::max(font.pointSize(), 11));
    setFont(font);
    document()->setDefaultFont(font);
    // Word colours are absolute, so the page stays black on white on any theme.
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::white);
    colours.setColor(QPalette::Text, Qt::black);
    setPalette(colours);
    setTabStopDistance(fontMetrics().horizontalAdvance(' ') * 4);
    gutter_ = new EditorGutter(*this, [this](int width) { setViewportMargins(width, 0, 0, 0); });
    // The caret line's tint moves with the caret, the arrow with its statement.
    connect(this, &QTextEdit::cursorPositionChanged, viewport(), qOverload<>(&QWidget::update));
    connect(document(), &QTextDocument::contentsChanged, this, [this] {
        if (executionMark_) gutter_->setExecutionLine(executionMark_->blockNumber() + 1);
    });
}

bool SourceEditor::LoadDocument(const formats::RichText& content, bool colourWords,
                                const FillProgress& progress) {
    const QString text = QString::fromStdString(content.text);
    const std::vector<formats::ColourRun> runs =
        colourWords ? colourer_.RunsOf(text) : formats::ToUtf16Runs(content.text, content.runs);
    const bool complete = FillUnseen(text, runs, progress);
    document()->clearUndoRedoStacks();
    document()->setModified(false);
    // The caret starts at the top, where the reader starts: the lines below
    // are laid out as they come into view.
    setTextCursor(QTextCursor(document()));
    setTextColor(KeywordColourer::TypingColourAt(*document(), 0));
    return complete;
}

// Shown, the document's layout follows every piece the fill inserts, which
// costs three times the fill itself. So the document is filled while no view
// shows it and without a layout, then shown again: the view lays out only what
// it draws. It stays the same document object, so whatever is connected to it
// keeps its connections.
bool SourceEditor::FillUnseen(const QString& text, std::span<const formats::ColourRun> runs,
                              const FillProgress& progress) {
    QTextDocument* own = document();
    QObject* owner = own->parent();
    QTextDocument standIn;
    own->setParent(nullptr);  // the view deletes a document it owns when it gets another
    setDocument(&standIn);
    own->setDocumentLayout(nullptr);
    const bool complete = FillDocument(*own, text, runs, progress);
    setDocument(own);
    own->setParent(owner);
    ShowExtraSelections();
    return complete;
}

void SourceEditor::paintEvent(QPaintEvent* event) {
    PaintLineTint(textCursor(), kCaretLineColour);
    if (executionMark_) PaintLineTint(*executionMark_, kExecutionLineColour);
    QTextEdit::paintEvent(event);
}

// A line's tint, drawn under the text rather than as a full-width extra
// selection: the document lays out a long text in steps after it changes,
// and a full-width selection on a line not laid out yet has no line to stand
// on (Qt's drawing then reads a line that does not exist). A line not laid
// out yet gets its tint when it is laid out and drawn again.
void SourceEditor::PaintLineTint(const QTextCursor& at, const QColor& colour) {
    const QTextLayout* layout = at.block().layout();
    if (!layout || layout->lineCount() == 0) return;
    const QTextLine line = layout->lineForTextPosition(at.position() - at.block().position());
    if (!line.isValid()) return;
    const QRectF block = document()->documentLayout()->blockBoundingRect(at.block());
    const int top = static_cast<int>(block.top() + line.y()) - verticalScrollBar()->value();
    QPainter painter(viewport());
    painter.fillRect(QRect(0, top, viewport()->width(), static_cast<int>(line.height()) + 1),
                     colour);
}

void SourceEditor::setExecutionMark(int start, int length) {
    const int last = document()->characterCount() - 1;
    QTextCursor mark(document());
    mark.setPosition(std::clamp(start + length, 0, last));
    mark.setPosition(std::clamp(start, 0, last), QTextCursor::KeepAnchor);
    executionMark_ = mark;
    gutter_->setExecutionLine(mark.blockNumber() + 1);
    ShowExtraSelections();
    // Into view without moving the caret.
    const QRect place = cursorRect(mark);
    if (!viewport()->rect().contains(place)) {
        const int middle = place.center().y() - viewport()->height() / 2;
        verticalScrollBar()->setValue(verticalScrollBar()->value() + middle);
    }
    viewport()->update();
}

void SourceEditor::clearExecutionMark() {
    if (!executionMark_) return;
    executionMark_.reset();
    gutter_->setExecutionLine(0);
    ShowExtraSelections();
    viewport()->update();
}

QRect SourceEditor::lineInUseOnScreen() const {
    QTextCursor line = executionMark_ ? *executionMark_ : textCursor();
    line.clearSelection();
    line.movePosition(QTextCursor::EndOfBlock);
    const QRect end = cursorRect(line);
    const QPoint topLeft = viewport()->mapToGlobal(QPoint(0, end.top()));
    return QRect(topLeft, viewport()->mapToGlobal(end.bottomRight()));
}

QString SourceEditor::executionMarkText() const {
    return executionMark_ ? executionMark_->selectedText() : QString();
}

void SourceEditor::ShowExtraSelections() {
    QList<ExtraSelection> marks;
    if (executionMark_ && executionMark_->hasSelection()) {
        ExtraSelection statement;
        statement.cursor = *executionMark_;
        statement.format.setBackground(kExecutionStatementColour);
        marks.append(statement);
    }
    marks.append(languageMarks_);
    setExtraSelections(marks);
}

void SourceEditor::setLanguageMarks(const QList<ExtraSelection>& marks) {
    languageMarks_ = marks;
    ShowExtraSelections();
}

formats::RichText SourceEditor::richText() const {
    return ToRichText(*document());
}

QString SourceEditor::wordAtCaret() const {
    const QTextCursor cursor = textCursor();
    return WordAt(cursor.block().text(), cursor.positionInBlock());
}

bool SourceEditor::IsTriggerKey(const QKeyEvent& event) {
    switch (event.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
        case Qt::Key_Up:
        case Qt::Key_Down:
            return true;
        default:
            return event.text().size() == 1 && QStringLiteral("()[]").contains(event.text()[0]);
    }
}

void SourceEditor::ColorText() {
    colouring_ = true;
    const int caret = textCursor().position();
    const KeywordColourer::Result result = colourer_.ColorText(*document(), caret);
    QTextCursor cursor = textCursor();
    cursor.setPosition(caret);
    setTextCursor(cursor);
    // What is typed next is not part of the keyword; in a quoted text or a
    // comment it is part of that.
    setTextColor(KeywordColourer::TypingColourAt(*document(), caret));
    emit hintChanged(result.hint);
    colouring_ = false;
}

void SourceEditor::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        emit helpRequested(wordAtCaret());
        return;
    }
    if (event->matches(QKeySequence::Copy)) return copyAsRichText();
    if (event->matches(QKeySequence::Cut)) return cutAsPlainText();
    if (event->matches(QKeySequence::Paste)) return pastePlainText();
    // With a selection the key replaces it; only a plain caret has a word before it.
    const bool trigger = !colouring_ && !textCursor().hasSelection() && IsTriggerKey(*event);
    if (trigger) ColorText();
    QTextEdit::keyPressEvent(event);
    // After Enter or an arrow the caret may stand in other text than before.
    if (trigger)
        setTextColor(KeywordColourer::TypingColourAt(*document(), textCursor().position()));
}

void SourceEditor::contextMenuEvent(QContextMenuEvent* event) {
    if (contextMenu_)
        contextMenu_->popup(event->globalPos());
    else
        QTextEdit::contextMenuEvent(event);
}

void SourceEditor::copyAsRichText() {
    const QTextCursor selection = textCursor();
    if (!selection.hasSelection()) return;
    QApplication::clipboard()->clear();
    QApplication::clipboard()->setMimeData(
        MakeRichClipboardData(*document(), selection.selectionStart(), selection.selectionEnd()));
}

void SourceEditor::cutAsPlainText() {
    QTextCursor selection = textCursor();
    if (!selection.hasSelection() || isReadOnly()) return;
    QApplication::clipboard()->setMimeData(MakePlainClipboardData(selection.selectedText()));
    selection.removeSelectedText();
    setTextCursor(selection);
}

void SourceEditor::pastePlainText() {
    if (isReadOnly()) return;
    InsertPlain(QApplication::clipboard()->text());
}

QMimeData* SourceEditor::createMimeDataFromSelection() const {
    return MakePlainClipboardData(textCursor().selectedText());
}

bool SourceEditor::canInsertFromMimeData(const QMimeData* source) const {
    return source->hasText();
}

void SourceEditor::insertFromMimeData(const QMimeData* source) {
    InsertPlain(source->text());
}

// Pasted or dropped text is coloured as if it had been typed, but not
// respelled; it is one step for Undo.
void SourceEditor::InsertPlain(const QString& text) {
    QTextCursor cursor = textCursor();
    QTextCharFormat plain;
    plain.setForeground(Qt::black);
    cursor.beginEditBlock();
    const int from = cursor.selectionStart();
    cursor.insertText(text, plain);
    colourer_.ColourRange(*document(), from, cursor.position());
    cursor.endEditBlock();
    setTextCursor(cursor);
    setTextColor(KeywordColourer::TypingColourAt(*document(), cursor.position()));
}

void SelectRange(QTextEdit& editor, int start, int length) {
    QTextCursor cursor = editor.textCursor();
    const int last = editor.document()->characterCount() - 1;  // after the final character
    cursor.setPosition(std::clamp(start, 0, last));
    cursor.setPosition(std::clamp(start + length, 0, last), QTextCursor::KeepAnchor);
    editor.setTextCursor(cursor);
}

}  // namespace zr::shell
