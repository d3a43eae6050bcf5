#include "shell/document_conversion.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

#include "shell/editor_colours.h"

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
    document.clear();
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    cursor.insertText(QString::fromStdString(text.text), QTextCharFormat());
    for (const formats::ColourRun& run : formats::ToUtf16Runs(text.text, text.runs)) {
        cursor.setPosition(run.start);
        cursor.setPosition(run.start + run.length, QTextCursor::KeepAnchor);
        QTextCharFormat colour;
        colour.setForeground(ToQColor(run.colour));
        cursor.mergeCharFormat(colour);
    }
    cursor.endEditBlock();
}

}  // namespace zr::shell
