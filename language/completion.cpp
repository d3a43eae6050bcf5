#include "language/completion.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <set>

#include "compiler/keywords.h"
#include "language/tokens.h"
#include "machine/cp1251.h"

namespace zr::language {
namespace {

enum class Context { Nothing, Anything, Label, Variable, Library };

std::string Lower(std::string_view utf8) {
    return machine::Cp1251ToUtf8(machine::LowerCase(machine::Utf8ToCp1251(utf8)));
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return Lower(text).rfind(Lower(prefix), 0) == 0;
}

// What the words of the line before the typed word ask for.
Context ContextOf(const std::vector<Token>& before, bool typedAfterAt) {
    if (typedAfterAt) return Context::Label;
    if (before.empty()) return Context::Anything;
    for (const Token& token : before) {
        const std::string word = machine::LowerCase(token.text);
        if (word == "dims" || word == "dimi" || word == "dimb" || word == "bytes" ||
            word == "integers" || word == "messanges")
            return Context::Nothing;  // a new name, or its values
        if (word == "segm") return Context::Label;
        if (word == "onx" && before.back().text != "onx") return Context::Label;
    }
    const std::string last = machine::LowerCase(before.back().text);
    if (last == "$lib") return Context::Library;
    if (last == "goto" || last == "call" || last == "timer" || last == "events" || last == "@")
        return Context::Label;
    if (last == "mv" || last == "->") return Context::Variable;
    return Context::Anything;
}

void AddKeywords(std::vector<Candidate>& out) {
    std::set<std::string> seen;
    for (const auto& keyword : compiler::KeywordTable::Standard().entries())
        if (seen.insert(Lower(keyword.word)).second)
            out.push_back({keyword.word, CandidateKind::Keyword, keyword.hint});
}

void AddNames(const Analysis& analysis, bool labels, std::vector<Candidate>& out) {
    for (const Declaration& declaration : analysis.declarations) {
        const bool isLabel = declaration.nameKind == compiler::NameKind::Label;
        if (isLabel == labels)
            out.push_back({declaration.name, labels ? CandidateKind::Label : CandidateKind::Name,
                           KindText(declaration)});
    }
}

}  // namespace

std::vector<std::string> LibraryNames(const std::vector<std::filesystem::path>& folders) {
    std::vector<std::string> names;
    std::set<std::string> seen;
    for (const auto& folder : folders) {
        if (folder.empty()) continue;
        std::error_code ec;
        std::vector<std::string> here;
        for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
             it.increment(ec))
            if (it->path().extension() == ".bib") here.push_back(it->path().stem().string());
        std::sort(here.begin(), here.end());
        for (auto& name : here)
            if (seen.insert(Lower(name)).second) names.push_back(std::move(name));
    }
    return names;
}

Completion CompletionAt(const Analysis& analysis, std::int32_t position) {
    const std::string& text = analysis.TextOf(0);
    const auto line = LineAround(text, position);
    const auto tokens = LineTokens(text, line);
    Completion completion;
    completion.replaceFrom = position;

    std::vector<Token> before;
    std::string typed;
    for (const Token& token : tokens) {
        if (token.start >= position) break;
        if (token.kind != TokenKind::Word && position <= token.end() &&
            !(token.kind == TokenKind::QuotedText && position == token.end() && token.length > 1 &&
              text[token.end() - 2] == '"'))
            return completion;  // inside a quoted text or a comment
        if (token.end() >= position) {
            typed = token.text.substr(0, position - token.start);
            completion.replaceFrom = token.start;
        } else {
            before.push_back(token);
        }
    }
    bool afterAt = false;
    if (!typed.empty() && typed[0] == '@') {  // "@Name": the label after the "@"
        typed.erase(0, 1);
        ++completion.replaceFrom;
        afterAt = true;
    }

    // The line being typed often stops the compile before the names below
    // it are declared: then the names come from the text without that line.
    std::optional<Analysis> withoutLine;
    const Analysis* names = &analysis;
    if (analysis.error) {
        // From the failing statement when it stands on this line, else the whole line.
        const Span& failed = analysis.error->libraryStatement.value_or(analysis.error->span);
        const std::int32_t from =
            failed.sourceIndex == 0 && failed.start > line.first && failed.start < line.end
                ? failed.start
                : line.first;
        std::string blanked = text;
        std::fill(blanked.begin() + from - 1, blanked.begin() + line.end - 1, ' ');
        withoutLine = Analysis::Of(std::move(blanked), analysis.search());
        names = &*withoutLine;
    }

    std::vector<Candidate> all;
    switch (ContextOf(before, afterAt)) {
        case Context::Nothing:
            return completion;
        case Context::Label:
            AddNames(*names, true, all);
            break;
        case Context::Variable:
            AddNames(*names, false, all);
            break;
        case Context::Library:
            for (auto& name : LibraryNames(analysis.compiler().LibraryFolders()))
                all.push_back({name, CandidateKind::Library, name + ".bib"});
            break;
        case Context::Anything:
            AddKeywords(all);
            AddNames(*names, false, all);
            break;
    }
    const std::string prefix = machine::Cp1251ToUtf8(typed);
    for (auto& candidate : all)
        if (StartsWith(candidate.text, prefix))
            completion.candidates.push_back(std::move(candidate));
    return completion;
}

}  // namespace zr::language
