// Pictures for the toolbar buttons: the desktop's icon theme first, Qt's
// standard pictures next, and a drawn picture when neither has one.
#pragma once

#include <QIcon>
#include <QString>

namespace zr::shell {

// The icon for a toolbar key ("new", "open", ..., "Run", "Help").
QIcon ToolbarIcon(const QString& key);

// Outside a desktop session Qt looks in no icon theme with action icons; the
// freedesktop theme most systems carry (Adwaita) is then made the theme.
void PrepareIconTheme();

}  // namespace zr::shell
