#include "shell/editor/start_folders.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace zr::shell {
namespace {

constexpr const char* kLastFolderKey = "files/lastFolder";

// The environment's own settings file, whatever the application's names.
const QString kOrganisation = QStringLiteral("zr7340");
const QString kApplication = QStringLiteral("zr7340-ide");

}  // namespace

QString RememberedFolder() {
    const QString folder = QSettings(QSettings::UserScope, kOrganisation, kApplication)
                               .value(kLastFolderKey)
                               .toString();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}

void RememberFolderOf(const QString& file) {
    QSettings(QSettings::UserScope, kOrganisation, kApplication)
        .setValue(kLastFolderKey, QFileInfo(file).absolutePath());
}

QString DialogStartFolder(const QString& currentFile, bool currentIsExample,
                          const QString& rememberedFolder, const QString& examplesFolder) {
    if (!currentFile.isEmpty() && !currentIsExample) return QFileInfo(currentFile).absolutePath();
    if (!rememberedFolder.isEmpty()) return rememberedFolder;
    if (currentIsExample) return QDir::homePath();
    return examplesFolder;
}

}  // namespace zr::shell
