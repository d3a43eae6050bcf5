// The "Тесты" pane: the scenarios beside the current source (the same
// folder, NAME*.scn.yaml), run one or all on a worker thread so the window
// never waits, each marked passed or failed. A failure double-clicked asks
// for the scenario to be opened at the failing step's line.
#pragma once

#include <QString>
#include <QWidget>
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "scenario/scenario_loader.h"

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace zr::shell {

class FrmMain;

// What a run found for one scenario, for the list.
struct ScenarioMark {
    QString path;
    bool passed = false;
    int line = 0;     // of the failing step, or of the mistake in the file
    QString summary;  // "ok", or what failed
};

// Loads and runs one scenario file: the work the pane's thread does.
ScenarioMark RunScenarioFile(const QString& path, const scenario::LoadOptions& options);

class ScenarioPane : public QWidget {
    Q_OBJECT

  public:
    explicit ScenarioPane(scenario::LoadOptions options, QWidget* parent = nullptr);
    ~ScenarioPane() override;

    // A dock "Тесты" in the main window that follows its current file and
    // opens a failing scenario in its editor at the step's line.
    static ScenarioPane* InstallInto(FrmMain& main);

    // Lists the scenarios of `sourcePath` (none for an empty path).
    void setSource(const QString& sourcePath);
    QStringList scenarioFiles() const;
    QListWidget* list() const { return list_; }
    bool busy() const { return worker_.joinable() && !done_.load(); }

    void runSelected();
    void runAll();

  signals:
    void openScenarioAt(const QString& path, int line);
    // The scenarios beside the new source were listed; `count` may be 0.
    void scenariosListed(int count);
    // A run of one or all has marked every scenario it ran.
    void runFinished();

  private:
    void Run(std::vector<QString> paths);
    void Mark(const ScenarioMark& mark);
    void Stop();

    scenario::LoadOptions options_;
    QListWidget* list_;
    QPushButton* runOne_;
    QPushButton* runAll_;
    QLabel* status_;
    std::thread worker_;
    std::atomic<bool> done_{true};
    std::atomic<bool> cancel_{false};
};

}  // namespace zr::shell
