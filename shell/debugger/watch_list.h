// The Variables pane's watches as they are kept: the pinned names in order,
// and which of them break on change.
#pragma once

#include <QStringList>

namespace zr::shell {

struct WatchList {
    QStringList names;
    QStringList breaking;  // each also in names
    friend bool operator==(const WatchList&, const WatchList&) = default;
};

}  // namespace zr::shell
