// "Сохранить состояние…" and "Загрузить состояние…" of the emulator window:
// the whole device state to a snapshot file and back, through the worker.
// A damaged, truncated or foreign file is refused with its reason and
// changes nothing; a snapshot of another program is loaded only when the
// user says so.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QMenu;
class QWidget;

namespace zr::shell {

class EmulatorWorker;

class DeviceStateFiles : public QObject {
    Q_OBJECT

  public:
    DeviceStateFiles(EmulatorWorker& worker, QWidget* window);

    // The two commands, appended to `menu`.
    void AddActions(QMenu* menu);

    // The dialogs, replaceable by tests: a file name (empty: cancelled), a
    // question about another program's snapshot, an error.
    std::function<QString(bool save)> askFileName;
    std::function<bool(const QString& text)> confirmOtherProgram;
    std::function<void(const QString& text)> showError;

    // Writes the state the run loop has at its next pump point; `saved`
    // follows once the file is written.
    void SaveTo(const QString& path);
    void LoadFrom(const QString& path);

  signals:
    void saved(const QString& path);

  private:
    void WriteFile(const QString& path, const std::string& bytes);

    EmulatorWorker& worker_;
    QWidget* window_;
};

}  // namespace zr::shell
