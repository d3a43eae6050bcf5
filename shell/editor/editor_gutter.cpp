#include "shell/editor/editor_gutter.h"

#include <QAbstractTextDocumentLayout>
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>

namespace zr::shell {
namespace {

// Marks a block that carries a breakpoint, with what the breakpoint asks
// (its line is the block's); deleted with its block.
class BreakpointMark : public QTextBlockUserData {
  public:
    BreakpointEntry entry;
};

BreakpointMark* MarkOf(const QTextBlock& block) {
    return dynamic_cast<BreakpointMark*>(block.userData());
}

bool IsMarked(const QTextBlock& block) {
    return MarkOf(block) != nullptr;
}

void SetMarked(QTextBlock block, bool marked) {
    block.setUserData(marked ? new BreakpointMark : nullptr);
}

const QColor kGutterColour(240, 240, 240);
const QColor kBreakpointColour(200, 30, 30);
const QColor kExecutionArrowColour(230, 160, 0);
const QColor kErrorLineColour(255, 215, 215);
const QColor kErrorNumberColour(200, 0, 0);

}  // namespace

EditorGutter::EditorGutter(QTextEdit& editor, std::function<void(int)> setLeftMargin)
    : QWidget(&editor), editor_(editor), setLeftMargin_(std::move(setLeftMargin)) {
    setObjectName("editorGutter");
    setCursor(Qt::PointingHandCursor);
    QTextDocument* document = editor_.document();
    connect(document, &QTextDocument::blockCountChanged, this, &EditorGutter::Relayout);
    connect(document, &QTextDocument::contentsChanged, this, [this] { update(); });
    connect(editor_.verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { update(); });
    connect(&editor_, &QTextEdit::cursorPositionChanged, this, [this] { update(); });
    editor_.installEventFilter(this);
    Relayout();
}

int EditorGutter::widthNeeded() const {
    int digits = 1;
    for (int count = std::max(1, editor_.document()->blockCount()); count >= 10; count /= 10)
        ++digits;
    const QFontMetrics metrics(editor_.font());
    const int dot = metrics.height();
    return dot + 6 + metrics.horizontalAdvance(QLatin1Char('9')) * std::max(digits, 3);
}

QSize EditorGutter::sizeHint() const {
    return {widthNeeded(), 0};
}

// Called when the line count changes: the margin widens with more digits.
void EditorGutter::Relayout() {
    const int width = widthNeeded();
    setLeftMargin_(width);
    const QRect area = editor_.contentsRect();
    setGeometry(area.left(), area.top(), width, area.height());
    update();
}

// The first block the viewport shows: found by position, so a paint at the
// end of a long text does not lay out every line above it. At the top it is
// the first block: a text just opened is still being laid out in steps, and
// the search by position may not find its top line yet.
QTextBlock EditorGutter::FirstVisibleBlock() const {
    if (editor_.verticalScrollBar()->value() == 0) return editor_.document()->firstBlock();
    return editor_.cursorForPosition(QPoint(0, 0)).block();
}

int EditorGutter::BlockTop(const QTextBlock& block) const {
    const QRectF box = editor_.document()->documentLayout()->blockBoundingRect(block);
    return static_cast<int>(box.top()) - editor_.verticalScrollBar()->value();
}

bool EditorGutter::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &editor_ && event->type() == QEvent::Resize) Relayout();
    return QWidget::eventFilter(watched, event);
}

void EditorGutter::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), kGutterColour);
    painter.setFont(editor_.font());
    const QFontMetrics metrics(editor_.font());
    const int caretLine = editor_.textCursor().blockNumber();
    const int dot = metrics.height() - 4;
    for (QTextBlock block = FirstVisibleBlock(); block.isValid(); block = block.next()) {
        const int top = BlockTop(block);
        if (top > height()) break;
        const int lineHeight = metrics.height();
        if (top + lineHeight < 0) continue;
        if (const BreakpointMark* mark = MarkOf(block)) {
            // Disabled: hollow. With a condition or hit count: a bar across.
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(mark->entry.enabled ? QPen(Qt::NoPen) : QPen(kBreakpointColour, 2));
            painter.setBrush(mark->entry.enabled ? QBrush(kBreakpointColour) : QBrush());
            const QRect circle(3, top + 2, dot, dot);
            painter.drawEllipse(circle);
            if (!mark->entry.condition.isEmpty() || mark->entry.hitCount > 0)
                painter.fillRect(
                    QRect(circle.left() + dot / 4, circle.center().y() - 1, dot / 2, 3),
                    mark->entry.enabled ? QColor(Qt::white) : kBreakpointColour);
        }
        if (block.blockNumber() + 1 == executionLine_) {
            // An arrow over the dot's place, pointing at the statement.
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(Qt::NoPen);
            painter.setBrush(kExecutionArrowColour);
            const int middle = top + metrics.height() / 2;
            const QPolygon arrow({QPoint(2, middle - dot / 2),
                                  QPoint(2 + dot / 2, middle - dot / 2), QPoint(2 + dot, middle),
                                  QPoint(2 + dot / 2, middle + dot / 2),
                                  QPoint(2, middle + dot / 2)});
            painter.drawPolygon(arrow);
        }
        const bool errorLine = block.blockNumber() + 1 == errorLine_;
        if (errorLine)
            painter.fillRect(QRect(dot + 4, top, width() - dot - 4, lineHeight), kErrorLineColour);
        painter.setPen(errorLine                          ? kErrorNumberColour
                       : block.blockNumber() == caretLine ? QColor(Qt::black)
                                                          : QColor(Qt::gray));
        painter.drawText(QRect(0, top, width() - 4, lineHeight), Qt::AlignRight,
                         QString::number(block.blockNumber() + 1));
    }
}

void EditorGutter::mousePressEvent(QMouseEvent* event) {
    const int y = event->position().toPoint().y();
    for (QTextBlock block = FirstVisibleBlock(); block.isValid(); block = block.next()) {
        const int top = BlockTop(block);
        if (top > height()) return;
        const int bottom =
            top + static_cast<int>(
                      editor_.document()->documentLayout()->blockBoundingRect(block).height());
        if (y >= top && y < bottom) {
            toggleBreakpoint(block.blockNumber() + 1);
            return;
        }
    }
}

QList<int> EditorGutter::breakpointLines() const {
    QList<int> lines;
    for (QTextBlock block = editor_.document()->begin(); block.isValid(); block = block.next())
        if (IsMarked(block)) lines.append(block.blockNumber() + 1);
    return lines;
}

void EditorGutter::setBreakpointLines(const QList<int>& lines) {
    QTextDocument* document = editor_.document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        SetMarked(block, false);
    for (const int line : lines) {
        const QTextBlock block = document->findBlockByNumber(line - 1);
        if (block.isValid()) SetMarked(block, true);
    }
    update();
}

std::vector<BreakpointEntry> EditorGutter::breakpoints() const {
    std::vector<BreakpointEntry> entries;
    for (QTextBlock block = editor_.document()->begin(); block.isValid(); block = block.next())
        if (const BreakpointMark* mark = MarkOf(block)) {
            BreakpointEntry entry = mark->entry;
            entry.line = block.blockNumber() + 1;
            entries.push_back(entry);
        }
    return entries;
}

void EditorGutter::setBreakpoints(const std::vector<BreakpointEntry>& entries) {
    setBreakpointLines({});
    QTextDocument* document = editor_.document();
    for (const BreakpointEntry& entry : entries) {
        const QTextBlock block = document->findBlockByNumber(entry.line - 1);
        if (!block.isValid()) continue;
        SetMarked(block, true);
        MarkOf(block)->entry = entry;
    }
    update();
}

void EditorGutter::setBreakpoint(const BreakpointEntry& entry) {
    const QTextBlock block = editor_.document()->findBlockByNumber(entry.line - 1);
    if (!block.isValid()) return;
    if (!IsMarked(block)) SetMarked(block, true);
    MarkOf(block)->entry = entry;
    update();
    emit breakpointsChanged();
}

void EditorGutter::removeBreakpoint(int line) {
    if (hasBreakpoint(line)) toggleBreakpoint(line);
}

void EditorGutter::removeAllBreakpoints() {
    if (breakpointLines().isEmpty()) return;
    setBreakpointLines({});
    emit breakpointsChanged();
}

void EditorGutter::setExecutionLine(int line) {
    if (line == executionLine_) return;
    executionLine_ = line;
    update();
}

void EditorGutter::setErrorLine(int line) {
    if (line == errorLine_) return;
    errorLine_ = line;
    update();
}

bool EditorGutter::hasBreakpoint(int line) const {
    const QTextBlock block = editor_.document()->findBlockByNumber(line - 1);
    return block.isValid() && IsMarked(block);
}

void EditorGutter::toggleBreakpoint(int line) {
    const QTextBlock block = editor_.document()->findBlockByNumber(line - 1);
    if (!block.isValid()) return;
    SetMarked(block, !IsMarked(block));
    update();
    emit breakpointsChanged();
}

void EditorGutter::toggleBreakpointAtCaret() {
    toggleBreakpoint(editor_.textCursor().blockNumber() + 1);
}

}  // namespace zr::shell
