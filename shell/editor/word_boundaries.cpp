#include "shell/editor/word_boundaries.h"

#include <algorithm>

namespace zr::shell {

bool IsWordEnd(QChar c) {
    switch (c.unicode()) {
        case ' ':
        case '\t':
        case ',':
        case '\r':
        case '\n':
        case '(':
        case ')':
        case '[':
        case ']':
        case 0x2028:  // line separator inside a paragraph
        case 0x2029:  // paragraph separator
            return true;
        default:
            return false;
    }
}

int FindWordStart(QStringView text, int caret) {
    caret = std::clamp(caret, 0, static_cast<int>(text.size()));
    for (int i = caret - 2; i >= 0; --i)
        if (IsWordEnd(text[i])) return i + 1;
    return 0;
}

QString WordAt(QStringView text, int caret) {
    caret = std::clamp(caret, 0, static_cast<int>(text.size()));
    int begin = caret;
    while (begin > 0 && !IsWordEnd(text[begin - 1])) --begin;
    int end = caret;
    while (end < text.size() && !IsWordEnd(text[end])) ++end;
    return text.mid(begin, end - begin).toString();
}

}  // namespace zr::shell
