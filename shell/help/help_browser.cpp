#include "shell/help/help_browser.h"

#include <QDesktopServices>
#include <QHelpEngineCore>

namespace zr::shell {

HelpBrowser::HelpBrowser(const QHelpEngineCore* engine, QWidget* parent)
    : QTextBrowser(parent), engine_(engine) {
    // The browser would treat a qthelp: link as external and hand it to the
    // desktop, which cannot open it; so links are followed here instead.
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &HelpBrowser::followLink);
}

void HelpBrowser::followLink(const QUrl& link) {
    const QUrl url = link.isRelative() ? source().resolved(link) : link;
    if (url.scheme() == QLatin1String("qthelp"))
        setSource(url);
    else
        QDesktopServices::openUrl(url);
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
    // Pages name their style sheet and each other relative to themselves.
    const QUrl url = name.isRelative() ? source().resolved(name) : name;
    if (engine_ && url.scheme() == QLatin1String("qthelp")) return engine_->fileData(url);
    return QTextBrowser::loadResource(type, name);
}

}  // namespace zr::shell
