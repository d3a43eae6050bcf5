#include "shell/editor/text_search.h"

namespace zr::shell {

TextSearch::TextSearch(TextSearchTarget& target) : target_(target) {}

bool TextSearch::IsBlank(const QString& text) {
    return text.trimmed().isEmpty();
}

QList<int> TextSearch::Occurrences(const QString& text, const QString& searchText, int from) {
    QList<int> hits;
    if (searchText.isEmpty()) return hits;
    for (qsizetype at = text.indexOf(searchText, qMax(from, 0), Qt::CaseSensitive); at >= 0;
         at = text.indexOf(searchText, at + searchText.size(), Qt::CaseSensitive))
        hits.append(int(at));
    return hits;
}

// After the selection rather than after "selection start + search length":
// with a bare caret the occurrence that starts at the caret is found too.
int TextSearch::StartPosition(SearchOrigin origin) const {
    if (origin == SearchOrigin::FirstPosition) return 0;
    return target_.selectionStart() + target_.selectionLength();
}

bool TextSearch::FindNext(const QString& searchText, SearchOrigin origin) {
    if (IsBlank(searchText)) return false;
    const qsizetype at =
        target_.text().indexOf(searchText, StartPosition(origin), Qt::CaseSensitive);
    if (at < 0) return false;
    target_.select(int(at), int(searchText.size()));
    return true;
}

bool TextSearch::Replace(const QString& replacement) {
    if (target_.selectionLength() == 0) return false;
    target_.replaceSelection(replacement);
    return true;
}

int TextSearch::ReplaceAll(const QString& searchText, const QString& replacement,
                           SearchOrigin origin) {
    if (IsBlank(searchText) || IsBlank(replacement)) return 0;
    // Searching the original text once and replacing from the last occurrence
    // back gives exactly what replacing one by one and resuming after each
    // inserted text gives, without re-reading the text after every change.
    const QList<int> hits = Occurrences(target_.text(), searchText, StartPosition(origin));
    if (hits.isEmpty()) return 0;

    target_.beginEditBlock();
    for (qsizetype i = hits.size() - 1; i >= 0; --i) {  // from the end: earlier hits stay put
        target_.select(hits[i], int(searchText.size()));
        target_.replaceSelection(replacement);
    }
    target_.endEditBlock();

    // Leave the caret after the last replacement, where a one-by-one loop ends.
    const int growth = int(replacement.size() - searchText.size());
    const int lastEnd = hits.back() + growth * int(hits.size() - 1) + int(replacement.size());
    target_.select(lastEnd, 0);
    return int(hits.size());
}

}  // namespace zr::shell
