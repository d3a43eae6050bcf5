#include "shell/main_window/data_folders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "shell/help/help_location.h"

#ifndef ZR_DATA_FROM_PROGRAM
#define ZR_DATA_FROM_PROGRAM "../share/zr7340"
#endif

namespace zr::shell {

QString DataFolder(const QString& programFolder) {
    return QDir::cleanPath(programFolder + QStringLiteral("/" ZR_DATA_FROM_PROGRAM));
}

QString HelpFolder(const QString& programFolder) {
    QString configured = qEnvironmentVariable(HelpLocation::kFolderVariable.toUtf8().constData());
    if (!configured.isEmpty()) return configured;
    if (QFileInfo::exists(programFolder + u'/' + HelpLocation::kCollectionName))
        return programFolder;
    return DataFolder(programFolder) + QStringLiteral("/help");
}

QString ExamplesFolder(const QString& programFolder) {
    return DataFolder(programFolder) + QStringLiteral("/examples");
}

QString ShippedLibraryFolder(const QString& programFolder) {
    const QString shipped = DataFolder(programFolder) + QStringLiteral("/libraries");
    return QFileInfo(shipped).isDir() ? shipped : programFolder;
}

QString UserLibraryFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/zr7340/libraries");
}

QStringList LibraryFolders(const QString& programFolder) {
    return {ShippedLibraryFolder(programFolder), UserLibraryFolder()};
}

}  // namespace zr::shell
