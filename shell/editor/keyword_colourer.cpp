#include "shell/editor/keyword_colourer.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

#include "shell/editor/editor_colours.h"
#include "shell/editor/source_line_parts.h"
#include "shell/editor/word_boundaries.h"

namespace zr::shell {
namespace {

QColor ColourOf(LinePartKind kind) {
    return ToQColor(kind == LinePartKind::Comment ? kCommentColour : kQuotedTextColour);
}

// Gives document positions `from`..`to` the colour, leaving the text alone;
// text already in that colour is not touched, so it is not marked changed.
void Paint(QTextDocument& document, int from, int to, const QColor& colour) {
    if (from >= to) return;
    QTextCursor cursor(&document);
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    if (HasUniformColour(cursor, colour)) return;
    QTextCharFormat format;
    format.setForeground(colour);
    cursor.mergeCharFormat(format);
}

}  // namespace

KeywordColourer::KeywordColourer(const compiler::KeywordTable& keywords) : keywords_(keywords) {}

KeywordColourer::Result KeywordColourer::ColorText(QTextDocument& document, int caret) const {
    // A word never spans a line end, so scanning the caret's block is enough.
    const QTextBlock block = document.findBlock(caret);
    if (!block.isValid()) return {};
    const QString line = block.text();
    const int caretInLine = caret - block.position();
    int startInLine = FindWordStart(line, caretInLine);
    if (caretInLine <= startInLine) return {};

    // Quoted texts and comments in the word take their colours; the word
    // proper is the code directly before the caret, if any.
    bool endsInCode = false;
    for (const LinePart& part : SplitLine(line)) {
        if (part.end() <= startInLine || part.start >= caretInLine) continue;
        if (part.kind != LinePartKind::Code) {
            Paint(document, block.position() + part.start,
                  block.position() + std::min(part.end(), caretInLine), ColourOf(part.kind));
        } else if (part.end() >= caretInLine) {
            startInLine = std::max(startInLine, part.start);
            endsInCode = true;
        }
    }
    if (!endsInCode) return {};
    const QString word = line.mid(startInLine, caretInLine - startInLine);

    const compiler::KeywordRecord* keyword = keywords_.FindKeyword(word.toStdString());
    if (!keyword) return {};

    const QString spelling = QString::fromStdString(keyword->word);
    const QColor colour = ToQColor(keyword->colour);
    QTextCursor cursor(&document);
    cursor.setPosition(block.position() + startInLine);
    cursor.setPosition(caret, QTextCursor::KeepAnchor);

    if (cursor.selectedText() != spelling || !HasUniformColour(cursor, colour)) {
        QTextCharFormat format = cursor.charFormat();
        format.setForeground(colour);
        cursor.insertText(spelling, format);
    }
    return {true, QString::fromStdString(keyword->hint)};
}

namespace {

// Calls paint(start, end, windowsColour) for each coloured piece of one line,
// left to right: quoted texts, comments and keywords.
template <typename Paint>
void ForEachColouredPart(const compiler::KeywordTable& keywords, const QString& line, Paint paint) {
    for (const LinePart& part : SplitLine(line)) {
        if (part.kind != LinePartKind::Code) {
            paint(part.start, part.end(),
                  part.kind == LinePartKind::Comment ? kCommentColour : kQuotedTextColour);
            continue;
        }
        for (int i = part.start; i < part.end();) {
            if (IsWordEnd(line[i])) {
                ++i;
                continue;
            }
            int end = i;
            while (end < part.end() && !IsWordEnd(line[end])) ++end;
            if (const auto* keyword = keywords.FindKeyword(line.mid(i, end - i).toStdString()))
                paint(i, end, keyword->colour);
            i = end;
        }
    }
}

}  // namespace

void KeywordColourer::ColourRange(QTextDocument& document, int from, int to) const {
    for (QTextBlock block = document.findBlock(from); block.isValid() && block.position() < to;
         block = block.next()) {
        const int base = block.position();
        // Only the part of the line inside the range is painted.
        ForEachColouredPart(keywords_, block.text(), [&](int start, int end, std::uint32_t colour) {
            Paint(document, std::max(base + start, from), std::min(base + end, to),
                  ToQColor(colour));
        });
    }
}

std::vector<formats::ColourRun> KeywordColourer::RunsOf(const QString& text) const {
    std::vector<formats::ColourRun> runs;
    for (qsizetype base = 0; base <= text.size();) {
        qsizetype end = text.indexOf(u'\n', base);
        if (end < 0) end = text.size();
        const int lineStart = static_cast<int>(base);
        ForEachColouredPart(keywords_, text.mid(base, end - base),
                            [&](int start, int finish, std::uint32_t colour) {
                                if (colour != 0 && finish > start)
                                    runs.push_back({lineStart + start, finish - start, colour});
                            });
        base = end + 1;
    }
    return runs;
}

QColor KeywordColourer::TypingColourAt(const QTextDocument& document, int position) {
    const QTextBlock block = document.findBlock(position);
    if (!block.isValid()) return Qt::black;
    const int inLine = position - block.position();
    for (const LinePart& part : SplitLine(block.text()))
        if (part.kind != LinePartKind::Code && part.takesTypingAt(inLine))
            return ColourOf(part.kind);
    return Qt::black;
}

}  // namespace zr::shell
