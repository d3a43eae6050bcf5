// A line of Kelto source split into code, quoted texts and a comment, the
// three kinds of text the editor colours differently. Words inside a quoted
// text or a comment are what the device shows or what the author wrote for
// people, so the editor never respells them.
#pragma once

#include <QList>
#include <QStringView>

namespace zr::shell {

enum class LinePartKind { Code, QuotedText, Comment };

struct LinePart {
    LinePartKind kind = LinePartKind::Code;
    int start = 0;
    int length = 0;
    // A quoted text without its closing quote, or a comment: it runs to the end
    // of the line, so text typed at its end still belongs to it.
    bool open = false;

    int end() const { return start + length; }
    // True when a character typed at `position` becomes part of this part.
    bool takesTypingAt(int position) const {
        return start < position && (position < end() || (position == end() && open));
    }
    friend bool operator==(const LinePart&, const LinePart&) = default;
};

// The parts of `line` in order, covering it without gaps. A quoted text runs
// from a `"` to the next `"` or the line end; a comment from a `'` outside a
// quoted text to the line end.
QList<LinePart> SplitLine(QStringView line);

}  // namespace zr::shell
