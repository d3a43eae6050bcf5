#include "shell/help/help_search_results.h"

#include <QHelpSearchEngine>
#include <QHelpSearchResult>
#include <QRegularExpression>

namespace zr::shell {

HelpSearchResults::HelpSearchResults(QHelpSearchEngine& search, QWidget* parent)
    : QTextBrowser(parent), search_(search) {
    setObjectName(QStringLiteral("helpSearchResults"));
    setOpenLinks(false);
    connect(&search_, &QHelpSearchEngine::searchingFinished, this, &HelpSearchResults::ShowResults);
    connect(this, &QTextBrowser::anchorClicked, this, &HelpSearchResults::pageChosen);
}

QString HelpSearchResults::CleanSnippet(const QString& snippet) {
    // An entity cut off by the snippet's end ("&quo...") or start ("...t;")
    // is dropped; whole entities and the bold hit stay as they are.
    static const QRegularExpression cutAtEnd(QStringLiteral("&#?[A-Za-z0-9]*(?=\\.\\.\\.$|$)"));
    // The tails of the entities the help pages hold: &lt; &gt; &amp; &quot;
    // &nbsp; and numbered ones.
    static const QRegularExpression cutAtStart(
        QStringLiteral("^(\\.\\.\\.)?(?:t|ot|uot|mp|p|sp|bsp|#?[0-9]+);"));
    QString html = snippet.trimmed();
    html.remove(cutAtEnd);
    html.replace(cutAtStart, QStringLiteral("\\1"));
    return html;
}

void HelpSearchResults::ShowResults() {
    const QList<QHelpSearchResult> results = search_.searchResults(0, search_.searchResultCount());
    QString html = QStringLiteral("<p>") + tr("Найдено страниц: %1").arg(results.size()) +
                   QStringLiteral("</p>");
    for (const QHelpSearchResult& result : results) {
        html += QStringLiteral("<p><a href=\"%1\">%2</a><br>%3</p>")
                    .arg(result.url().toString().toHtmlEscaped(), result.title().toHtmlEscaped(),
                         CleanSnippet(result.snippet()));
    }
    setHtml(html);
}

}  // namespace zr::shell
