#include "language/rename.h"

#include <algorithm>

#include "compiler/messages.h"
#include "compiler/scanner.h"
#include "machine/cp1251.h"
#include "machine/numbers.h"

namespace zr::language {
namespace {

// A name the compiler reads back as the one word it is, and not as a number,
// a label, an address-of or an indirect use.
bool IsOneName(const std::string& name) {
    if (name.empty()) return false;
    std::int32_t position = 1;
    bool quoted = false;
    const std::string word = compiler::ScanToken(name, position, quoted);
    if (quoted || word != name || position <= static_cast<std::int32_t>(name.size())) return false;
    const char last = name.back();
    return name[0] != '@' && name[0] != '$' && last != ':' && last != '#' && last != '@' &&
           name.find('?') == std::string::npos && !machine::IsNumericText(name);
}

RenamePlan Refuse(std::string_view message) {
    return {{}, std::string(message)};
}

}  // namespace

std::string ApplyEdits(std::string text, std::vector<Span> edits, std::string_view replacement) {
    std::sort(edits.begin(), edits.end(),
              [](const Span& a, const Span& b) { return a.start > b.start; });
    for (const Span& edit : edits) text.replace(edit.start - 1, edit.length, replacement);
    return text;
}

RenamePlan PlanRename(const Analysis& analysis, std::int32_t position, std::string_view newName) {
    const auto declaration = analysis.DeclarationAt(0, position);
    if (!declaration) return Refuse("Здесь нет имени, которое можно переименовать");
    const Declaration& old = analysis.declarations[*declaration];
    if (!old.span || old.span->sourceIndex != 0)
        return Refuse(old.span ? "Имя объявлено в библиотеке: переименуйте его там"
                               : compiler::messages::kNameDeclared);

    const std::string name = machine::Utf8ToCp1251(newName);
    if (!IsOneName(name)) return Refuse(compiler::messages::kSyntaxError);
    const bool sameName =
        machine::LowerCase(name) == machine::LowerCase(machine::Utf8ToCp1251(old.name));
    if (!sameName &&
        (analysis.Find(newName) || compiler::KeywordTable::Standard().FindKeyword(newName)))
        return Refuse(compiler::messages::kNameDeclared);

    RenamePlan plan;
    plan.edits.push_back(*old.span);
    for (const Span& span : analysis.ReferencesTo(*declaration))
        if (span.sourceIndex == 0) plan.edits.push_back(span);

    // The renamed program must compile to the same image with the same messages.
    const auto renamed =
        Analysis::Of(ApplyEdits(analysis.TextOf(0), plan.edits, name), analysis.search());
    const auto& before = analysis.compiler();
    const auto& after = renamed.compiler();
    if (after.compileFailed != before.compileFailed || after.programImage != before.programImage) {
        if (after.compileFailed && !after.messages.empty())
            return Refuse(after.messages.front().text);
        return Refuse(compiler::messages::kNameDeclared);
    }
    return plan;
}

}  // namespace zr::language
