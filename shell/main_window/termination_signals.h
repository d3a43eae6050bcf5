// SIGTERM and SIGHUP (a logout, `kill`, a closed terminal) as a Qt signal on
// the window thread, so the environment can close in order instead of dying
// with unsaved text. The handler only writes a byte to a socket pair; the
// notifier reads it in the event loop.
#pragma once

#include <QObject>

class QSocketNotifier;

namespace zr::shell {

class TerminationSignals : public QObject {
    Q_OBJECT

  public:
    // Installs the handlers; one object per process.
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

  signals:
    void terminationRequested(int signalNumber);

  private:
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace zr::shell
