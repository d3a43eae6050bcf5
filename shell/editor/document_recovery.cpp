#include "shell/editor/document_recovery.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTextDocument>
#include <QUuid>

#include "shell/editor/recovery_files.h"

namespace zr::shell {

DocumentRecovery::DocumentRecovery(QTextDocument& document, const QString& folder,
                                   std::function<formats::RichText()> content,
                                   std::function<QString()> path, QObject* parent)
    : QObject(parent),
      document_(document),
      file_(QDir(folder).filePath(QUuid::createUuid().toString(QUuid::WithoutBraces) +
                                  QStringLiteral(".zrec"))),
      content_(std::move(content)),
      path_(std::move(path)) {
    QDir().mkpath(folder);
    lock_ = std::make_unique<QLockFile>(RecoveryLockOf(file_));
    lock_->setStaleLockTime(0);  // held for the whole session: only a dead process frees it
    lock_->tryLock(0);
    quiet_.setSingleShot(true);
    quiet_.setInterval(kQuietMilliseconds);
    connect(&quiet_, &QTimer::timeout, this, &DocumentRecovery::WriteNow);
    connect(&document_, &QTextDocument::contentsChanged, this, [this] {
        if (document_.isModified()) quiet_.start();
    });
    connect(&document_, &QTextDocument::modificationChanged, this, [this](bool modified) {
        if (!modified) Discard();
    });
}

// A recovery file still there when the window goes (a signal closed it, see
// WriteNow) stays for the next start; its lock goes with the lock object.
DocumentRecovery::~DocumentRecovery() = default;

void DocumentRecovery::WriteNow() {
    quiet_.stop();
    if (!document_.isModified()) return;
    RecoveredDocument recovered{path_(), QDateTime::currentDateTimeUtc(), content_()};
    // A failed write leaves the previous recovery file; there is nobody to
    // tell while the user types, and the next pause tries again.
    WriteRecoveryFile(file_, recovered, nullptr);
}

void DocumentRecovery::Discard() {
    quiet_.stop();
    QFile::remove(file_);
}

}  // namespace zr::shell
