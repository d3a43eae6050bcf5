// The breakpoints of each source file, kept in the environment's settings
// from run to run, keyed by the file's absolute path.
#pragma once

#include <QList>
#include <QString>

namespace zr::shell {

QList<int> StoredBreakpoints(const QString& filePath);
// An empty list forgets the file.
void StoreBreakpoints(const QString& filePath, const QList<int>& lines);

}  // namespace zr::shell
