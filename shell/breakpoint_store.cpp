#include "shell/breakpoint_store.h"

#include <QFileInfo>
#include <QSettings>

namespace zr::shell {
namespace {

const QString kOrganisation = QStringLiteral("zr7340");
const QString kApplication = QStringLiteral("zr7340-ide");

// A path holds slashes, which QSettings reads as groups: the key is its
// URL-safe Base64 form instead.
QString KeyOf(const QString& filePath) {
    const QByteArray path = QFileInfo(filePath).absoluteFilePath().toUtf8();
    return QStringLiteral("breakpoints/") +
           QString::fromLatin1(path.toBase64(QByteArray::Base64UrlEncoding));
}

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

}  // namespace zr::shell
