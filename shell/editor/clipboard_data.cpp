#include "shell/editor/clipboard_data.h"

#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>

#include "formats/zrt.h"
#include "shell/editor/document_conversion.h"

namespace zr::shell {

QMimeData* MakeRichClipboardData(const QTextDocument& document, int from, int to) {
    const formats::RichText selection = ToRichText(document, from, to);
    const std::string rtf = formats::WriteZrt(selection);

    auto* data = new QMimeData;
    for (const char* type : kRtfMimeTypes)
        data->setData(type, QByteArray(rtf.data(), static_cast<qsizetype>(rtf.size())));
    QTextCursor range(const_cast<QTextDocument*>(&document));
    range.setPosition(from);
    range.setPosition(to, QTextCursor::KeepAnchor);
    data->setHtml(QTextDocumentFragment(range).toHtml());
    data->setText(QString::fromStdString(selection.text));
    return data;
}

QMimeData* MakePlainClipboardData(const QString& text) {
    QString plain = text;
    plain.replace(QChar::ParagraphSeparator, u'\n');
    plain.replace(QChar::LineSeparator, u'\n');
    auto* data = new QMimeData;
    data->setText(plain);
    return data;
}

}  // namespace zr::shell
