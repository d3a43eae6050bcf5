#include "shell/device/device_state_files.h"

#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>

#include "emulator/snapshot.h"
#include "shell/device/emulator_worker.h"

namespace zr::shell {
namespace {

constexpr qint64 kMaxSnapshotBytes = 1 << 20;

}  // namespace

DeviceStateFiles::DeviceStateFiles(EmulatorWorker& worker, QWidget* window)
    : QObject(window), worker_(worker), window_(window) {
    const QString filter = tr("Снимки состояния (*.zrsnap);;Все файлы (*)");
    askFileName = [this, filter](bool save) {
        return save ? QFileDialog::getSaveFileName(window_, tr("Сохранить состояние"), QString(),
                                                   filter)
                    : QFileDialog::getOpenFileName(window_, tr("Загрузить состояние"), QString(),
                                                   filter);
    };
    confirmOtherProgram = [this](const QString& text) {
        QMessageBox box(QMessageBox::Warning, tr("Загрузить состояние"), text, QMessageBox::Cancel,
                        window_);
        QPushButton* load = box.addButton(tr("Загрузить всё равно"), QMessageBox::AcceptRole);
        box.exec();
        return box.clickedButton() == load;
    };
    showError = [this](const QString& text) {
        QMessageBox::warning(window_, tr("Состояние устройства"), text);
    };
}

void DeviceStateFiles::AddActions(QMenu* menu) {
    auto* save = new QAction(tr("Сохранить состояние…"), this);
    save->setObjectName("mnuSaveState");
    connect(save, &QAction::triggered, this, [this] {
        const QString path = askFileName(true);
        if (!path.isEmpty()) SaveTo(path);
    });
    auto* load = new QAction(tr("Загрузить состояние…"), this);
    load->setObjectName("mnuLoadState");
    connect(load, &QAction::triggered, this, [this] {
        const QString path = askFileName(false);
        if (!path.isEmpty()) LoadFrom(path);
    });
    menu->addAction(save);
    menu->addAction(load);
}

void DeviceStateFiles::SaveTo(const QString& path) {
    const std::uint32_t programId = worker_.programId();
    worker_.CaptureState([this, path, programId](const emulator::DeviceState& state) {
        std::string bytes = emulator::WriteSnapshot({state, programId, 0, 0});
        QMetaObject::invokeMethod(
            this, [this, path, bytes = std::move(bytes)] { WriteFile(path, bytes); },
            Qt::QueuedConnection);
    });
}

void DeviceStateFiles::WriteFile(const QString& path, const std::string& bytes) {
    QSaveFile file(path);  // a failed write keeps the old file
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
            static_cast<qint64>(bytes.size()) ||
        !file.commit()) {
        showError(tr("Не удалось сохранить состояние в %1: %2").arg(path, file.errorString()));
        return;
    }
    emit saved(path);
}

void DeviceStateFiles::LoadFrom(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        showError(tr("Не удалось прочитать %1: %2").arg(path, file.errorString()));
        return;
    }
    const QByteArray bytes = file.read(kMaxSnapshotBytes + 1);
    std::string error;
    const auto snapshot =
        bytes.size() > kMaxSnapshotBytes
            ? std::nullopt
            : emulator::ReadSnapshot({bytes.constData(), static_cast<std::size_t>(bytes.size())},
                                     error);
    if (!snapshot) {
        showError(
            tr("Файл %1 не загружен: %2")
                .arg(path, error.empty() ? tr("слишком большой") : QString::fromStdString(error)));
        return;
    }
    if (snapshot->programId != worker_.programId() &&
        !confirmOtherProgram(tr("Состояние в %1 сохранено для другой программы. Загрузить его "
                                "всё равно? Память программ станет такой, как в снимке.")
                                 .arg(path)))
        return;
    worker_.RestoreState(snapshot->device);
}

}  // namespace zr::shell
