#include "shell/debugger/breakpoint_store.h"

#include <QFileInfo>
#include <QSettings>
#include <algorithm>

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

const QString kSettingsGroup = QStringLiteral("breakpointSettings");
const QString kLineKey = QStringLiteral("line");
const QString kEnabledKey = QStringLiteral("enabled");
const QString kConditionKey = QStringLiteral("condition");
const QString kHitCountKey = QStringLiteral("hitCount");
const QString kWatchGroup = QStringLiteral("watches");
const QString kBreakingWatchGroup = QStringLiteral("watchesBreaking");

}  // namespace

// The lines stay where they always were, so an older version still finds
// every breakpoint; what a breakpoint asks beyond a stop goes beside them,
// one array entry per such breakpoint.
std::vector<BreakpointEntry> StoredBreakpoints(const QString& filePath) {
    QSettings settings(QSettings::UserScope, kOrganisation, kApplication);
    std::vector<BreakpointEntry> entries;
    for (const QVariant& line : settings.value(KeyOf(filePath)).toList())
        if (line.toInt() > 0) entries.push_back({line.toInt()});
    const int count = settings.beginReadArray(KeyOf(kSettingsGroup, filePath));
    for (int i = 0; i < count; ++i) {
        settings.setArrayIndex(i);
        const int line = settings.value(kLineKey).toInt();
        for (BreakpointEntry& entry : entries)
            if (entry.line == line) {
                entry.enabled = settings.value(kEnabledKey, true).toBool();
                entry.condition = settings.value(kConditionKey).toString();
                entry.hitCount = std::max(0, settings.value(kHitCountKey).toInt());
            }
    }
    settings.endArray();
    return entries;
}

void StoreBreakpoints(const QString& filePath, const std::vector<BreakpointEntry>& entries) {
    QSettings settings(QSettings::UserScope, kOrganisation, kApplication);
    settings.remove(KeyOf(filePath));
    settings.remove(KeyOf(kSettingsGroup, filePath));
    if (entries.empty()) return;
    QVariantList lines;
    for (const BreakpointEntry& entry : entries) lines.append(entry.line);
    settings.setValue(KeyOf(filePath), lines);
    int index = 0;
    for (const BreakpointEntry& entry : entries) {
        if (entry == BreakpointEntry{entry.line}) continue;  // a plain stop: its line says all
        if (index == 0) settings.beginWriteArray(KeyOf(kSettingsGroup, filePath));
        settings.setArrayIndex(index++);
        settings.setValue(kLineKey, entry.line);
        settings.setValue(kEnabledKey, entry.enabled);
        settings.setValue(kConditionKey, entry.condition);
        settings.setValue(kHitCountKey, entry.hitCount);
    }
    if (index > 0) settings.endArray();
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
