#include "shell/editor/source_line_parts.h"

namespace zr::shell {

QList<LinePart> SplitLine(QStringView line) {
    QList<LinePart> parts;
    const int length = static_cast<int>(line.size());
    int codeStart = 0;
    auto endCode = [&](int at) {
        if (at > codeStart) parts.append({LinePartKind::Code, codeStart, at - codeStart, false});
    };
    for (int i = 0; i < length; ++i) {
        if (line[i] == u'\'') {
            endCode(i);
            parts.append({LinePartKind::Comment, i, length - i, true});
            return parts;
        }
        if (line[i] == u'"') {
            endCode(i);
            const qsizetype close = line.indexOf(u'"', i + 1);
            const int end = close < 0 ? length : static_cast<int>(close) + 1;
            parts.append({LinePartKind::QuotedText, i, end - i, close < 0});
            i = end - 1;
            codeStart = end;
        }
    }
    endCode(length);
    return parts;
}

}  // namespace zr::shell
