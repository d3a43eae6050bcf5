// frmSplash: the product name and version over the main window at start-up,
// modal, hiding itself after six ticks of one second.
#pragma once

#include <QDialog>

class QTimer;

namespace zr::shell {

class FrmSplash : public QDialog {
    Q_OBJECT

  public:
    static constexpr int kTicksShown = 6;
    static constexpr int kTickMilliseconds = 1000;

    explicit FrmSplash(QWidget* owner);

    int ticks() const { return ticks_; }

  public slots:
    void tick();

  private:
    QTimer* timer_;
    int ticks_ = 0;
};

}  // namespace zr::shell
