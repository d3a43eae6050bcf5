#include "shell/editor/recovery_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <algorithm>

#include "formats/zrt.h"

namespace zr::shell {
namespace {

// The first line of every recovery file; the path and the time follow, then an
// empty line and the document as .zrt RTF.
constexpr char kMagic[] = "ZR7340 recovery 1";
constexpr char kSuffix[] = ".zrec";

QByteArray HeaderValue(const QByteArray& line, const QByteArray& key) {
    return line.startsWith(key) ? line.mid(key.size()) : QByteArray();
}

}  // namespace

QString RecoveryFolder() {
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/zr7340/recovery");
}

QString RecoveryLockOf(const QString& file) {
    return file + QStringLiteral(".lock");
}

bool WriteRecoveryFile(const QString& file, const RecoveredDocument& document, QString* error) {
    QDir().mkpath(QFileInfo(file).absolutePath());
    QByteArray bytes = kMagic;
    bytes += "\npath: " + document.originalPath.toUtf8();
    bytes += "\nsaved: " + document.savedAt.toUTC().toString(Qt::ISODateWithMs).toUtf8();
    bytes += "\n\n";
    bytes += QByteArray::fromStdString(formats::WriteZrt(document.text));
    QSaveFile out(file);
    if (out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size() && out.commit())
        return true;
    if (error) *error = out.errorString();
    return false;
}

std::optional<RecoveredDocument> ReadRecoveryFile(const QString& file) {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = in.readAll();
    const qsizetype bodyAt = bytes.indexOf("\n\n");
    if (bodyAt < 0) return std::nullopt;
    const QList<QByteArray> header = bytes.left(bodyAt).split('\n');
    if (header.size() != 3 || header[0] != kMagic) return std::nullopt;
    RecoveredDocument document;
    document.originalPath = QString::fromUtf8(HeaderValue(header[1], "path: "));
    document.savedAt = QDateTime::fromString(QString::fromUtf8(HeaderValue(header[2], "saved: ")),
                                             Qt::ISODateWithMs);
    if (!document.savedAt.isValid()) return std::nullopt;
    const QByteArray body = bytes.mid(bodyAt + 2);
    document.text = formats::ReadZrt(std::string_view(body.constData(), body.size()));
    return document;
}

QStringList OrphanedRecoveryFiles(const QString& folder) {
    QStringList orphans;
    QFileInfoList files = QDir(folder).entryInfoList({QStringLiteral("*") + kSuffix}, QDir::Files);
    // Oldest first; files of the same moment by name, so the order is fixed.
    std::sort(files.begin(), files.end(), [](const QFileInfo& a, const QFileInfo& b) {
        const QDateTime left = a.lastModified(), right = b.lastModified();
        return left != right ? left < right : a.fileName() < b.fileName();
    });
    for (const QFileInfo& info : files) {
        // A lock that can be taken belongs to no running environment: Qt
        // takes over a lock whose process is gone.
        QLockFile lock(RecoveryLockOf(info.absoluteFilePath()));
        lock.setStaleLockTime(0);  // an old lock of a live session is still held
        if (lock.tryLock(0)) orphans << info.absoluteFilePath();
    }
    return orphans;
}

void RemoveRecoveryFile(const QString& file) {
    QFile::remove(file);
    QFile::remove(RecoveryLockOf(file));
}

}  // namespace zr::shell
