// Find, replace and replace all on a TextSearchTarget, with no widget of its
// own, so that the dialog stays a thin view and tests can drive it directly.
//
// The search runs on the editor's text exactly as it stands, and every
// position is an editor position, so the occurrence found is the one
// selected. The comparison is exact and case-sensitive.
#pragma once

#include <QList>
#include <QString>

#include "shell/editor/text_search_target.h"

namespace zr::shell {

enum class SearchOrigin {
    CurrentPosition,  // after the current selection (at the caret without one)
    FirstPosition,    // from the beginning of the text
};

class TextSearch {
  public:
    explicit TextSearch(TextSearchTarget& target);

    // Selects the next occurrence of `searchText`; false (and no change) when
    // there is none or the search text is blank. There is no wrap-around.
    bool FindNext(const QString& searchText, SearchOrigin origin);

    // Replaces the selected text by `replacement` as typed; nothing happens
    // without a selection.
    bool Replace(const QString& replacement);

    // Replaces every occurrence from the origin on and returns how many. Each
    // search resumes after the text just inserted, so a replacement that
    // contains the search text cannot make it run forever. Blank search or
    // replacement texts change nothing.
    int ReplaceAll(const QString& searchText, const QString& replacement, SearchOrigin origin);

    // True when the text holds nothing but blanks (or nothing at all).
    static bool IsBlank(const QString& text);

    // Start positions of the non-overlapping occurrences at or after `from`,
    // in order.
    static QList<int> Occurrences(const QString& text, const QString& searchText, int from);

  private:
    int StartPosition(SearchOrigin origin) const;

    TextSearchTarget& target_;
};

}  // namespace zr::shell
