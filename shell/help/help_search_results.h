// The help viewer's list of search hits: each page's title as a link and the
// words around the hit. Qt's own result list shows some characters of a
// snippet as raw entities ("&quot;", a "&lt" cut in half), so the list is
// drawn here from the search engine's results.
#pragma once

#include <QTextBrowser>

class QHelpSearchEngine;

namespace zr::shell {

class HelpSearchResults : public QTextBrowser {
    Q_OBJECT

  public:
    HelpSearchResults(QHelpSearchEngine& search, QWidget* parent = nullptr);

    // A snippet of the search engine (HTML with the hit in bold, possibly cut
    // inside an entity at either end) as HTML that shows every character as
    // it stands on the page.
    static QString CleanSnippet(const QString& snippet);

  signals:
    void pageChosen(const QUrl& page);

  private:
    void ShowResults();

    QHelpSearchEngine& search_;
};

}  // namespace zr::shell
