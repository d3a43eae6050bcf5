#include "shell/main_window/window_places.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>
#include <algorithm>

namespace zr::shell {
namespace {

constexpr const char* kGroup = "windows";
constexpr const char* kKeyProperty = "zrPlaceKey";

bool FitsFree(const QRect& place, const QRect& available, const QRect& owner,
              const std::vector<QRect>& others) {
    if (!available.contains(place)) return false;
    if (place.intersects(owner)) return false;
    return std::none_of(others.begin(), others.end(),
                        [&place](const QRect& other) { return place.intersects(other); });
}

QRect AvailableFor(const QRect& place) {
    QScreen* screen = QGuiApplication::screenAt(place.center());
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : place;
}

}  // namespace

QRect ClampToScreen(const QRect& window, const QRect& available) {
    QRect place(window.topLeft(), window.size().boundedTo(available.size()));
    place.moveLeft(
        std::clamp(place.left(), available.left(), available.right() - place.width() + 1));
    place.moveTop(
        std::clamp(place.top(), available.top(), available.bottom() - place.height() + 1));
    return place;
}

QRect PlaceBeside(const QSize& size, const QRect& owner, const std::vector<QRect>& others,
                  const QRect& available, const QRect& keepClear) {
    std::vector<QRect> anchors{owner};
    anchors.insert(anchors.end(), others.begin(), others.end());
    for (const QRect& anchor : anchors) {
        for (bool right : {true, false}) {
            QRect place(QPoint(0, 0), size);
            place.moveLeft(right ? anchor.right() + 1 : anchor.left() - size.width());
            place.moveTop(
                std::clamp(anchor.top(), available.top(),
                           std::max(available.top(), available.bottom() - size.height() + 1)));
            if (FitsFree(place, available, owner, others)) return place;
        }
    }
    QRect place(QPoint(available.right() - size.width() + 1, owner.top()), size);
    place = ClampToScreen(place, available);
    if (!place.intersects(keepClear)) return place;
    const int lineGap = 8;
    if (keepClear.bottom() + lineGap + size.height() <= available.bottom())
        place.moveTop(keepClear.bottom() + lineGap);
    else if (keepClear.top() - lineGap - size.height() >= available.top())
        place.moveBottom(keepClear.top() - lineGap);
    return ClampToScreen(place, available);
}

WindowPlaces::WindowPlaces(std::unique_ptr<QSettings> settings, QObject* parent)
    : QObject(parent), settings_(std::move(settings)) {
    // The application's folder of the user's configuration, "windows.ini".
    if (!settings_)
        settings_ = std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                                QCoreApplication::applicationName(), "windows");
}

WindowPlaces::~WindowPlaces() = default;

bool WindowPlaces::Restore(QWidget& window, const QString& key) {
    const QRect saved = settings_->value(QString("%1/%2").arg(kGroup, key)).toRect();
    if (!saved.isValid()) return false;
    const QRect place = ClampToScreen(saved, AvailableFor(saved));
    window.resize(place.size());
    window.move(place.topLeft());
    if (settings_->value(QString("%1/%2-maximised").arg(kGroup, key)).toBool())
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
    return true;
}

void WindowPlaces::Track(QWidget& window, const QString& key) {
    window.setProperty(kKeyProperty, key);
    window.installEventFilter(this);
}

// Saved is the frame's top left and the client's size, as move and resize
// take them; a maximised window saves the place it returns to and the flag.
void WindowPlaces::Save(const QWidget& window, const QString& key) {
    const bool maximised = window.isMaximized();
    const QRect normal = maximised ? window.normalGeometry() : window.geometry();
    const QPoint frameOffset = window.geometry().topLeft() - window.frameGeometry().topLeft();
    settings_->setValue(QString("%1/%2").arg(kGroup, key),
                        QRect(normal.topLeft() - frameOffset, normal.size()));
    settings_->setValue(QString("%1/%2-maximised").arg(kGroup, key), maximised);
}

bool WindowPlaces::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Hide || event->type() == QEvent::Close) {
        auto* window = qobject_cast<QWidget*>(watched);
        if (window && window->isWindow() && window->testAttribute(Qt::WA_WState_Created))
            Save(*window, window->property(kKeyProperty).toString());
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace zr::shell
