// The breakpoints and the watches of each source file, kept in the
// environment's settings from run to run, keyed by the file's absolute path.
#pragma once

#include <QList>
#include <QString>

#include "shell/debugger/watch_list.h"

namespace zr::shell {

QList<int> StoredBreakpoints(const QString& filePath);
// An empty list forgets the file.
void StoreBreakpoints(const QString& filePath, const QList<int>& lines);

WatchList StoredWatches(const QString& filePath);
// No watches forget the file.
void StoreWatches(const QString& filePath, const WatchList& watches);

}  // namespace zr::shell
