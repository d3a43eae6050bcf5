// The breakpoints and the watches of each source file, kept in the
// environment's settings from run to run, keyed by the file's absolute path.
#pragma once

#include <QString>
#include <vector>

#include "shell/debugger/breakpoint_rules.h"
#include "shell/debugger/watch_list.h"

namespace zr::shell {

// Each breakpoint with what it asks, by line. Settings written by earlier
// versions hold the lines only: those breakpoints stop on each arrival.
std::vector<BreakpointEntry> StoredBreakpoints(const QString& filePath);
// No breakpoints forget the file.
void StoreBreakpoints(const QString& filePath, const std::vector<BreakpointEntry>& entries);

WatchList StoredWatches(const QString& filePath);
// No watches forget the file.
void StoreWatches(const QString& filePath, const WatchList& watches);

}  // namespace zr::shell
