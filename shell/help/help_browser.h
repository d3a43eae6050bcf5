// The page view of the help viewer: a text browser that reads qthelp: pages
// and their pictures from the help engine.
#pragma once

#include <QTextBrowser>

class QHelpEngineCore;

namespace zr::shell {

class HelpBrowser : public QTextBrowser {
    Q_OBJECT

  public:
    HelpBrowser(const QHelpEngineCore* engine, QWidget* parent);

    QVariant loadResource(int type, const QUrl& name) override;

  public slots:
    // Shows a page of the help; other links open outside.
    void followLink(const QUrl& link);

  private:
    const QHelpEngineCore* engine_;  // null when the help is missing
};

}  // namespace zr::shell
