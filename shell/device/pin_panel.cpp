#include "shell/device/pin_panel.h"

#include <QPainter>

namespace zr::shell {
namespace {

// Panel units (0..100, y upwards) of the decorative lines around the captions
// and along the indicator column.
struct PanelLine {
    double x1, y1, x2, y2;
};
constexpr PanelLine kDecoration[] = {
    {0, 73, 100, 73},     {0, 64, 100, 64},     {22, 0, 22, 64},    {8, 64, 8, 0},
    {0, 99.9, 100, 99.9}, {99.6, 0, 99.6, 100}, {0, 0.1, 100, 0.1},
};

}  // namespace

PinPanel::PinPanel(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    ResetPins();
}

void PinPanel::ResetPins() {
    pinSets_.clear();
    pinSets_.emplace(kDeviceKey, ClsZRPins());
    update();
}

void PinPanel::RedrawPins() {
    update();
}

void PinPanel::SetPin(int pin, int value) {
    ClsZRPins& device = pinSets_.at(kDeviceKey);
    if (device.PinValue(pin) == value) return;
    device.SetPinValue(pin, value);
    update();
}

void PinPanel::SetIndicatorAnchor(int pin, QWidget* anchor) {
    anchors_[pin] = anchor;
    update();
}

QRectF PinPanel::IndicatorRect(int pin) const {
    const QWidget* anchor = anchors_[pin];
    if (!anchor) {
        const PinRecord& r = pins().record(pin);
        const QRectF panel = rect();
        return QRectF(QPointF((r.centreX - r.halfSize) * panel.width() / 100,
                              (100 - r.centreY - r.halfSize) * panel.height() / 100),
                      QPointF((r.centreX + r.halfSize) * panel.width() / 100,
                              (100 - r.centreY + r.halfSize) * panel.height() / 100));
    }
    // A square as high as the caption's text, in the margin left of it.
    const QRect place(anchor->mapTo(this, QPoint(0, 0)), anchor->size());
    const double side = std::min<double>(anchor->fontMetrics().height() * 0.8, place.height());
    const double gap = side * 0.4;
    return QRectF(place.left() - gap - side, place.center().y() + 0.5 - side / 2, side, side);
}

void PinPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const bool anchored = anchors_[0] != nullptr;
    if (!anchored) {
        const QRectF panel = rect();
        painter.setPen(QPen(Qt::gray, 1));
        for (const PanelLine& line : kDecoration)
            painter.drawLine(
                QPointF(line.x1 * panel.width() / 100, (100 - line.y1) * panel.height() / 100),
                QPointF(line.x2 * panel.width() / 100, (100 - line.y2) * panel.height() / 100));
        for (const auto& [key, pins] : pinSets_) pins.reDraw(painter, panel);
        return;
    }
    painter.setPen(QPen(Qt::gray, 1));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    for (const auto& [key, pins] : pinSets_) {
        for (int pin = 0; pin < ClsZRPins::kPins; ++pin) {
            const std::uint32_t colour = pins.IndicatorColour(pin);
            const QColor fill(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
            painter.setPen(fill);
            painter.setBrush(fill);
            painter.drawRect(IndicatorRect(pin));
        }
    }
}

}  // namespace zr::shell
