#include "shell/display_history_pane.h"

#include <QFontDatabase>
#include <QScrollBar>
#include <QStringList>
#include <QTimer>

#include "shell/device_text.h"

namespace zr::shell {

DisplayHistoryPane::DisplayHistoryPane(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setMaximumBlockCount(static_cast<int>(emulator::DisplayHistory::kMaxScreens));
    setPlaceholderText(tr("Здесь появится каждый экран программы"));
}

void DisplayHistoryPane::Restart() {
    clear();
    following_ = true;
}

void DisplayHistoryPane::Append(const std::deque<emulator::DisplayScreen>& screens) {
    if (screens.empty()) return;
    // Only the last screens that the pane keeps are worth formatting.
    const std::size_t keep = emulator::DisplayHistory::kMaxScreens;
    const std::size_t first = screens.size() > keep ? screens.size() - keep : 0;
    QStringList lines;
    lines.reserve(static_cast<int>(screens.size() - first));
    for (std::size_t i = first; i < screens.size(); ++i) lines << ScreenLine(screens[i]);
    // The pane follows the newest screen unless the user scrolled back.
    QScrollBar* bar = verticalScrollBar();
    if (isVisible()) following_ = bar->value() == bar->maximum();
    appendPlainText(lines.join('\n'));
    if (following_) bar->setValue(bar->maximum());
}

void DisplayHistoryPane::showEvent(QShowEvent* event) {
    QPlainTextEdit::showEvent(event);
    // The scroll range is known once the pane is laid out.
    QTimer::singleShot(0, this, [this] {
        if (following_) verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    });
}

int DisplayHistoryPane::screenCount() const {
    return document()->isEmpty() ? 0 : document()->blockCount();
}

QString DisplayHistoryPane::ScreenLine(const emulator::DisplayScreen& screen) {
    return QString("%1  |%2|%3|")
        .arg(static_cast<qulonglong>(screen.instructions), 10)
        .arg(FromDevice(screen.line1), FromDevice(screen.line2));
}

}  // namespace zr::shell
