#include "shell/device/display_history_pane.h"

#include <QFontDatabase>
#include <QScrollBar>
#include <QStringList>

#include "shell/device/device_text.h"

namespace zr::shell {

DisplayHistoryPane::DisplayHistoryPane(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setMaximumBlockCount(static_cast<int>(emulator::DisplayHistory::kMaxScreens));
    setPlaceholderText(tr("Здесь появится каждый экран программы"));
    // The pane follows the newest screen unless the user scrolled back. The
    // scroll range grows when the text is laid out, which for a hidden pane
    // is only when it shows, so the end is kept in view as the range grows.
    QScrollBar* bar = verticalScrollBar();
    connect(bar, &QScrollBar::valueChanged, this,
            [this, bar](int value) { following_ = value == bar->maximum(); });
    connect(bar, &QScrollBar::rangeChanged, this, [this, bar](int, int maximum) {
        if (following_) bar->setValue(maximum);
    });
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
    appendPlainText(lines.join('\n'));
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
