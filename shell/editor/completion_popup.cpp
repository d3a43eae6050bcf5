#include "shell/editor/completion_popup.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QScrollBar>
#include <QTextBlock>

#include "shell/editor/source_editor.h"

namespace zr::shell {
namespace {

constexpr int kVisibleRows = 10;

bool IsWordCharacter(QChar c) {
    return c.isLetterOrNumber() || c == u'_' || c == u'$' || c == u'#' || c == u'№';
}

// Characters that end the word being completed.
bool EndsWord(QChar c) {
    return c.isSpace() || QStringView(u",()[]\"'").contains(c);
}

}  // namespace

CompletionPopup::CompletionPopup(SourceEditor& editor, AnalysisSource analysis)
    : QObject(&editor),
      editor_(editor),
      analysis_(std::move(analysis)),
      list_(new QListWidget(&editor)) {
    list_->setObjectName("completionList");
    list_->setFocusPolicy(Qt::NoFocus);
    list_->setUniformItemSizes(true);
    list_->hide();
    connect(list_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { Accept(list_->row(item)); });
    editor_.installEventFilter(this);
}

bool CompletionPopup::isVisible() const {
    return list_->isVisible();
}

QStringList CompletionPopup::shownWords() const {
    QStringList words;
    for (int row = 0; row < list_->count(); ++row) words << list_->item(row)->text();
    return words;
}

void CompletionPopup::Complete() {
    Show(true);
}

void CompletionPopup::Hide() {
    list_->hide();
    candidates_.clear();
}

// Two letters typed at the start of a word: the moment to offer words.
bool CompletionPopup::StartsNewWord() const {
    const QTextCursor caret = editor_.textCursor();
    const QString line = caret.block().text();
    const int at = caret.positionInBlock();
    return at >= 2 && line[at - 1].isLetter() && line[at - 2].isLetter() &&
           (at == 2 || !IsWordCharacter(line[at - 3]));
}

void CompletionPopup::Show(bool requested) {
    const auto analysis = analysis_();
    const int caret = editor_.textCursor().position();
    language::Completion completion =
        language::CompletionAt(analysis->analysis(), analysis->CompilerPositionOf(caret));
    candidates_ = std::move(completion.candidates);
    start_ = analysis->EditorPositionOf(completion.replaceFrom);
    Refilter();
    if (!requested && list_->count() == 0) Hide();
}

void CompletionPopup::Refilter() {
    const int caret = editor_.textCursor().position();
    const QString typed = editor_.document()->toPlainText().mid(start_, caret - start_);
    if (caret < start_ || std::any_of(typed.begin(), typed.end(), EndsWord)) return Hide();
    const QString current = list_->currentItem() ? list_->currentItem()->text() : QString();
    list_->clear();
    for (const language::Candidate& candidate : candidates_) {
        const QString word = QString::fromStdString(candidate.text);
        if (!word.startsWith(typed, Qt::CaseInsensitive)) continue;
        auto* item = new QListWidgetItem(word, list_);
        item->setToolTip(QString::fromStdString(candidate.detail));
        if (word == current) list_->setCurrentItem(item);
    }
    // A word typed out in full needs no list, and Enter then ends the line.
    if (list_->count() == 0 ||
        (list_->count() == 1 && list_->item(0)->text().compare(typed, Qt::CaseInsensitive) == 0))
        return Hide();
    if (!list_->currentItem()) list_->setCurrentRow(0);

    // Under the word, inside the editor.
    QTextCursor wordStart = editor_.textCursor();
    wordStart.setPosition(start_);
    const QRect at = editor_.cursorRect(wordStart);
    const int rowHeight = list_->sizeHintForRow(0);
    const int width = std::max(list_->sizeHintForColumn(0) + 40, 200);
    const int height = rowHeight * std::min(list_->count(), kVisibleRows) + 4;
    QPoint place = editor_.viewport()->mapTo(&editor_, at.bottomLeft());
    if (place.y() + height > editor_.height())
        place.setY(editor_.viewport()->mapTo(&editor_, at.topLeft()).y() - height);
    list_->setGeometry(place.x(), place.y(), width, height);
    list_->show();
    list_->raise();
}

void CompletionPopup::Accept(int row) {
    if (row < 0) row = list_->currentRow();
    if (row < 0 || row >= list_->count()) return Hide();
    const QString word = list_->item(row)->text();
    QTextCursor cursor = editor_.textCursor();
    const int caret = cursor.position();
    cursor.setPosition(start_);
    cursor.setPosition(caret, QTextCursor::KeepAnchor);
    cursor.insertText(word);
    editor_.setTextCursor(cursor);
    Hide();
    editor_.ColorText();  // a keyword takes its colour at once
}

bool CompletionPopup::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &editor_) return false;
    if (event->type() == QEvent::FocusOut) {
        Hide();
        return false;
    }
    if (event->type() == QEvent::Resize && isVisible()) {
        Refilter();  // stays under its word
        return false;
    }
    if (event->type() != QEvent::KeyPress) return false;
    return HandleKey(*static_cast<QKeyEvent*>(event));
}

// Keys the open list takes; every other key is typed into the editor
// first, and then the list follows what was typed.
bool CompletionPopup::HandleKey(QKeyEvent& key) {
    if (isVisible()) {
        switch (key.key()) {
            case Qt::Key_Up:
            case Qt::Key_Down:
            case Qt::Key_PageUp:
            case Qt::Key_PageDown: {
                const int step =
                    (key.key() == Qt::Key_Up || key.key() == Qt::Key_Down) ? 1 : kVisibleRows;
                const int sign = (key.key() == Qt::Key_Up || key.key() == Qt::Key_PageUp) ? -1 : 1;
                list_->setCurrentRow(
                    std::clamp(list_->currentRow() + sign * step, 0, list_->count() - 1));
                return true;
            }
            case Qt::Key_Return:
            case Qt::Key_Enter:
            case Qt::Key_Tab:
                Accept();
                return true;
            case Qt::Key_Escape:
                Hide();
                return true;
            default:
                break;
        }
    }
    const bool typesText = !key.text().isEmpty() && key.text()[0].isPrint() &&
                           !(key.modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (!typesText && !isVisible()) return false;
    static_cast<QObject&>(editor_).event(&key);
    if (isVisible())
        Refilter();
    else if (typesText && key.text()[0].isLetter() && StartsNewWord())
        Show(false);
    return true;
}

}  // namespace zr::shell
