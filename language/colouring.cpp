#include "language/colouring.h"

#include "compiler/keywords.h"
#include "language/tokens.h"
#include "machine/cp1251.h"
#include "machine/numbers.h"

namespace zr::language {
namespace {

// The name a word stands for once the decorations of labels, jumps, address-of
// and indirect use are taken off.
std::string_view Undecorated(std::string_view word) {
    if (word.size() > 1 && word.front() == '@') word.remove_prefix(1);
    if (word.size() > 1 && (word.back() == ':' || word.back() == '#' || word.back() == '@'))
        word.remove_suffix(1);
    return word;
}

}  // namespace

std::vector<ClassifiedWord> ClassifyText(const Analysis& analysis, int sourceIndex) {
    const std::string& text = analysis.TextOf(sourceIndex);
    const auto& keywords = compiler::KeywordTable::Standard();
    std::vector<ClassifiedWord> words;
    const auto size = static_cast<std::int32_t>(text.size());
    for (std::int32_t first = 1; first <= size;) {
        const LineRange line = LineAround(text, first);
        for (const Token& token : LineTokens(text, line)) {
            const Span span{sourceIndex, token.start, token.length};
            if (token.kind == TokenKind::Comment) {
                words.push_back({span, WordClass::Comment});
            } else if (token.kind == TokenKind::QuotedText) {
                words.push_back({span, WordClass::QuotedText});
            } else if (keywords.FindKeyword(machine::Cp1251ToUtf8(token.text))) {
                words.push_back({span, WordClass::Keyword});
            } else if (machine::IsNumericText(token.text)) {
                words.push_back({span, WordClass::Number});
            } else if (const int slot =
                           analysis.compiler().names.FindName(Undecorated(token.text))) {
                const bool label =
                    analysis.compiler().names[slot].kind == compiler::NameKind::Label;
                words.push_back({span, label ? WordClass::Label : WordClass::Variable});
            }
        }
        first = line.end + 2;  // past CR LF
    }
    return words;
}

}  // namespace zr::language
