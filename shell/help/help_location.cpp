#include "shell/help/help_location.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "shell/main_window/data_folders.h"

namespace zr::shell {
namespace {

// Copies `name` from one folder to another unless an identical copy is there.
bool CopyIfChanged(const QDir& from, const QDir& to, const QString& name) {
    const QFileInfo source(from.filePath(name));
    const QFileInfo target(to.filePath(name));
    if (target.exists() && target.size() == source.size() &&
        target.lastModified() >= source.lastModified())
        return true;
    QFile::remove(target.filePath());
    return QFile::copy(source.filePath(), target.filePath());
}

}  // namespace

QString HelpLocation::CollectionFile() {
    const QDir folder(HelpFolder());
    if (!folder.exists(kCollectionName) || !folder.exists(kDocumentationName)) return {};
    return folder.absoluteFilePath(kCollectionName);
}

QString HelpLocation::WritableCollection(const QString& collectionFile) {
    const QFileInfo collection(collectionFile);
    if (QFileInfo(collection.absolutePath()).isWritable()) return collectionFile;

    const QDir cache(QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
                     QStringLiteral("/help"));
    if (!cache.mkpath(QStringLiteral("."))) return collectionFile;
    const QDir source = collection.absoluteDir();
    if (!CopyIfChanged(source, cache, kCollectionName) ||
        !CopyIfChanged(source, cache, kDocumentationName))
        return collectionFile;
    return cache.absoluteFilePath(kCollectionName);
}

}  // namespace zr::shell
