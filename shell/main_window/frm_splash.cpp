#include "shell/main_window/frm_splash.h"

#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <QVBoxLayout>

namespace zr::shell {
namespace {

// The device itself: a case with its two-line display and a keypad.
QPixmap DevicePicture() {
    QPixmap picture(120, 150);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(40, 40, 40), 2));
    painter.setBrush(QColor(70, 78, 92));
    painter.drawRoundedRect(QRectF(4, 4, 112, 142), 10, 10);
    painter.setBrush(QColor(170, 196, 150));
    painter.drawRect(QRectF(14, 14, 92, 30));
    painter.setPen(QColor(30, 40, 30));
    QFont font("Monospace", 7);
    font.setStyleHint(QFont::TypeWriter);
    painter.setFont(font);
    painter.drawText(QRectF(18, 16, 88, 13), Qt::AlignLeft | Qt::AlignVCenter, "ZR-7340");
    painter.drawText(QRectF(18, 29, 88, 13), Qt::AlignLeft | Qt::AlignVCenter, "Kelto 1.03");
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(220, 220, 225));
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            painter.drawRoundedRect(QRectF(16 + column * 23, 56 + row * 22, 18, 16), 3, 3);
    return picture;
}

}  // namespace

FrmSplash::FrmSplash(QWidget* owner) : QDialog(owner), timer_(new QTimer(this)) {
    setObjectName("frmSplash");
    setWindowTitle(tr("ZR-7340"));
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);

    auto* layout = new QVBoxLayout(this);
    auto* picture = new QLabel(this);
    picture->setPixmap(DevicePicture());
    picture->setAlignment(Qt::AlignCenter);
    layout->addWidget(picture);
    auto* product = new QLabel(tr("ZR-7340 Kelto development environment\nVersion 1.03"), this);
    product->setAlignment(Qt::AlignCenter);
    QFont font = product->font();
    font.setBold(true);
    product->setFont(font);
    layout->addWidget(product);
    setStyleSheet("QDialog { border: 1px solid palette(dark); }");

    timer_->setInterval(kTickMilliseconds);
    connect(timer_, &QTimer::timeout, this, &FrmSplash::tick);
    timer_->start();
}

void FrmSplash::tick() {
    if (++ticks_ >= kTicksShown) {
        timer_->stop();
        accept();
    }
}

}  // namespace zr::shell
