#include "shell/device/scenario_recorder.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QSaveFile>

#include "shell/device/emulator_worker.h"
#include "shell/device/frm_test.h"

namespace zr::shell {

ScenarioRecorder::ScenarioRecorder(FrmTest& window, EmulatorWorker& worker)
    : QObject(&window), window_(window), worker_(worker) {
    askFileName = [this] {
        const QFileInfo program(programPath ? programPath() : QString());
        const QString suggested =
            program.fileName().isEmpty()
                ? QString()
                : program.dir().filePath(program.completeBaseName() + ".scn.yaml");
        return QFileDialog::getSaveFileName(&window_, tr("Записать сценарий"), suggested,
                                            tr("Сценарии (*.scn.yaml)"));
    };
    showError = [this](const QString& text) {
        QMessageBox::warning(&window_, tr("Записать сценарий"), text);
    };
    // Each input: the screen its key left comes first.
    connect(&window_, &FrmTest::keyGiven, this, [this](int index) {
        if (!recording_) return;
        TakeScreen();
        recording_->Key(index);
    });
    connect(&window_, &FrmTest::serialLineGiven, this, [this](const QString& line) {
        if (!recording_) return;
        TakeScreen();
        recording_->SerialLine(line.toStdString());
    });
    connect(&window_, &FrmTest::portInputsGiven, this, [this](int value) {
        if (!recording_) return;
        TakeScreen();
        recording_->Port(value);
    });
    connect(&window_, &FrmTest::adcGiven, this, [this](int channel, int value) {
        if (!recording_) return;
        TakeScreen();
        recording_->Adc(channel, value);
    });
}

void ScenarioRecorder::AddAction(QMenu* menu) {
    action_ = new QAction(tr("Записать сценарий"), this);
    action_->setObjectName("mnuRecordScenario");
    action_->setCheckable(true);
    action_->setToolTip(
        tr("Запустить программу с адреса 1 и записывать нажатия клавиш и входы; "
           "выбрать ещё раз, чтобы сохранить сценарий"));
    connect(action_, &QAction::triggered, this, [this](bool on) {
        if (on)
            Start();
        else
            Stop();
    });
    menu->addAction(action_);
}

void ScenarioRecorder::Start() {
    recording_.emplace();
    if (action_) action_->setChecked(true);
    worker_.StartProgram();
}

void ScenarioRecorder::TakeScreen() {
    recording_->Screen(window_.displayLine(1).toStdString(), window_.displayLine(2).toStdString());
}

QString ScenarioRecorder::Stop() {
    if (action_) action_->setChecked(false);
    if (!recording_) return {};
    TakeScreen();
    const scenario::ScenarioRecording recording = std::move(*recording_);
    recording_.reset();
    QString path = askFileName();
    if (path.isEmpty()) return {};
    const QFileInfo scenarioFile(path);
    const QString program = programPath ? programPath() : QString();
    const QString relative = program.isEmpty() ? QStringLiteral("PROGRAM.zrt")
                                               : scenarioFile.dir().relativeFilePath(program);
    const QString name = scenarioFile.fileName().remove(QStringLiteral(".scn.yaml"));
    const std::string yaml = recording.Yaml(name.toStdString(), relative.toStdString());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(yaml.data(), static_cast<qint64>(yaml.size())) !=
            static_cast<qint64>(yaml.size()) ||
        !file.commit()) {
        showError(tr("Не удалось записать сценарий в %1: %2").arg(path, file.errorString()));
        return {};
    }
    return path;
}

}  // namespace zr::shell
