#include "shell/device/cls_zr_pins.h"

#include <QColor>
#include <QPainter>
#include <QRectF>
#include <cmath>

#include "emulator/io_model.h"

namespace zr::shell {
namespace {

QColor FromWindowsColour(std::uint32_t colour) {
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

// Panel units to pixels: x grows to the right, y grows upwards.
QPointF ToPixels(const QRectF& panel, double x, double y) {
    return {panel.left() + x * panel.width() / 100.0,
            panel.top() + (100.0 - y) * panel.height() / 100.0};
}

}  // namespace

ClsZRPins::ClsZRPins() {
    for (int i = 0; i < kPins; ++i) {
        records_[i].centreY = static_cast<std::int16_t>(std::nearbyint(4 + i * 100.0 / 14));
        records_[i].name = QString::fromLatin1(emulator::kPinNames[i].data(),
                                               static_cast<int>(emulator::kPinNames[i].size()));
    }
}

void ClsZRPins::SetPinValue(int pin, double value) {
    const double rounded = std::nearbyint(value);
    records_[pin].value = static_cast<std::int16_t>(std::clamp(rounded, -32768.0, 32767.0));
}

std::uint32_t ClsZRPins::IndicatorColour(int pin) const {
    return records_[pin].value > 0 ? records_[pin].highColour : kLowColour;
}

void ClsZRPins::reDraw(QPainter& painter, const QRectF& panel) const {
    for (int i = 0; i < kPins; ++i) {
        const PinRecord& r = records_[i];
        const QColor colour = FromWindowsColour(IndicatorColour(i));
        const QPointF topLeft = ToPixels(panel, r.centreX - r.halfSize, r.centreY + r.halfSize);
        const QPointF bottomRight = ToPixels(panel, r.centreX + r.halfSize, r.centreY - r.halfSize);
        painter.setPen(colour);
        painter.setBrush(colour);
        painter.drawRect(QRectF(topLeft, bottomRight));
        // The name starts at the box's lower right corner.
        painter.setPen(Qt::black);
        const QFontMetricsF metrics(painter.font());
        painter.drawText(QPointF(bottomRight.x() + 2, bottomRight.y() + metrics.ascent()), r.name);
    }
}

}  // namespace zr::shell
