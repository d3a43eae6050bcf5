#include "shell/main_window/frm_paport_compiler.h"

#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <algorithm>

namespace zr::shell {

FrmPaportCompiler::FrmPaportCompiler(const compiler::MemoryReport& report, QWidget* parent)
    : QDialog(parent), timer_(new QTimer(this)), countdown_(new QProgressBar(this)) {
    setObjectName("frmPaportCompiler");
    setWindowTitle(tr("Compile report"));
    setModal(true);
    new QGridLayout(this);

    // A program that fills the memory exactly ends at address 1025: a full bar.
    AddAreaBar(tr("Program:"), "ProgressBar1", 1024, std::min(report.compileAddress, 1024));
    AddAreaBar(tr("Byte:"), "ProgressBar3", 97, report.bytesUsed);
    AddAreaBar(tr("Integer:"), "ProgressBar4", 128, report.integersUsed);
    AddAreaBar(tr("Single:"), "ProgressBar5", 32, report.singlesUsed);

    auto* grid = static_cast<QGridLayout*>(layout());
    auto* busy = new QLabel(QString::fromStdString(report.BusyText()), this);
    busy->setObjectName("Label1");
    grid->addWidget(busy, grid->rowCount(), 0, 1, 2);

    countdown_->setObjectName("ProgressBar2");
    countdown_->setRange(0, 31);
    countdown_->setValue(0);
    countdown_->setTextVisible(false);
    countdown_->setMaximumHeight(8);
    grid->addWidget(countdown_, grid->rowCount(), 0, 1, 2);

    timer_->setObjectName("Timer1");
    timer_->setInterval(kTickMilliseconds);
    connect(timer_, &QTimer::timeout, this, &FrmPaportCompiler::tick);
    timer_->start();
}

QProgressBar* FrmPaportCompiler::AddAreaBar(const QString& caption, const QString& name,
                                            int maximum, int value) {
    auto* grid = static_cast<QGridLayout*>(layout());
    const int row = grid->rowCount() == 1 && !grid->itemAtPosition(0, 0) ? 0 : grid->rowCount();
    auto* bar = new QProgressBar(this);
    bar->setObjectName(name);
    bar->setRange(0, maximum);
    bar->setValue(std::clamp(value, 0, maximum));
    bar->setFormat("%v / %m");
    bar->setMinimumWidth(240);
    grid->addWidget(new QLabel(caption, this), row, 0);
    grid->addWidget(bar, row, 1);
    return bar;
}

void FrmPaportCompiler::tick() {
    ++ticks_;
    countdown_->setValue(std::min(ticks_, countdown_->maximum()));
    if (ticks_ >= kTicksBeforeClosing) {
        timer_->stop();
        accept();
    }
}

}  // namespace zr::shell
