// Pictures for the toolbar buttons: the desktop's icon theme first, Qt's
// standard pictures next, and a drawn picture when neither has one.
#pragma once

#include <QIcon>
#include <QString>

namespace zr::shell {

// The icon for a toolbar key ("new", "open", ..., "Run", "Help").
QIcon ToolbarIcon(const QString& key);

// Outside a desktop session Qt finds no icon theme; the freedesktop theme most
// systems carry then stands in before the drawn pictures.
void PrepareIconTheme();

}  // namespace zr::shell
