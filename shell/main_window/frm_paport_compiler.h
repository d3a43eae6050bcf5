// frmPaportCompiler: the short report after a successful compile, one bar per
// memory area and the share of program memory in use. Closes itself after
// 30 ticks of 100 ms.
#pragma once

#include <QDialog>

#include "compiler/memory_report.h"

class QProgressBar;
class QTimer;

namespace zr::shell {

class FrmPaportCompiler : public QDialog {
    Q_OBJECT

  public:
    static constexpr int kTicksBeforeClosing = 30;
    static constexpr int kTickMilliseconds = 100;

    FrmPaportCompiler(const compiler::MemoryReport& report, QWidget* parent = nullptr);

    int ticks() const { return ticks_; }

  public slots:
    // One step of the countdown; the 30th closes the window.
    void tick();

  private:
    QProgressBar* AddAreaBar(const QString& caption, const QString& name, int maximum, int value);

    QTimer* timer_;
    QProgressBar* countdown_;
    int ticks_ = 0;
};

}  // namespace zr::shell
