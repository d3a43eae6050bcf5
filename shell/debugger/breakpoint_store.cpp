#include "shell/debugger/breakpoint_store.h"

#include <QFileInfo>
#include <QSettings>

namespace zr::shell {
namespace {

const QString kOrganisation = QStringLiteral("zr7340");
const QString kApplication = QStringLiteral("zr7340-ide");

// A path holds slashes, which QSettings reads as groups: the key is its
// URL-safe Base64 form instead.
QString KeyOf(const QString& group, const QString& filePath) {
    const QByteArray path = QFileInfo(filePath).absoluteFilePath().toUtf8();
    return group + QLatin1Char('/') +
           QString::fromLatin1(path.toBase64(QByteArray::Base64UrlEncoding));
}

QString KeyOf(const QString& filePath) {
    return KeyOf(QStringLiteral("breakpoints"), filePath);
}

const QString kWatchGroup = QStringLiteral("watches");
const QString kBreakingWatchGroup = QStringLiteral("watchesBreaking");

}  // namespace

QList<int> StoredBreakpoints(const QString& filePath) {
    QList<int> lines;
    const QVariantList stored = QSettings(QSettings::UserScope, kOrganisation, kApplication)
                                    .value(KeyOf(filePath))
                                    .toList();
    for (const QVariant& line : stored)
        if (line.toInt() > 0) lines.append(line.toInt());
    return lines;
}

void StoreBreakpoints(const QString& filePath, const QList<int>& lines) {
    QSettings settings(QSettings::UserScope, kOrganisation, kApplication);
    if (lines.isEmpty()) {
        settings.remove(KeyOf(filePath));
        return;
    }
    QVariantList stored;
    for (const int line : lines) stored.append(line);
    settings.setValue(KeyOf(filePath), stored);
}

WatchList StoredWatches(const QString& filePath) {
    const QSettings settings(QSettings::UserScope, kOrganisation, kApplication);
    WatchList watches;
    watches.names = settings.value(KeyOf(kWatchGroup, filePath)).toStringList();
    for (const QString& name : settings.value(KeyOf(kBreakingWatchGroup, filePath)).toStringList())
        if (watches.names.contains(name)) watches.breaking.append(name);
    return watches;
}

void StoreWatches(const QString& filePath, const WatchList& watches) {
    QSettings settings(QSettings::UserScope, kOrganisation, kApplication);
    if (watches.names.isEmpty()) {
        settings.remove(KeyOf(kWatchGroup, filePath));
        settings.remove(KeyOf(kBreakingWatchGroup, filePath));
        return;
    }
    settings.setValue(KeyOf(kWatchGroup, filePath), watches.names);
    if (watches.breaking.isEmpty())
        settings.remove(KeyOf(kBreakingWatchGroup, filePath));
    else
        settings.setValue(KeyOf(kBreakingWatchGroup, filePath), watches.breaking);
}

}  // namespace zr::shell
