#include "shell/help/help_topics.h"

#include <QHelpEngineCore>
#include <QHelpFilterEngine>
#include <QHelpLink>

namespace zr::shell {

HelpTopics::HelpTopics(const QHelpEngineCore& engine) : engine_(engine) {}

QUrl HelpTopics::ContentsPage() {
    return QUrl(QStringLiteral("qthelp://%1/doc/index.html").arg(kNamespace));
}

QString HelpTopics::matchKeyword(const QString& candidate) const {
    if (candidate.isEmpty()) return {};
    const QStringList keywords = engine_.filterEngine()->indices();
    if (keywords.contains(candidate)) return candidate;
    for (const QString& keyword : keywords)
        if (keyword.compare(candidate, Qt::CaseInsensitive) == 0) return keyword;
    return {};
}

QString HelpTopics::keywordFor(const QString& word) const {
    const QString trimmed = word.trimmed();
    if (QString keyword = matchKeyword(trimmed); !keyword.isEmpty()) return keyword;
    // A declared name with its ending leads to the statement the ending makes.
    if (trimmed.size() > 1) {
        const QChar ending = trimmed.back();
        if (ending == QLatin1Char(':') || ending == QLatin1Char('#') || ending == QLatin1Char('@'))
            return matchKeyword(QStringLiteral("Name") + ending);
    }
    return {};
}

QUrl HelpTopics::topicFor(const QString& word) const {
    const QString keyword = keywordFor(word);
    if (keyword.isEmpty()) return ContentsPage();
    const QList<QHelpLink> links = engine_.documentsForKeyword(keyword);
    return links.isEmpty() ? ContentsPage() : links.first().url;
}

}  // namespace zr::shell
