// Recovery files: the unsaved text of a document, kept in the user's state
// folder while it is being edited, so a kill, a crash or a lost display does
// not take the work with it. One file per open document; a file whose
// environment is still running is locked and is not offered to another.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>

#include "formats/rich_text.h"

namespace zr::shell {

struct RecoveredDocument {
    QString originalPath;  // the file the text belongs to; empty for a new source
    QDateTime savedAt;     // when the recovery file was written
    formats::RichText text;
};

// $XDG_STATE_HOME/zr7340/recovery (default ~/.local/state/zr7340/recovery).
QString RecoveryFolder();

// Writes the text with its path and the time atomically; false with `error`.
bool WriteRecoveryFile(const QString& file, const RecoveredDocument& document, QString* error);

// Reads a file WriteRecoveryFile wrote; nothing for a file that is not one.
std::optional<RecoveredDocument> ReadRecoveryFile(const QString& file);

// The recovery files in `folder` that no running environment holds, oldest
// first.
QStringList OrphanedRecoveryFiles(const QString& folder = RecoveryFolder());

// Removes a recovery file and its lock.
void RemoveRecoveryFile(const QString& file);

// The lock file that marks a recovery file as held by a running environment.
QString RecoveryLockOf(const QString& file);

}  // namespace zr::shell
