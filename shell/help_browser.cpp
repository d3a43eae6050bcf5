#include "shell/help_browser.h"

#include <QHelpEngineCore>

namespace zr::shell {

HelpBrowser::HelpBrowser(const QHelpEngineCore* engine, QWidget* parent)
    : QTextBrowser(parent), engine_(engine) {
    setOpenExternalLinks(true);
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
    // Pages name their style sheet and each other relative to themselves.
    const QUrl url = name.isRelative() ? source().resolved(name) : name;
    if (engine_ && url.scheme() == QLatin1String("qthelp")) return engine_->fileData(url);
    return QTextBrowser::loadResource(type, name);
}

}  // namespace zr::shell
