#include "shell/editor/document_conversion.h"

#include <QHash>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

#include "shell/editor/editor_colours.h"

namespace zr::shell {
namespace {

// QTextDocument keeps its own separators for line ends inside the plain text;
// the files hold plain line feeds.
QString WithLineFeeds(QString text) {
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    text.replace(QChar::Nbsp, u' ');
    return text;
}

}  // namespace

formats::RichText ToRichText(const QTextDocument& document, int from, int to) {
    const int end = document.characterCount() - 1;  // without the closing separator
    from = std::clamp(from, 0, end);
    to = to < 0 ? end : std::clamp(to, from, end);

    QTextCursor range(const_cast<QTextDocument*>(&document));
    range.setPosition(from);
    range.setPosition(to, QTextCursor::KeepAnchor);
    const QString text = WithLineFeeds(range.selectedText());

    // Colour runs in UTF-16 units of `text`, from the document's fragments.
    std::vector<formats::ColourRun> runs;
    for (QTextBlock block = document.findBlock(from); block.isValid() && block.position() <= to;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int begin = std::max(fragment.position(), from);
            const int finish = std::min(fragment.position() + fragment.length(), to);
            const std::uint32_t colour = WindowsColourOf(fragment.charFormat());
            if (finish > begin && colour != 0)
                runs.push_back({begin - from, finish - begin, colour});
        }
    }

    formats::RichText result;
    result.text = text.toStdString();
    result.runs = formats::NormalizeRuns(formats::FromUtf16Runs(result.text, runs),
                                         static_cast<int>(text.toStdU32String().size()));
    return result;
}

void FillDocument(QTextDocument& document, const formats::RichText& text) {
    const std::vector<formats::ColourRun> runs = formats::ToUtf16Runs(text.text, text.runs);
    FillDocument(document, QString::fromStdString(text.text), runs);
}

bool FillDocument(QTextDocument& document, const QString& text,
                  std::span<const formats::ColourRun> utf16Runs, const FillProgress& progress) {
    // Pieces are appended in order, each in its final format, inside one edit
    // block and without undo: the text is laid out once, after the last piece,
    // and no piece is split or re-formatted afterwards.
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    document.clear();
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    QHash<std::uint32_t, QTextCharFormat> formats;
    auto formatOf = [&](std::uint32_t colour) -> const QTextCharFormat& {
        auto found = formats.find(colour);
        if (found != formats.end()) return *found;
        QTextCharFormat format;
        if (colour != 0) format.setForeground(ToQColor(colour));
        return *formats.insert(colour, format);
    };
    constexpr qsizetype kReportEvery = 256 * 1024;
    qsizetype done = 0;
    qsizetype nextReport = kReportEvery;
    bool cancelled = false;
    auto insert = [&](qsizetype from, qsizetype to, std::uint32_t colour) {
        for (qsizetype start = from; start < to && !cancelled;) {
            const qsizetype end = progress ? std::min(to, std::max(start + 1, nextReport)) : to;
            cursor.insertText(text.mid(start, end - start), formatOf(colour));
            done = start = end;
            if (progress && done >= nextReport) {
                nextReport = done + kReportEvery;
                cancelled = !progress(done, text.size());
            }
        }
    };
    qsizetype position = 0;
    for (const formats::ColourRun& run : utf16Runs) {
        const qsizetype start = std::clamp<qsizetype>(run.start, position, text.size());
        const qsizetype end =
            std::clamp<qsizetype>(qsizetype{run.start} + run.length, start, text.size());
        insert(position, start, 0);
        insert(start, end, run.colour);
        position = end;
    }
    insert(position, text.size(), 0);
    cursor.endEditBlock();
    document.setUndoRedoEnabled(undo);
    return !cancelled;
}

}  // namespace zr::shell
