// "Записать сценарий" in the emulator window: starts the program at address
// 1 and records the keys pressed, the serial lines typed and the inputs
// changed; when the command is chosen again it writes a scenario whose
// expectations are the screens shown after each key. Replaying it passes
// as long as the program waits for each key the way it did.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

#include "scenario/scenario_recording.h"

class QAction;
class QMenu;

namespace zr::shell {

class EmulatorWorker;
class FrmTest;

class ScenarioRecorder : public QObject {
    Q_OBJECT

  public:
    ScenarioRecorder(FrmTest& window, EmulatorWorker& worker);

    void AddAction(QMenu* menu);
    QAction* action() const { return action_; }

    // The program's file, for the scenario's `program:`; set by the owner.
    std::function<QString()> programPath;
    // Where to write the scenario (empty: not written); tests answer here.
    std::function<QString()> askFileName;
    std::function<void(const QString& text)> showError;

    bool recording() const { return recording_.has_value(); }
    void Start();
    // Stops and writes the scenario; the path written, or empty.
    QString Stop();

  private:
    void TakeScreen();

    FrmTest& window_;
    EmulatorWorker& worker_;
    QAction* action_ = nullptr;
    std::optional<scenario::ScenarioRecording> recording_;
};

}  // namespace zr::shell
