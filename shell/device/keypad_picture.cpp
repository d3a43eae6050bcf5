#include "shell/device/keypad_picture.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include "shell/device/keypad_layout.h"

namespace zr::shell {
namespace {

const QColor kKeyGrey(0xB8, 0xB8, 0xB8);
const QColor kYellow(0xF0, 0xD0, 0x20);
const QColor kGreen(0x30, 0xA0, 0x40);
const QColor kBlue(0x10, 0x30, 0xC8);
const QColor kRed(0xD0, 0x10, 0x10);

QFont ScaledFont(const QRectF& key, double share, bool bold) {
    QFont font("Sans");
    font.setPixelSize(std::max(6, static_cast<int>(key.height() * share)));
    font.setBold(bold);
    return font;
}

// A horizontal arrow across the middle of the key, pointing left or right.
void DrawArrow(QPainter& painter, const QRectF& key, bool left) {
    const double y = key.center().y() - key.height() * 0.05;
    const double span = key.width() * 0.55;
    const double x0 = key.center().x() - span / 2;
    const double x1 = x0 + span;
    const double head = key.height() * 0.16;
    QPainterPath path;
    const double tip = left ? x0 : x1;
    const double back = left ? x0 + head * 1.4 : x1 - head * 1.4;
    path.moveTo(tip, y);
    path.lineTo(back, y - head);
    path.lineTo(back, y + head);
    path.closeSubpath();
    painter.setPen(QPen(kRed, std::max(2.0, key.height() * 0.07)));
    painter.drawLine(QPointF(left ? back : x0, y), QPointF(left ? x1 : back, y));
    painter.setPen(Qt::NoPen);
    painter.setBrush(kRed);
    painter.drawPath(path);
}

void DrawKey(QPainter& painter, const QRectF& cell, const KeyLegend& legend) {
    const double margin = std::min(cell.width(), cell.height()) * 0.08;
    const QRectF key = cell.adjusted(margin, margin, -margin, -margin);
    QColor body = kKeyGrey;
    if (legend.face == KeyFace::YellowF) body = kYellow;
    if (legend.face == KeyFace::GreenEnter) body = kGreen;
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(body);
    painter.drawRoundedRect(key, margin, margin);

    // Secondary legends along the top edge: blue on the left, red on the right.
    const QRectF top(key.left() + margin * 0.6, key.top() + margin * 0.3,
                     key.width() - margin * 1.2, key.height() * 0.3);
    // The two top legends share the line: the font shrinks until both fit whole.
    QFont topFont = ScaledFont(key, 0.2, false);
    const double gap = margin * 0.5;
    while (topFont.pixelSize() > 6) {
        const QFontMetricsF metrics(topFont);
        if (metrics.horizontalAdvance(legend.blue) + metrics.horizontalAdvance(legend.red) + gap <=
            top.width())
            break;
        topFont.setPixelSize(topFont.pixelSize() - 1);
    }
    painter.setFont(topFont);
    if (!legend.blue.isEmpty()) {
        painter.setPen(kBlue);
        const QRectF blueRect =
            painter.boundingRect(top, Qt::AlignLeft | Qt::AlignTop, legend.blue);
        painter.drawText(top, Qt::AlignLeft | Qt::AlignTop, legend.blue);
        if (legend.blue == "Function") {  // the function-level key is framed in red
            painter.setPen(QPen(kRed, 1));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(blueRect.adjusted(-1, 0, 1, 0));
        }
    }
    if (!legend.red.isEmpty()) {
        painter.setPen(kRed);
        painter.drawText(top, Qt::AlignRight | Qt::AlignTop, legend.red);
    }

    const QRectF lower = key.adjusted(0, key.height() * 0.25, 0, 0);
    switch (legend.face) {
        case KeyFace::Grey:
            painter.setPen(Qt::black);
            painter.setFont(ScaledFont(key, 0.5, true));
            painter.drawText(lower, Qt::AlignCenter, legend.main);
            break;
        case KeyFace::YellowF:
            painter.setPen(kBlue);
            painter.setFont(ScaledFont(key, 0.55, true));
            painter.drawText(key, Qt::AlignCenter, legend.main);
            break;
        case KeyFace::LeftArrow:
            DrawArrow(painter, key, true);
            painter.setPen(Qt::black);
            painter.setFont(ScaledFont(key, 0.22, true));
            painter.drawText(key.adjusted(0, 0, 0, -margin * 0.5),
                             Qt::AlignHCenter | Qt::AlignBottom, legend.main);
            break;
        case KeyFace::RightArrow:
            DrawArrow(painter, key, false);
            break;
        case KeyFace::GreenEnter:
            painter.setPen(kRed);
            painter.setFont(ScaledFont(key, 0.3, true));
            painter.drawText(key, Qt::AlignCenter, legend.main);
            break;
    }
}

}  // namespace

KeypadPicture::KeypadPicture(QWidget* parent) : QWidget(parent) {
    setToolTip(PcKeyMappingHint());
    setCursor(Qt::PointingHandCursor);
}

void KeypadPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), Qt::black);  // the black lines between the keys
    const double cellWidth = width() / 4.0;
    const double cellHeight = height() / 4.0;
    const auto& legends = KeypadLegends();
    for (int index = 0; index < kKeypadKeys; ++index) {
        const int row = index / 4, column = index % 4;
        const QRectF cell(column * cellWidth, row * cellHeight, cellWidth, cellHeight);
        DrawKey(painter, cell, legends[index]);
    }
    if (pressed_) {
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(Qt::white, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void KeypadPicture::mousePressEvent(QMouseEvent*) {
    pressed_ = true;
    update();
}

void KeypadPicture::mouseReleaseEvent(QMouseEvent* event) {
    pressed_ = false;
    update();
    const QPointF at = event->position();
    const int index = KeyIndexAt(at.x(), at.y(), width(), height());
    if (index >= 0) emit keyReleased(index);
}

}  // namespace zr::shell
