#include "shell/editor/editor_hover.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QToolTip>

#include "language/hover.h"
#include "shell/editor/source_editor.h"

namespace zr::shell {

QString HoverTextAt(const EditorAnalysis& analysis, int position, const HoverValueSource& value) {
    const language::Analysis& engine = analysis.analysis();
    QStringList parts;
    if (const auto error = analysis.ErrorRange();
        error && position >= error->start && position <= error->start + error->length)
        parts << QString::fromStdString(engine.error->message);
    const std::int32_t at = analysis.CompilerPositionOf(position);
    if (const auto hover = language::HoverAt(engine, 0, at)) {
        QString text = QString::fromStdString(hover->text);
        if (value) {
            if (const auto declaration = engine.DeclarationAt(0, at)) {
                const QString shown = value(engine.declarations[*declaration]);
                if (!shown.isEmpty()) text += "\n" + shown;
            }
        }
        parts << text;
    }
    return parts.join("\n\n");
}

EditorHover::EditorHover(SourceEditor& editor, AnalysisSource analysis)
    : QObject(&editor), editor_(editor), analysis_(std::move(analysis)) {
    editor_.viewport()->installEventFilter(this);
}

int EditorHover::PositionAt(const QPoint& viewportPoint) const {
    const QTextCursor cursor = editor_.cursorForPosition(viewportPoint);
    const int width = editor_.fontMetrics().horizontalAdvance(QLatin1Char('M'));
    if (cursor.atBlockEnd() && viewportPoint.x() > editor_.cursorRect(cursor).right() + width)
        return -1;
    return cursor.position();
}

QString EditorHover::TextAt(const QPoint& viewportPoint) const {
    const int position = PositionAt(viewportPoint);
    if (position < 0) return {};
    return HoverTextAt(*analysis_(), position, value_);
}

bool EditorHover::eventFilter(QObject* watched, QEvent* event) {
    if (watched != editor_.viewport()) return false;
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QString text = TextAt(help->pos());
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, editor_.viewport());
        return true;
    }
    if (event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && mouse->modifiers() == Qt::ControlModifier) {
            const int position = PositionAt(mouse->position().toPoint());
            if (position >= 0) {
                QTextCursor caret = editor_.textCursor();
                caret.setPosition(position);
                editor_.setTextCursor(caret);
                emit declarationRequested(position);
                return true;
            }
        }
    }
    return false;
}

}  // namespace zr::shell
