// Finds the help page of a Kelto word through the keywords of the help index:
// the word as written, else the same word in any case, else the page of its
// ending (a label "Name:", an address "Name#", a reference "Name@"). Unknown
// and empty words lead to the contents page.
#pragma once

#include <QString>
#include <QUrl>

class QHelpEngineCore;

namespace zr::shell {

class HelpTopics {
  public:
    static inline const QString kNamespace = QStringLiteral("zr7340.kelto");

    explicit HelpTopics(const QHelpEngineCore& engine);

    static QUrl ContentsPage();

    // The index keyword that stands for `word`; empty when there is none.
    QString keywordFor(const QString& word) const;

    // The page (with its anchor) of `word`, or the contents page.
    QUrl topicFor(const QString& word) const;

  private:
    QString matchKeyword(const QString& candidate) const;

    const QHelpEngineCore& engine_;
};

}  // namespace zr::shell
