#include "shell/help/window_help_key.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "shell/main_window/companion_windows.h"

namespace zr::shell {
namespace {

// Windows by object name, each with the index keyword of its page.
struct WindowTopic {
    const char* window;
    const char* keyword;
};
constexpr WindowTopic kWindowTopics[] = {
    {"frmTest", "Окно эмулятора"},
    {"frmTrac", "Окно трассировки"},
    {"rfmFindReplace", "Поиск и замена"},
    {"frmPaportCompiler", "Отчёт компиляции"},
};

// The viewer belongs to the main window, which outlives the windows F1 is
// pressed in (the compile report and the trace window go when they close).
QWidget* HelpOwner(QWidget* window) {
    for (QWidget* candidate : QApplication::topLevelWidgets())
        if (candidate->objectName() == QLatin1String("frmMain")) return candidate;
    return window;
}

}  // namespace

WindowHelpKey::WindowHelpKey(QObject* parent) : QObject(parent) {
    qApp->installEventFilter(this);
}

QString WindowHelpKey::TopicFor(const QWidget* widget) {
    if (!widget) return {};
    const QString window = widget->window()->objectName();
    for (const WindowTopic& topic : kWindowTopics)
        if (window == QLatin1String(topic.window)) return QString::fromUtf8(topic.keyword);
    return {};
}

bool WindowHelpKey::eventFilter(QObject* watched, QEvent* event) {
    // The key is taken before the window sees it, so the emulator's keypad
    // and the dialogs' own keys never receive it.
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F1 && key->modifiers() == Qt::NoModifier) {
            auto* widget = static_cast<QWidget*>(watched);
            const QString topic = TopicFor(widget);
            if (!topic.isEmpty()) {
                OpenHelp(topic, HelpOwner(widget->window()));
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace zr::shell
